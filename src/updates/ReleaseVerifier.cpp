#include "updates/ReleaseVerifier.h"

#include "updates/Base64URL.h"
#include "updates/UpdateError.h"

#include <QCryptographicHash>

#include <sodium.h>

namespace nolvea {

QString ReleaseVerifier::digestText(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray ReleaseVerifier::signedMessage(const QString& digestText) {
    return QByteArrayLiteral("vemka-atualizacao-v1.") + digestText.toUtf8();
}

void ReleaseVerifier::verify(const QByteArray& archive, const QString& sha256,
                             const QString& signature, const QString& publicKey) {
    const QString digest = digestText(archive);
    // Exact comparison: only the case of the manifest's digest may differ.
    if (digest != sha256.toLower()) throw UpdateError::badSignature();

    const auto sig = decodeBase64URL(signature);
    if (!sig || sig->size() != crypto_sign_BYTES) throw UpdateError::badSignature();
    const QByteArray key = decodeBase64URL(publicKey).value_or(QByteArray());
    if (key.size() != crypto_sign_PUBLICKEYBYTES) throw UpdateError::badSignature();

    if (sodium_init() < 0) throw UpdateError::badSignature();
    const QByteArray message = signedMessage(digest);
    if (crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(sig->constData()),
                                    reinterpret_cast<const unsigned char*>(message.constData()),
                                    quint64(message.size()),
                                    reinterpret_cast<const unsigned char*>(key.constData())) != 0)
        throw UpdateError::badSignature();
}

} // namespace nolvea
