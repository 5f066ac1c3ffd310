#include "updates/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>
#include <zlib.h>

namespace nolvea {

namespace {

constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr qint64 kMaxEntrySize = qint64(1) << 30; // more than any release needs
constexpr qint64 kMaxTotalSize = qint64(4) << 30;
constexpr int kHostUnix = 3;

quint16 u16(const QByteArray& d, qint64 at) {
    return quint16(uchar(d[at])) | quint16(uchar(d[at + 1])) << 8;
}

quint32 u32(const QByteArray& d, qint64 at) {
    return quint32(u16(d, at)) | quint32(u16(d, at + 2)) << 16;
}

quint32 crcOf(const char* data, qint64 size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const uInt chunk = uInt(std::min<qint64>(size, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), chunk);
        data += chunk;
        size -= chunk;
    }
    return quint32(crc);
}

std::optional<QByteArray> inflateRaw(const char* in, qint64 inSize, qint64 outSize) {
    QByteArray out(outSize, Qt::Uninitialized);
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return std::nullopt;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    zs.avail_in = uInt(inSize);
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(outSize);
    const int rc = inflate(&zs, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && qint64(zs.total_out) == outSize;
    inflateEnd(&zs);
    if (!ok) return std::nullopt;
    return out;
}

} // namespace

bool ZipArchive::isSafeName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\')) return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
    for (const QString& part : name.split(u'/'))
        if (part.isEmpty() || part == u"." || part == u"..") return false;
    return true;
}

std::optional<ZipArchive> ZipArchive::open(QByteArray data) {
    const qint64 n = data.size();
    if (n < 22) return std::nullopt;
    // The end record sits in the last 22 bytes plus at most a 65,535-byte comment.
    qint64 end = -1;
    for (qint64 at = n - 22; at >= 0 && at >= n - 22 - 65535; --at) {
        if (u32(data, at) == kEndSignature && at + 22 + u16(data, at + 20) == n) {
            end = at;
            break;
        }
    }
    if (end < 0) return std::nullopt;
    const quint16 count = u16(data, end + 10);
    const qint64 dirSize = u32(data, end + 12);
    const qint64 dirOffset = u32(data, end + 16);
    if (u16(data, end + 4) != 0 || u16(data, end + 6) != 0 || u16(data, end + 8) != count)
        return std::nullopt;                                               // split archives
    if (count == 0xffff || dirOffset + dirSize > end) return std::nullopt; // ZIP64 or broken

    ZipArchive zip;
    QSet<QString> seen;
    qint64 total = 0;
    qint64 at = dirOffset;
    for (int i = 0; i < count; ++i) {
        if (at + 46 > end || u32(data, at) != kCentralSignature) return std::nullopt;
        const int host = u16(data, at + 4) >> 8;
        const quint16 flags = u16(data, at + 8);
        Entry e;
        e.method = u16(data, at + 10);
        e.crc = u32(data, at + 16);
        e.packedSize = u32(data, at + 20);
        e.size = u32(data, at + 24);
        const int nameLength = u16(data, at + 28);
        const int extraLength = u16(data, at + 30);
        const int commentLength = u16(data, at + 32);
        const quint32 mode = u32(data, at + 38) >> 16;
        e.headerOffset = u32(data, at + 42);
        if (at + 46 + nameLength + extraLength + commentLength > end) return std::nullopt;
        if (flags & 0x1) return std::nullopt; // encrypted
        if (e.packedSize == 0xffffffff || e.size == 0xffffffff || e.headerOffset == 0xffffffff)
            return std::nullopt;
        total += e.size;
        if (e.size > kMaxEntrySize || total > kMaxTotalSize) return std::nullopt;

        QString name = QString::fromUtf8(data.constData() + at + 46, nameLength);
        if (name.endsWith(u'/')) {
            e.folder = true;
            name.chop(1);
        }
        if (host == kHostUnix && mode) {
            if (S_ISLNK(mode) || (!S_ISREG(mode) && !S_ISDIR(mode))) return std::nullopt;
            if (S_ISDIR(mode)) e.folder = true;
            e.executable = mode & 0111;
        }
        if (!isSafeName(name) || seen.contains(name)) return std::nullopt;
        if (e.folder && e.size != 0) return std::nullopt;
        if (e.method != 0 && e.method != 8) return std::nullopt;
        if (e.method == 0 && e.packedSize != e.size) return std::nullopt;
        seen.insert(name);
        e.name = name;
        zip.m_entries.push_back(e);
        at += 46 + nameLength + extraLength + commentLength;
    }
    zip.m_data = std::move(data);
    return zip;
}

std::optional<QByteArray> ZipArchive::read(const Entry& e) const {
    const qint64 at = e.headerOffset;
    if (at + 30 > m_data.size() || u32(m_data, at) != kLocalSignature) return std::nullopt;
    const qint64 start = at + 30 + u16(m_data, at + 26) + u16(m_data, at + 28);
    if (start + e.packedSize > m_data.size()) return std::nullopt;
    std::optional<QByteArray> bytes;
    if (e.method == 0)
        bytes = m_data.mid(start, e.packedSize);
    else
        bytes = inflateRaw(m_data.constData() + start, e.packedSize, e.size);
    if (!bytes || bytes->size() != e.size || crcOf(bytes->constData(), bytes->size()) != e.crc)
        return std::nullopt;
    return bytes;
}

std::optional<UpdateError> ZipArchive::extractTo(const QString& folder) const {
    const QDir base(folder);
    for (const Entry& e : m_entries) {
        const QString path = base.filePath(e.name);
        if (e.folder) {
            if (!base.mkpath(e.name)) return UpdateError::unpack();
            continue;
        }
        // Nothing on the way can be a link: the archive holds none and the folder is ours.
        if (!base.mkpath(QFileInfo(e.name).path())) return UpdateError::unpack();
        const auto bytes = read(e);
        if (!bytes) return UpdateError::unpack();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return UpdateError::unpack();
        if (file.write(*bytes) != bytes->size()) return UpdateError::unpack();
        QFile::Permissions perms =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        if (e.executable) perms |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        if (!file.setPermissions(perms)) return UpdateError::unpack();
    }
    return std::nullopt;
}

bool ZipArchive::matches(const QString& folder, const QString& top) const {
    const QString prefix = top + u'/';
    QSet<QString> folders{top};
    QHash<QString, const Entry*> files;
    for (const Entry& e : m_entries) {
        if (e.name != top && !e.name.startsWith(prefix)) continue;
        if (e.folder)
            folders.insert(e.name);
        else
            files.insert(e.name, &e);
        // Every folder on the way is implied.
        for (qsizetype cut = e.name.lastIndexOf(u'/'); cut > 0;
             cut = e.name.lastIndexOf(u'/', cut - 1))
            folders.insert(e.name.left(cut));
    }
    if (files.contains(top)) return false;

    const QDir base(folder);
    QSet<QString> found;
    QDirIterator it(base.filePath(top),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = base.relativeFilePath(it.filePath());
        struct stat st {};
        if (::lstat(QFile::encodeName(it.filePath()).constData(), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) {
            if (!folders.contains(relative)) return false;
            continue;
        }
        if (!S_ISREG(st.st_mode)) return false;
        const Entry* e = files.value(relative);
        if (!e || st.st_size != e->size) return false;
        QFile file(it.filePath());
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray bytes = file.readAll();
        if (crcOf(bytes.constData(), bytes.size()) != e->crc) return false;
        found.insert(relative);
    }
    return found.size() == files.size();
}

} // namespace nolvea
