#include "updates/Updater.h"

#include "UpdateFixtures.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace nolvea;
using namespace std::chrono_literals;
using Kind = UpdatePhase::Kind;

namespace {

QString debian12() {
    const QString path = test::home() + "/os-release-debian12";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("ID=debian\nVERSION_ID=\"12\"\n");
    return path;
}

QByteArray manifest(qint64 build, const QString& minimum = {}) {
    QByteArray json = R"({"version":"2.0","build":)" + QByteArray::number(build) +
                      R"(,"url":"http://127.0.0.1:1/Nolvea.zip","sha256":"aa","signature":"bb")";
    if (!minimum.isEmpty()) json += R"(,"minimumSystemVersion":")" + minimum.toUtf8() + '"';
    return json + "}";
}

class UpdaterCheckTest : public ::testing::Test {
protected:
    ManualClock clock;
    test::LoopbackServer site;
    std::unique_ptr<Updater> updater;
    QList<Kind> seen; // every phase shown, in order

    void SetUp() override {
        Clock::install(&clock);
        make(QUrl(site.url("/nolvea")));
    }
    void TearDown() override {
        updater.reset();
        Clock::install(nullptr);
    }
    void make(std::optional<QUrl> siteURL) {
        UpdaterSetup s;
        s.siteURL = std::move(siteURL);
        s.version = "1.4.0";
        s.build = 10;
        s.osReleasePath = debian12();
        s.manifestTimeout = 300ms;
        s.downloadTimeout = 300ms;
        seen.clear();
        updater = std::make_unique<Updater>(s);
        QObject::connect(updater.get(), &Updater::phaseChanged,
                         [this] { seen << updater->phase().kind; });
    }
    void serve(const QByteArray& body, int status = 200) {
        site.on("GET", "/nolvea/downloads/latest.json",
                test::HttpResponse::text(body, status, "application/json"));
    }
    void check(bool silent) { test::await(updater->check(silent)); }
};

TEST_F(UpdaterCheckTest, ComparesTheAnnouncedBuildWithTheRunningOne) {
    const struct {
        const char* what;
        qint64 build;
        QString minimum;
        bool newer;
    } cases[] = {
        {"newer", 11, {}, true},
        {"newer, this system suffices", 11, "12", true},
        {"same", 10, {}, false},
        {"older", 9, {}, false},
        {"newer but needs a later system", 11, "13", false},
        {"newer but needs a later point release", 11, "12.1", false},
        {"newer, minimum without numbers", 11, "trixie", true},
    };
    for (const auto& c : cases) {
        for (bool silent : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (silent ? " (silent)" : ""));
            make(QUrl(site.url("/nolvea")));
            serve(manifest(c.build, c.minimum));
            check(silent);
            const Kind nothing = silent ? Kind::idle : Kind::upToDate;
            EXPECT_EQ(updater->phase().kind, c.newer ? Kind::available : nothing);
            if (c.newer) {
                EXPECT_EQ(updater->phase().release->build, c.build);
            }
            EXPECT_EQ(updater->lastCheck(), clock.now());
            // Only a user check shows that it is under way.
            EXPECT_EQ(seen.value(0), silent ? updater->phase().kind : Kind::checking);
        }
    }
}

TEST_F(UpdaterCheckTest, SendsOneFreshRequestNamingTheVersion) {
    serve(manifest(11));
    check(false);
    ASSERT_EQ(site.requests().size(), 1);
    const auto request = site.lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/nolvea/downloads/latest.json");
    EXPECT_EQ(request.header("User-Agent"), "Nolvea/1.4.0");
}

TEST_F(UpdaterCheckTest, TheStatusIsNotExaminedOnlyTheBody) {
    serve(manifest(11), 503);
    check(false);
    EXPECT_EQ(updater->phase().kind, Kind::available);
}

TEST_F(UpdaterCheckTest, AUserCheckShowsWhyItFailedASilentOneLeavesNoTrace) {
    const QString prefix = "Não deu para procurar atualizações: ";
    const struct {
        const char* what;
        std::function<void()> prepare;
        QString reason;
    } cases[] = {
        {"error page", [&] { serve("<html>Erro interno</html>", 500); },
         "A resposta do site não é um manifesto de atualização válido."},
        {"not a manifest", [&] { serve(R"({"version":"2.0"})"); },
         "A resposta do site não é um manifesto de atualização válido."},
        {"no answer",
         [&] {
             test::HttpResponse r;
             r.silent = true;
             site.on("GET", "/nolvea/downloads/latest.json", r);
         },
         "O servidor não respondeu a tempo."},
        {"connection closed",
         [&] {
             test::HttpResponse r;
             r.hangUp = true;
             site.on("GET", "/nolvea/downloads/latest.json", r);
         },
         "O servidor fechou a conexão antes de responder."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        make(QUrl(site.url("/nolvea")));
        c.prepare();
        check(false);
        EXPECT_EQ(updater->phase(), UpdatePhase::failed(prefix + c.reason));
        EXPECT_FALSE(updater->lastCheck().isValid());

        // A silent check keeps whatever is shown.
        serve(manifest(11));
        check(false);
        ASSERT_EQ(updater->phase().kind, Kind::available);
        c.prepare();
        check(true);
        EXPECT_EQ(updater->phase().kind, Kind::available);
    }
}

TEST_F(UpdaterCheckTest, ARefusedConnectionIsDescribed) {
    quint16 closedPort;
    {
        test::LoopbackServer gone;
        closedPort = gone.port();
    }
    make(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedPort)));
    check(false);
    EXPECT_EQ(
        updater->phase(),
        UpdatePhase::failed("Não deu para procurar atualizações: O servidor recusou a conexão."));
}

TEST_F(UpdaterCheckTest, ASilentCheckThatFindsNothingClearsWhatWasShown) {
    serve("quebrado");
    check(false);
    ASSERT_EQ(updater->phase().kind, Kind::failed);
    serve(manifest(10));
    check(true);
    EXPECT_EQ(updater->phase(), UpdatePhase::idle());
    check(false);
    EXPECT_EQ(updater->phase(), UpdatePhase::upToDate());
    check(true);
    EXPECT_EQ(updater->phase(), UpdatePhase::idle());
}

TEST_F(UpdaterCheckTest, WithoutASiteNothingIsAskedNorScheduled) {
    make(std::nullopt);
    check(true);
    EXPECT_EQ(updater->phase(), UpdatePhase::idle());
    check(false);
    EXPECT_EQ(updater->phase(),
              UpdatePhase::failed("Site de atualizações não configurado neste pacote."));
    updater->startAutomaticChecks();
    EXPECT_EQ(clock.pendingTimers(), 0);
    clock.advance(48h);
    EXPECT_EQ(site.requests().size(), 0);
}

TEST_F(UpdaterCheckTest, ChecksTwentySecondsAfterStartThenDaily) {
    serve(manifest(11));
    updater->startAutomaticChecks();
    clock.advance(19s);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(site.requests().size(), 0);

    clock.advance(1s);
    ASSERT_TRUE(test::spinUntil([&] { return updater->lastCheck().isValid(); }));
    EXPECT_EQ(updater->phase().kind, Kind::available); // silent checks announce too
    EXPECT_EQ(site.requests().size(), 1);

    // The daily timer counts from the start, not from the first check.
    clock.advance(24h - 20s - 1ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(site.requests().size(), 1);
    clock.advance(1ms);
    ASSERT_TRUE(test::spinUntil([&] { return site.requests().size() == 2; }));
    ASSERT_TRUE(test::spinUntil([&] { return updater->lastCheck() == clock.now(); }));
    clock.advance(24h);
    ASSERT_TRUE(test::spinUntil([&] { return site.requests().size() == 3; }));
}

TEST_F(UpdaterCheckTest, NoCheckWhileDownloading) {
    // An archive that never arrives keeps the updater downloading.
    test::HttpResponse never;
    never.silent = true;
    site.on("GET", "/Nolvea.zip", never);
    serve(manifest(11));
    auto release = *UpdateRelease::decode(manifest(11));
    release.url = QUrl(site.url("/Nolvea.zip"));
    updater->install(release);
    ASSERT_TRUE(test::spinUntil([&] { return site.count("/Nolvea.zip") == 1; }));
    for (bool silent : {false, true}) {
        check(silent);
        EXPECT_EQ(updater->phase(), UpdatePhase::downloading());
    }
    EXPECT_EQ(site.count("/nolvea/downloads/latest.json"), 0);
    ASSERT_TRUE(test::spinUntil([&] { return updater->phase().kind == Kind::failed; }));
    EXPECT_EQ(updater->phase().message, "O servidor não respondeu a tempo.");
}

} // namespace
