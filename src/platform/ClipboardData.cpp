#include "platform/ClipboardData.h"

namespace nolvea {

QStringList ClipboardData::types() const {
    QStringList out;
    out.reserve(m_formats.size());
    for (const Format& f : m_formats)
        out.append(f.type);
    return out;
}

bool ClipboardData::contains(const QString& type) const {
    for (const Format& f : m_formats)
        if (f.type == type) return true;
    return false;
}

QByteArray ClipboardData::value(const QString& type) const {
    for (const Format& f : m_formats)
        if (f.type == type) return f.data;
    return {};
}

void ClipboardData::set(const QString& type, const QByteArray& data) {
    for (Format& f : m_formats) {
        if (f.type == type) {
            f.data = data;
            return;
        }
    }
    m_formats.append({type, data});
}

} // namespace nolvea
