// .desktop files of installed applications: the entry, and the command its Exec line makes.
#include "FuzzSupport.h"
#include "platform/linux/DesktopEntry.h"

#include <QFile>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::scratch() + QStringLiteral("/app.desktop");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(fuzz::bytes(data, size)) != qint64(size))
        return 0;
    file.close();
    const auto entry = DesktopEntry::load(path, QStringLiteral("app.desktop"));
    if (!entry) return 0;
    (void)entry->isLaunchable();
    const QStringList targets{QStringLiteral("/tmp/um arquivo.txt"),
                              QStringLiteral("https://example.com/a b")};
    const QStringList command = entry->command(targets);
    const auto split = DesktopEntry::splitExec(entry->exec);
    if (!split) FUZZ_CHECK(command.isEmpty());
    (void)entry->command();
    return 0;
}
