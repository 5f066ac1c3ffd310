#include "agent/Maildir.h"

#include "agent/MailMessage.h"
#include "agent/MimeText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace nolvea {

namespace {

constexpr qint64 kHeaderBytes = 256 * 1024;

QDateTime headerDate(const QByteArray& raw) {
    QString text = QString::fromLatin1(raw).simplified();
    text.remove(QRegularExpression(QStringLiteral(R"(\s*\([^)]*\)\s*$)"))); // "(UTC)"
    QDateTime d = QDateTime::fromString(text, Qt::RFC2822Date);
    if (!d.isValid()) {
        // Without the weekday, which the reader may refuse when it does not match.
        text.remove(QRegularExpression(QStringLiteral(R"(^[A-Za-z]{3},\s*)")));
        d = QDateTime::fromString(text, Qt::RFC2822Date);
    }
    return d;
}

} // namespace

QString Maildir::defaultRoot() {
    const QString fromEnvironment = qEnvironmentVariable("MAILDIR");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    return QDir::homePath() + QStringLiteral("/Maildir");
}

Maildir::Maildir(QString root)
    : m_root(std::move(root)) {}

QString Maildir::idFor(const QString& path) {
    const QString unique = QFileInfo(path).fileName().section(u':', 0, 0);
    const QByteArray digest = QCryptographicHash::hash(unique.toUtf8(), QCryptographicHash::Sha256);
    quint64 value = 0;
    for (int i = 0; i < 6; ++i) value = (value << 8) | uchar(digest[i]);
    return QString::number(value); // below 2^48: survives a trip through a JSON number
}

QString Maildir::dateText(const QDateTime& date) {
    return QLocale(QLocale::Portuguese, QLocale::Brazil)
        .toString(date.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm"));
}

QList<Maildir::Entry> Maildir::entries() const {
    QList<Entry> out;
    for (const char* sub : {"cur", "new"}) {
        const auto files = QDir(m_root + u'/' + QLatin1String(sub))
                               .entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& file : files) {
            if (file.fileName().startsWith(u'.')) continue;
            QFile f(file.filePath());
            if (!f.open(QIODevice::ReadOnly)) continue;
            const MailMessage m = MailMessage::parse(f.read(kHeaderBytes), true);
            Entry e;
            e.path = file.filePath();
            e.id = idFor(e.path);
            e.date = headerDate(m.header("Date"));
            if (!e.date.isValid()) e.date = file.lastModified();
            e.sender = MimeText::decodeHeader(m.header("From"));
            e.subject = MimeText::decodeHeader(m.header("Subject"));
            out.append(e);
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.date > b.date; });
    return out;
}

std::optional<Maildir::Entry> Maildir::find(const QString& id) const {
    for (const Entry& e : entries())
        if (e.id == id) return e;
    return std::nullopt;
}

} // namespace nolvea
