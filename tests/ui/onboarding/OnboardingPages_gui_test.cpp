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
#include "ui/animation/MorphingLabel.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Symbols.h"
#include "ui/onboarding/AIStep.h"
#include "ui/onboarding/Confetti.h"
#include "ui/onboarding/DoneStep.h"
#include "ui/onboarding/FamilyTile.h"
#include "ui/onboarding/GoogleStep.h"
#include "ui/onboarding/GoogleStepChevron.h"
#include "ui/onboarding/HotkeyStep.h"
#include "ui/onboarding/KeyboardKey.h"
#include "ui/onboarding/NameStep.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/PermissionsStep.h"
#include "ui/onboarding/SnapshotLayer.h"
#include "ui/onboarding/WelcomeIntro.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
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
        // A page added to a window already on screen comes on screen only when shown itself.
        window.show();
        page->show();
        return page;
    }

    LoopbackServer lmStudio, ollama;
    QWidget window;
};

// A picture of `window` kept as a test artefact.
void screenshot(QWidget& window, const QString& name) {
    // A size that changed lays out its row, then the row's own parents.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(window.grab().save(dir + "/" + name + ".png"));
}

bool between(double v) {
    return v > 0.02 && v < 0.98;
}

// Whether a request of the application to `server` still waits for its answer: the reply
// goes once the code that awaited it has run on.
bool awaitingAnswerFrom(const LoopbackServer& server) {
    for (auto* manager : qApp->findChildren<QNetworkAccessManager*>())
        for (auto* reply : manager->findChildren<QNetworkReply*>())
            if (reply->url().port() == server.port()) return true;
    return false;
}

} // namespace

TEST_F(LocalScan, OnlyAFirstRunSwitchesFromAnUnreachableProviderToTheFirstServerFound) {
    const struct Case {
        bool completed;
        AIProvider after;
        QString model; // the server's first model, filled in once switched to it
    } cases[] = {
        {false, AIProvider::lmStudio, QStringLiteral("qwen3-8b")},
        {true, AIProvider::custom, {}}, // reopened from the settings: servers are only marked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.completed ? "onboarding completed" : "first run");
        AppSettings::shared().setHasCompletedOnboarding(c.completed);
        AppSettings::shared().setAiProvider(AIProvider::custom);
        std::unique_ptr<AIStep> page(show());
        EXPECT_TRUE(page->isScanning());
        // Both answered servers are found, the absent one is not; the slow one is waited for.
        ASSERT_TRUE(spinUntil([&] { return !page->isScanning(); }));
        EXPECT_EQ(page->detected().size(), 2u);
        EXPECT_EQ(page->detected().at(AIProvider::ollama), QStringList{"llama3.2"});
        EXPECT_EQ(AppSettings::shared().aiProvider(), c.after);
        if (!c.model.isEmpty()) {
            EXPECT_TRUE(spinUntil([&] { return AppSettings::shared().model() == c.model; }))
                << "the server's first model is filled in";
        }
    }
}

TEST_F(LocalScan, NeverOverridesAProviderChosenDuringTheScanNorActsAfterThePageWent) {
    AIStep* page = show();
    ASSERT_TRUE(lmStudio.waitForRequests(1));
    page->select(AIProvider::ollama);
    ASSERT_TRUE(spinUntil([&] { return !page->isScanning(); }));
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::ollama);

    AppSettings::shared().setAiProvider(AIProvider::custom);
    const int asked = ollama.count("/v1/models");
    AIStep* second = show();
    ASSERT_TRUE(second->isOnScreen());
    ASSERT_TRUE(ollama.waitForRequests(asked + 1));
    ASSERT_TRUE(awaitingAnswerFrom(ollama));
    delete second;
    // The slow server answers after the page is gone, and the scan ends on it: nothing is
    // switched.
    ASSERT_TRUE(spinUntil([&] { return !awaitingAnswerFrom(ollama); }));
    EXPECT_EQ(AppSettings::shared().aiProvider(), AIProvider::custom);
}

TEST_F(LocalScan, TheChosenTileLightsUpWithTheSpringAndTheCardCrossFades) {
    ManualClock clock;
    Clock::install(&clock);
    FrameClock::shared().setReduceMotion(false);
    {
        AIStep* page = show();
        clock.advance(std::chrono::seconds(1));
        FamilyTile* local = nullptr;
        FamilyTile* cloud = nullptr;
        for (FamilyTile* t : page->tiles()) {
            if (t->family() == AIStepModel::Family::local) local = t;
            if (t->family() == AIStepModel::Family::cloud) cloud = t;
        }
        ASSERT_TRUE(local && cloud);
        EXPECT_EQ(local->highlight(), 1);
        EXPECT_EQ(cloud->highlight(), 0);

        page->choose(AIStepModel::Family::cloud);
        EXPECT_TRUE(page->providerChange().isRunning()) << "the card fades to the new provider";
        clock.advance(std::chrono::milliseconds(68));
        EXPECT_TRUE(between(cloud->highlight())) << cloud->highlight();
        EXPECT_TRUE(between(local->highlight())) << local->highlight();
        screenshot(window, QStringLiteral("ia-trocando-familia"));
        clock.advance(std::chrono::seconds(2));
        EXPECT_NEAR(cloud->highlight(), 1, 1e-3);
        EXPECT_NEAR(local->highlight(), 0, 1e-3);
        EXPECT_FALSE(page->providerChange().isRunning());
        window.hide();
    }
    Clock::install(nullptr);
}

TEST_F(LocalScan, WhatTheScanFoundFadesInAndTheConnectionLineMorphs) {
    ManualClock clock;
    Clock::install(&clock);
    FrameClock::shared().setReduceMotion(false);
    AppSettings::shared().setHasCompletedOnboarding(true); // the provider stays: one change
    {
        AIStep* page = show();
        FamilyTile* local = page->tiles().front();
        ASSERT_EQ(local->family(), AIStepModel::Family::local);

        // Checking gives way to the custom server's failure while the scan runs; the frames
        // wait for the test's clock, so both changes are still at their start.
        ASSERT_TRUE(spinUntil([&] {
            return AIStatus::shared().connection() == AIConnection::offline && !page->isScanning();
        }));
        // The connection line's words morph across.
        EXPECT_EQ(page->statusLine().text(), page->statusTitle()) << "read at once";
        EXPECT_TRUE(page->statusLine().isMorphing());
        // The search gives way to the count of servers found, and their marks fade in: on the
        // tile, and on the chips of the two servers that answered.
        EXPECT_TRUE(page->serversChange().isRunning());
        ASSERT_NE(page->serversChange().leaving(), nullptr) << "the search's picture";
        EXPECT_TRUE(local->isFound());
        EXPECT_EQ(local->foundShown(), 0);
        EXPECT_EQ(page->chipFoundShown(AIProvider::ollama), 0);

        clock.advance(std::chrono::milliseconds(68));
        EXPECT_TRUE(between(page->statusLine().progress())) << page->statusLine().progress();
        EXPECT_TRUE(between(page->serversChange().progress()));
        EXPECT_TRUE(between(local->foundShown())) << local->foundShown();
        for (AIProvider p : {AIProvider::lmStudio, AIProvider::ollama})
            EXPECT_TRUE(between(page->chipFoundShown(p))) << page->chipFoundShown(p);
        screenshot(window, QStringLiteral("ia-servidores-encontrados"));

        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(page->statusLine().isMorphing());
        EXPECT_FALSE(page->serversChange().isRunning());
        EXPECT_EQ(page->serversChange().leaving(), nullptr);
        EXPECT_NEAR(local->foundShown(), 1, 1e-3);
        EXPECT_NEAR(page->chipFoundShown(AIProvider::ollama), 1, 1e-3);
        EXPECT_EQ(page->chipFoundShown(AIProvider::custom), 0) << "nothing answered there";
        EXPECT_FALSE(page->providerChange().isRunning()) << "the card itself stays";
        screenshot(window, QStringLiteral("ia-servidores-em-repouso"));

        // Another family shows nothing of the scan: choosing it fades the card, not the count.
        page->choose(AIStepModel::Family::cloud);
        EXPECT_FALSE(page->serversChange().isRunning());
        window.hide();
    }
    Clock::install(nullptr);
}

TEST(OffscreenPages, NothingStartsUntilThePageIsReallyShown) {
    LoopbackServer lmStudio;
    lmStudio.on("GET", "/v1/models", models(R"({"id":"qwen3-8b"})"));
    UserDefaults& d = UserDefaults::standard();
    d.set(AppSettings::serverKey(AIProvider::lmStudio), lmStudio.url());
    for (AIProvider p : {AIProvider::ollama, AIProvider::custom})
        d.set(AppSettings::serverKey(p), QStringLiteral("http://127.0.0.1:9/v1"));
    AppSettings::shared().setHasCompletedOnboarding(true);
    GoogleConnect google{nullptr};
    const struct Case {
        const char* page;
        std::function<OnboardingPage*(QWidget*)> make;
        // What the page has asked for or watches: server requests, watchers.
        std::function<int()> started;
        // The page, once shown, is done with what it starts.
        std::function<bool(OnboardingPage*)> settled;
    } cases[] = {
        {"ai",
         [](QWidget* w) {
             return new AIStep(AppSettings::shared(), AIStatus::shared(), UserDefaults::standard(),
                               w);
         },
         [&] { return lmStudio.count("/v1/models"); },
         [](OnboardingPage* p) { return !static_cast<AIStep*>(p)->isScanning(); }},
        {"google", [&](QWidget* w) { return new GoogleStep(google, w); },
         [&] { return google.isWatching() ? 1 : 0; }, [](OnboardingPage*) { return true; }},
    };
    // The status line asks the unreachable custom server, not the one counted here.
    AppSettings::shared().setAiProvider(AIProvider::custom);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        QWidget window;
        window.resize(700, 560);
        OnboardingPage* page = c.make(&window);
        page->resize(window.size());
        EXPECT_FALSE(page->grab().isNull());
        EXPECT_FALSE(page->isOnScreen());
        EXPECT_EQ(c.started(), 0);
        window.show();
        EXPECT_TRUE(page->isOnScreen());
        ASSERT_TRUE(spinUntil([&] { return c.settled(page); }));
        EXPECT_EQ(c.started(), 1) << "only the page on screen asks";
    }
    AppSettings::shared().setAiProvider(AIProvider::lmStudio);
}

namespace {

// The Google page on a desktop without a calendar store, with the person's Downloads folder.
class GoogleDrive : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QDir().mkpath(downloads);
        // Whatever ran before, each test starts with no client file and no mcp.json.
        for (const QString& name : QDir(downloads).entryList({"client_secret_*"}, QDir::Files))
            QFile::remove(downloads + u'/' + name);
        QFile::remove(MCPManager::shared().configPath());
        MCPManager::shared().reload();
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

namespace {

struct FailedImport {
    const char* name;
    QByteArray config; // mcp.json as the import finds it; none when empty
    QByteArray client; // the file in Downloads
    QString error;     // the card's words, where they are fixed
    bool keepsFile;    // whether the found file stays picked for another try
};

class GoogleImportFailure : public GoogleDrive,
                            public ::testing::WithParamInterface<FailedImport> {};

} // namespace

TEST_P(GoogleImportFailure, TheCardSaysWhyAndNothingIsWritten) {
    const FailedImport& c = GetParam();
    if (!c.config.isEmpty()) {
        QDir().mkpath(QFileInfo(MCPManager::shared().configPath()).path());
        QFile f(MCPManager::shared().configPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.config);
    }
    const QByteArray before = mcpJSON();
    drop("client_secret_9.json", c.client);
    window.show();
    page->setShowDrive(true);
    ASSERT_TRUE(page->recentFile());
    page->setEmail(QStringLiteral("ana@gmail.com"));
    page->importCredentials();
    ASSERT_TRUE(page->driveError().has_value());
    EXPECT_FALSE(page->driveError()->isEmpty());
    if (!c.error.isEmpty()) {
        EXPECT_EQ(page->driveError()->toStdString(), c.error.toStdString());
    }
    EXPECT_EQ(bool(page->recentFile()), c.keepsFile);
    EXPECT_EQ(mcpJSON(), before) << "nothing is written";
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoogleImportFailure,
    ::testing::Values(
        // Not a client file: the card asks for the right one.
        FailedImport{"WrongFile",
                     {},
                     R"({"installed":{"client_id":"x","client_secret":"y"}})",
                     QStringLiteral("Esse não parece o arquivo de credenciais do Google "
                                    "(client_secret_….json)."),
                     false},
        // A configuration that cannot be read is never overwritten; the file was right.
        FailedImport{
            "UnreadableConfiguration", "{\"mcpServers\": {\"memoria\": ", kClient, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GoogleDrive, TheGuideBlursInAndTheChevronTurnsUp) {
    // No Drive server from an earlier import: the guide is there to open.
    QDir().mkpath(QFileInfo(MCPManager::shared().configPath()).path());
    {
        QFile f(MCPManager::shared().configPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"({"mcpServers": {}})");
    }
    MCPManager::shared().reload();
    ASSERT_TRUE(test::spinUntil([&] { return google.workspaceServer() == nullptr; }, 3000));
    FrameClock::shared().setReduceMotion(false);
    window.show();
    GoogleStepChevron* chevron = page->chevron();
    EXPECT_EQ(chevron->angle(), 0);
    EXPECT_FALSE(page->driveChange().isRunning());

    page->setShowDrive(true);
    EXPECT_TRUE(page->driveChange().isRunning()) << "the note blurs into the guide";
    ASSERT_NE(page->driveChange().leaving(), nullptr);
    EXPECT_FALSE(page->accountChange().isRunning()) << "the other card stays as it is";
    clock.advance(std::chrono::milliseconds(120));
    EXPECT_GT(chevron->angle(), 0);
    EXPECT_LT(chevron->angle(), 180);
    EXPECT_TRUE(between(page->driveChange().progress()));
    screenshot(window, QStringLiteral("google-passos-abrindo"));
    clock.advance(std::chrono::seconds(2));
    EXPECT_EQ(chevron->angle(), 180) << "pointing up";
    EXPECT_FALSE(page->driveChange().isRunning());

    // New details of the same state only show; folding turns it back.
    page->setEmail(QStringLiteral("ana@gmail.com"));
    EXPECT_FALSE(page->driveChange().isRunning());
    page->setShowDrive(false);
    EXPECT_TRUE(page->driveChange().isRunning());
    clock.advance(std::chrono::seconds(2));
    EXPECT_EQ(chevron->angle(), 0);
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
        window.resize(700, 560);
        auto* page = new PermissionsStep(permissions, &window);
        page->resize(window.size());
        window.show();
        permissions.startPolling();
        using K = Permissions::Kind;
        for (K k : {K::microphone, K::accessibility, K::inputMonitoring})
            EXPECT_FALSE(page->showsGranted(k));

        // Allowed outside the page: the row turns at the next poll, without a click.
        probe->granted.insert(int(K::microphone));
        clock.advance(std::chrono::seconds(1));
        EXPECT_TRUE(page->showsGranted(K::microphone));
        // "Permitido" grows in while the button's picture shrinks away.
        EXPECT_TRUE(page->isChanging());
        EXPECT_NE(page->findChild<SnapshotLayer*>(), nullptr);
        clock.advance(std::chrono::milliseconds(80));
        screenshot(window, QStringLiteral("permissions-granting"));
        clock.advance(std::chrono::milliseconds(800));
        EXPECT_FALSE(page->isChanging());
        EXPECT_EQ(page->findChild<SnapshotLayer*>(), nullptr);

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

TEST(WelcomePage, TheMarkGrowsOutOfABlurTheRingRipplesAndTheWordsRiseInTurn) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    {
        QWidget window;
        window.resize(780, 660);
        auto* page = new WelcomeIntro(
            AppSettings::shared(), [] {}, &window);
        page->resize(window.size());
        window.show();
        // Phase 0: only the ring at rest.
        EXPECT_TRUE(page->showsRing());
        EXPECT_EQ(page->progress().mark, 0);
        EXPECT_EQ(page->progress().buttons, 0);
        clock.advance(std::chrono::milliseconds(650));
        const auto growing = page->progress();
        EXPECT_TRUE(between(growing.mark)) << growing.mark;
        EXPECT_TRUE(between(growing.ripple)) << growing.ripple;
        EXPECT_EQ(growing.title, 0);
        screenshot(window, QStringLiteral("welcome-growing"));

        // A word changing: the new one on its way in, the old one's picture on its way out.
        clock.advance(std::chrono::milliseconds(1580 + 120 - 650));
        EXPECT_EQ(page->titleText(), "Hello");
        EXPECT_TRUE(between(page->progress().word)) << page->progress().word;
        EXPECT_NE(page->findChild<SnapshotLayer*>(), nullptr);
        screenshot(window, QStringLiteral("welcome-word"));

        clock.advance(std::chrono::milliseconds(6000));
        const auto end = page->progress();
        for (double v : {end.mark, end.ripple, end.title, end.word, end.text, end.buttons})
            EXPECT_DOUBLE_EQ(v, 1);
        EXPECT_EQ(page->findChild<SnapshotLayer*>(), nullptr) << "the old word is gone";
        EXPECT_EQ(page->titleText(), "Olá, Bia.");
        screenshot(window, QStringLiteral("welcome-end"));
    }
    Clock::install(nullptr);
}

namespace {

// How a page with an entrance can be put on screen without playing it.
enum class Still { offscreen, flat, reducedMotion };

const char* nameOf(Still way) {
    switch (way) {
    case Still::offscreen:
        return "offscreen";
    case Still::flat:
        return "flat";
    case Still::reducedMotion:
        return "reduced motion";
    }
    return "";
}

// Puts `page` (a child of `window`) before the person the given way.
void present(QWidget& window, OnboardingPage* page, Still way) {
    page->resize(window.size());
    switch (way) {
    case Still::offscreen:
        EXPECT_FALSE(page->grab().isNull());
        return;
    case Still::flat:
        FlatGlass::set(&window, true);
        break;
    case Still::reducedMotion:
        FrameClock::shared().setReduceMotion(true);
        break;
    }
    window.show();
}

} // namespace

TEST(WelcomePage, ShowsItsLastStateAtOnceWhenItMayNotPlay) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    const struct Case {
        Still way;
        bool ring; // the ring resting around the mark; a picture or flat glass has none
    } cases[] = {{Still::offscreen, false}, {Still::flat, false}, {Still::reducedMotion, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.way));
        {
            QWidget window;
            window.resize(780, 660);
            auto* page = new WelcomeIntro(
                AppSettings::shared(), [] {}, &window);
            present(window, page, c.way);
            EXPECT_EQ(page->phase(), 4);
            EXPECT_FALSE(page->isBreathing());
            EXPECT_EQ(page->titleText(), "Olá, Bia.");
            EXPECT_EQ(page->showsRing(), c.ring);
            const auto at = page->progress();
            for (double v : {at.mark, at.title, at.word, at.text, at.buttons})
                EXPECT_EQ(v, 1);
            EXPECT_EQ(at.ripple, 0) << "the ring rests";
            EXPECT_EQ(page->findChild<SnapshotLayer*>(), nullptr);
        }
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

TEST(DonePage, TheRowsComeInTogetherAndTheConfettiBurstsAfterTheWait) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    {
        QWidget window;
        window.resize(684, 560);
        auto* page = new DoneStep([] {}, &window);
        page->resize(window.size());
        window.show();
        EXPECT_EQ(page->entrance(), 0);
        EXPECT_TRUE(page->findChild<BrandMark*>()->inputs().ball);
        clock.advance(std::chrono::milliseconds(250));
        EXPECT_TRUE(between(page->entrance())) << page->entrance();
        EXPECT_FALSE(page->confetti()->isRunning());
        screenshot(window, QStringLiteral("done-entrance"));
        clock.advance(std::chrono::milliseconds(650));
        EXPECT_TRUE(page->confetti()->isRunning());
        EXPECT_FALSE(page->findChild<BrandMark*>()->inputs().ball) << "the ball opens again";
        clock.advance(std::chrono::milliseconds(400));
        screenshot(window, QStringLiteral("done-confetti"));
        clock.advance(std::chrono::seconds(2));
        EXPECT_EQ(page->entrance(), 1);
    }
    {
        // Leaving during the wait still bursts and opens the ball, on a page nobody sees.
        QWidget window;
        auto* page = new DoneStep([] {}, &window);
        window.show();
        clock.advance(std::chrono::milliseconds(300));
        page->hide();
        EXPECT_TRUE(page->confetti()->isRunning());
        EXPECT_FALSE(page->findChild<BrandMark*>()->inputs().ball);
        EXPECT_EQ(page->entrance(), 1);
    }
    Clock::install(nullptr);
}

TEST(DonePage, IsCompleteAtOnceWithoutBallOrConfettiWhenItMayNotPlay) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    for (Still way : {Still::offscreen, Still::flat, Still::reducedMotion}) {
        SCOPED_TRACE(nameOf(way));
        {
            QWidget window;
            window.resize(684, 560);
            auto* page = new DoneStep([] {}, &window);
            present(window, page, way);
            EXPECT_EQ(page->entrance(), 1);
            EXPECT_FALSE(page->findChild<BrandMark*>()->inputs().ball);
            clock.advance(std::chrono::seconds(2));
            EXPECT_FALSE(page->confetti()->isRunning());
        }
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

TEST(OnboardingSlide, PagesSlideInTheDirectionOfTheMoveAndTheChromeComesInFromTheEdges) {
    ManualClock clock;
    Clock::install(&clock);
    AppSettings::shared().setUserName(QStringLiteral("Bia"));
    {
        QWidget window;
        window.resize(780, 660);
        auto* view = new OnboardingView(
            0, [] {}, &window);
        view->resize(window.size());
        window.show();
        auto effectOn = [](QWidget* w) {
            return w ? qobject_cast<PageMotionEffect*>(w->graphicsEffect()) : nullptr;
        };

        view->go(OnboardingStep::name);
        EXPECT_TRUE(view->isMoving());
        clock.advance(std::chrono::milliseconds(120));
        PageMotionEffect* in = effectOn(view->page());
        ASSERT_NE(in, nullptr);
        EXPECT_GT(in->look().dx, 0) << "forward: the new page comes from the right";
        EXPECT_TRUE(between(in->look().opacity));
        const auto layers = view->findChildren<SnapshotLayer*>();
        ASSERT_EQ(layers.size(), 1) << "the welcome's picture leaves; it had no chrome";
        EXPECT_LT(layers[0]->look().dx, 0);
        screenshot(window, QStringLiteral("onboarding-slide-forward"));
        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(view->isMoving());
        EXPECT_EQ(effectOn(view->page()), nullptr) << "at rest the page draws itself";
        EXPECT_TRUE(view->findChildren<SnapshotLayer*>().isEmpty());

        // Back: the reverse.
        view->go(OnboardingStep::permissions);
        clock.advance(std::chrono::seconds(2));
        view->back();
        clock.advance(std::chrono::milliseconds(120));
        ASSERT_NE(effectOn(view->page()), nullptr);
        EXPECT_LT(effectOn(view->page())->look().dx, 0);
        screenshot(window, QStringLiteral("onboarding-slide-back"));
        clock.advance(std::chrono::seconds(2));

        // Into the done page, the marks and the footer leave with the old page.
        view->go(OnboardingStep::google);
        clock.advance(std::chrono::seconds(2));
        view->go(OnboardingStep::done);
        clock.advance(std::chrono::milliseconds(120));
        EXPECT_EQ(view->findChildren<SnapshotLayer*>().size(), 3);
        screenshot(window, QStringLiteral("onboarding-slide-done"));
        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(view->isMoving());
    }
    {
        // Reduced motion: the new page at once, nothing left over.
        FrameClock::shared().setReduceMotion(true);
        QWidget window;
        auto* view = new OnboardingView(
            1, [] {}, &window);
        window.show();
        view->go(OnboardingStep::permissions);
        EXPECT_FALSE(view->isMoving());
        EXPECT_TRUE(view->findChildren<SnapshotLayer*>().isEmpty());
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

TEST(OnboardingSlide, TheFooterButtonCrossFadesToItsNewLabel) {
    ManualClock clock;
    Clock::install(&clock);
    FrameClock::shared().setReduceMotion(false);
    {
        QWidget window;
        window.resize(780, 660);
        auto* view = new OnboardingView(
            int(OnboardingStep::ai), [] {}, &window);
        view->resize(window.size());
        window.show();
        clock.advance(std::chrono::seconds(2));
        const QString before = view->primaryLabel();
        EXPECT_FALSE(view->primaryChange().isRunning());

        view->go(OnboardingStep::google);
        ASSERT_NE(view->primaryLabel(), before);
        EXPECT_TRUE(view->primaryChange().isRunning());
        ASSERT_NE(view->primaryChange().leaving(), nullptr) << "the old label's picture";
        clock.advance(std::chrono::milliseconds(68));
        EXPECT_TRUE(between(view->primaryChange().progress()));
        screenshot(window, QStringLiteral("onboarding-footer-label"));
        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(view->primaryChange().isRunning());
        EXPECT_EQ(view->primaryChange().leaving(), nullptr);

        // The same label again does not fade.
        view->go(OnboardingStep::ai);
        clock.advance(std::chrono::seconds(2));
        FrameClock::shared().setReduceMotion(true);
        view->go(OnboardingStep::google);
        EXPECT_FALSE(view->primaryChange().isRunning()) << "reduced motion: at once";
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

namespace {

struct SymbolMatch {
    QPoint at;          // top left of the best place
    double overlap = 0; // ink shared with the symbol over ink of either, there
};

// Where in `picture` the symbol `name`, `side` pixels square, is drawn best: its strokes laid
// over every place, scored by how much ink the two share.
SymbolMatch findSymbol(const QImage& picture, const QString& name, int side,
                       const std::function<bool(QRgb)>& ink) {
    const QImage symbol = Symbols::pixmap(name, side, Qt::black).toImage();
    SymbolMatch best;
    for (int y = 0; y + side <= picture.height(); ++y)
        for (int x = 0; x + side <= picture.width(); ++x) {
            int both = 0, either = 0;
            for (int sy = 0; sy < side; ++sy)
                for (int sx = 0; sx < side; ++sx) {
                    const bool s = qAlpha(symbol.pixel(sx, sy)) > 128;
                    const bool p = ink(picture.pixel(x + sx, y + sy));
                    both += s && p;
                    either += s || p;
                }
            const double overlap = either ? double(both) / either : 0;
            if (overlap > best.overlap) best = {QPoint(x, y), overlap};
        }
    return best;
}

} // namespace

TEST(OnboardingFooter, TheButtonsDrawTheirArrowsBesideTheLabelsAndReadTheLabelsAlone) {
    FrameClock::shared().setReduceMotion(true);
    {
        QWidget window;
        window.resize(780, 660);
        auto* view = new OnboardingView(
            int(OnboardingStep::hotkey), [] {}, &window);
        view->resize(window.size());
        window.show();
        SiteButton* back = nullptr;
        SiteButton* primary = nullptr;
        for (SiteButton* b : view->findChildren<SiteButton*>()) {
            if (b->accessibleName() == "Voltar") back = b;
            if (b->accessibleName() == "Continuar") primary = b;
        }
        ASSERT_TRUE(back && primary);
        EXPECT_EQ(back->text(), "Voltar") << "no arrow in what is read";
        EXPECT_EQ(primary->text(), view->primaryLabel());
        screenshot(window, QStringLiteral("onboarding-footer"));

        // Each arrow is drawn whole, before the label on the back button and after it on the
        // primary one.
        const QImage picture = window.grab().toImage();
        const struct Case {
            SiteButton* button;
            QString symbol;
            bool trailing;
            std::function<bool(QRgb)> ink;
        } cases[] = {
            {back, "arrow.left", false, [](QRgb c) { return qGray(c) < 180; }},    // on the ground
            {primary, "arrow.right", true, [](QRgb c) { return qGray(c) > 180; }}, // on purple
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.symbol.toStdString());
            const QRect r(c.button->mapTo(&window, QPoint()), c.button->size());
            const int side = qRound(QFontMetricsF(c.button->font()).ascent());
            const SymbolMatch match = findSymbol(picture.copy(r), c.symbol, side, c.ink);
            EXPECT_GT(match.overlap, 0.6);
            // The label is wider than the arrow, so each lies wholly on its own half.
            if (c.trailing)
                EXPECT_GT(match.at.x(), r.width() / 2);
            else
                EXPECT_LT(match.at.x() + side, r.width() / 2);
        }
    }
    FrameClock::shared().setReduceMotion(false);
}

TEST(HotkeyPage, EveryKeyNameFitsItsKey) {
    // The desktop's face is wider than the one the keys were measured for: "command" on a
    // 72-point key lost its last letter.
    const struct Case {
        const char* name;
        double width; // the key's face: its width less 8 points each side
    } cases[] = {{"fn", 44}, {"control", 44}, {"option", 44}, {"command", 56}};
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const QFont font = KeyboardKey::nameFont(name, c.width);
        EXPECT_LE(QFontMetricsF(font).horizontalAdvance(name), c.width) << c.name;
        // Made only as small as it must.
        EXPECT_GT(font.pointSizeF(),
                  0.8 * OnboardingFonts::system(10.5, QFont::DemiBold).pointSizeF())
            << c.name;
    }
    // A name that fits keeps the size of the layout.
    EXPECT_EQ(KeyboardKey::nameFont(QStringLiteral("fn"), 44),
              OnboardingFonts::system(10.5, QFont::DemiBold));
}

TEST(NamePage, TheFieldsFrameTurnsToItsFocusedLookWithTheSpring) {
    ManualClock clock;
    Clock::install(&clock);
    {
        QWidget window;
        window.resize(700, 560);
        auto* page = new NameStep(
            AppSettings::shared(), [] {}, &window);
        page->resize(window.size());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(page->field()->hasFocus()) << "the page focuses its field as it comes in";
        clock.advance(std::chrono::milliseconds(50));
        EXPECT_TRUE(between(page->fieldFocus())) << page->fieldFocus();
        clock.advance(std::chrono::seconds(1));
        EXPECT_EQ(page->fieldFocus(), 1);
        page->field()->clearFocus();
        clock.advance(std::chrono::seconds(1));
        EXPECT_EQ(page->fieldFocus(), 0);
    }
    Clock::install(nullptr);
}
