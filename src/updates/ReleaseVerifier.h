#pragma once

#include <QByteArray>
#include <QString>

namespace nolvea {

// Proof that a downloaded archive is the publisher's: its SHA-256 must be the manifest's, and
// the manifest's Ed25519 signature over "vemka-atualizacao-v1." + that digest must verify
// with the built-in public key.
class ReleaseVerifier {
public:
    // The SHA-256 of `bytes` as 64 lower-case hex digits.
    static QString digestText(const QByteArray& bytes);
    // The 85 bytes the publisher signs.
    static QByteArray signedMessage(const QString& digestText);

    // Throws `UpdateError::badSignature` unless the archive passes every check.
    static void verify(const QByteArray& archive, const QString& sha256, const QString& signature,
                       const QString& publicKey);
};

} // namespace nolvea
