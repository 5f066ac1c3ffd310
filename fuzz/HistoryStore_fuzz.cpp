// history.json after a crash or a hand edit: loaded, then a new entry added. Nothing that was
// in the file may be lost: a readable history keeps its entries, an unreadable one is kept
// aside byte for byte.
#include "FuzzSupport.h"
#include "core/HistoryStore.h"

#include <QDir>
#include <QFile>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz::scratch() + QStringLiteral("/historico");
    const QByteArray original = fuzz::bytes(data, size);
    const QString path = fuzz::freshFile(folder, QStringLiteral("history.json"), original);
    if (path.isEmpty()) return 0;

    QList<HistoryEntry> before;
    {
        HistoryStore store(path);
        before = store.entries();
        store.add(HistoryEntry::make(HistoryEntry::Kind::agent, QStringLiteral("Terminal"),
                                     QStringLiteral("que horas são"), QStringLiteral("10h")));
        store.flush();
    }
    const HistoryStore reloaded(path);
    const QList<HistoryEntry>& after = reloaded.entries();
    FUZZ_CHECK(!after.isEmpty() && after.front().transcript == u"que horas são");
    const QStringList aside = QDir(folder).entryList({QStringLiteral("history.json.bad-*")});
    if (aside.isEmpty()) {
        const QList<HistoryEntry> kept = after.mid(1);
        FUZZ_CHECK(kept == before.mid(0, HistoryStore::kCapacity - 1));
    } else {
        FUZZ_CHECK(aside.size() == 1 && before.isEmpty());
        QFile kept(folder + u'/' + aside.front());
        FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == original);
    }
    return 0;
}
