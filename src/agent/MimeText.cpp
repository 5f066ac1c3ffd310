#include "agent/MimeText.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace nolvea::MimeText {

namespace {

bool plainAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    return true;
}

QString flattened(const QString& text) {
    QString out = text;
    out.replace(QRegularExpression(QStringLiteral("[\\r\\n\\t]+")), QStringLiteral(" "));
    return out;
}

} // namespace

QString decodeCharset(const QByteArray& data, const QByteArray& charset) {
    QByteArray name = charset.trimmed().toLower();
    if (name.isEmpty() || name == "us-ascii") name = "utf-8";
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Latin1);
    return decoder.decode(data);
}

QByteArray decodeQuotedPrintable(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c != '=') {
            out += c;
            continue;
        }
        if (i + 1 < data.size() && data[i + 1] == '\n') { // soft line break
            i += 1;
            continue;
        }
        if (i + 2 < data.size() && data[i + 1] == '\r' && data[i + 2] == '\n') {
            i += 2;
            continue;
        }
        bool ok = false;
        const int byte = data.mid(i + 1, 2).toInt(&ok, 16);
        if (ok && i + 2 < data.size()) {
            out += char(byte);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray encodeQuotedPrintable(const QByteArray& data) {
    QByteArray out;
    int column = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const uchar c = uchar(data[i]);
        if (c == '\n') {
            out += '\n';
            column = 0;
            continue;
        }
        const bool trailingBlank =
            (c == ' ' || c == '\t') && (i + 1 == data.size() || data[i + 1] == '\n');
        QByteArray piece;
        if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !trailingBlank))
            piece = QByteArray(1, char(c));
        else
            piece = '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        if (column + piece.size() > 75) {
            out += "=\n";
            column = 0;
        }
        out += piece;
        column += int(piece.size());
    }
    return out;
}

QString decodeHeader(const QByteArray& raw) {
    static const QRegularExpression word(QStringLiteral(R"(=\?([^?\s]+)\?([bBqQ])\?([^?\s]*)\?=)"));
    const QString text = QString::fromUtf8(raw);
    QString out;
    qsizetype last = 0;
    bool previousWasWord = false;
    auto it = word.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString between = text.mid(last, m.capturedStart() - last);
        if (!(previousWasWord && between.trimmed().isEmpty())) out += between;
        QByteArray charset = m.captured(1).toLatin1();
        charset = charset.left(charset.indexOf('*') < 0 ? charset.size() : charset.indexOf('*'));
        QByteArray payload = m.captured(3).toLatin1();
        QByteArray bytes;
        if (m.captured(2).toUpper() == QLatin1String("B")) {
            bytes = QByteArray::fromBase64(payload);
        } else {
            payload.replace('_', ' ');
            bytes = decodeQuotedPrintable(payload);
        }
        out += decodeCharset(bytes, charset);
        last = m.capturedEnd();
        previousWasWord = true;
    }
    out += text.mid(last);
    return flattened(out).simplified();
}

QByteArray encodeHeader(const QString& rawText, int nameLength) {
    const QString text = flattened(rawText);
    // Plain text that looks like an encoded word is encoded too, or readers would decode it.
    if (plainAscii(text) && !text.contains(u"=?")) return text.toUtf8();
    // Each word carries whole characters: at most 39 bytes of UTF-8 (52 in base64), so a folded
    // line with its header name stays within 76 characters.
    QByteArray out;
    QByteArray chunk;
    int lineLength = nameLength + 2;
    auto flush = [&] {
        if (chunk.isEmpty()) return;
        const QByteArray encoded = "=?UTF-8?B?" + chunk.toBase64() + "?=";
        if (!out.isEmpty()) {
            if (lineLength + 1 + encoded.size() > 76) {
                out += "\n ";
                lineLength = 1;
            } else {
                out += ' ';
                lineLength += 1;
            }
        }
        out += encoded;
        lineLength += int(encoded.size());
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString character(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size()) character += text[++i];
        const QByteArray bytes = character.toUtf8();
        if (chunk.size() + bytes.size() > 39) flush();
        chunk += bytes;
    }
    flush();
    return out;
}

QByteArray encodeAddress(const QString& name, const QString& address) {
    const QString plainName = flattened(name).trimmed();
    const QByteArray addr = flattened(address).trimmed().toUtf8();
    if (plainName.isEmpty()) return addr;
    QByteArray shown;
    if (!plainAscii(plainName)) {
        shown = encodeHeader(plainName, 4);
    } else {
        static const QRegularExpression specials(QStringLiteral(R"([()<>\[\]:;@\\,."])"));
        if (plainName.contains(specials)) {
            QString quoted = plainName;
            quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
            shown = '"' + quoted.toUtf8() + '"';
        } else {
            shown = plainName.toUtf8();
        }
    }
    return shown + " <" + addr + '>';
}

} // namespace nolvea::MimeText
