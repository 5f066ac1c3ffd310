#include "mcp/MCPLineBuffer.h"

#include <algorithm>

namespace nolvea {

std::vector<QByteArray> MCPLineBuffer::append(const QByteArray& bytes) {
    std::vector<QByteArray> lines;
    m_buffer.append(bytes);
    qsizetype from = 0;
    for (;;) {
        const qsizetype feed = m_buffer.indexOf('\n', std::max(from, m_scanned));
        if (feed < 0) break;
        lines.push_back(m_buffer.mid(from, feed - from));
        from = feed + 1;
    }
    m_buffer.remove(0, from);
    m_scanned = m_buffer.size();
    if (m_buffer.size() > m_maxLineBytes) {
        m_overflowed = true;
        m_buffer.clear();
        m_scanned = 0;
    }
    return lines;
}

} // namespace nolvea
