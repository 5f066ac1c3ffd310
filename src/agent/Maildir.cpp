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
#include <vector>

namespace nolvea {

namespace {

// Headers longer than this are cut: the fields looked at come first in any real message.
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

// The header block, up to the blank line that ends it; the body is never read.
QByteArray headerBlock(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray block;
    while (block.size() < kHeaderBytes) {
        const QByteArray line = f.readLine(kHeaderBytes - block.size() + 1);
        if (line.isEmpty() || line == "\n" || line == "\r\n") break;
        block += line;
    }
    return block;
}

Maildir::Entry entryOf(const QFileInfo& file) {
    const MailMessage m = MailMessage::parse(headerBlock(file.filePath()), true);
    Maildir::Entry e;
    e.path = file.filePath();
    e.id = Maildir::idFor(e.path);
    e.date = headerDate(m.header("Date"));
    if (!e.date.isValid()) e.date = file.lastModified();
    e.sender = MimeText::decodeHeader(m.header("From"));
    e.subject = MimeText::decodeHeader(m.header("Subject"));
    e.messageID = m.header("Message-ID").simplified();
    e.references = m.header("References").simplified();
    return e;
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
    for (int i = 0; i < 6; ++i)
        value = (value << 8) | uchar(digest[i]);
    return QString::number(value); // below 2^48: survives a trip through a JSON number
}

QString Maildir::dateText(const QDateTime& date) {
    return QLocale(QLocale::Portuguese, QLocale::Brazil)
        .toString(date.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm"));
}

QList<QFileInfo> Maildir::files() const {
    QList<QFileInfo> out;
    for (const char* sub : {"cur", "new"})
        out +=
            QDir(m_root + u'/' + QLatin1String(sub))
                .entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot, QDir::Unsorted);
    out.removeIf([](const QFileInfo& f) { return f.fileName().startsWith(u'.'); });
    return out;
}

QList<QFileInfo> Maildir::newestFiles(qsizetype count) const {
    struct Keyed {
        qint64 time;
        QString name;
        QFileInfo file;
    };
    std::vector<Keyed> keyed;
    for (QFileInfo& file : files())
        keyed.push_back(
            {file.lastModified().toMSecsSinceEpoch(), file.fileName(), std::move(file)});
    const auto newer = [](const Keyed& a, const Keyed& b) {
        return a.time != b.time ? a.time > b.time : a.name > b.name;
    };
    const auto end = keyed.begin() + std::min<qsizetype>(count, qsizetype(keyed.size()));
    std::partial_sort(keyed.begin(), end, keyed.end(), newer);
    QList<QFileInfo> out;
    for (auto it = keyed.begin(); it != end; ++it)
        out.append(std::move(it->file));
    return out;
}

QList<Maildir::Entry> Maildir::entries() const {
    QList<Entry> out;
    for (const QFileInfo& file : newestFiles(kConsidered))
        out.append(entryOf(file));
    std::stable_sort(out.begin(), out.end(),
                     [](const Entry& a, const Entry& b) { return a.date > b.date; });
    return out;
}

std::optional<Maildir::Entry> Maildir::find(const QString& id) const {
    for (const QFileInfo& file : files())
        if (idFor(file.filePath()) == id) return entryOf(file);
    return std::nullopt;
}

} // namespace nolvea
