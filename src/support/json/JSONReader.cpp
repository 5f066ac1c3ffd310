// Reading JSON text into JSONValue (RFC 8259; a scalar at the top level is accepted).
#include "support/json/JSONValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nolvea {

namespace {

// Deeper nesting than any real message needs; it bounds the reader's recursion.
constexpr int kMaxDepth = 512;

class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : m_p(bytes.constData())
        , m_end(m_p + bytes.size()) {}

    std::optional<JSONValue> document() {
        skipSpace();
        auto v = value(0);
        if (!v) return std::nullopt;
        skipSpace();
        if (m_p != m_end) return std::nullopt;
        return v;
    }

private:
    void skipSpace() {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }

    bool literal(const char* word) {
        const char* p = m_p;
        for (; *word; ++word, ++p)
            if (p >= m_end || *p != *word) return false;
        m_p = p;
        return true;
    }

    std::optional<JSONValue> value(int depth) {
        if (m_p >= m_end) return std::nullopt;
        switch (*m_p) {
        case 'n':
            return literal("null") ? std::optional(JSONValue()) : std::nullopt;
        case 't':
            return literal("true") ? std::optional(JSONValue(true)) : std::nullopt;
        case 'f':
            return literal("false") ? std::optional(JSONValue(false)) : std::nullopt;
        case '"': {
            auto s = string();
            if (!s) return std::nullopt;
            return JSONValue(std::move(*s));
        }
        case '[':
            return array(depth + 1);
        case '{':
            return object(depth + 1);
        default:
            return number();
        }
    }

    // Whether the number in [p, end), already checked and out of range, is too large rather
    // than too small: the decimal exponent of its first non-zero digit decides.
    static bool overflows(const char* p, const char* end) {
        if (*p == '-') ++p;
        qint64 scale = 0;
        bool seen = false, fraction = false;
        for (; p < end && *p != 'e' && *p != 'E'; ++p) {
            if (*p == '.') {
                fraction = true;
            } else if (!seen && *p != '0') {
                seen = true;
                scale = fraction ? scale - 1 : 0;
            } else if (!seen && fraction) {
                --scale;
            } else if (seen && !fraction) {
                ++scale;
            }
        }
        qint64 exponent = 0;
        if (p < end) {
            ++p;
            const bool negative = *p == '-';
            if (*p == '-' || *p == '+') ++p;
            for (; p < end; ++p)
                exponent = std::min<qint64>(exponent * 10 + (*p - '0'), qint64(1) << 40);
            if (negative) exponent = -exponent;
        }
        return scale + exponent >= 0;
    }

    std::optional<JSONValue> number() {
        const char* start = m_p;
        const char* p = m_p;
        if (p < m_end && *p == '-') ++p;
        if (p >= m_end) return std::nullopt;
        if (*p == '0') {
            ++p;
        } else if (*p >= '1' && *p <= '9') {
            while (p < m_end && *p >= '0' && *p <= '9')
                ++p;
        } else {
            return std::nullopt;
        }
        if (p < m_end && *p == '.') {
            ++p;
            if (p >= m_end || *p < '0' || *p > '9') return std::nullopt;
            while (p < m_end && *p >= '0' && *p <= '9')
                ++p;
        }
        if (p < m_end && (*p == 'e' || *p == 'E')) {
            ++p;
            if (p < m_end && (*p == '+' || *p == '-')) ++p;
            if (p >= m_end || *p < '0' || *p > '9') return std::nullopt;
            while (p < m_end && *p >= '0' && *p <= '9')
                ++p;
        }
        double d = 0;
        const auto r = std::from_chars(start, p, d);
        // Out-of-range magnitudes saturate like the platform readers do: too large is
        // infinite, too small is zero.
        if (r.ec == std::errc::result_out_of_range)
            d = std::copysign(overflows(start, p) ? HUGE_VAL : 0.0, *start == '-' ? -1.0 : 1.0);
        else if (r.ec != std::errc() || r.ptr != p)
            return std::nullopt;
        m_p = p;
        return JSONValue::number(d);
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    bool hex4(char16_t& out) {
        if (m_end - m_p < 4) return false;
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = hexDigit(m_p[i]);
            if (d < 0) return false;
            v = v * 16 + unsigned(d);
        }
        m_p += 4;
        out = char16_t(v);
        return true;
    }

    std::optional<QString> string() {
        ++m_p; // opening quote
        QString out;
        const char* run = m_p;
        auto flush = [&] {
            if (m_p > run) out += QString::fromUtf8(run, m_p - run);
        };
        while (m_p < m_end) {
            const auto c = static_cast<unsigned char>(*m_p);
            if (c == '"') {
                flush();
                ++m_p;
                return out;
            }
            if (c < 0x20) return std::nullopt;
            if (c != '\\') {
                ++m_p;
                continue;
            }
            flush();
            ++m_p;
            if (m_p >= m_end) return std::nullopt;
            const char e = *m_p++;
            switch (e) {
            case '"':
                out += u'"';
                break;
            case '\\':
                out += u'\\';
                break;
            case '/':
                out += u'/';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u': {
                char16_t unit = 0;
                if (!hex4(unit)) return std::nullopt;
                if (QChar::isHighSurrogate(unit) && m_end - m_p >= 6 && m_p[0] == '\\' &&
                    m_p[1] == 'u') {
                    const char* save = m_p;
                    m_p += 2;
                    char16_t low = 0;
                    if (hex4(low) && QChar::isLowSurrogate(low)) {
                        out += QChar(unit);
                        out += QChar(low);
                        break;
                    }
                    m_p = save;
                }
                // A lone surrogate cannot stand in text.
                out += QChar::isSurrogate(unit) ? QChar(QChar::ReplacementCharacter) : QChar(unit);
                break;
            }
            default:
                return std::nullopt;
            }
            run = m_p;
        }
        return std::nullopt;
    }

    std::optional<JSONValue> array(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        ++m_p;
        JSONValue::Array items;
        skipSpace();
        if (m_p < m_end && *m_p == ']') {
            ++m_p;
            return JSONValue(std::move(items));
        }
        for (;;) {
            skipSpace();
            auto v = value(depth);
            if (!v) return std::nullopt;
            items.push_back(std::move(*v));
            skipSpace();
            if (m_p >= m_end) return std::nullopt;
            if (*m_p == ',') {
                ++m_p;
                continue;
            }
            if (*m_p == ']') {
                ++m_p;
                return JSONValue(std::move(items));
            }
            return std::nullopt;
        }
    }

    std::optional<JSONValue> object(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        ++m_p;
        JSONValue::Object members;
        skipSpace();
        if (m_p < m_end && *m_p == '}') {
            ++m_p;
            return JSONValue(std::move(members));
        }
        for (;;) {
            skipSpace();
            if (m_p >= m_end || *m_p != '"') return std::nullopt;
            auto key = string();
            if (!key) return std::nullopt;
            skipSpace();
            if (m_p >= m_end || *m_p != ':') return std::nullopt;
            ++m_p;
            skipSpace();
            auto v = value(depth);
            if (!v) return std::nullopt;
            members.insert_or_assign(std::move(*key), std::move(*v)); // the last duplicate wins
            skipSpace();
            if (m_p >= m_end) return std::nullopt;
            if (*m_p == ',') {
                ++m_p;
                continue;
            }
            if (*m_p == '}') {
                ++m_p;
                return JSONValue(std::move(members));
            }
            return std::nullopt;
        }
    }

    const char* m_p;
    const char* m_end;
};

} // namespace

std::optional<JSONValue> JSONValue::parse(const QByteArray& utf8) {
    return Reader(utf8).document();
}

std::optional<JSONValue> JSONValue::parse(const QString& text) {
    return parse(text.toUtf8());
}

} // namespace nolvea
