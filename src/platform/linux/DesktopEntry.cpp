#include "platform/linux/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace nolvea {

namespace {

// The string escapes of the format: \s \n \t \r \\ (and ";" lists use "\;").
QString unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        switch (n.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += u'\\';
            out += n;
            break;
        }
    }
    return out;
}

QStringList splitList(const QString& value) {
    QStringList items;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size() && value.at(i + 1) == u';') {
            current += u';';
            ++i;
        } else if (c == u';') {
            if (!current.isEmpty()) items << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty()) items << current;
    return items;
}

bool isTrue(const QString& value) {
    return value.trimmed() == QLatin1String("true");
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::load(const QString& path, const QString& id) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QMap<QString, QString> keys;
    bool inEntry = false;
    bool sawEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            sawEntry = sawEntry || inEntry;
            continue;
        }
        if (!inEntry) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key)) keys.insert(key, line.mid(eq + 1).trimmed());
    }
    if (!sawEntry) return std::nullopt;

    const auto localized = [&keys](const QString& key) {
        for (const char* locale : {"pt_BR", "pt"}) {
            const QString k = key + u'[' + QLatin1String(locale) + u']';
            if (keys.contains(k)) return unescape(keys.value(k));
        }
        return unescape(keys.value(key));
    };

    DesktopEntry e;
    e.id = id;
    e.path = path;
    e.type = keys.value(QStringLiteral("Type"));
    e.name = localized(QStringLiteral("Name"));
    e.plainName = unescape(keys.value(QStringLiteral("Name")));
    e.genericName = localized(QStringLiteral("GenericName"));
    // Exec keeps its backslashes here: its own quoting rules read them.
    e.exec = unescape(keys.value(QStringLiteral("Exec")));
    e.tryExec = unescape(keys.value(QStringLiteral("TryExec")));
    e.workingDirectory = unescape(keys.value(QStringLiteral("Path")));
    e.icon = localized(QStringLiteral("Icon"));
    e.startupWMClass = unescape(keys.value(QStringLiteral("StartupWMClass")));
    e.mimeTypes = splitList(keys.value(QStringLiteral("MimeType")));
    e.hidden = isTrue(keys.value(QStringLiteral("Hidden")));
    e.noDisplay = isTrue(keys.value(QStringLiteral("NoDisplay")));
    e.terminal = isTrue(keys.value(QStringLiteral("Terminal")));
    return e;
}

bool DesktopEntry::isLaunchable() const {
    if (type != QLatin1String("Application") || hidden || exec.isEmpty()) return false;
    const auto findProgram = [](const QString& program) {
        if (program.contains(u'/')) return QFileInfo(program).isExecutable();
        return !QStandardPaths::findExecutable(program).isEmpty();
    };
    if (!tryExec.isEmpty() && !findProgram(tryExec)) return false;
    const auto argv = splitExec(exec);
    return argv && !argv->isEmpty() && findProgram(argv->first());
}

std::optional<QStringList> DesktopEntry::splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size() &&
                       QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
                current += exec.at(++i);
            } else {
                current += c;
            }
        } else if (c == u'"') {
            quoted = true;
            inArg = true;
        } else if (c == u' ' || c == u'\t') {
            if (inArg) args << current;
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (quoted) return std::nullopt;
    if (inArg) args << current;
    return args;
}

QStringList DesktopEntry::command(const QStringList& targets) const {
    const auto split = splitExec(exec);
    if (!split || split->isEmpty()) return {};
    const auto asFile = [](const QString& t) {
        const QUrl url(t);
        return url.isLocalFile() ? url.toLocalFile() : t;
    };
    const auto asUrl = [](const QString& t) {
        return t.startsWith(u'/') ? QUrl::fromLocalFile(t).toString() : t;
    };
    QStringList argv;
    bool used = false;
    for (const QString& arg : *split) {
        // A code standing alone may become several arguments, or none.
        if (arg == QLatin1String("%F") || arg == QLatin1String("%U")) {
            for (const QString& t : targets)
                argv << (arg == QLatin1String("%F") ? asFile(t) : asUrl(t));
            used = true;
            continue;
        }
        if (arg == QLatin1String("%i")) continue; // no icon to pass
        QString out;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg.at(i) != u'%' || i + 1 >= arg.size()) {
                out += arg.at(i);
                continue;
            }
            const QChar code = arg.at(++i);
            switch (code.unicode()) {
            case '%':
                out += u'%';
                break;
            case 'f':
                if (!targets.isEmpty()) out += asFile(targets.first());
                used = true;
                break;
            case 'u':
                if (!targets.isEmpty()) out += asUrl(targets.first());
                used = true;
                break;
            case 'F':
                if (!targets.isEmpty()) out += asFile(targets.first());
                used = true;
                break;
            case 'U':
                if (!targets.isEmpty()) out += asUrl(targets.first());
                used = true;
                break;
            case 'c':
                out += name;
                break;
            case 'k':
                out += path;
                break;
            default:
                break; // deprecated and unknown codes expand to nothing
            }
        }
        // An argument made only of an empty code disappears.
        if (!out.isEmpty() || !arg.contains(u'%')) argv << out;
    }
    Q_UNUSED(used);
    return argv;
}

} // namespace nolvea
