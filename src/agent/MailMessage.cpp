#include "agent/MailMessage.h"

#include "agent/MimeText.h"

#include <QRegularExpression>

namespace nolvea {

namespace {

using Headers = QList<std::pair<QByteArray, QByteArray>>;

QByteArray headerIn(const Headers& headers, const QByteArray& name) {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

// Splits at the first blank line; returns the body.
QByteArray splitHeaders(const QByteArray& data, Headers& headers) {
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0) end = data.size();
        QByteArray line = data.mid(pos, end - pos);
        if (line.endsWith('\r')) line.chop(1);
        pos = end + 1;
        if (line.isEmpty()) return data.mid(std::min(pos, data.size()));
        if ((line.startsWith(' ') || line.startsWith('\t'))) {
            if (!headers.isEmpty()) headers.last().second += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return {};
}

// The value of one parameter of a header such as Content-Type.
QByteArray parameter(const QByteArray& header, const QByteArray& name) {
    const QRegularExpression re(QStringLiteral(R"re((?:^|;)\s*%1\s*=\s*(?:"([^"]*)"|([^;\s]*)))re")
                                    .arg(QString::fromLatin1(name)),
                                QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(QString::fromUtf8(header));
    if (!m.hasMatch()) return {};
    return (m.capturedLength(1) ? m.captured(1) : m.captured(2)).toUtf8();
}

QString withoutTags(const QString& html) {
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<(style|script)[^>]*>.*?</\\1>"),
                                   QRegularExpression::CaseInsensitiveOption |
                                       QRegularExpression::DotMatchesEverythingOption));
    text.replace(QRegularExpression(QStringLiteral("<br\\s*/?>|</p>"),
                                    QRegularExpression::CaseInsensitiveOption),
                 QStringLiteral("\n"));
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.trimmed();
}

struct Part {
    QString text;
    bool html = false;
};

// The first text/plain part, else the first text/html one.
std::optional<Part> readablePart(const Headers& headers, const QByteArray& body, int depth) {
    const QByteArray type = headerIn(headers, "Content-Type");
    const QByteArray mime = type.split(';').first().trimmed().toLower();
    if (mime.startsWith("multipart/") && depth < 8) {
        const QByteArray boundary = parameter(type, "boundary");
        if (boundary.isEmpty()) return std::nullopt;
        std::optional<Part> html;
        const QByteArray marker = "--" + boundary;
        const QList<QByteArray> pieces = ('\n' + body).split('\n');
        QByteArray current;
        bool inside = false;
        auto consider = [&](const QByteArray& piece) -> std::optional<Part> {
            Headers inner;
            const QByteArray innerBody = splitHeaders(piece, inner);
            auto found = readablePart(inner, innerBody, depth + 1);
            if (found && found->html && !html) html = found;
            if (found && !found->html) return found;
            return std::nullopt;
        };
        for (const QByteArray& rawLine : pieces) {
            const QByteArray line = rawLine.endsWith('\r') ? rawLine.chopped(1) : rawLine;
            if (line.startsWith(marker)) {
                if (inside)
                    if (auto found = consider(current)) return found;
                current.clear();
                inside = !line.startsWith(marker + "--");
                if (!inside) break;
                continue;
            }
            if (inside) current += rawLine + '\n';
        }
        return html;
    }
    if (!mime.isEmpty() && mime != "text/plain" && mime != "text/html") return std::nullopt;
    if (headerIn(headers, "Content-Disposition").trimmed().toLower().startsWith("attachment"))
        return std::nullopt;
    const QByteArray encoding = headerIn(headers, "Content-Transfer-Encoding").trimmed().toLower();
    QByteArray bytes = body;
    if (encoding == "base64")
        bytes = QByteArray::fromBase64(body.simplified().replace(' ', ""));
    else if (encoding == "quoted-printable")
        bytes = MimeText::decodeQuotedPrintable(body);
    QString text = MimeText::decodeCharset(bytes, parameter(type, "charset"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool html = mime == "text/html";
    return Part{html ? withoutTags(text) : text.trimmed(), html};
}

} // namespace

QByteArray MailMessage::header(const QByteArray& name) const {
    return headerIn(headers, name);
}

MailMessage MailMessage::parse(const QByteArray& data, bool headersOnly) {
    MailMessage message;
    const QByteArray body = splitHeaders(data, message.headers);
    if (!headersOnly)
        if (auto part = readablePart(message.headers, body, 0)) message.text = part->text;
    return message;
}

} // namespace nolvea
