#include "core/AppState.h"
#include "support/Printers.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace nolvea;

TEST(AppState, StartsIdle) {
    AppState s;
    EXPECT_EQ(s.stage(), AppState::Stage::idle);
    EXPECT_EQ(s.mode(), VoiceMode::dictation);
    EXPECT_EQ(s.levels(), QList<float>(32, 0.0f));
    EXPECT_FALSE(s.pendingAction());
    EXPECT_EQ(s.emailDraft(), EmailDraft{});
    EXPECT_TRUE(s.emailDraft().to.empty());
    EXPECT_FALSE(s.emailDraft().replyToID);
    EXPECT_FALSE(s.toolSymbol());
    EXPECT_FALSE(s.listeningSince());
    EXPECT_FALSE(s.targetAppIcon().isValid());
    EXPECT_EQ(s.errorCount(), 0);
    EXPECT_EQ(s.conversationTurns(), 0);
    EXPECT_TRUE(s.liveText().isEmpty());
    EXPECT_EQ(&AppState::shared(), &AppState::shared());
}

// Every property, written back with its own value, tells no one; the meta-object sees each
// with a notify signal.
TEST(AppState, AssigningTheCurrentValueTellsNoObserver) {
    AppState s;
    s.setPendingAction(ActionPreview{.title = "Enviar"});
    s.setListeningSince(QDateTime::currentDateTimeUtc());
    const QMetaObject* mo = s.metaObject();
    int checked = 0;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        SCOPED_TRACE(p.name());
        ASSERT_TRUE(p.hasNotifySignal());
        QSignalSpy spy(&s, p.notifySignal());
        ASSERT_TRUE(p.write(&s, p.read(&s)));
        EXPECT_EQ(spy.count(), 0);
        ++checked;
    }
    EXPECT_EQ(checked, 21);
}

TEST(AppState, ADifferentValueTellsObserversOnce) {
    struct Case {
        const char* name;
        std::function<void(AppState&)> change;
        void (AppState::*signal)();
    };
    const Case cases[] = {
        {"stage", [](AppState& s) { s.setStage(AppState::Stage::listening); },
         &AppState::stageChanged},
        {"mode", [](AppState& s) { s.setMode(VoiceMode::agent); }, &AppState::modeChanged},
        {"liveText", [](AppState& s) { s.setLiveText("oi"); }, &AppState::liveTextChanged},
        {"levels", [](AppState& s) { s.setLevels(QList<float>(32, 0.5f)); },
         &AppState::levelsChanged},
        {"toolSymbol (empty text is not absent)", [](AppState& s) { s.setToolSymbol(QString()); },
         &AppState::toolSymbolChanged},
        {"listeningSince",
         [](AppState& s) { s.setListeningSince(QDateTime(QDate(2026, 1, 2), QTime(3, 4))); },
         &AppState::listeningSinceChanged},
        {"targetAppIcon", [](AppState& s) { s.setTargetAppIcon(QByteArray("png")); },
         &AppState::targetAppIconChanged},
        {"emailDraft", [](AppState& s) { s.setEmailDraft(EmailDraft{.subject = "Oi"}); },
         &AppState::emailDraftChanged},
        {"pendingAction", [](AppState& s) { s.setPendingAction(ActionPreview{}); },
         &AppState::pendingActionChanged},
        {"errorCount", [](AppState& s) { s.setErrorCount(1); }, &AppState::errorCountChanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState s;
        QSignalSpy spy(&s, c.signal);
        c.change(s);
        EXPECT_EQ(spy.count(), 1);
        c.change(s); // the same value again
        EXPECT_EQ(spy.count(), 1);
    }
}

TEST(AppState, PreviewsAndDraftsCompareByEveryField) {
    AppState s;
    const ActionPreview preview{.symbol = "envelope", .title = "Enviar", .editableValue = "a"};
    s.setPendingAction(preview);
    QSignalSpy spy(&s, &AppState::pendingActionChanged);
    s.setPendingAction(preview);
    EXPECT_EQ(spy.count(), 0);
    auto edited = preview;
    edited.editableValue = QStringLiteral("b");
    s.setPendingAction(edited);
    EXPECT_EQ(spy.count(), 1);
    s.setPendingAction(std::nullopt);
    EXPECT_EQ(spy.count(), 2);

    auto draft = EmailDraft::fromArgs(JSONValue::object({{"to", "a@x.com"}}));
    s.setEmailDraft(draft);
    QSignalSpy draftSpy(&s, &AppState::emailDraftChanged);
    s.setEmailDraft(draft);
    EXPECT_EQ(draftSpy.count(), 0);
    // The same address parsed again is a new recipient (its own id).
    s.setEmailDraft(EmailDraft::fromArgs(JSONValue::object({{"to", "a@x.com"}})));
    EXPECT_EQ(draftSpy.count(), 1);
}

TEST(AppState, PushLevelSmoothsIntoTheRing) {
    AppState s;
    QSignalSpy spy(&s, &AppState::levelsChanged);
    QList<int> sizesSeen;
    QObject::connect(&s, &AppState::levelsChanged,
                     [&] { sizesSeen.append(int(s.levels().size())); });

    // The worked example: 0.5 rising twice, then 0 falling, then a level equal to the newest.
    const float afterSecond = 0.5f * 0.7f + 0.35f * 0.3f;
    struct Step {
        float level;
        float expected;
    };
    const Step steps[] = {
        {0.5f, 0.35f},
        {0.5f, 0.455f},
        {0.0f, 0.3549f},
        {afterSecond * 0.78f, afterSecond * 0.78f}, // equal: falling branch, same value
    };
    for (const auto& step : steps) {
        s.pushLevel(step.level);
        ASSERT_EQ(s.levels().size(), 32);
        EXPECT_NEAR(s.levels().last(), step.expected, 1e-6);
    }
    EXPECT_EQ(s.levels().at(29), afterSecond); // single-precision arithmetic, bit for bit
    EXPECT_EQ(spy.count(), 8);                 // two per push, values never compared
    EXPECT_EQ(sizesSeen, QList<int>({31, 32, 31, 32, 31, 32, 31, 32}));
    EXPECT_EQ(s.levels().first(), 0.0f);

    // After 32 pushes nothing of the initial zeros is left.
    AppState u;
    for (int i = 0; i < 40; ++i)
        u.pushLevel(1.0f);
    EXPECT_GT(u.levels().first(), 0.99f);
}
