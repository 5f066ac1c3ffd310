// The developer modes of the real program, run as a child process.

#include "DevRun.h"
#include "support/LoopbackServer.h"
#include "support/TestEnvironment.h"
#include "ui/components/AppIconView.h"
#include "updates/Distribution.h"
#include "updates/ReleaseVerifier.h"
#include "updates/UpdateFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;

namespace {

QString goldenFile(const QString& name) {
    return QStringLiteral(NOLVEA_SOURCE_DIR "/tests/data/app/") + name;
}

} // namespace

TEST(DevModes, AnthropicFormatPrintsTheGoldenOutput) {
    const test::DevRun run = runNolvea({"--selftest-anthropic-format"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    QFile golden(goldenFile("anthropic-format.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(run.output() + u'\n', QString::fromUtf8(golden.readAll()));
}

// Which mode runs when several flags are given: the child's output shows it.
TEST(DevModes, TheFirstApplicableFlagOfTheTableRunsAlone) {
    QTemporaryDir icons;
    const QString folder = icons.path() + "/icones";
    const QProcessEnvironment noSite = [] {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("NOLVEA_SITE_URL", "");
        return env;
    }();
    struct Case {
        QStringList args;
        QString firstLine; // "" when the mode prints nothing
        int status;
    };
    const QList<Case> cases{
        // Order 6 comes before order 9, wherever they stand.
        {{"--selftest-update", "--selftest-anthropic-format"}, "{", 0},
        // "--render-icon" last has no folder: skipped, the update test runs (and fails: no site).
        {{"--selftest-update", "--render-icon"}, "Versão instalada: ", 1},
        // With a folder it comes before the update test.
        {{"--selftest-update", "--render-icon", folder}, "", 0},
        // The self-tests with values come first: a recording that is not there is one error.
        {{"--selftest-anthropic-format", "--selftest-dictation", folder + "/nada.wav"},
         "ERRO: ",
         1},
        {{"--selftest-update", "--selftest-mcp", "pedido", "nolvea-servidor-inexistente"},
         "ERRO MCP: ",
         1},
        // Without their values they do not apply.
        {{"--selftest-anthropic-format", "--selftest-mcp", "pedido"}, "{", 0},
        {{"--selftest-anthropic-format", "--selftest-agent"}, "{", 0},
        {{"--selftest-anthropic-format", "--selftest-dictation"}, "{", 0},
        // Whole arguments only: no prefix, no "=value", no other case.
        {{"--selftest-anthropic-format=1"}, "", 2},
        {{"--selftest-anthropic"}, "", 2},
        {{"--render-icons", folder}, "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const test::DevRun run = runNolvea(c.args, noSite);
        EXPECT_EQ(run.status, c.status) << run.errors.toStdString();
        if (c.firstLine.isEmpty())
            EXPECT_TRUE(run.lines.isEmpty()) << run.output().toStdString();
        else if (run.lines.isEmpty())
            ADD_FAILURE() << "no output";
        else
            EXPECT_TRUE(run.lines[0].startsWith(c.firstLine)) << run.output().toStdString();
    }
    for (const auto& [name, pixels] : AppIconView::iconsetFiles())
        EXPECT_TRUE(QFileInfo(folder + '/' + name).isFile()) << name.toStdString();
}

// A folder that cannot be made: the mode fails and names the first file it could not write.
TEST(DevModes, AnIconFolderThatCannotBeWrittenFailsTheMode) {
    const QString folder = "/dev/null/icones";
    const test::DevRun run = runNolvea({"--render-icon", folder});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.lines.isEmpty()) << run.output().toStdString();
    const QString first = AppIconView::iconsetFiles().first().first;
    EXPECT_TRUE(run.errors.contains("Não deu para gravar " + first + " em " + folder + "."))
        << run.errors.toStdString();
}

// Files already in place do not hide a failed write: with no byte writable the mode fails and
// names every file it could not replace.
TEST(DevModes, IconFilesThatCouldNotBeReplacedFailTheMode) {
    QTemporaryDir icons;
    const QString folder = icons.path();
    for (const auto& [name, pixels] : AppIconView::iconsetFiles()) {
        QFile old(folder + '/' + name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    }
    // Root writes through any permission; a file size limit of zero stops it too.
    const QStringList noBytes{"sh", "-c", "trap '' XFSZ; ulimit -f 0; exec \"$@\"", "sh"};
    const test::DevRun run =
        runNolvea({"--render-icon", folder}, QProcessEnvironment::systemEnvironment(), {}, noBytes);
    EXPECT_EQ(run.status, 1) << run.errors.toStdString();
    for (const auto& [name, pixels] : AppIconView::iconsetFiles())
        EXPECT_TRUE(run.errors.contains("Não deu para gravar " + name + " em " + folder + "."))
            << name.toStdString() << '\n'
            << run.errors.toStdString();
}

TEST(DevModes, NoApplicableFlagExitsWithAStatusScriptsCanSee) {
    const test::DevRun run = runNolvea({"--selftest-nada", "--render-"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_FALSE(run.errors.isEmpty());
}

// The update check against a loopback site: the phase, and the download only on request.
class UpdateSelfTest : public ::testing::Test {
protected:
    test::LoopbackServer site;
    test::KeyPair key;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    void SetUp() override { env.insert("NOLVEA_SITE_URL", site.url()); }

    void announce(qint64 build) {
        const QByteArray archive = test::releaseZip("nova").bytes();
        site.on("GET", "/Nolvea.zip", test::HttpResponse::text(archive, 200, "application/zip"));
        const QByteArray manifest =
            QStringLiteral(
                R"({"version":"9.9","build":%1,"url":"%2","sha256":"%3","signature":"%4"})")
                .arg(build)
                .arg(site.url("/Nolvea.zip"), ReleaseVerifier::digestText(archive),
                     test::base64url(key.sign(archive)))
                .toUtf8();
        site.on("GET", "/downloads/latest.json", test::HttpResponse::json(manifest));
    }
    QString installed() const {
        return "Versão instalada: " + Distribution::version() + " (" +
               QString::number(Distribution::build()) + ") · site: " + site.url();
    }
};

TEST_F(UpdateSelfTest, ACurrentBuildPrintsTwoLinesAndDownloadsNothing) {
    announce(Distribution::build());
    const test::DevRun run = runNolvea({"--selftest-update", "--baixar"}, env);
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines, QStringList({installed(), "Resultado: upToDate"}));
    EXPECT_EQ(site.count("/Nolvea.zip"), 0);
}

TEST_F(UpdateSelfTest, ANewerBuildIsDownloadedOnlyWithBaixar) {
    announce(Distribution::build() + 1);
    const test::DevRun look = runNolvea({"--selftest-update"}, env);
    EXPECT_EQ(look.status, 0);
    ASSERT_EQ(look.lines.size(), 2) << look.output().toStdString();
    EXPECT_TRUE(look.lines[1].startsWith("Resultado: available(versão 9.9"));
    EXPECT_EQ(site.count("/Nolvea.zip"), 0);

    // This build does not hold the key that signed the test release: the download is refused.
    const test::DevRun fetch = runNolvea({"--baixar", "--selftest-update"}, env);
    EXPECT_EQ(fetch.status, 1);
    ASSERT_EQ(fetch.lines.size(), 3) << fetch.output().toStdString();
    EXPECT_TRUE(fetch.lines[2].startsWith("✗ ")) << fetch.lines[2].toStdString();
}

TEST_F(UpdateSelfTest, AFailedCheckIsAFailedSelfTest) {
    site.on("GET", "/downloads/latest.json", test::HttpResponse::text("nada", 404));
    const test::DevRun run = runNolvea({"--selftest-update"}, env);
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 2) << run.output().toStdString();
    EXPECT_TRUE(run.lines[1].startsWith("Resultado: failed(")) << run.lines[1].toStdString();
}

// The idle test up to its long wait: the probe's seconds keep a decimal point under a locale
// that writes a comma.
TEST(DevModes, IdleProbePrintsItsSecondsWithADecimalPoint) {
    test::LoopbackServer server;
    server.on("POST", "/v1/chat/completions",
              test::HttpResponse::json(
                  R"({"choices":[{"message":{"role":"assistant","content":"ok"}}]})"));
    test::configureModel("ollama", server.url(), "pequeno");
    // A private Brazilian locale, which writes "1,5" for one and a half.
    QTemporaryDir locales;
    QProcess make;
    make.start("localedef", {"-i", "pt_BR", "-f", "UTF-8", locales.path() + "/pt_BR.UTF-8"});
    ASSERT_TRUE(make.waitForFinished(120000) && make.exitCode() == 0)
        << make.readAllStandardError().toStdString();
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("LOCPATH", locales.path());
    env.insert("LC_ALL", "pt_BR.UTF-8");
    const test::DevRun run = runNolvea({"--selftest-agent-nada", "--selftest-idle"}, env,
                                       [](const QString& l) { return l.startsWith("Esperando"); });
    ASSERT_EQ(run.lines.size(), 3) << run.output().toStdString() << run.errors.toStdString();
    EXPECT_EQ(run.lines[0], "Provedor: Ollama · pequeno");
    EXPECT_TRUE(QRegularExpression("^1º pedido: \\d+\\.\\d s → ok$").match(run.lines[1]).hasMatch())
        << run.lines[1].toStdString();
    EXPECT_EQ(run.lines[2], "Esperando 100 s sem uso…");
}
