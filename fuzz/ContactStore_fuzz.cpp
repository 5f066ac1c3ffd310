// vCard files of other programs, read as the contact store reads its folder.
#include "FuzzSupport.h"
#include "agent/ContactStore.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString root = fuzz::scratch() + QStringLiteral("/contatos");
    if (fuzz::freshFile(root, QStringLiteral("agenda.vcf"), fuzz::bytes(data, size)).isEmpty())
        return 0;
    const ContactStore store(root);
    const QList<ContactStore::Contact> all = store.all();
    for (const ContactStore::Contact& c : all) {
        const QString given = c.givenName.section(u' ', 0, 0);
        // Every contact is found by the start of its own given name.
        if (!ContactStore::folded(given).trimmed().isEmpty() && given.trimmed() == given)
            FUZZ_CHECK(store.matching(given).contains(c));
    }
    return 0;
}
