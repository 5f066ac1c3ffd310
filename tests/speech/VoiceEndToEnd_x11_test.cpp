// The whole voice pipeline on the test display with nothing faked but the model: keys posted
// through XTest reach the real hotkey monitor, the real recorder hears the PulseAudio virtual
// microphone, pocketsphinx transcribes, and the text is pasted into another program's field.
#include "speech/VoiceController.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "input/HotkeyMonitor.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/FrontApp.h"
#include "support/LoopbackServer.h"
#include "support/RecordedSpeech.h"
#include "support/VirtualMicrophone.h"
#include "support/X11Keys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

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
    static void SetUpTestSuite() { LinuxPlatform::install(); }

    void SetUp() override {
        if (!VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
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
        model.setHandler([](const HttpRequest& r) {
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

    void press() { ASSERT_TRUE(X11Keys::press("Super_R")); }
    // Lets the key go once the monitor has heard it.
    void release() {
        const int timers = clock.pendingTimers();
        ASSERT_TRUE(X11Keys::release("Super_R"));
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
        ASSERT_TRUE(VirtualMicrophone::playAndWait(RecordedSpeech::goForwardPath()));
        spinUntil([] { return false; }, 300); // the tail is still in the audio server
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
            if (userText(r.body).contains("go forward", Qt::CaseInsensitive)) ++n;
        return n;
    }

    ManualClock clock;
    AppState state;
    LoopbackServer model;
    FrontApp front;
    std::unique_ptr<VoiceController> controller;
};

} // namespace

// Hold, speak, release: the cleaned text lands in the other program's field, and the screen
// context names that program.
TEST_F(VoiceEndToEnd, HoldSpeakReleasePastesIntoTheFrontApplication) {
    press();
    waitForStage(Stage::listening);
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    EXPECT_EQ(state.targetAppName(), "NolveaFrontApp");
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
    ASSERT_TRUE(X11Keys::release("Super_R"));
    clock.advance(Clock::Duration(700));
    EXPECT_EQ(state.stage(), Stage::idle);
    spinUntil([] { return false; }, 300);
    EXPECT_EQ(cleanupRequests(), 0);
    EXPECT_EQ(front.text(), "");
}

// Control held while listening turns the request into one for the agent: nothing is pasted.
TEST_F(VoiceEndToEnd, ControlTurnsTheListeningIntoAnAgentRequest) {
    press();
    waitForStage(Stage::listening);
    ASSERT_TRUE(X11Keys::press("Control_L"));
    ASSERT_TRUE(spinUntil([&] { return state.mode() == VoiceMode::agent; }, 2000));
    ASSERT_TRUE(X11Keys::release("Control_L"));
    speak();
    clock.advance(Clock::Duration(500));
    release();
    ASSERT_TRUE(spinUntil([&] { return state.stage() != Stage::processing; }, 60000));
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    spinUntil([] { return false; }, 300);
    EXPECT_EQ(front.text(), "");
}
