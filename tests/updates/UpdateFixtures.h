#pragma once

// Shared pieces of the update tests: release archives built byte by byte, signatures made with
// a fresh libsodium key pair, and application roots whose program leaves a mark when started.

#include "updates/ReleaseVerifier.h"
#include "updates/UpdateRelease.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <sodium.h>
#include <sys/stat.h>
#include <zlib.h>

#include <vector>

namespace nolvea::test {

inline QString base64url(const QByteArray& bytes, bool padded = false) {
    QByteArray::Base64Options options = QByteArray::Base64UrlEncoding;
    if (!padded) options |= QByteArray::OmitTrailingEquals;
    return QString::fromLatin1(bytes.toBase64(options));
}

struct KeyPair {
    QByteArray publicKey{crypto_sign_PUBLICKEYBYTES, 0};
    QByteArray secretKey{crypto_sign_SECRETKEYBYTES, 0};

    KeyPair() {
        if (sodium_init() < 0) std::abort();
        crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                            reinterpret_cast<unsigned char*>(secretKey.data()));
    }
    QString publicText() const { return base64url(publicKey); }
    QByteArray signRaw(const QByteArray& message) const {
        QByteArray sig(crypto_sign_BYTES, 0);
        crypto_sign_detached(reinterpret_cast<unsigned char*>(sig.data()), nullptr,
                             reinterpret_cast<const unsigned char*>(message.constData()),
                             quint64(message.size()),
                             reinterpret_cast<const unsigned char*>(secretKey.constData()));
        return sig;
    }
    // The release signature of an archive, as the publisher makes it.
    QByteArray sign(const QByteArray& archive) const {
        return signRaw(ReleaseVerifier::signedMessage(ReleaseVerifier::digestText(archive)));
    }
};

// A zip written entry by entry (stored, or deflated), with the names and modes given: enough
// to build both sound releases and hostile ones.
class ZipMaker {
public:
    ZipMaker& file(const QString& name, const QByteArray& bytes, quint32 mode = 0100644) {
        m_entries.push_back({name.toUtf8(), bytes, mode});
        return *this;
    }
    ZipMaker& folder(const QString& name) { return file(name + u'/', {}, 040755); }
    ZipMaker& link(const QString& name, const QByteArray& target) {
        return file(name, target, 0120777);
    }
    // Stores a CRC that does not match the bytes of the last entry.
    ZipMaker& corruptLast() {
        m_entries.back().badCrc = true;
        return *this;
    }
    ZipMaker& deflate(bool on = true) {
        m_deflate = on;
        return *this;
    }

    QByteArray bytes() const {
        QByteArray out;
        QByteArray central;
        for (const Entry& e : m_entries) {
            quint32 crc = quint32(
                crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), uInt(e.data.size())));
            if (e.badCrc) crc ^= 0xdeadbeef;
            const bool packed = m_deflate && !e.data.isEmpty();
            const QByteArray data = packed ? rawDeflate(e.data) : e.data;
            const quint16 method = packed ? 8 : 0;
            const qint64 offset = out.size();
            put32(out, 0x04034b50);
            put16(out, 20), put16(out, 0), put16(out, method), put16(out, 0), put16(out, 0x21);
            put32(out, crc), put32(out, quint32(data.size())), put32(out, quint32(e.data.size()));
            put16(out, quint16(e.name.size())), put16(out, 0);
            out += e.name;
            out += data;

            put32(central, 0x02014b50);
            put16(central, 3 << 8 | 20), put16(central, 20), put16(central, 0);
            put16(central, method), put16(central, 0), put16(central, 0x21);
            put32(central, crc), put32(central, quint32(data.size()));
            put32(central, quint32(e.data.size()));
            put16(central, quint16(e.name.size())), put16(central, 0), put16(central, 0);
            put16(central, 0), put16(central, 0), put32(central, e.mode << 16);
            put32(central, quint32(offset));
            central += e.name;
        }
        const qint64 dirOffset = out.size();
        out += central;
        put32(out, 0x06054b50);
        put16(out, 0), put16(out, 0);
        put16(out, quint16(m_entries.size())), put16(out, quint16(m_entries.size()));
        put32(out, quint32(central.size())), put32(out, quint32(dirOffset)), put16(out, 0);
        return out;
    }

private:
    struct Entry {
        QByteArray name;
        QByteArray data;
        quint32 mode;
        bool badCrc = false;
    };
    static void put16(QByteArray& b, quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); }
    static void put32(QByteArray& b, quint32 v) {
        put16(b, quint16(v)), put16(b, quint16(v >> 16));
    }
    static QByteArray rawDeflate(const QByteArray& in) {
        z_stream zs{};
        deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        QByteArray out(int(deflateBound(&zs, uLong(in.size()))), 0);
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        zs.avail_in = uInt(in.size());
        zs.next_out = reinterpret_cast<Bytef*>(out.data());
        zs.avail_out = uInt(out.size());
        ::deflate(&zs, Z_FINISH);
        out.resize(qsizetype(zs.total_out));
        deflateEnd(&zs);
        return out;
    }

    std::vector<Entry> m_entries;
    bool m_deflate = false;
};

// The program of a test application root: started, it writes `tag` into "iniciou" beside the
// root, so a test sees which version was started again.
inline QByteArray programText(const QByteArray& tag) {
    return "#!/bin/sh\necho " + tag + " > \"$(dirname \"$0\")/../../iniciou\"\n";
}

// A release archive holding `top` laid out as an application root.
inline ZipMaker releaseZip(const QByteArray& tag,
                           const QString& top = QStringLiteral("Nolvea.app")) {
    ZipMaker zip;
    zip.folder(top)
        .folder(top + "/bin")
        .file(top + "/bin/nolvea", programText(tag), 0100755)
        .folder(top + "/share")
        .folder(top + "/share/nolvea")
        .file(top + "/share/nolvea/versao.txt", tag + "\n");
    return zip;
}

// An installed application root at `root`.
inline void makeAppRoot(const QString& root, const QByteArray& tag) {
    QDir().mkpath(root + "/bin");
    QDir().mkpath(root + "/share/nolvea");
    QFile program(root + "/bin/nolvea");
    program.open(QIODevice::WriteOnly);
    program.write(programText(tag));
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile version(root + "/share/nolvea/versao.txt");
    version.open(QIODevice::WriteOnly);
    version.write(tag + "\n");
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything below `folder`, as relative paths.
inline QStringList listTree(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace nolvea::test
