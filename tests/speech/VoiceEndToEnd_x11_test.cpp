// The whole voice pipeline on the test display with nothing faked but the model: keys posted
// through XTest reach the real hotkey monitor, the real recorder hears the PulseAudio virtual
// microphone, pocketsphinx transcribes, and the text is pasted into another program's field.
#include "speech/VoiceController.h"

#include "agent/tools/ShortcutTools.h"
#include "core/AppPaths.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "input/HotkeyMonitor.h"
#include "platform/Clipboard.h"
#include "platform/KeyPoster.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/XTestKeyPoster.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/FrontApp.h"
#include "support/HeardSpeech.h"
#include "support/LoopbackServer.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/TestEnvironment.h"
#include "support/VirtualMicrophone.h"
#include "support/VoiceRig.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <deque>
#include <mutex>

using namespace nolvea;
using namespace nolvea::test;
using Stage = AppState::Stage;

namespace {

const QString kCleaned = QStringLiteral("Go forward ten meters.");

QByteArray chatReply(const QString& content) {
    const QJsonObject message{{"role", "assistant"}, {"content", content}};
    return QJsonDocument(QJsonObject{{"choices", QJsonArray{QJsonObject{{"message", message}}}}})
        .toJson(QJsonDocument::Compact);
}

// The texts of a chat request's user messages.
QString userText(const QByteArray& body) {
    QString out;
    for (const auto& m : QJsonDocument::fromJson(body).object()["messages"].toArray())
        if (m.toObject()["role"].toString() == "user") out += m.toObject()["content"].toString();
    return out;
}

class VoiceEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LinuxPlatform::install(AppPaths::file(QStringLiteral("pocketsphinx")));
    }

    void SetUp() override {
        if (!VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
        ASSERT_TRUE(heard.listen());
        ASSERT_TRUE(front.isReady());
        Clock::install(&clock);
        AppSettings& s = AppSettings::shared();
        s.setAiProvider(AIProvider::lmStudio);
        s.setServerURL(model.url());
        s.setModel("m");
        s.setAiCleanupEnabled(true);
        s.setAgentEnabled(true);
        s.setSpeakAnswers(false);
        s.setPlaySounds(false); // the cues would be heard by the microphone
        s.setLocaleID("en-US");
        s.setVocabulary({});
        // Super_R: a key the front application does nothing with.
        s.setHotkey(HotkeyChoice::rightCommand);
        model.setHandler([this](const HttpRequest& r) {
            if (isAgentRequest(r)) {
                std::lock_guard lock(repliesMutex);
                if (!agentReplies.empty()) {
                    HttpResponse next = std::move(agentReplies.front());
                    agentReplies.pop_front();
                    return next;
                }
            }
            const bool heard = userText(r.body).contains("go forward", Qt::CaseInsensitive);
            return HttpResponse::json(chatReply(heard ? kCleaned : QStringLiteral("ok")));
        });

        // As the application starts it.
        controller = std::make_unique<VoiceController>(state);
        controller->hotkeys().setTrigger(s.hotkey());
        controller->hotkeys().start();
        ASSERT_TRUE(controller->hotkeys().isRunning());

        front.focus();
        front.setText({});
    }

    void TearDown() override {
        X11Keys::releaseAll();
        controller.reset();
        Clock::install(nullptr);
    }

    void press() { ASSERT_TRUE(X11Keys::press(triggerKey)); }
    // Lets the key go once the monitor has heard it.
    void release() {
        const int timers = clock.pendingTimers();
        ASSERT_TRUE(X11Keys::release(triggerKey));
        // The release is heard when the controller schedules something or leaves listening.
        spinUntil(
            [&] { return clock.pendingTimers() != timers || state.stage() != Stage::listening; },
            2000);
    }
    void waitForStage(Stage stage, int ms = 10000) {
        ASSERT_TRUE(spinUntil([&] { return state.stage() == stage; }, ms))
            << "stage " << int(state.stage()) << ", status " << state.statusText().toStdString();
    }
    // Plays the recording into the microphone and waits for it to have travelled through.
    void speak() {
        heard.restart();
        ASSERT_TRUE(VirtualMicrophone::playAndWait(RecordedSpeech::goForwardPath()));
        // The tail still travels through the audio server.
        ASSERT_TRUE(spinUntil([&] { return heard.isPastSpeech(); }));
    }
    // The text arrives in the field; the paste ends once the clipboard is given back.
    void expectPasted(const QString& text) {
        EXPECT_TRUE(spinUntil([&] { return front.text() == text; }, 60000))
            << front.text().toStdString();
        clock.advance(Clock::Duration(400));
        waitForStage(Stage::success);
    }
    int cleanupRequests() const {
        int n = 0;
        for (const HttpRequest& r : model.requests())
            if (!isAgentRequest(r) && !VoiceRig::isWarmup(r) &&
                userText(r.body).contains("go forward", Qt::CaseInsensitive))
                ++n;
        return n;
    }

    // A request of the agent, which offers its tools (its warm-ups aside).
    static bool isAgentRequest(const HttpRequest& r) {
        return !VoiceRig::isWarmup(r) && QJsonDocument::fromJson(r.body).object().contains("tools");
    }
    std::vector<QByteArray> agentRequests() const {
        std::vector<QByteArray> out;
        for (const HttpRequest& r : model.requests())
            if (isAgentRequest(r)) out.push_back(r.body);
        return out;
    }
    // The agent's answer to its next request.
    void answerAgent(const QString& text, const std::vector<ScriptedModel::Call>& calls = {}) {
        std::lock_guard lock(repliesMutex);
        agentReplies.push_back(HttpResponse::json(ScriptedModel::body(text, calls)));
    }
    // Holds the key with Control, speaks and lets go: a request for the agent.
    void askTheAgent() {
        press();
        waitForStage(Stage::listening);
        ASSERT_TRUE(X11Keys::press("Control_L"));
        ASSERT_TRUE(spinUntil([&] { return state.mode() == VoiceMode::agent; }, 2000));
        ASSERT_TRUE(X11Keys::release("Control_L"));
        speak();
        clock.advance(Clock::Duration(500));
        release();
    }

    QByteArray triggerKey = "Super_R";
    ManualClock clock;
    AppState state;
    LoopbackServer model;
    FrontApp front{{.iconColor = "#3060c0"}};
    std::unique_ptr<VoiceController> controller;
    // A recording beside the controller's: the server hands both the sound at once.
    HeardSpeech heard;
    std::mutex repliesMutex; // the model answers on the server's thread
    std::deque<HttpResponse> agentReplies;
};

} // namespace

// Hold, speak, release: the cleaned text lands in the other program's field, and the screen
// context names that program.
TEST_F(VoiceEndToEnd, HoldSpeakReleasePastesIntoTheFrontApplication) {
    press();
    waitForStage(Stage::listening);
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    EXPECT_EQ(state.targetAppName(), "NolveaFrontApp");
    EXPECT_EQ(state.targetAppIcon().value<QImage>().pixelColor(8, 8), QColor("#3060c0"));
    speak();
    // The words show while the key is still held.
    EXPECT_TRUE(spinUntil([&] { return state.liveText().startsWith("go"); }, 60000))
        << state.liveText().toStdString();
    clock.advance(Clock::Duration(500));
    release();
    expectPasted(kCleaned);
    EXPECT_EQ(cleanupRequests(), 1);
    clock.advance(Clock::Duration(900));
    EXPECT_EQ(state.stage(), Stage::idle);
}

// When the paste keystroke cannot be posted the dictation is a failure that says so, and the
// text waits on the real clipboard for the person to paste it by hand.
TEST_F(VoiceEndToEnd, APasteThatCannotBePostedLeavesTheTextOnTheClipboard) {
    struct Restore {
        std::shared_ptr<KeyPoster> working = Platform::find<KeyPoster>();
        ~Restore() { Platform::install<KeyPoster>(working); }
    } restore;
    // A display no test session takes (they count up from 90).
    Platform::install<KeyPoster>(std::make_shared<XTestKeyPoster>(QByteArray(":59999")));
    press();
    waitForStage(Stage::listening);
    speak();
    clock.advance(Clock::Duration(500));
    release();
    waitForStage(Stage::error, 60000);
    EXPECT_EQ(state.statusText(),
              QStringLiteral("Não consegui colar: o texto está na área de transferência"));
    EXPECT_EQ(front.text(), "");
    EXPECT_EQ(Platform::get<Clipboard>().read().value("text/plain"), kCleaned.toUtf8());
    clock.advance(Clock::Duration(400)); // no restoring of the earlier clipboard comes
    EXPECT_EQ(Platform::get<Clipboard>().read().value("text/plain"), kCleaned.toUtf8());
}

// A tap ends silently once the double-tap window has passed: nothing is pasted.
TEST_F(VoiceEndToEnd, ATapPastesNothing) {
    press();
    waitForStage(Stage::listening);
    release();
    EXPECT_EQ(state.stage(), Stage::listening);
    clock.advance(Clock::Duration(350));
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(state.errorCount(), 0);
    EXPECT_EQ(cleanupRequests(), 0);
    EXPECT_EQ(front.text(), "");
}

// A double tap listens without the key held; the third press ends it and the text goes in.
TEST_F(VoiceEndToEnd, ADoubleTapListensHandsFreeUntilTheThirdPress) {
    press();
    waitForStage(Stage::listening);
    release();
    clock.advance(Clock::Duration(100));
    press();
    ASSERT_TRUE(spinUntil([&] { return state.handsFree(); }, 2000));
    ASSERT_TRUE(X11Keys::release("Super_R"));
    speak();
    clock.advance(Clock::Duration(5000));
    EXPECT_EQ(state.stage(), Stage::listening);
    press();
    waitForStage(Stage::processing);
    ASSERT_TRUE(X11Keys::release("Super_R"));
    expectPasted(kCleaned);
}

// Escape while listening cancels: the "Cancelado" outcome and nothing pasted, even after the
// key is let go.
TEST_F(VoiceEndToEnd, EscapeCancelsTheListening) {
    press();
    waitForStage(Stage::listening);
    ASSERT_TRUE(X11Keys::tap("Escape"));
    waitForStage(Stage::error);
    EXPECT_EQ(state.statusText(), QString::fromUtf8("Cancelado"));
    int released = 0;
    controller->hotkeys().onKey = [&](const KeyEvent& e) { released += e.pressed ? 0 : 1; };
    ASSERT_TRUE(X11Keys::release("Super_R"));
    // Heard and handled: the release reaches the listener just before it is judged.
    ASSERT_TRUE(spinUntil([&] { return released > 0; }));
    QCoreApplication::processEvents();
    clock.advance(Clock::Duration(700));
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(cleanupRequests(), 0);
    EXPECT_EQ(front.text(), "");
}

// Control held while listening makes the request the agent's: it answers, nothing is pasted.
TEST_F(VoiceEndToEnd, ControlAsksTheAgent) {
    answerAgent("Andei dez metros.");
    QSignalSpy settled(controller.get(), &VoiceController::turnSettled);
    askTheAgent();
    waitForStage(Stage::answer, 60000);
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    EXPECT_EQ(state.answerText(), "Andei dez metros.");
    EXPECT_TRUE(state.lastRequest().startsWith("go forward")) << state.lastRequest().toStdString();
    ASSERT_EQ(agentRequests().size(), 1u);
    EXPECT_TRUE(userText(agentRequests()[0]).contains("go forward"));
    EXPECT_EQ(cleanupRequests(), 0);
    ASSERT_TRUE(spinUntil([&] { return settled.count() == 1; }));
    EXPECT_EQ(front.text(), "");
}

// An action the agent asks to run waits for the card: approved it runs, declined it does not.
TEST_F(VoiceEndToEnd, AnActionRunsOnlyWhenApproved) {
    AppSettings::shared().setConfirmActions(true);
    const QString marker = home() + "/marca";
    QDir().mkpath(ShortcutTools::folder());
    QFile script(ShortcutTools::folder() + "/Marcar");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho feito > \"$HOME/marca\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    for (const bool approve : {true, false}) {
        SCOPED_TRACE(approve);
        QFile::remove(marker);
        answerAgent({}, {{"c1", "run_shortcut", R"({"name":"Marcar"})"}});
        askTheAgent();
        waitForStage(Stage::confirming, 60000);
        ASSERT_TRUE(state.pendingAction());
        controller->resolveConfirmation(approve); // the card's buttons
        if (approve) {
            waitForStage(Stage::success);
            EXPECT_TRUE(QFile::exists(marker));
        } else {
            waitForStage(Stage::error);
            EXPECT_EQ(state.statusText(), "Cancelado");
            EXPECT_FALSE(QFile::exists(marker));
        }
        clock.advance(Clock::Duration(3000));
        EXPECT_EQ(state.stage(), Stage::idle);
    }
    EXPECT_EQ(front.text(), "");
}

// A spoken answer that asks something listens for the reply without the key: the reply is
// heard through the microphone, ends with the silence after it and goes to the agent with
// the conversation so far.
TEST_F(VoiceEndToEnd, AnAnswerThatAsksListensForTheReply) {
    AppSettings& s = AppSettings::shared();
    s.setSpeakAnswers(true);
    s.setVoiceEngine(VoiceEngine::apple);
    s.setFollowUpMode(FollowUpMode::whenAsked);
    answerAgent("Quer que eu ande mais dez metros?");
    answerAgent("Pronto.");
    askTheAgent();
    waitForStage(Stage::answer, 60000);

    // The desktop's voice says the answer; listening begins when it is done.
    ASSERT_TRUE(spinUntil([&] { return controller->isFollowUpListening(); }, 60000))
        << "stage " << int(state.stage());
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_TRUE(state.handsFree());
    EXPECT_TRUE(state.awaitingReply());
    // The silence watcher runs on the test's clock, in step with the sound heard.
    auto tick = [&] {
        const qint64 until = heard.milliseconds() + 100;
        ASSERT_TRUE(spinUntil([&] { return heard.milliseconds() >= until; }, 5000));
        clock.advance(Clock::Duration(100));
    };
    for (int i = 0; i < 5; ++i)
        tick();
    ASSERT_TRUE(VirtualMicrophone::play(RecordedSpeech::goForwardPath()));
    for (int i = 0; i < 300 && state.stage() == Stage::listening; ++i)
        tick();
    EXPECT_NE(state.stage(), Stage::listening);
    waitForStage(Stage::answer, 60000);

    EXPECT_EQ(state.answerText(), "Pronto.");
    EXPECT_EQ(state.conversationTurns(), 2);
    ASSERT_EQ(agentRequests().size(), 2u);
    EXPECT_TRUE(
        QString::fromUtf8(agentRequests()[1]).contains("Quer que eu ande mais dez metros?"));
    EXPECT_TRUE(userText(agentRequests()[1]).contains("go forward"));
    controller->dismissAnswer();
}

// The default key, under a window manager, into a plain text field: the Menu key would open the
// field's context menu, which would take the posted paste for itself.
TEST_F(VoiceEndToEnd, TheDefaultKeyDictatesIntoAFieldUnderAWindowManager) {
    WindowManager manager;
    ASSERT_TRUE(manager.isRunning());
    controller->hotkeys().setTrigger(HotkeyChoice::fn);
    triggerKey = "Menu";
    front.focus();
    press();
    waitForStage(Stage::listening);
    speak();
    clock.advance(Clock::Duration(500));
    release();
    expectPasted(kCleaned);
    // Typing goes on in the field, not in a menu.
    ASSERT_TRUE(X11Keys::tap("x"));
    EXPECT_TRUE(spinUntil([&] { return front.text() == kCleaned + "x"; }))
        << front.text().toStdString();
}
