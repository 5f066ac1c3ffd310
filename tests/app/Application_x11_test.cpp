// The real program started as the person starts it: push-to-talk dictation into another
// program's field, and a clean end on SIGTERM.
#include "app/DevRun.h"
#include "core/AppSettings.h"
#include "core/UserDefaults.h"
#include "support/Async.h"
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

namespace {

QByteArray chatReply(const QString& content) {
    const QJsonObject message{{"role", "assistant"}, {"content", content}};
    return QJsonDocument(QJsonObject{{"choices", QJsonArray{QJsonObject{{"message", message}}}}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

TEST(Application, DictatesIntoTheFrontApplicationAndEndsOnSigterm) {
    if (!VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    LoopbackServer model;
    model.setHandler([](const HttpRequest& r) {
        const bool heard = r.body.contains("go forward");
        return HttpResponse::json(chatReply(heard ? "Go forward ten meters." : "ok"));
    });
    AppSettings& s = AppSettings::shared();
    s.setAiProvider(AIProvider::lmStudio);
    s.setServerURL(model.url());
    s.setModel("m");
    s.setAiCleanupEnabled(true);
    s.setPlaySounds(false); // the cues would be heard by the microphone
    s.setSpeakAnswers(false);
    s.setLocaleID("en-US");
    s.setHotkey(HotkeyChoice::rightCommand); // Super_R
    UserDefaults::standard().sync();

    FrontApp front;
    ASSERT_TRUE(front.isReady());
    front.focus();

    QProcess nolvea;
    nolvea.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    nolvea.start(nolveaProgram(), {});
    ASSERT_TRUE(nolvea.waitForStarted(10000));
    // The model monitor's first probe comes after the hotkey monitor has started.
    ASSERT_TRUE(spinUntil([&] { return !model.requests().isEmpty(); }, 30000));

    ASSERT_TRUE(X11Keys::press("Super_R"));
    ASSERT_TRUE(VirtualMicrophone::playAndWait(RecordedSpeech::goForwardPath()));
    spinUntil([] { return false; }, 300); // the tail is still in the audio server
    ASSERT_TRUE(X11Keys::release("Super_R"));
    EXPECT_TRUE(spinUntil([&] { return front.text() == "Go forward ten meters."; }, 60000))
        << front.text().toStdString();

    nolvea.terminate();
    ASSERT_TRUE(nolvea.waitForFinished(10000));
    EXPECT_EQ(nolvea.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(nolvea.exitCode(), 0);
    X11Keys::releaseAll();
}
