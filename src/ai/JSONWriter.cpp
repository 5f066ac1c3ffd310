// Writing JSONValue as text: sorted keys (the map's order), "/" left bare, numbers by the
// integer rule, UTF-8 output.
#include "ai/JSONValue.h"

#include <cmath>

namespace nolvea {

namespace {

void appendString(QByteArray& out, const QString& s) {
    out += '"';
    const QByteArray utf8 = s.toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    const char* run = p; // bytes that need no escape are copied in one go
    for (; p < end; ++p) {
        const auto u = static_cast<unsigned char>(*p);
        if (u >= 0x20 && u != '"' && u != '\\') continue;
        out.append(run, p - run);
        run = p + 1;
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default: {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xf];
        }
        }
    }
    out.append(run, p - run);
    out += '"';
}

void newline(QByteArray& out, int indent, int depth) {
    if (indent < 0) return;
    out += '\n';
    out += QByteArray(indent * depth, ' ');
}

bool write(const JSONValue& v, QByteArray& out, int indent, int depth) {
    switch (v.type()) {
    case JSONValue::Type::Null:
        out += "null";
        return true;
    case JSONValue::Type::Bool:
        out += *v.asBool() ? "true" : "false";
        return true;
    case JSONValue::Type::Number: {
        const double d = *v.asNumber();
        if (!std::isfinite(d)) return false;
        out += json::numberText(d).toLatin1();
        return true;
    }
    case JSONValue::Type::String:
        appendString(out, *v.asString());
        return true;
    case JSONValue::Type::Array: {
        const auto& a = v.asArray();
        out += '[';
        bool first = true;
        for (const auto& item : a) {
            if (!first) out += ',';
            first = false;
            newline(out, indent, depth + 1);
            if (!write(item, out, indent, depth + 1)) return false;
        }
        if (!a.empty()) newline(out, indent, depth);
        out += ']';
        return true;
    }
    case JSONValue::Type::Object: {
        const auto& o = v.asObject();
        out += '{';
        bool first = true;
        for (const auto& [key, value] : o) {
            if (!first) out += ',';
            first = false;
            newline(out, indent, depth + 1);
            appendString(out, key);
            out += indent < 0 ? ":" : " : ";
            if (!write(value, out, indent, depth + 1)) return false;
        }
        if (!o.empty()) newline(out, indent, depth);
        out += '}';
        return true;
    }
    }
    return false;
}

} // namespace

QByteArray JSONValue::compactBytes() const {
    QByteArray out;
    if (!write(*this, out, -1, 0)) return QByteArrayLiteral("null");
    return out;
}

QString JSONValue::compactString() const {
    return QString::fromUtf8(compactBytes());
}

QByteArray JSONValue::prettyBytes() const {
    QByteArray out;
    if (!write(*this, out, 2, 0)) return {};
    return out;
}

} // namespace nolvea
