#include "updates/Base64URL.h"

namespace nolvea {

namespace {

int sextet(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c - u'A';
    if (c >= u'a' && c <= u'z') return c - u'a' + 26;
    if (c >= u'0' && c <= u'9') return c - u'0' + 52;
    if (c == u'+') return 62;
    if (c == u'/') return 63;
    return -1;
}

} // namespace

std::optional<QByteArray> decodeBase64URL(const QString& text) {
    QString s = text;
    s.replace(u'-', u'+').replace(u'_', u'/');
    while (s.size() % 4 != 0)
        s.append(u'=');

    QByteArray out;
    out.reserve(s.size() / 4 * 3);
    for (qsizetype i = 0; i < s.size(); i += 4) {
        const bool last = i + 4 == s.size();
        int v[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const char16_t c = s[i + k].unicode();
            if (c == u'=') {
                // Padding only ends the text, and only in the last two places.
                if (!last || k < 2) return std::nullopt;
                ++padding;
                v[k] = 0;
                continue;
            }
            if (padding) return std::nullopt;
            v[k] = sextet(c);
            if (v[k] < 0) return std::nullopt;
        }
        const quint32 n = quint32(v[0]) << 18 | quint32(v[1]) << 12 | quint32(v[2]) << 6 | v[3];
        out.append(char(n >> 16));
        if (padding < 2) out.append(char(n >> 8 & 0xff));
        if (padding < 1) out.append(char(n & 0xff));
    }
    return out;
}

} // namespace nolvea
