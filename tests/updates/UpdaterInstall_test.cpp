#include "updates/Updater.h"

#include "UpdateFixtures.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/PrivateTempDir.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace nolvea;
using namespace std::chrono_literals;
using Kind = UpdatePhase::Kind;

namespace {

const QString kBadSignature =
    QStringLiteral("A atualização baixada não tem a assinatura da Nolvea. Nada foi instalado.");
const QString kUnpack = QStringLiteral("Não deu para abrir o arquivo da atualização.");

// An installed application root, a running stand-in for this process, and the update site.
class UpdaterInstallTest : public ::testing::Test {
protected:
    test::LoopbackServer site;
    test::KeyPair key;
    QString holder =
        test::home() + "/apps-" +
        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    QString root = holder + "/Nolvea";
    QProcess running;
    int terminated = 0;
    std::unique_ptr<Updater> updater;

    void SetUp() override {
        test::makeAppRoot(root, "velha");
        running.start("sleep", {"60"});
        ASSERT_TRUE(running.waitForStarted());
        make(root);
    }
    void TearDown() override {
        updater.reset();
        running.kill();
        running.waitForFinished();
    }
    void make(const QString& appRoot, const QString& publicKey = {}) {
        UpdaterSetup s;
        s.siteURL = QUrl(site.url());
        s.version = "1.0";
        s.build = 10;
        s.publicKey = publicKey.isNull() ? key.publicText() : publicKey;
        s.executablePath = appRoot + "/bin/nolvea";
        s.processId = running.processId();
        s.downloadTimeout = 2s;
        s.terminate = [this] { ++terminated; };
        updater = std::make_unique<Updater>(s);
    }

    // A release of `archive`, signed by `signer`, served by the site.
    UpdateRelease publish(const QByteArray& archive, const test::KeyPair* signer = nullptr) {
        site.on("GET", "/Nolvea.zip", test::HttpResponse::text(archive, 200, "application/zip"));
        UpdateRelease r;
        r.version = "2.0";
        r.build = 11;
        r.url = QUrl(site.url("/Nolvea.zip"));
        r.sha256 = ReleaseVerifier::digestText(archive);
        r.signature = test::base64url((signer ? signer : &key)->sign(archive));
        return r;
    }

    QString installAndWait(const UpdateRelease& release) {
        updater->install(release);
        EXPECT_EQ(updater->phase(), UpdatePhase::downloading());
        EXPECT_TRUE(test::spinUntil(
            [&] { return updater->phase().kind == Kind::failed || terminated > 0; }));
        return updater->phase().message;
    }

    // The work folders the updater left in the private temporary folder.
    static QStringList workFolders() {
        return QDir(PrivateTempDir::base()).entryList({"nolvea-atualizacao-*"}, QDir::Dirs);
    }

    void expectUntouched() {
        EXPECT_EQ(terminated, 0);
        EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "velha\n");
        EXPECT_EQ(test::listTree(root), QStringList({"bin", "bin/nolvea", "share", "share/nolvea",
                                                     "share/nolvea/versao.txt"}));
        EXPECT_TRUE(workFolders().isEmpty()) << workFolders().join(' ').toStdString();
    }
};

TEST_F(UpdaterInstallTest, InstallsAVerifiedReleaseAndStartsItAfterTheProcessEnds) {
    QList<Kind> seen;
    QObject::connect(updater.get(), &Updater::phaseChanged, [&] { seen << updater->phase().kind; });
    const auto release = publish(test::releaseZip("nova").deflate().bytes());
    EXPECT_EQ(installAndWait(release), QString());
    EXPECT_EQ(seen, QList<Kind>({Kind::downloading, Kind::installing}));
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(site.lastRequest().path, "/Nolvea.zip");
    // The old version stays until this process has gone.
    EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "velha\n");

    running.kill();
    running.waitForFinished();
    ASSERT_TRUE(test::spinUntil([&] { return !test::readAll(holder + "/iniciou").isEmpty(); }));
    EXPECT_EQ(test::readAll(holder + "/iniciou"), "nova\n");
    EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "nova\n");
    QStringList beside =
        QDir(holder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    beside.sort();
    EXPECT_EQ(beside, QStringList({"Nolvea", "iniciou"}));
    EXPECT_TRUE(test::spinUntil([] { return workFolders().isEmpty(); }));
}

TEST_F(UpdaterInstallTest, DownloadUnpacksIntoAPrivateWorkFolder) {
    const QByteArray archive = test::releaseZip("nova").bytes();
    const auto release = publish(archive);
    const QString newRoot = test::await(updater->download(release));
    const QFileInfo work(QFileInfo(newRoot).path());
    EXPECT_EQ(QFileInfo(newRoot).fileName(), "Nolvea.app");
    EXPECT_TRUE(work.fileName().startsWith("nolvea-atualizacao-11-"));
    EXPECT_EQ(work.fileName().size(), QStringLiteral("nolvea-atualizacao-11-XXXXXX").size());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(work.filePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(test::readAll(work.filePath() + "/Nolvea.zip"), archive);
    EXPECT_EQ(test::readAll(newRoot + "/share/nolvea/versao.txt"), "nova\n");
    // The next download replaces it; the updater's end removes it.
    const QString second = test::await(updater->download(release));
    EXPECT_NE(second, newRoot);
    EXPECT_FALSE(QFileInfo::exists(work.filePath()));
    updater.reset();
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST_F(UpdaterInstallTest, AcceptsTheSignatureAndDigestVariants) {
    const QByteArray archive = test::releaseZip("nova").bytes();
    const QByteArray sig = key.sign(archive);
    const QString standard = QString::fromLatin1(sig.toBase64());
    for (const QString& signature : {test::base64url(sig), test::base64url(sig, true), standard,
                                     QString(standard).remove(u'=')}) {
        for (bool upper : {false, true}) {
            auto release = publish(archive);
            release.signature = signature;
            if (upper) release.sha256 = release.sha256.toUpper();
            EXPECT_NO_THROW(test::await(updater->download(release)))
                << signature.toStdString() << upper;
        }
    }
}

TEST_F(UpdaterInstallTest, RefusesWhatIsNotThePublishersRelease) {
    const QByteArray archive = test::releaseZip("nova").bytes();
    test::KeyPair other;
    const struct {
        const char* what;
        std::function<UpdateRelease()> release;
        QString message;
    } cases[] = {
        {"archive changed on the way",
         [&] {
             auto r = publish(archive);
             publish(test::releaseZip("outra").bytes());
             return r;
         },
         kBadSignature},
        {"digest with a trailing space",
         [&] {
             auto r = publish(archive);
             r.sha256 += u' ';
             return r;
         },
         kBadSignature},
        {"signed with another key", [&] { return publish(archive, &other); }, kBadSignature},
        {"signature malformed",
         [&] {
             auto r = publish(archive);
             r.signature = "não é base64";
             return r;
         },
         kBadSignature},
        {"signature without the prefix",
         [&] {
             auto r = publish(archive);
             r.signature = test::base64url(key.signRaw(r.sha256.toLatin1()));
             return r;
         },
         kBadSignature},
        {"error page instead of the archive",
         [&] {
             auto r = publish(archive);
             site.on("GET", "/Nolvea.zip", test::HttpResponse::text("<h1>404</h1>", 404));
             return r;
         },
         kBadSignature},
        {"zip-slip",
         [&] {
             return publish(
                 test::releaseZip("nova").file("Nolvea.app/../../../../fora", "x").bytes());
         },
         kUnpack},
        {"absolute path",
         [&] {
             return publish(test::releaseZip("nova").file(test::home() + "/fora", "x").bytes());
         },
         kUnpack},
        {"link out of the root",
         [&] {
             return publish(
                 test::releaseZip("nova").link("Nolvea.app/share/nolvea/l", "/").bytes());
         },
         kUnpack},
        {"wrong top folder", [&] { return publish(test::releaseZip("nova", "Nolvea").bytes()); },
         kUnpack},
        {"root without the program",
         [&] {
             return publish(test::ZipMaker()
                                .folder("Nolvea.app/bin")
                                .file("Nolvea.app/share/nolvea/versao.txt", "nova\n")
                                .bytes());
         },
         kUnpack},
        {"root with something else",
         [&] {
             return publish(test::releaseZip("nova").file("Nolvea.app/bin/outro", "x").bytes());
         },
         kUnpack},
        {"damaged entry", [&] { return publish(test::releaseZip("nova").corruptLast().bytes()); },
         kUnpack},
        {"not a zip", [&] { return publish("só texto"); }, kUnpack},
        {"no answer",
         [&] {
             auto r = publish(archive);
             test::HttpResponse closed;
             closed.hangUp = true;
             site.on("GET", "/Nolvea.zip", closed);
             return r;
         },
         "O servidor fechou a conexão antes de responder."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        terminated = 0;
        EXPECT_EQ(installAndWait(c.release()), c.message);
        expectUntouched();
        EXPECT_FALSE(QFileInfo::exists(test::home() + "/fora"));
    }
    // With no usable built-in key nothing verifies.
    for (const QString& builtIn : {QStringLiteral(""), QStringLiteral("curta")}) {
        make(root, builtIn);
        EXPECT_EQ(installAndWait(publish(archive)), kBadSignature);
        expectUntouched();
    }
}

TEST_F(UpdaterInstallTest, NeverReplacesAFolderThatIsNotAnApplicationRoot) {
    const auto release = publish(test::releaseZip("nova").bytes());
    // A build folder: the program without the data beside it.
    const QString build = holder + "/build";
    QDir().mkpath(build + "/bin");
    QFile::copy(root + "/bin/nolvea", build + "/bin/nolvea");
    // A prefix shared with other programs, as ~/.local or /usr.
    const QString shared = holder + "/local";
    test::makeAppRoot(shared, "velha");
    QFile(shared + "/bin/outro").open(QIODevice::WriteOnly);

    for (const QString& candidate : {build, shared}) {
        make(candidate);
        EXPECT_EQ(installAndWait(release),
                  "Sem permissão para atualizar em " + holder + ". Baixe a versão nova pelo site.");
        EXPECT_EQ(terminated, 0);
        EXPECT_TRUE(workFolders().isEmpty());
    }
    EXPECT_EQ(test::listTree(shared), QStringList({"bin", "bin/nolvea", "bin/outro", "share",
                                                   "share/nolvea", "share/nolvea/versao.txt"}));
}

// Run by an unprivileged user: root may write anywhere, so as root the test runs itself again
// as "nobody" over a root made here.
TEST_F(UpdaterInstallTest, AReadOnlyRootFailsBeforeAnyScriptAndKeepsRunning) {
    const QByteArray given = qgetenv("NOLVEA_TEST_READONLY_ROOT");
    if (::geteuid() == 0 && given.isEmpty()) {
        QTemporaryDir shared(QStringLiteral("/tmp/nolvea-somente-leitura-XXXXXX"));
        ASSERT_TRUE(shared.isValid());
        ::chmod(QFile::encodeName(shared.path()).constData(), 0755);
        test::makeAppRoot(shared.path() + "/Nolvea", "velha");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NOLVEA_TEST_READONLY_ROOT", shared.path() + "/Nolvea");
        env.remove("TMPDIR");
        child.setProcessEnvironment(env);
        child.setWorkingDirectory("/");
        child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                QCoreApplication::applicationFilePath(),
                                "--gtest_filter=UpdaterInstallTest.AReadOnlyRoot*"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        EXPECT_EQ(test::readAll(shared.path() + "/Nolvea/share/nolvea/versao.txt"), "velha\n");
        return;
    }
    QString readOnly = QString::fromLocal8Bit(given);
    if (readOnly.isEmpty()) {
        readOnly = root;
        for (const QString& folder : {root, holder})
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    make(readOnly);
    EXPECT_EQ(installAndWait(publish(test::releaseZip("nova").bytes())),
              "Sem permissão para atualizar em " + QFileInfo(readOnly).path() +
                  ". Baixe a versão nova pelo site.");
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(workFolders().isEmpty());
    EXPECT_EQ(test::readAll(readOnly + "/share/nolvea/versao.txt"), "velha\n");
    QFile::setPermissions(holder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
