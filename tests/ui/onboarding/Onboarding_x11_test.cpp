#include "audio/Sounds.h"
#include "core/AppSettings.h"
#include "input/HotkeyMonitor.h"
#include "platform/AudioInputFactory.h"
#include "platform/Platform.h"
#include "platform/linux/QtAudioInput.h"
#include "platform/linux/QtSoundLibrary.h"
#include "platform/linux/XInputKeySource.h"
#include "support/Async.h"
#include "support/AtspiTree.h"
#include "support/RecordedSpeech.h"
#include "support/VirtualMicrophone.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "support/fakes/FakeSoundLibrary.h"
#include "ui/animation/FrameClock.h"
#include "ui/onboarding/HotkeyStep.h"
#include "ui/onboarding/KeyboardKey.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/windows/WindowManager.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace nolvea;
using namespace nolvea::test;
using Step = OnboardingStep;

namespace {

const bool kAccessibilityOn = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

QString screenshotPath(const QString& name) {
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return dir + u'/' + name + QStringLiteral(".png");
}

// What a screen reader finds once every one of `names` is there (or when that never comes).
QStringList readerSees(const QStringList& names) {
    QStringList seen;
    spinUntil([&] {
        seen = atspiElements(QCoreApplication::applicationPid());
        return std::all_of(names.begin(), names.end(),
                           [&](const QString& n) { return !seen.filter(u"|"_qs + n).isEmpty(); });
    });
    return seen;
}

// Runs what the last input queued: a reaction to it has happened once this returns.
void handleQueued() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The page of `view` is on screen and no longer moving in.
bool pageAtRest(const OnboardingView* view) {
    return view->page() && view->page()->isOnScreen() && !view->isMoving();
}

class OnboardingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings::shared().setHasCompletedOnboarding(false);
        AppSettings::shared().setUserName(QString());
        nolvea::WindowManager::shared().show(nolvea::WindowManager::Kind::onboarding);
        window = nolvea::WindowManager::shared().window(nolvea::WindowManager::Kind::onboarding);
        ASSERT_NE(window, nullptr);
        view = window->findChild<OnboardingView*>();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(spinUntil([&] { return pageAtRest(view); }));
    }
    void TearDown() override {
        if (window) window->close();
        // The closed window is deleted before the next test opens one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }

    QPointer<QWidget> window;
    OnboardingView* view = nullptr;
};

} // namespace

TEST_F(OnboardingWindow, EveryStepReadsAloudAndFinishingClosesTheWindow) {
    const std::pair<Step, QStringList> steps[] = {
        {Step::welcome, {"Começar", "Leva uns 2 minutos"}},
        {Step::name, {"Seu nome", "A Nolvea usa seu nome quando conversa com você.", "Continuar"}},
        {Step::permissions,
         {"Permissões", "Microfone", "Acessibilidade", "Monitoramento de Entrada", "Fazer depois"}},
        {Step::hotkey, {"Sua tecla para falar", "⌥ Option direito", "Segure e fale"}},
        {Step::ai, {"Escolha a IA", "No seu Mac", "Na nuvem", "Modelo", "Testar"}},
        {Step::google,
         {"Conecte o Google", "Gmail, Agenda e Contatos", "Drive, Docs e Planilhas", "Pular"}},
        {Step::done, {"Começar a usar", "Experimente agora"}},
    };
    AppSettings::shared().setUserName(QStringLiteral("  Marina\t"));
    // The welcome, built anew, shows its last state at once for the picture.
    FrameClock::shared().setReduceMotion(true);
    view->go(Step::name);
    for (const auto& [step, texts] : steps) {
        view->go(step);
        EXPECT_EQ(view->step(), step);
        ASSERT_TRUE(spinUntil([&] { return pageAtRest(view); }));
        const QStringList seen = readerSees(texts);
        if (qEnvironmentVariableIsSet("DEBUG_ATSPI")) qDebug() << seen;
        for (const QString& t : texts)
            EXPECT_FALSE(seen.filter(u"|"_qs + t).isEmpty())
                << "step " << int(step) << " misses " << t.toStdString();
        EXPECT_TRUE(
            window->grab().save(screenshotPath(QStringLiteral("onboarding-%1").arg(int(step)))));
    }
    FrameClock::shared().setReduceMotion(false);
    // Return on the last page is its button.
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), Qt::Key_Return);
    EXPECT_TRUE(spinUntil([&] { return !window || !window->isVisible(); }));
    EXPECT_TRUE(AppSettings::shared().hasCompletedOnboarding());
    EXPECT_EQ(AppSettings::shared().userName(), "Marina") << "stored trimmed";
}

TEST_F(OnboardingWindow, ANameOfBlanksKeepsTheFlowOnTheNamePage) {
    view->go(Step::name);
    ASSERT_TRUE(spinUntil([&] { return pageAtRest(view); }));
    auto* field = window->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("   "));
    EXPECT_EQ(AppSettings::shared().userName(), "   ") << "written on every keystroke";
    QTest::keyClick(field, Qt::Key_Return);
    handleQueued();
    EXPECT_EQ(view->step(), Step::name);
    QTest::keyClicks(field, QStringLiteral("Rui"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(view->step(), Step::permissions) << "one Return moves one page";
    handleQueued();
    EXPECT_EQ(view->step(), Step::permissions);
    view->back();
    view->back();
    EXPECT_EQ(view->step(), Step::welcome);
    EXPECT_FALSE(view->movedForward());
}

namespace {

// The hotkey page over a real desktop listener, as the running application has it.
class HotkeyPage : public ::testing::Test {
protected:
    void SetUp() override {
        Sounds::forget();
        Platform::install<SoundLibrary>(sounds);
        Platform::install<AudioInputFactory>(std::make_shared<QtAudioInput::Factory>());
        AppSettings::shared().setPlaySounds(true);
        AppSettings::shared().setHotkey(HotkeyChoice::fn);
        monitor.start();
        ASSERT_TRUE(monitor.isRunning());
        host.hotkeys = [this] { return &monitor; };
        host.setSuspended = [this](bool s) { suspended = s; };
        window.resize(780, 660);
        page = new HotkeyStep(AppSettings::shared(), host, &window);
        page->setGeometry(40, 40, 700, 560);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override {
        X11Keys::releaseAll();
        Platform::uninstall<SoundLibrary>();
        Platform::uninstall<AudioInputFactory>();
        Sounds::forget();
    }

    // Posts one key and waits until the page has seen `until`.
    bool post(const QByteArray& sym, bool down, const std::function<bool()>& until) {
        EXPECT_TRUE(down ? X11Keys::press(sym) : X11Keys::release(sym));
        return spinUntil(until, 5000);
    }
    QStringList played() const { return sounds->log.filter(QStringLiteral("load")); }

    test::WindowManager openbox; // the page hears keys only while its window is active
    std::shared_ptr<FakeSoundLibrary> sounds =
        std::make_shared<FakeSoundLibrary>(std::make_shared<QtSoundLibrary>());
    HotkeyMonitor monitor{std::make_shared<XInputKeySource>()};
    OnboardingHost host;
    bool suspended = false;
    QWidget window;
    HotkeyStep* page = nullptr;
};

} // namespace

TEST_F(HotkeyPage, TheRealKeyLightsTheCapPlaysTheCuesAndSwitchesKeys) {
    EXPECT_TRUE(suspended) << "push-to-talk is held off while keys are tried";
    EXPECT_EQ(page->titleText().toStdString(), "Teste: segure Fn / 🌐");
    KeyboardKey* fnKey = page->keys().front();

    ASSERT_TRUE(post("Menu", true, [&] { return page->test().pressed(); }));
    EXPECT_TRUE(fnKey->isLit());
    EXPECT_EQ(page->titleText().toStdString(), "Isso! Agora é só falar.");
    ASSERT_TRUE(post("Menu", false, [&] { return page->test().worked(); }));
    EXPECT_FALSE(fnKey->isLit());
    EXPECT_EQ(page->titleText().toStdString(), "Tecla funcionando");
    EXPECT_TRUE(sounds->log.contains("load Tink")) << sounds->log.join(", ").toStdString();
    EXPECT_TRUE(sounds->log.contains("load Glass")) << sounds->log.join(", ").toStdString();
    EXPECT_TRUE(window.grab().save(screenshotPath(QStringLiteral("onboarding-hotkey-worked"))));

    // Right Super chooses right Command on the spot and starts a new test.
    ASSERT_TRUE(post("Super_R", true,
                     [&] { return AppSettings::shared().hotkey() == HotkeyChoice::rightCommand; }));
    EXPECT_EQ(monitor.trigger(), HotkeyChoice::rightCommand);
    EXPECT_TRUE(page->test().pressed());
    EXPECT_FALSE(page->test().worked());
    ASSERT_TRUE(post("Super_R", false, [&] { return page->test().worked(); }));

    // Leaving the page lets push-to-talk work again and stops listening.
    page->hide();
    EXPECT_FALSE(suspended);
    EXPECT_FALSE(bool(monitor.onKey));
}

TEST_F(HotkeyPage, HoldingTheKeyScrollsTheLevelsFromTheMicrophone) {
    ASSERT_TRUE(VirtualMicrophone::isAvailable());
    ASSERT_TRUE(post("Menu", true, [&] { return page->test().pressed(); }));
    ASSERT_TRUE(VirtualMicrophone::play(RecordedSpeech::goForwardPath()));
    // Speech reaches the display as it scrolls by.
    EXPECT_TRUE(spinUntil([&] {
        const QList<float> levels = page->levels();
        return std::any_of(levels.begin(), levels.end(), [](float l) { return l > 0.05f; });
    }));
    EXPECT_EQ(page->levels().size(), HotkeyStep::kLevelCount);
    ASSERT_TRUE(post("Menu", false, [&] { return !page->test().pressed(); }));
    EXPECT_EQ(page->levels(), QList<float>(HotkeyStep::kLevelCount, 0.0f))
        << "the display rests once the key is up";
}
