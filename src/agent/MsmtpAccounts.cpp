#include "agent/MsmtpAccounts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <map>

namespace nolvea::MsmtpAccounts {

QStringList parse(const QString& configuration) {
    struct Account {
        QString from;
        QString inherits;
    };
    std::map<QString, Account> accounts;
    QStringList order;
    QString defaults; // "defaults" section's from
    QString current;
    bool inDefaults = false;
    QString defaultAccount;
    for (const QString& raw : configuration.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QString key = line.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
        const QString value = line.mid(key.size()).trimmed();
        if (key == QLatin1String("defaults")) {
            inDefaults = true;
            current.clear();
        } else if (key == QLatin1String("account")) {
            inDefaults = false;
            // "account default : name" names the default account.
            if (value.contains(u':')) {
                const QString name = value.section(u':', 0, 0).trimmed();
                const QString parent =
                    value.section(u':', 1).trimmed().section(u',', 0, 0).trimmed();
                if (name == QLatin1String("default")) defaultAccount = parent;
                current = name;
                accounts[name].inherits = parent;
            } else {
                current = value;
            }
            if (!order.contains(current) && current != QLatin1String("default"))
                order.append(current);
        } else if (key == QLatin1String("from")) {
            if (inDefaults)
                defaults = value;
            else if (!current.isEmpty())
                accounts[current].from = value;
        }
    }
    auto fromOf = [&](const QString& name) {
        QString n = name;
        for (int hops = 0; hops < 8 && accounts.count(n); ++hops) {
            if (!accounts[n].from.isEmpty()) return accounts[n].from;
            n = accounts[n].inherits;
        }
        return defaults;
    };
    if (!defaultAccount.isEmpty()) order.prepend(defaultAccount);
    QStringList out;
    for (const QString& name : order) {
        const QString from = fromOf(name);
        if (!from.isEmpty() && !out.contains(from)) out.append(from);
    }
    return out;
}

QStringList addresses() {
    const QStringList candidates = {
        QDir::homePath() + QStringLiteral("/.msmtprc"),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/msmtp/config")};
    for (const QString& path : candidates) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) return parse(QString::fromUtf8(f.readAll()));
    }
    return {};
}

} // namespace nolvea::MsmtpAccounts
