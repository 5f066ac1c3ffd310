#pragma once

#include "updates/UpdateError.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// A zip archive read from memory, unpacked only where it is safe: every name must be a plain
// relative path (no "..", no leading "/", no backslash, no empty or "." part), links are
// refused, and each file's size and CRC-32 are checked as it is written. Stored and deflated
// entries; no ZIP64, no encryption.
class ZipArchive {
public:
    struct Entry {
        QString name; // without the trailing "/" of a folder
        bool folder = false;
        bool executable = false;
        quint16 method = 0;
        quint32 crc = 0;
        qint64 packedSize = 0;
        qint64 size = 0;
        qint64 headerOffset = 0;
    };

    // Reads the central directory; nothing for an archive that is malformed or unsafe.
    static std::optional<ZipArchive> open(QByteArray data);

    const std::vector<Entry>& entries() const& { return m_entries; }
    std::vector<Entry> entries() const&& { return m_entries; }

    // The entry's bytes, checked against its size and CRC; nothing when they differ.
    std::optional<QByteArray> read(const Entry& entry) const;

    // Writes every entry below `folder`, which must exist. Nothing when every entry was
    // written; `UpdateError::unpack` at the first that could not be.
    [[nodiscard]] std::optional<UpdateError> extractTo(const QString& folder) const;

    // Whether `folder`/`top` holds exactly the archive's entries below `top`: the same files
    // with the same bytes and no others, no links nor special files.
    bool matches(const QString& folder, const QString& top) const;

    // Whether a name may be unpacked.
    static bool isSafeName(const QString& name);

private:
    QByteArray m_data;
    std::vector<Entry> m_entries;
};

} // namespace nolvea
