// The real program started as the person starts it: push-to-talk dictation into another
// program's field, and a clean end on SIGTERM that takes its MCP servers along.
#include "app/DevRun.h"
#include "core/AppPaths.h"
#include "core/AppSettings.h"
#include "core/UserDefaults.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/HeardSpeech.h"
#include "support/LoopbackServer.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/TestEnvironment.h"
#include "support/VirtualMicrophone.h"
#include "support/X11Keys.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <csignal>

using namespace nolvea;
using namespace nolvea::test;

namespace {

// An MCP server that never reads its input, so it outlives its parent unless stopped.
const QString kServerSeconds = QStringLiteral("4242");

// The processes of that server started under this test's home.
QList<int> lingeringServers() {
    const QByteArray home = "HOME=" + QFile::encodeName(test::home());
    const QByteArrayList command{"sleep", kServerSeconds.toLatin1(), ""};
    QList<int> pids;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline"), environ("/proc/" + pid + "/environ");
        if (!cmdline.open(QIODevice::ReadOnly) || !environ.open(QIODevice::ReadOnly)) continue;
        if (cmdline.readAll().split('\0') == command &&
            environ.readAll().split('\0').contains(home))
            pids << pid.toInt();
    }
    return pids;
}

// The audio server lists a recording of this process: its microphone is open.
bool recordsSound(qint64 pid) {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("source-outputs")});
    if (!pactl.waitForFinished(5000)) return false;
    return pactl.readAllStandardOutput().contains(
        QStringLiteral("application.process.id = \"%1\"").arg(pid).toUtf8());
}

} // namespace

TEST(Application, DictatesIntoTheFrontApplicationAndEndsOnSigterm) {
    if (!VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    LoopbackServer model;
    model.setHandler([](const HttpRequest& r) {
        const bool heard = r.body.contains("go forward");
        return HttpResponse::json(ScriptedModel::body(heard ? "Go forward ten meters." : "ok", {}));
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
    s.setHasCompletedOnboarding(true);       // its window would take the focus
    UserDefaults::standard().sync();
    QFile mcp(AppPaths::support() + "/mcp.json");
    ASSERT_TRUE(mcp.open(QIODevice::WriteOnly));
    const QJsonObject server{{"command", "sleep"}, {"args", QJsonArray{kServerSeconds}}};
    mcp.write(QJsonDocument(QJsonObject{{"mcpServers", QJsonObject{{"mudo", server}}}}).toJson());
    mcp.close();

    FrontApp front;
    ASSERT_TRUE(front.isReady());
    front.focus();

    QProcess nolvea;
    nolvea.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    nolvea.start(nolveaProgram(), {});
    ASSERT_TRUE(nolvea.waitForStarted(10000));
    // The model monitor's first probe comes after the hotkey monitor has started.
    ASSERT_TRUE(spinUntil([&] { return !model.requests().isEmpty(); }, 30000));

    // A recording beside the application's: the server hands both the sound at once.
    HeardSpeech heard;
    ASSERT_TRUE(heard.listen());
    ASSERT_TRUE(X11Keys::press("Super_R"));
    // Spoken once the microphone is open, as a person starts talking: on a busy machine the
    // press may take a moment to reach a freshly started application.
    ASSERT_TRUE(spinUntil([&] { return recordsSound(nolvea.processId()); }, 10000));
    ASSERT_TRUE(VirtualMicrophone::playAndWait(RecordedSpeech::goForwardPath()));
    // The tail still travels through the audio server.
    ASSERT_TRUE(spinUntil([&] { return heard.isPastSpeech(); }));
    ASSERT_TRUE(X11Keys::release("Super_R"));
    EXPECT_TRUE(spinUntil([&] { return front.text() == "Go forward ten meters."; }, 60000))
        << front.text().toStdString();

    EXPECT_TRUE(spinUntil([] { return lingeringServers().size() == 1; }));

    nolvea.terminate();
    ASSERT_TRUE(nolvea.waitForFinished(10000));
    EXPECT_EQ(nolvea.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(nolvea.exitCode(), 0);
    EXPECT_TRUE(spinUntil([] { return lingeringServers().isEmpty(); }, 5000));
    for (int pid : lingeringServers())
        ::kill(pid, SIGKILL);
    X11Keys::releaseAll();
}
