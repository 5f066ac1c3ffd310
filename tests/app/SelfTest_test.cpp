// The developer modes in this process: the flag table, and the routines whose waits and keys
// a test has to control (the clock of the idle test, the signing key of the update).

#include "ai/IdleUnloader.h"
#include "app/DevFlags.h"
#include "app/SelfTest.h"
#include "core/AppSettings.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"
#include "updates/ReleaseVerifier.h"
#include "updates/UpdateFixtures.h"
#include "updates/Updater.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace std::chrono_literals;
using Kind = DevCommand::Kind;

namespace {

QStringList linesOf(const std::string& captured) {
    QString text = QString::fromStdString(captured);
    if (text.endsWith(u'\n')) text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

} // namespace

TEST(DevFlags, TheFirstFlagThatAppliesWins) {
    struct Case {
        QStringList args;
        std::optional<DevCommand> command;
    };
    const QList<Case> cases{
        {{"nolvea"}, std::nullopt},
        {{"nolvea", "--selftest-idle", "--selftest-dictation", "fala.wav"},
         DevCommand{Kind::dictation, "fala.wav"}},
        {{"nolvea", "--selftest-agent", "A", "--selftest-dictation", "fala.wav"},
         DevCommand{Kind::dictation, "fala.wav"}},
        // The agent flag last has no request: the idle test runs.
        {{"nolvea", "--selftest-idle", "--selftest-agent"}, DevCommand{Kind::idle}},
        {{"nolvea", "--selftest-agent", "A", "--selftest-dictation"}, DevCommand{Kind::agent, "A"}},
        {{"nolvea", "--then", "B", "--selftest-agent", "A", "--selection", "texto"},
         [] {
             DevCommand c{Kind::agent, "A"};
             c.selection = "texto";
             return c;
         }()},
        {{"nolvea", "--selftest-mcp", "p", "node", "--selftest-agent", "A"},
         DevCommand{Kind::agent, "A"}},
        // The MCP flag needs a request and a command.
        {{"nolvea", "--selftest-mcp", "pedido"}, std::nullopt},
        {{"nolvea", "--selftest-idle", "--selftest-mcp", "pedido"}, DevCommand{Kind::idle}},
        // Its server gets what follows the command up to the first "--then".
        {{"nolvea", "--selftest-mcp", "p", "node", "s.js", "-x", "--then", "B", "y", "--then", "C"},
         [] {
             DevCommand c{Kind::mcp, "p"};
             c.command = "node";
             c.serverArgs = {"s.js", "-x"};
             return c;
         }()},
        {{"nolvea", "--selftest-tts", "texto", "--selftest-mcp", "p", "node"},
         [] {
             DevCommand c{Kind::mcp, "p"};
             c.command = "node";
             return c;
         }()},
        // A value is whatever follows: the speech test speaks "--selftest-idle".
        {{"nolvea", "--selftest-tts", "--selftest-idle"}, DevCommand{Kind::tts, "--selftest-idle"}},
        {{"nolvea", "--selftest-anthropic-format", "--selftest-tts", "Olá."},
         DevCommand{Kind::tts, "Olá."}},
        {{"nolvea", "--selftest-update"}, DevCommand{Kind::update}},
        {{"nolvea", "--baixar", "--selftest-update"}, DevCommand{Kind::update, {}, true}},
        {{"nolvea", "--selftest-update", "--selftest-idle"}, DevCommand{Kind::idle}},
        {{"nolvea", "--selftest-anthropic-format", "--selftest-idle"}, DevCommand{Kind::idle}},
        {{"nolvea", "--selftest-update", "--selftest-anthropic-format"},
         DevCommand{Kind::anthropicFormat}},
        {{"nolvea", "--selftest-update", "--render-icon", "pasta"},
         DevCommand{Kind::renderIcon, "pasta"}},
        // A value is whatever follows, a flag included.
        {{"nolvea", "--render-icon", "--selftest-update"},
         DevCommand{Kind::renderIcon, "--selftest-update"}},
        // The first occurrence gives the value.
        {{"nolvea", "--render-icon", "a", "--render-icon", "b"}, DevCommand{Kind::renderIcon, "a"}},
        // Without a value the flag counts as absent.
        {{"nolvea", "--selftest-update", "--render-icon"}, DevCommand{Kind::update}},
        {{"nolvea", "--render-icon"}, std::nullopt},
        // Whole arguments only.
        {{"nolvea", "--selftest-idle=1", "--render-icon=pasta", "--SELFTEST-IDLE"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(DevFlags::scan(c.args), c.command);
    }
}

TEST(DevFlags, DeveloperModeIsChosenByPrefix) {
    const QList<QPair<QStringList, bool>> cases{
        {{"nolvea", "--selftest-agent"}, true},  {{"nolvea", "--selftest"}, true},
        {{"nolvea", "--render-previews"}, true}, {{"nolvea", "--render-"}, true},
        {{"nolvea", "--render"}, false},         {{"nolvea", "--renderx"}, false},
        {{"nolvea", "selftest-idle"}, false},    {{"nolvea"}, false},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(DevFlags::selectsDeveloperMode(args), expected) << args.join(' ').toStdString();
}

TEST(DevFlags, FollowUpsAreEveryThenWithAnArgumentAfterIt) {
    EXPECT_EQ(DevFlags::followUps(
                  {"nolvea", "--then", "antes", "--selftest-agent", "A", "--then", "B", "--then"}),
              QStringList({"antes", "B"}));
    // The walk goes on after each "--then", so a "--then" can be a request of its own.
    EXPECT_EQ(DevFlags::followUps({"nolvea", "--then", "--then", "C"}),
              QStringList({"--then", "C"}));
    EXPECT_TRUE(DevFlags::followUps({"nolvea", "--selftest-agent", "A"}).isEmpty());
}

// The idle test on a clock of our own, against a local server set up by each case: the first
// probe is answered and arms the unload, the wait lets it happen, then the test ends.
class SelfTestIdle : public ::testing::Test {
protected:
    SelfTestIdle() {
        Clock::install(&clock);
        AppSettings::shared().setAiProvider(AIProvider::ollama);
        AppSettings::shared().setServerURL(server.url());
        AppSettings::shared().setModel("pequeno");
    }
    ~SelfTestIdle() override { Clock::install(nullptr); }

    // Runs the idle test to its end; its output is left in `lines`.
    void run() {
        testing::internal::CaptureStdout();
        auto task = [](std::optional<bool>* out) -> QCoro::Task<> {
            *out = co_await SelfTest::idle();
        }(&passed);
        // The first probe is answered, then the test sleeps on our clock.
        ASSERT_TRUE(test::spinUntil([&] { return server.count("/v1/chat/completions") == 1; }));
        ASSERT_TRUE(test::spinUntil([&] { return IdleUnloader::shared().isArmed(); }));
        clock.advance(100s);
        ASSERT_TRUE(test::spinUntil([&] { return passed.has_value(); }));
        lines = linesOf(testing::internal::GetCapturedStdout());
    }

    ManualClock clock;
    test::LoopbackServer server;
    std::optional<bool> passed;
    QStringList lines;
};

TEST_F(SelfTestIdle, WaitsOutTheUnloadAndProbesAgain) {
    server.on("POST", "/v1/chat/completions",
              test::HttpResponse::json(
                  R"({"choices":[{"message":{"role":"assistant","content":"ok"}}]})"));
    server.on("GET", "/v1/models", test::HttpResponse::json(R"({"data":[{"id":"pequeno"}]})"));
    server.on("POST", "/api/generate", test::HttpResponse::json("{}"));
    ASSERT_NO_FATAL_FAILURE(run());

    EXPECT_TRUE(*passed);
    ASSERT_EQ(lines.size(), 5) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "Provedor: Ollama · pequeno");
    EXPECT_EQ(lines[1], "1º pedido: 0.0 s → ok");
    EXPECT_EQ(lines[2], "Esperando 100 s sem uso…");
    EXPECT_EQ(lines[3], "Depois do minuto: servidor respondendo: pequeno");
    EXPECT_EQ(lines[4], "2º pedido: 0.0 s → ok");
    EXPECT_EQ(server.count("/v1/chat/completions"), 2);
}

TEST_F(SelfTestIdle, AServerThatStopsIsReportedAndFailsTheTest) {
    server.enqueue("POST", "/v1/chat/completions",
                   test::HttpResponse::json(
                       R"({"choices":[{"message":{"role":"assistant","content":"ok"}}]})"));
    // Everything else: 404, as from a server whose model is gone.
    ASSERT_NO_FATAL_FAILURE(run());

    EXPECT_FALSE(*passed);
    ASSERT_EQ(lines.size(), 5) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[3], "Depois do minuto: servidor desligado/sem modelo");
    EXPECT_TRUE(lines[4].startsWith("2º pedido: erro: ")) << lines[4].toStdString();
}

// A release signed with the key the updater trusts: downloaded, verified and unpacked.
TEST(SelfTestUpdate, BaixarDownloadsAndVerifiesAnAnnouncedRelease) {
    test::LoopbackServer site;
    test::KeyPair key;
    const QByteArray archive = test::releaseZip("nova").bytes();
    site.on("GET", "/Nolvea.zip", test::HttpResponse::text(archive, 200, "application/zip"));
    site.on("GET", "/downloads/latest.json",
            test::HttpResponse::json(
                QStringLiteral(
                    R"({"version":"2.0","build":11,"url":"%1","sha256":"%2","signature":"%3"})")
                    .arg(site.url("/Nolvea.zip"), ReleaseVerifier::digestText(archive),
                         test::base64url(key.sign(archive)))
                    .toUtf8()));
    UpdaterSetup setup;
    setup.siteURL = QUrl(site.url());
    setup.version = "1.0";
    setup.build = 10;
    setup.publicKey = key.publicText();
    setup.executablePath = test::home() + "/Nolvea/bin/nolvea";
    Updater updater(setup);

    testing::internal::CaptureStdout();
    const bool passed = test::await(SelfTest::update(updater, true));
    const QStringList lines = linesOf(testing::internal::GetCapturedStdout());

    EXPECT_TRUE(passed);
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[1].startsWith("Resultado: available(versão 2.0, build 11, "))
        << lines[1].toStdString();
    ASSERT_TRUE(lines[2].startsWith("✓ Baixado e conferido: ")) << lines[2].toStdString();
    const QString root = lines[2].mid(QStringLiteral("✓ Baixado e conferido: ").size());
    EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "nova\n");
}
