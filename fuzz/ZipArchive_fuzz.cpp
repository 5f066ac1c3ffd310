// Release archives: every entry read, the whole unpacked, and nothing lands outside its folder.
#include "FuzzSupport.h"
#include "updates/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto archive = ZipArchive::open(fuzz::bytes(data, size));
    if (!archive) return 0;
    for (const ZipArchive::Entry& entry : archive->entries()) {
        FUZZ_CHECK(ZipArchive::isSafeName(entry.name));
        if (const auto bytes = archive->read(entry)) FUZZ_CHECK(bytes->size() == entry.size);
    }

    const QString outer = fuzz::scratch() + QStringLiteral("/zip");
    const QString folder = outer + QStringLiteral("/dentro");
    fuzz::renew(folder);
    const bool unpacked = !archive->extractTo(folder).has_value();
    // The folder is the only thing beside it, and holds no link.
    FUZZ_CHECK(QDir(outer).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                     QDir::System) == QStringList{QStringLiteral("dentro")});
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        FUZZ_CHECK(!info.isSymLink());
        FUZZ_CHECK(info.canonicalFilePath().startsWith(folder + u'/'));
    }
    if (unpacked) {
        // What was unpacked is what the archive holds, folder by folder at the top.
        for (const ZipArchive::Entry& entry : archive->entries())
            if (entry.folder || entry.name.contains(u'/'))
                FUZZ_CHECK(archive->matches(folder, entry.name.section(u'/', 0, 0)));
    }
    return 0;
}
