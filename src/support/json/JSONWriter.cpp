// Writing JSONValue as text: sorted keys (the map's order), "/" left bare, numbers by the
// integer rule, UTF-8 output.
//
// Every request to a model is written here, so the text goes straight into one growing buffer:
// strings are encoded from UTF-16 as they are escaped, without a UTF-8 copy of each.
#include "support/json/JSONValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace nolvea {

namespace {

// Writes into a QByteArray (UTF-8, Unit = char) or straight into a QString (UTF-16, Unit =
// char16_t), so that the text form needs no second conversion.
template <typename Unit> class Writer {
public:
    using Buffer = std::conditional_t<std::is_same_v<Unit, char>, QByteArray, QString>;

    explicit Writer(int indent)
        : m_indent(indent) {}

    bool value(const JSONValue& v, int depth);

    Buffer take() {
        m_out.truncate(m_size);
        return std::move(m_out);
    }

private:
    // Room for `n` more units; the pointer is good until the next call.
    Unit* room(qsizetype n) {
        if (m_size + n > m_out.size())
            m_out.resize(std::max({m_out.size() * 2, m_size + n, qsizetype(4096)}));
        return reinterpret_cast<Unit*>(m_out.data()) + m_size;
    }
    void append(const char* ascii, qsizetype n) {
        std::copy_n(ascii, n, room(n));
        m_size += n;
    }
    template <qsizetype N> void append(const char (&literal)[N]) { append(literal, N - 1); }
    void append(char c) {
        *room(1) = Unit(c);
        ++m_size;
    }

    void string(const QString& s);
    // One unit that is not plain ASCII; a lone surrogate becomes "?", as QString::toUtf8
    // writes it. Returns past what it wrote.
    static Unit* encode(char16_t c, const char16_t*& u, const char16_t* end, Unit* p);
    void number(double d);
    void newline(int depth);

    Buffer m_out;
    qsizetype m_size = 0;
    int m_indent; // < 0: compact
};

template <>
char* Writer<char>::encode(char16_t c, const char16_t*& u, const char16_t* end, char* p) {
    if (c < 0x800) {
        *p++ = char(0xc0 | (c >> 6));
        *p++ = char(0x80 | (c & 0x3f));
    } else if (!QChar::isSurrogate(c)) {
        *p++ = char(0xe0 | (c >> 12));
        *p++ = char(0x80 | ((c >> 6) & 0x3f));
        *p++ = char(0x80 | (c & 0x3f));
    } else if (QChar::isHighSurrogate(c) && u < end && QChar::isLowSurrogate(*u)) {
        const char32_t code = QChar::surrogateToUcs4(c, *u++);
        *p++ = char(0xf0 | (code >> 18));
        *p++ = char(0x80 | ((code >> 12) & 0x3f));
        *p++ = char(0x80 | ((code >> 6) & 0x3f));
        *p++ = char(0x80 | (code & 0x3f));
    } else {
        *p++ = '?';
    }
    return p;
}

template <>
char16_t* Writer<char16_t>::encode(char16_t c, const char16_t*& u, const char16_t* end,
                                   char16_t* p) {
    if (!QChar::isSurrogate(c)) {
        *p++ = c;
    } else if (QChar::isHighSurrogate(c) && u < end && QChar::isLowSurrogate(*u)) {
        *p++ = c;
        *p++ = *u++;
    } else {
        *p++ = u'?';
    }
    return p;
}

template <typename Unit> void Writer<Unit>::string(const QString& s) {
    append('"');
    const auto* u = reinterpret_cast<const char16_t*>(s.utf16());
    const char16_t* const end = u + s.size();
    while (u < end) {
        // A piece at a time: room for six units a character ("\u001f") without asking six
        // times the whole of a long text. A surrogate pair is never cut.
        const char16_t* stop = u + std::min<qsizetype>(end - u, 1024);
        if (stop < end && QChar::isHighSurrogate(stop[-1])) ++stop;
        Unit* const begin = room((stop - u) * 6);
        Unit* p = begin;
        while (u < stop) {
            const char16_t c = *u++;
            if (c >= 0x80) {
                p = encode(c, u, end, p);
                continue;
            }
            if (c >= 0x20 && c != '"' && c != '\\') {
                *p++ = Unit(c);
                continue;
            }
            *p++ = '\\';
            switch (c) {
            case '"':
                *p++ = '"';
                break;
            case '\\':
                *p++ = '\\';
                break;
            case '\n':
                *p++ = 'n';
                break;
            case '\r':
                *p++ = 'r';
                break;
            case '\t':
                *p++ = 't';
                break;
            case '\b':
                *p++ = 'b';
                break;
            case '\f':
                *p++ = 'f';
                break;
            default: {
                static const char hex[] = "0123456789abcdef";
                *p++ = 'u';
                *p++ = '0';
                *p++ = '0';
                *p++ = Unit(hex[c >> 4]);
                *p++ = Unit(hex[c & 0xf]);
            }
            }
        }
        m_size += p - begin;
    }
    append('"');
}

template <typename Unit> void Writer<Unit>::number(double d) {
    if (json::writesAsInteger(d)) {
        char digits[24];
        append(digits, std::to_chars(digits, digits + sizeof digits, qint64(d)).ptr - digits);
        return;
    }
    const QByteArray text = json::numberText(d).toLatin1();
    append(text.constData(), text.size());
}

template <typename Unit> void Writer<Unit>::newline(int depth) {
    if (m_indent < 0) return;
    const qsizetype n = qsizetype(m_indent) * depth;
    Unit* p = room(n + 1);
    *p = '\n';
    std::fill_n(p + 1, n, Unit(' '));
    m_size += n + 1;
}

template <typename Unit> bool Writer<Unit>::value(const JSONValue& v, int depth) {
    switch (v.type()) {
    case JSONValue::Type::Null:
        append("null");
        return true;
    case JSONValue::Type::Bool:
        if (*v.asBool())
            append("true");
        else
            append("false");
        return true;
    case JSONValue::Type::Number: {
        const double d = *v.asNumber();
        if (!std::isfinite(d)) return false;
        number(d);
        return true;
    }
    case JSONValue::Type::String:
        string(*v.asString());
        return true;
    case JSONValue::Type::Array: {
        const auto& a = v.asArray();
        append('[');
        bool first = true;
        for (const auto& item : a) {
            if (!first) append(',');
            first = false;
            newline(depth + 1);
            if (!value(item, depth + 1)) return false;
        }
        if (!a.empty()) newline(depth);
        append(']');
        return true;
    }
    case JSONValue::Type::Object: {
        const auto& o = v.asObject();
        append('{');
        bool first = true;
        for (const auto& [key, member] : o) {
            if (!first) append(',');
            first = false;
            newline(depth + 1);
            string(key);
            if (m_indent < 0)
                append(':');
            else
                append(" : ");
            if (!value(member, depth + 1)) return false;
        }
        if (!o.empty()) newline(depth);
        append('}');
        return true;
    }
    }
    return false;
}

} // namespace

QByteArray JSONValue::compactBytes() const {
    Writer<char> writer(-1);
    if (!writer.value(*this, 0)) return QByteArrayLiteral("null");
    return writer.take();
}

QString JSONValue::compactString() const {
    Writer<char16_t> writer(-1);
    if (!writer.value(*this, 0)) return QStringLiteral("null");
    return writer.take();
}

QByteArray JSONValue::prettyBytes() const {
    Writer<char> writer(2);
    if (!writer.value(*this, 0)) return {};
    return writer.take();
}

} // namespace nolvea
