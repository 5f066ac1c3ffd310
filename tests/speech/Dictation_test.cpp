#include "speech/Dictation.h"

#include "platform/DesktopError.h"
#include "support/Async.h"
#include "support/Error.h"
#include "system/TextInserterError.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace nolvea;

namespace {

enum class Cleanup { off, works, fails };
enum class Paste { works, notPasted, noClipboard };

// A dictation whose model and desktop do as told, recording what reached them.
struct Desk {
    Cleanup cleanup = Cleanup::works;
    Paste paste = Paste::works;
    QStringList cleaned, pasted;
    std::vector<HistoryEntry> history;
    bool refining = false;

    Dictation make() {
        Dictation::Services s;
        s.cleanUp = [this](QString text, ScreenContext, QStringList) -> QCoro::Task<QString> {
            cleaned << text;
            if (cleanup == Cleanup::fails) throw std::runtime_error("modelo fora do ar");
            co_return text.toUpper();
        };
        s.insertText = [this](QString text) -> QCoro::Task<> {
            switch (paste) {
            case Paste::works:
                pasted << text;
                break;
            case Paste::notPasted:
                throw TextInserterError(TextInserterError::Kind::notPasted,
                                        DesktopError(DesktopError::Kind::unreachable));
            case Paste::noClipboard:
                throw TextInserterError(TextInserterError::Kind::noClipboard,
                                        DesktopError(DesktopError::Kind::noClipboard));
            }
            co_return;
        };
        s.record = [this](const HistoryEntry& e) { history.push_back(e); };
        s.refining = [this] { refining = true; };
        return Dictation(std::move(s));
    }
};

ScreenContext editor() {
    ScreenContext c = ScreenContext::empty();
    c.appName = QStringLiteral("Editor");
    c.textBeforeCursor = QStringLiteral("Antes:");
    return c;
}

} // namespace

// A paste that fails is shown as a failure and says where the text is; it is still recorded.
TEST(Dictation, OutcomeByCleanupAndPaste) {
    struct Case {
        const char* text;
        Cleanup cleanup;
        Paste paste;
        VoiceOutcome::Kind kind;
        const char* status;
        const char* pasted; // nothing when empty
        const char* output; // in the history
    } cases[] = {
        {"vai em frente", Cleanup::works, Paste::works, VoiceOutcome::Kind::success, "3 palavras",
         " VAI EM FRENTE", "VAI EM FRENTE"},
        {"vai em frente", Cleanup::fails, Paste::works, VoiceOutcome::Kind::success,
         "3 palavras · sem IA", " vai em frente", "vai em frente"},
        {"vai em frente", Cleanup::off, Paste::works, VoiceOutcome::Kind::success, "3 palavras",
         " vai em frente", "vai em frente"},
        {"vai", Cleanup::works, Paste::works, VoiceOutcome::Kind::success, "1 palavra", " vai",
         "vai"}, // too short to clean
        {"vai em frente", Cleanup::works, Paste::notPasted, VoiceOutcome::Kind::error,
         "Não consegui colar: o texto está na área de transferência", "", "VAI EM FRENTE"},
        {"vai em frente", Cleanup::off, Paste::noClipboard, VoiceOutcome::Kind::error,
         "Não consegui colar: a área de transferência não está disponível.", "", "vai em frente"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.status);
        Desk desk;
        desk.cleanup = k.cleanup;
        desk.paste = k.paste;
        const VoiceOutcome outcome = test::await(desk.make().run(
            QString::fromUtf8(k.text), editor(), k.cleanup != Cleanup::off, {}, CancelToken()));
        EXPECT_EQ(outcome.kind, k.kind);
        EXPECT_EQ(outcome.text, QString::fromUtf8(k.status));
        EXPECT_EQ(desk.pasted.join(u'|'), QString::fromUtf8(k.pasted));
        ASSERT_EQ(desk.history.size(), 1u);
        EXPECT_EQ(desk.history[0].kind, HistoryEntry::Kind::dictation);
        EXPECT_EQ(desk.history[0].appName, QStringLiteral("Editor"));
        EXPECT_EQ(desk.history[0].transcript, QString::fromUtf8(k.text));
        EXPECT_EQ(desk.history[0].output, QString::fromUtf8(k.output));
        EXPECT_EQ(desk.refining, !desk.cleaned.isEmpty());
    }
}

TEST(Dictation, ACancelledRunPastesAndRecordsNothing) {
    Desk desk;
    CancelToken token;
    token.cancel();
    Dictation dictation = desk.make();
    EXPECT_THROW(
        test::await(dictation.run(QStringLiteral("vai em frente"), editor(), true, {}, token)),
        Cancelled);
    EXPECT_TRUE(desk.pasted.isEmpty());
    EXPECT_TRUE(desk.history.empty());
}
