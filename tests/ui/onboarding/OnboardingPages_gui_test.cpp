#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "core/UserDefaults.h"
#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/fakes/FakePermissionProbe.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"
#include "ui/onboarding/AIStep.h"
#include "ui/onboarding/GoogleStep.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/PermissionsStep.h"
#include "ui/onboarding/WelcomeIntro.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

HttpResponse models(const QByteArray& names, int delayMs = 0) {
    HttpResponse r = HttpResponse::json("{\"object\":\"list\",\"data\":[" + names + "]}");
    r.delayMs = delayMs;
    return r;
}

// Three local servers as the scan finds them: LM Studio answers at once, Ollama late, and
// nothing listens where the custom server should be.
class LocalScan : public ::testing::Test {
protected:
    void SetUp() override {
        lmStudio.on("GET", "/v1/models", models(R"({"id":"qwen3-8b"})"));
        ollama.on("GET", "/v1/models", models(R"({"id":"llama3.2"})", 800));
        UserDefaults& d = UserDefaults::standard();
        d.set(AppSettings::serverKey(AIProvider::lmStudio), lmStudio.url());
        d.set(AppSettings::serverKey(AIProvider::ollama), ollama.url());
        d.set(AppSettings::serverKey(AIProvider::custom), QStringLiteral("http://127.0.0.1:9/v1"));
        AppSettings& s = AppSettings::shared();
        s.setHasCompletedOnboarding(false);
        // The chosen provider is the custom server, which cannot be reached.
        s.setAiProvider(AIProvider::custom);
        s.setServerURL(QStringLiteral("http://127.0.0.1:9/v1"));
        window.resize(700, 560);
    }
    void TearDown() override { AppSettings::shared().setAiProvider(AIProvider::lmStudio); }

    AIStep* show() {
        auto* page = new AIStep(AppSettings::shared(), AIStatus::shared(), UserDefaults::standard(),
                                &window);
        page->resize(window.size());
        window.show();
        return page;
    }

    LoopbackServer lmStudio, ollama;
    QWidget window;
};

} // namespace

TEST_F(LocalScan, AFirstRunSwitchesFromAnUnreachableProviderToTheFirstServerFound) {
    AIStep* page = show();
    EXPECT_TRUE(page->isScanning());
    // Both answered servers are found, the absent one is not; the slow one is waited for.
    ASSERT_TRUE(spinUntil([&] { return !page->isScanning(); }));
    EXPECT_EQ(page->detected().size(), 2u);
    EXPECT_EQ(page->detected().at(AIProvider::ollama), QStringList{"llama3.2"});
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::lmStudio);
    EXPECT_TRUE(spinUntil([] { return AppSettings::shared().model() == "qwen3-8b"; }))
        << "the server's first model is filled in";
}

TEST_F(LocalScan, NeverOverridesAProviderChosenDuringTheScanNorActsAfterThePageWent) {
    AIStep* page = show();
    ASSERT_TRUE(lmStudio.waitForRequests(1));
    page->select(AIProvider::ollama);
    ASSERT_TRUE(spinUntil([&] { return !page->isScanning(); }));
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::ollama);

    AppSettings::shared().setAiProvider(AIProvider::custom);
    AIStep* second = show();
    QPointer<AIStep> gone(second);
    ASSERT_TRUE(ollama.waitForRequests(2));
    delete second;
    // The slow server answers after the page is gone: nothing is switched.
    QTest::qWait(1200);
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::custom);
}

TEST_F(LocalScan, OnceOnboardingIsDoneTheScanOnlyMarksServers) {
    AppSettings::shared().setHasCompletedOnboarding(true);
    AIStep* page = show();
    ASSERT_TRUE(spinUntil([&] { return !page->isScanning(); }));
    EXPECT_EQ(page->detected().size(), 2u);
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::custom);
}

TEST_F(LocalScan, APageRenderedOffscreenAsksNothing) {
    AIStep page(AppSettings::shared(), AIStatus::shared(), UserDefaults::standard());
    page.resize(700, 560);
    EXPECT_FALSE(page.grab().isNull());
    QTest::qWait(100);
    EXPECT_EQ(lmStudio.count("/v1/models"), 0);
    EXPECT_FALSE(page.isOnScreen());
}

namespace {

// The Google page on a desktop without a calendar store, with the person's Downloads folder.
class GoogleDrive : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QDir().mkpath(downloads);
        window.resize(700, 560);
        page = new GoogleStep(google, &window);
        page->resize(window.size());
    }
    void TearDown() override { Clock::install(nullptr); }

    void drop(const QString& name, const QByteArray& content) {
        QFile f(downloads + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray mcpJSON() const {
        QFile f(MCPManager::shared().configPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ManualClock clock;
    GoogleConnect google{nullptr};
    QString downloads;
    QWidget window;
    GoogleStep* page = nullptr;
};

const QByteArray kClient = R"({"installed":{"client_id":"123-abc.apps.googleusercontent.com",
                                            "client_secret":"s3cr3t"}})";

} // namespace

TEST_F(GoogleDrive, ADownloadedFileIsPickedUpAndImportedAsTheWorkspaceServer) {
    window.show();
    EXPECT_TRUE(google.isWatching());
    page->setShowDrive(true);
    EXPECT_TRUE(page->isWatchingFiles());
    clock.advance(GoogleStep::kFileWatch);
    EXPECT_FALSE(page->recentFile());

    drop("client_secret_123.json", kClient);
    clock.advance(GoogleStep::kFileWatch);
    ASSERT_TRUE(page->recentFile());
    EXPECT_TRUE(page->recentFile()->endsWith("client_secret_123.json"));
    EXPECT_FALSE(page->isWatchingFiles()) << "the watch ends once a file is found";

    page->setEmail(QStringLiteral(" \tana.lima@gmail.com "));
    page->importCredentials();
    EXPECT_FALSE(page->driveError());
    const MCPManager::Server* server = google.workspaceServer();
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->config.env.value_or(QMap<QString, QString>{}).value("USER_GOOGLE_EMAIL"),
              "ana.lima@gmail.com");
    EXPECT_EQ(
        server->config.env.value_or(QMap<QString, QString>{}).value("GOOGLE_OAUTH_CLIENT_SECRET"),
        "s3cr3t");
    EXPECT_FALSE(page->showsDriveSteps()) << "a configured server folds the guide";

    page->hide();
    EXPECT_FALSE(google.isWatching());
}

TEST_F(GoogleDrive, AWrongFileShowsWhyAndOffersTheImportAgain) {
    drop("client_secret_9.json", R"({"installed":{"client_id":"x","client_secret":"y"}})");
    const QByteArray before = mcpJSON();
    window.show();
    page->setShowDrive(true);
    ASSERT_TRUE(page->recentFile());
    page->setEmail(QStringLiteral("ana@gmail.com"));
    page->importCredentials();
    EXPECT_EQ(page->driveError().value_or(QString()).toStdString(),
              "Esse não parece o arquivo de credenciais do Google (client_secret_….json).");
    EXPECT_FALSE(page->recentFile());
    EXPECT_EQ(mcpJSON(), before) << "nothing is written";
}

TEST_F(GoogleDrive, AnUnreadableConfigurationIsLeftAsItIsAndTheCardSaysWhy) {
    QDir().mkpath(QFileInfo(MCPManager::shared().configPath()).path());
    {
        QFile f(MCPManager::shared().configPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\"mcpServers\": {\"memoria\": ");
    }
    const QByteArray before = mcpJSON();
    drop("client_secret_1.json", kClient);
    window.show();
    page->setShowDrive(true);
    page->setEmail(QStringLiteral("ana@gmail.com"));
    page->importCredentials();
    EXPECT_TRUE(page->driveError().has_value());
    EXPECT_FALSE(page->driveError().value_or(QString()).isEmpty());
    EXPECT_EQ(mcpJSON(), before);
}

TEST_F(GoogleDrive, NothingWatchesUntilThePageIsReallyShown) {
    EXPECT_FALSE(page->grab().isNull());
    EXPECT_FALSE(google.isWatching());
    EXPECT_FALSE(page->isOnScreen());
}

TEST(WelcomePage, TheGreetingTurnsThroughTheLanguagesIntoTheNameOrShowsItAtOnce) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    {
        QWidget window;
        window.resize(780, 660);
        auto* page = new WelcomeIntro(
            AppSettings::shared(), [] {}, &window);
        page->resize(window.size());
        EXPECT_EQ(page->phase(), 4) << "an offscreen rendering shows the whole page";
        window.show();
        EXPECT_EQ(page->phase(), 0);
        clock.advance(std::chrono::milliseconds(350));
        EXPECT_EQ(page->phase(), 1);
        EXPECT_TRUE(page->isBreathing());
        clock.advance(std::chrono::milliseconds(800));
        EXPECT_EQ(page->phase(), 2);
        QStringList seen{page->titleText()};
        for (int i = 0; i < 6; ++i) {
            clock.advance(std::chrono::milliseconds(430));
            seen << page->titleText();
        }
        EXPECT_EQ(seen, PageTexts::greetings());
        clock.advance(std::chrono::milliseconds(500));
        EXPECT_EQ(page->phase(), 3);
        EXPECT_EQ(page->titleText(), "Olá, Bia.");
        clock.advance(std::chrono::milliseconds(900));
        EXPECT_EQ(page->phase(), 4);
        page->hide();
        EXPECT_FALSE(page->isBreathing()) << "the breathing ends with the page";
    }
    {
        FrameClock::shared().setReduceMotion(true);
        QWidget window;
        auto* page = new WelcomeIntro(
            AppSettings::shared(), [] {}, &window);
        window.show();
        EXPECT_EQ(page->phase(), 4);
        EXPECT_FALSE(page->isBreathing());
        EXPECT_EQ(page->titleText(), "Olá, Bia.");
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

TEST(PermissionsPage, RowsFollowTheProbeAndPermitirAsksForTheKind) {
    ManualClock clock;
    Clock::install(&clock);
    auto probe = std::make_shared<FakePermissionProbe>();
    probe->accessibilityAfterRequest = true;
    {
        Permissions permissions(probe);
        QWidget window;
        auto* page = new PermissionsStep(permissions, &window);
        window.show();
        permissions.startPolling();
        using K = Permissions::Kind;
        for (K k : {K::microphone, K::accessibility, K::inputMonitoring})
            EXPECT_FALSE(page->showsGranted(k));

        // Allowed outside the page: the row turns at the next poll, without a click.
        probe->granted.insert(int(K::microphone));
        clock.advance(std::chrono::seconds(1));
        EXPECT_TRUE(page->showsGranted(K::microphone));

        // "Permitir" for accessibility switches the bus on where it can be done here.
        auto buttons = page->findChildren<QAbstractButton*>();
        auto allow = std::find_if(buttons.begin(), buttons.end(), [](QAbstractButton* b) {
            return b->accessibleName() == "Permitir Acessibilidade";
        });
        ASSERT_NE(allow, buttons.end());
        (*allow)->click();
        EXPECT_TRUE(page->showsGranted(K::accessibility));
        // Input monitoring has no page to open here: nothing changes.
        permissions.request(K::inputMonitoring);
        EXPECT_FALSE(page->showsGranted(K::inputMonitoring));

        // Withdrawn again: back to "Permitir".
        probe->granted.remove(int(K::microphone));
        clock.advance(std::chrono::seconds(1));
        EXPECT_FALSE(page->showsGranted(K::microphone));
        permissions.stopPolling();
        EXPECT_FALSE(permissions.isPolling());
    }
    Clock::install(nullptr);
}
