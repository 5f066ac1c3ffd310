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
#include "ui/animation/ReplaceTransition.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/onboarding/AIStep.h"
#include "ui/onboarding/Confetti.h"
#include "ui/onboarding/DoneStep.h"
#include "ui/onboarding/GoogleStep.h"
#include "ui/onboarding/GoogleStepChevron.h"
#include "ui/onboarding/NameStep.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/PermissionsStep.h"
#include "ui/onboarding/SnapshotLayer.h"
#include "ui/onboarding/WelcomeIntro.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
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

// A picture of `window` kept as a test artefact.
void screenshot(QWidget& window, const QString& name) {
    QCoreApplication::processEvents();
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(window.grab().save(dir + "/" + name + ".png"));
}

bool between(double v) {
    return v > 0.02 && v < 0.98;
}

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
    {
        // Flat: the last state from the first frame, no ring.
        QWidget window;
        FlatGlass::set(&window, true);
        auto* page = new WelcomeIntro(
            AppSettings::shared(), [] {}, &window);
        window.show();
        EXPECT_FALSE(page->showsRing());
        EXPECT_EQ(page->progress().mark, 1);
        EXPECT_EQ(page->progress().buttons, 1);
    }
    {
        // Reduced motion: the last state at once, the ring resting around the mark.
        FrameClock::shared().setReduceMotion(true);
        QWidget window;
        auto* page = new WelcomeIntro(
            AppSettings::shared(), [] {}, &window);
        window.show();
        EXPECT_TRUE(page->showsRing());
        EXPECT_EQ(page->progress().ripple, 0);
        EXPECT_EQ(page->progress().text, 1);
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
        EXPECT_EQ(page->entrance(), 1) << "built complete for an offscreen picture";
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
    {
        // Flat: complete from the first frame, never a ball, no confetti.
        QWidget window;
        FlatGlass::set(&window, true);
        auto* page = new DoneStep([] {}, &window);
        window.show();
        EXPECT_EQ(page->entrance(), 1);
        EXPECT_FALSE(page->findChild<BrandMark*>()->inputs().ball);
        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(page->confetti()->isRunning());
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
