#pragma once

#include <QByteArray>

#include <vector>

namespace nolvea {

// Cuts a server's output into lines as it arrives: whole lines out, the unfinished rest kept.
class MCPLineBuffer {
public:
    explicit MCPLineBuffer(qsizetype maxLineBytes)
        : m_maxLineBytes(maxLineBytes) {}

    // The lines `bytes` completes, without their line feeds.
    std::vector<QByteArray> append(const QByteArray& bytes);
    // Whether the unfinished line outgrew the limit; it is dropped when it does.
    bool overflowed() const { return m_overflowed; }
    qsizetype pending() const { return m_buffer.size(); }

private:
    qsizetype m_maxLineBytes;
    QByteArray m_buffer;
    qsizetype m_scanned = 0; // bytes of m_buffer already known to hold no line feed
    bool m_overflowed = false;
};

} // namespace nolvea
