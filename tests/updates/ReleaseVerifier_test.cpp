#include "updates/Base64URL.h"
#include "updates/ReleaseVerifier.h"
#include "updates/UpdateError.h"

#include "UpdateFixtures.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(Base64URL, PaddingAndAlphabetRules) {
    const struct {
        const char* text;
        std::optional<QByteArray> bytes;
    } cases[] = {
        {"-_8", QByteArray("\xfb\xff", 2)},  // url alphabet, no padding
        {"-_8=", QByteArray("\xfb\xff", 2)}, // with its padding
        {"+/8=", QByteArray("\xfb\xff", 2)}, // standard alphabet
        {"+_8", QByteArray("\xfb\xff", 2)},  // both mixed
        {"YQ", QByteArray("a")},             // "=" added twice
        {"YQ==", QByteArray("a")},
        {"", QByteArray()},
        {"YQ=", QByteArray("a")}, // one "=" given, one added
        {"Y", std::nullopt},      // cannot be padded into shape
        {"YQ===", std::nullopt},  // too much padding
        {"Y=Q=", std::nullopt},   // padding inside
        {"YQ== ", std::nullopt},  // white space
        {"Y Q=", std::nullopt},
        {"YQ\n", std::nullopt},
        {"YQ*=", std::nullopt}, // outside both alphabets
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeBase64URL(QString::fromLatin1(c.text)), c.bytes) << c.text;
}

class ReleaseVerifierTest : public ::testing::Test {
protected:
    test::KeyPair key;
    QByteArray archive = test::releaseZip("nova").bytes();
    QString digest = ReleaseVerifier::digestText(archive);
    QByteArray signature = key.sign(archive);

    // The kind of refusal, or nothing when accepted.
    std::optional<UpdateError::Kind> verdict(const QString& sha, const QString& sig,
                                             const QString& publicKey) {
        try {
            ReleaseVerifier::verify(archive, sha, sig, publicKey);
            return std::nullopt;
        } catch (const UpdateError& e) {
            return e.kind();
        }
    }
};

TEST_F(ReleaseVerifierTest, SignedMessageIsPrefixAndLowerCaseDigest) {
    const QByteArray message = ReleaseVerifier::signedMessage(digest);
    EXPECT_EQ(message.size(), 85);
    EXPECT_TRUE(message.startsWith("vemka-atualizacao-v1."));
    EXPECT_EQ(message.mid(21), digest.toLatin1());
    EXPECT_EQ(digest, digest.toLower());
}

TEST_F(ReleaseVerifierTest, AcceptsTheEncodingVariantsOfOneSignature) {
    const QString standard = QString::fromLatin1(signature.toBase64());
    for (const QString& sig : {test::base64url(signature), test::base64url(signature, true),
                               standard, QString(standard).remove(u'=')})
        EXPECT_EQ(verdict(digest, sig, key.publicText()), std::nullopt) << sig.toStdString();
    // Upper-case digest in the manifest; a padded built-in key.
    EXPECT_EQ(
        verdict(digest.toUpper(), test::base64url(signature), test::base64url(key.publicKey, true)),
        std::nullopt);
}

TEST_F(ReleaseVerifierTest, RefusesEverythingElseAsABadSignature) {
    test::KeyPair other;
    QByteArray flipped = signature;
    flipped[10] = char(flipped[10] ^ 1);
    const QByteArray noPrefix = key.signRaw(digest.toLatin1());
    const QString sig = test::base64url(signature);
    const struct {
        const char* what;
        QString sha;
        QString sig;
        QString publicKey;
    } cases[] = {
        {"digest of other bytes", ReleaseVerifier::digestText("outra coisa"), sig,
         key.publicText()},
        {"digest with a trailing space", digest + u' ', sig, key.publicText()},
        {"empty digest", QString(), sig, key.publicText()},
        {"signature by another key", digest, test::base64url(other.sign(archive)),
         key.publicText()},
        {"signature changed", digest, test::base64url(flipped), key.publicText()},
        {"signature without the prefix", digest, test::base64url(noPrefix), key.publicText()},
        {"signature cut short", digest, sig.left(40), key.publicText()},
        {"signature with white space", digest, sig.left(20) + u' ' + sig.mid(20), key.publicText()},
        {"no signature", digest, QString(), key.publicText()},
        {"no built-in key", digest, sig, QString()},
        {"built-in key malformed", digest, sig, QStringLiteral("não é chave")},
        {"built-in key of the wrong size", digest, sig, test::base64url(key.publicKey.left(31))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(verdict(c.sha, c.sig, c.publicKey), UpdateError::Kind::badSignature) << c.what;
}

// A key pair and signature made by openssl verify the same way: the formats agree.
TEST_F(ReleaseVerifierTest, OpensslSignatureVerifies) {
    QTemporaryDir dir(test::home() + "/openssl-XXXXXX");
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral("openssl"), args);
        EXPECT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput();
    };
    run({"genpkey", "-algorithm", "ed25519", "-out", "chave.pem"});
    // DER public key: a fixed 12-byte header, then the raw 32 bytes.
    const QByteArray der = run({"pkey", "-in", "chave.pem", "-pubout", "-outform", "DER"});
    ASSERT_EQ(der.size(), 44);
    QFile message(dir.filePath("mensagem"));
    ASSERT_TRUE(message.open(QIODevice::WriteOnly));
    message.write(ReleaseVerifier::signedMessage(digest));
    message.close();
    run({"pkeyutl", "-sign", "-rawin", "-inkey", "chave.pem", "-in", "mensagem", "-out",
         "assinatura"});
    const QByteArray sig = test::readAll(dir.filePath("assinatura"));
    ASSERT_EQ(sig.size(), 64);

    EXPECT_EQ(verdict(digest, test::base64url(sig), test::base64url(der.right(32))), std::nullopt);
    EXPECT_EQ(verdict(digest, test::base64url(sig), key.publicText()),
              UpdateError::Kind::badSignature);
}

} // namespace
