// segredos.json after a crash or a hand edit: read, then a key written. A readable file keeps
// every other key; an unreadable one is kept aside byte for byte.
#include "FuzzSupport.h"
#include "core/SecretStore.h"
#include "core/UserDefaults.h"
#include "support/json/JSONValue.h"

#include <QDir>
#include <QFile>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz::scratch() + QStringLiteral("/segredos");
    const QByteArray original = fuzz::bytes(data, size);
    const QString path = fuzz::freshFile(folder, QStringLiteral("segredos.json"), original);
    if (path.isEmpty()) return 0;

    UserDefaults defaults(folder + QStringLiteral("/preferencias.json"));
    SecretStore store(path, defaults, [](QString) -> QCoro::Task<QString> { co_return {}; });
    (void)store.read(QStringLiteral("apikey.openai"));
    store.write(QStringLiteral("sk-novo"), QStringLiteral("apikey.fuzz"));

    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const auto now = JSONValue::parse(written.readAll());
    FUZZ_CHECK(now && now->isObject());
    FUZZ_CHECK((*now)[QStringLiteral("apikey.fuzz")] == JSONValue("sk-novo"));
    const QStringList aside = QDir(folder).entryList({QStringLiteral("segredos.json.bad-*")});
    if (aside.isEmpty()) {
        const auto before = JSONValue::parse(original);
        FUZZ_CHECK(before && before->isObject());
        for (const auto& [key, value] : before->asObject())
            if (key != u"apikey.fuzz") FUZZ_CHECK((*now)[key] == value);
    } else {
        QFile kept(folder + u'/' + aside.front());
        FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == original);
    }
    return 0;
}
