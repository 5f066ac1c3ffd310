#include "speech/VoiceController.h"

#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "platform/linux/FileAudioInput.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/SpeechServerScript.h"
#include "support/TestEnvironment.h"
#include "support/VoiceRig.h"
#include "system/TextInserterError.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

using namespace nolvea;
using Stage = AppState::Stage;
using test::VoiceRig;

namespace {

QString silenceFile() {
    const QString path = test::home() + QStringLiteral("/silence.raw");
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(32000, 0)); // one second
    }
    return path;
}

class VoiceControllerTest : public ::testing::Test {
protected:
    VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    VoiceController& c = rig.controller();
    AppState& state = rig.state();
};

} // namespace

// Hold, speak, release: the transcript is cleaned by the model, joined to the text before the
// caret, pasted, recorded and counted; the stage goes back to idle 0.9 s later.
TEST_F(VoiceControllerTest, HoldSpeakReleasePastesTheCleanedText) {
    rig.context.appName = QStringLiteral("Editor");
    rig.context.textBeforeCursor = QStringLiteral("Primeiro passo:");
    rig.answerCleanup(QStringLiteral("go forward ten meters"),
                      QStringLiteral("Go forward ten meters."));
    QStringList stages;
    QObject::connect(&state, &AppState::stageChanged,
                     [&] { stages << QString::number(int(state.stage())); });
    const int historyBefore = int(HistoryStore::shared().entries().size());

    c.triggerDown();
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    EXPECT_EQ(state.targetAppName(), QStringLiteral("Editor"));
    ASSERT_TRUE(test::spinUntil([&] { return rig.input().isDrained(); }));
    ASSERT_TRUE(
        test::spinUntil([&] { return state.liveText().startsWith(QStringLiteral("go")); }, 60000));
    rig.advance(1200);
    c.triggerUp();
    EXPECT_EQ(state.stage(), Stage::processing);
    EXPECT_EQ(state.statusText(), QStringLiteral("Transcrevendo…"));
    ASSERT_TRUE(rig.waitForStage(Stage::success));

    EXPECT_EQ(rig.pasted, QStringList{QStringLiteral(" Go forward ten meters.")});
    EXPECT_EQ(state.statusText(), QStringLiteral("4 palavras"));
    EXPECT_EQ(state.liveText(), QStringLiteral("go forward ten meters"));
    ASSERT_EQ(int(HistoryStore::shared().entries().size()), historyBefore + 1);
    const HistoryEntry entry = HistoryStore::shared().entries().first();
    EXPECT_EQ(entry.kind, HistoryEntry::Kind::dictation);
    EXPECT_EQ(entry.appName, QStringLiteral("Editor"));
    EXPECT_EQ(entry.transcript, QStringLiteral("go forward ten meters"));
    EXPECT_EQ(entry.output, QStringLiteral("Go forward ten meters.")); // without the joining blank

    rig.advance(899);
    EXPECT_EQ(state.stage(), Stage::success);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);
}

TEST_F(VoiceControllerTest, CleanupFailureOrOffPastesTheTranscriptAsHeard) {
    struct Case {
        bool cleanup;
        const char* status;
    } cases[] = {{true, "4 palavras · sem IA"}, {false, "4 palavras"}};
    for (const auto& k : cases) {
        AppSettings::shared().setAiCleanupEnabled(k.cleanup);
        AppSettings::shared().setServerURL(QStringLiteral("http://127.0.0.1:1")); // unreachable
        rig.pasted.clear();
        rig.holdAndSpeak();
        ASSERT_TRUE(rig.waitForStage(Stage::success));
        EXPECT_EQ(rig.pasted, QStringList{QStringLiteral("go forward ten meters")});
        EXPECT_EQ(state.statusText(), QString::fromUtf8(k.status));
        rig.advance(900);
    }
}

// Escape while the model works: nothing is pasted and nothing recorded.
TEST_F(VoiceControllerTest, EscapeWhileRefiningPastesNothing) {
    rig.answerCleanup(QStringLiteral("go forward ten meters"), QStringLiteral("Go."), 1500);
    const int historyBefore = int(HistoryStore::shared().entries().size());
    rig.holdAndSpeak();
    ASSERT_TRUE(
        test::spinUntil([&] { return state.statusText() == QStringLiteral("Refinando…"); }, 60000));
    QSignalSpy settled(&c, &VoiceController::turnSettled);
    c.escapePressed();
    EXPECT_EQ(state.stage(), Stage::error);
    EXPECT_EQ(state.statusText(), QStringLiteral("Cancelado"));
    ASSERT_TRUE(test::spinUntil(
        [&] { return rig.model().count(QStringLiteral("/v1/chat/completions")) > 0; }));
    ASSERT_TRUE(test::spinUntil([&] { return settled.count() == 1; }));
    EXPECT_TRUE(rig.pasted.isEmpty());
    EXPECT_EQ(int(HistoryStore::shared().entries().size()), historyBefore);
    EXPECT_EQ(state.statusText(), QStringLiteral("Cancelado"));
    rig.advance(700);
    EXPECT_EQ(state.stage(), Stage::idle);
}

TEST(VoiceControllerSilence, NothingHeardEndsWithNaoOuviNada) {
    VoiceRig rig(silenceFile());
    const int errors = rig.state().errorCount();
    rig.holdAndSpeak();
    ASSERT_TRUE(rig.waitForStage(Stage::error));
    EXPECT_EQ(rig.state().statusText(), QStringLiteral("Não ouvi nada"));
    EXPECT_EQ(rig.state().errorCount(), errors + 1);
    EXPECT_TRUE(rig.pasted.isEmpty());
    rig.advance(2599);
    EXPECT_EQ(rig.state().stage(), Stage::error);
    rig.advance(1);
    EXPECT_EQ(rig.state().stage(), Stage::idle);
}

// A press of 0.29 s with no second press ends silently in idle 0.35 s after the release.
TEST_F(VoiceControllerTest, ALoneTapEndsSilently) {
    c.triggerDown();
    rig.advance(290);
    c.triggerUp();
    rig.advance(349);
    EXPECT_EQ(state.stage(), Stage::listening);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(state.statusText(), QString());
    EXPECT_EQ(state.errorCount(), 0);
}

TEST_F(VoiceControllerTest, ADoubleTapListensHandsFreeUntilTheThirdPress) {
    c.triggerDown();
    rig.advance(100);
    c.triggerUp();
    rig.advance(200);
    c.triggerDown();
    EXPECT_TRUE(state.handsFree());
    c.triggerUp();
    rig.advance(5000);
    EXPECT_EQ(state.stage(), Stage::listening);
    ASSERT_TRUE(test::spinUntil([&] { return rig.input().isDrained(); }));
    c.triggerDown();
    EXPECT_EQ(state.stage(), Stage::processing);
    c.triggerUp(); // swallowed
    EXPECT_EQ(state.stage(), Stage::processing);
    ASSERT_TRUE(test::spinUntil([&] { return state.stage() != Stage::processing; }, 60000));
    EXPECT_EQ(state.stage(), Stage::success) << state.statusText().toStdString();
}

TEST_F(VoiceControllerTest, ControlSwitchesToAgentOnceAndForTheRun) {
    c.triggerDown();
    c.controlChanged(true);
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    c.controlChanged(false);
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    c.cancelListening(false);

    AppSettings::shared().setAgentEnabled(false);
    c.triggerDown();
    c.controlChanged(true);
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    c.controlChanged(false);
    c.cancelListening(false);

    // Control already held at the press: agent mode from the start.
    AppSettings::shared().setAgentEnabled(true);
    c.controlChanged(true);
    c.triggerDown();
    EXPECT_EQ(state.mode(), VoiceMode::agent);
}

TEST_F(VoiceControllerTest, AnotherKeySoonAfterThePressCancelsSilently) {
    c.triggerDown();
    rig.advance(500);
    c.otherKeyPressed();
    EXPECT_EQ(state.stage(), Stage::idle);

    c.triggerDown();
    rig.advance(1500);
    c.otherKeyPressed();
    EXPECT_EQ(state.stage(), Stage::listening);
}

TEST_F(VoiceControllerTest, EscapeWhileListeningCancelsWithFeedback) {
    c.triggerDown();
    c.escapePressed();
    EXPECT_EQ(state.stage(), Stage::error);
    EXPECT_EQ(state.statusText(), QStringLiteral("Cancelado"));
    EXPECT_EQ(state.errorCount(), 0);
    rig.advance(699);
    EXPECT_EQ(state.stage(), Stage::error);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);
}

TEST_F(VoiceControllerTest, SuspendedIgnoresPresses) {
    c.setSuspended(true);
    c.triggerDown();
    EXPECT_EQ(state.stage(), Stage::idle);
    c.triggerUp();
    c.setSuspended(false);
    c.triggerDown();
    EXPECT_EQ(state.stage(), Stage::listening);
}

TEST_F(VoiceControllerTest, FinishDelaysByOutcomeAndModeAndRestarts) {
    struct Case {
        VoiceController::Outcome outcome;
        VoiceMode mode;
        Stage stage;
        int delay;
    } cases[] = {
        {VoiceController::Outcome::success(QStringLiteral("ok")), VoiceMode::agent, Stage::success,
         2200},
        {VoiceController::Outcome::success(QStringLiteral("ok")), VoiceMode::dictation,
         Stage::success, 900},
        {VoiceController::Outcome::error(QStringLiteral("falhou")), VoiceMode::dictation,
         Stage::error, 2600},
        {VoiceController::Outcome::cancelled(), VoiceMode::agent, Stage::error, 700},
    };
    for (const auto& k : cases) {
        state.setMode(k.mode);
        c.finish(k.outcome);
        EXPECT_EQ(state.stage(), k.stage);
        rig.advance(k.delay / 2);
        c.finish(k.outcome); // restarts the delay
        rig.advance(k.delay - 1);
        EXPECT_EQ(state.stage(), k.stage);
        rig.advance(1);
        EXPECT_EQ(state.stage(), Stage::idle);
    }
}

TEST_F(VoiceControllerTest, PressesDuringProcessingOrConfirmingDoNothing) {
    for (Stage s : {Stage::processing, Stage::confirming}) {
        state.setStage(s);
        c.triggerDown();
        EXPECT_EQ(state.stage(), s);
        c.triggerUp();
    }
    // During an answer a press starts agent listening, control or not.
    c.showAnswer(QStringLiteral("Está feito."));
    c.triggerDown();
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_EQ(state.mode(), VoiceMode::agent);
}

TEST(VoiceControllerStatic, DictationStatusAndWordCount) {
    struct Case {
        const char* text;
        int words;
    } counts[] = {{"um", 1}, {"  dois  espaços ", 2}, {"linha\nquebra e\ttab", 2}, {"", 0}};
    for (const auto& k : counts)
        EXPECT_EQ(VoiceController::wordCount(QString::fromUtf8(k.text)), k.words) << k.text;
    EXPECT_EQ(VoiceController::dictationStatus(1, false), QStringLiteral("1 palavra"));
    EXPECT_EQ(VoiceController::dictationStatus(2, false), QStringLiteral("2 palavras"));
    EXPECT_EQ(VoiceController::dictationStatus(12, true), QStringLiteral("12 palavras · sem IA"));
}

TEST(VoiceControllerStatic, AnswerDelays) {
    const QString three = QStringLiteral("um dois três");
    EXPECT_EQ(VoiceController::answerDelay(three, false), Clock::Duration(5000));
    EXPECT_EQ(VoiceController::answerDelay(QStringList(30, QStringLiteral("p")).join(' '), false),
              Clock::Duration(12000));
    EXPECT_EQ(VoiceController::answerDelay(QStringList(90, QStringLiteral("p")).join(' '), false),
              Clock::Duration(25000));
    EXPECT_EQ(VoiceController::answerDelay(three, true), Clock::Duration(6000));
}

// ---------------------------------------------------------------------------------------------
// Answers

TEST_F(VoiceControllerTest, AnAnswerShownWithoutSpeechLeavesAfterItsDelay) {
    c.showAnswer(QStringLiteral("Você quer que eu envie? "));
    EXPECT_EQ(state.stage(), Stage::answer);
    EXPECT_TRUE(state.awaitingReply());
    rig.advance(4999);
    EXPECT_EQ(state.stage(), Stage::answer);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);

    c.showAnswer(QStringLiteral("Pronto."));
    EXPECT_FALSE(state.awaitingReply());
    c.escapePressed();
    EXPECT_EQ(state.stage(), Stage::idle);
}

TEST_F(VoiceControllerTest, FollowUpRules) {
    struct Case {
        bool agent;
        FollowUpMode mode;
        const char* text;
        bool listen;
    } cases[] = {
        {true, FollowUpMode::never, "Quer?", false},
        {true, FollowUpMode::always, "Feito.", true},
        {true, FollowUpMode::whenAsked, "Quer? ", true},
        {true, FollowUpMode::whenAsked, "Feito.", false},
        {false, FollowUpMode::always, "Quer?", false},
    };
    for (const auto& k : cases) {
        AppSettings::shared().setAgentEnabled(k.agent);
        AppSettings::shared().setFollowUpMode(k.mode);
        EXPECT_EQ(c.shouldListenForFollowUp(QString::fromUtf8(k.text)), k.listen) << k.text;
    }
}

TEST_F(VoiceControllerTest, NewConversationForgetsTurns) {
    c.setAwaitingReply(true);
    state.setConversationTurns(2);
    c.newConversation();
    EXPECT_FALSE(state.awaitingReply());
    EXPECT_EQ(state.conversationTurns(), 0);
    EXPECT_TRUE(c.conversation().turns.empty());
    EXPECT_TRUE(c.conversation().history().empty());
}

// ---------------------------------------------------------------------------------------------
// Confirmations

namespace {
ActionPreview editablePreview() {
    ActionPreview p;
    p.title = QStringLiteral("Enviar mensagem");
    p.editableKey = QStringLiteral("text");
    p.editableValue = QStringLiteral("Olá");
    return p;
}
} // namespace

TEST_F(VoiceControllerTest, ApproveReturnsTheEditedDraft) {
    state.setStage(Stage::processing);
    auto pending = c.agentConfirm(editablePreview());
    EXPECT_EQ(state.stage(), Stage::confirming);
    EXPECT_EQ(state.draftText(), QStringLiteral("Olá"));
    ASSERT_TRUE(state.pendingAction());
    state.setDraftText(QStringLiteral("Olá, Ana"));
    c.resolveConfirmation(true);
    const Confirmation answer = test::await(std::move(pending));
    EXPECT_EQ(answer.choice, Confirmation::Choice::approve);
    EXPECT_EQ(answer.editedValue, QStringLiteral("Olá, Ana"));
    EXPECT_TRUE(answer.edits.empty());
    EXPECT_FALSE(state.pendingAction());
    EXPECT_EQ(state.stage(), Stage::processing);

    // A second tap finds nothing pending and changes nothing.
    state.setDraftText(QStringLiteral("x"));
    c.resolveConfirmation(false);
    EXPECT_EQ(state.draftText(), QStringLiteral("x"));
    EXPECT_EQ(state.stage(), Stage::processing);
}

TEST_F(VoiceControllerTest, DeclineAndAlternateReportWhatWasGathered) {
    ActionPreview withEmail = editablePreview();
    EmailDraft draft;
    draft.subject = QStringLiteral("Reunião");
    withEmail.email = draft;
    withEmail.alternateLabel = QStringLiteral("Abrir rascunho");
    for (auto choice : {Confirmation::Choice::decline, Confirmation::Choice::alternate}) {
        auto pending = c.agentConfirm(withEmail);
        EXPECT_EQ(state.emailDraft().subject, QStringLiteral("Reunião"));
        if (choice == Confirmation::Choice::decline)
            c.resolveConfirmation(false);
        else
            c.resolveAlternate();
        const Confirmation answer = test::await(std::move(pending));
        EXPECT_EQ(answer.choice, choice);
        EXPECT_EQ(answer.editedValue, QStringLiteral("Olá"));
        EXPECT_EQ(answer.edits, draft.arguments());
    }
}

// A card replaced by another, or abandoned by Escape or a new listening, lets its agent go on
// with a decline.
TEST_F(VoiceControllerTest, AReplacedOrAbandonedConfirmationIsDeclined) {
    auto first = c.agentConfirm(editablePreview());
    auto second = c.agentConfirm(editablePreview());
    EXPECT_EQ(test::await(std::move(first)).choice, Confirmation::Choice::decline);
    EXPECT_TRUE(c.hasPendingConfirmation());
    c.escapePressed(); // typed elsewhere just as the card went up: it stays
    EXPECT_TRUE(c.hasPendingConfirmation());
    rig.advance(400);
    c.escapePressed();
    EXPECT_EQ(test::await(std::move(second)).choice, Confirmation::Choice::decline);
    EXPECT_FALSE(c.hasPendingConfirmation());
}

// ---------------------------------------------------------------------------------------------
// Spoken answers, through the neural voice on loopback.

class SpokenAnswerTest : public VoiceControllerTest {
protected:
    void SetUp() override {
        AppSettings::shared().setSpeakAnswers(true);
        rig.speech().on("GET", QStringLiteral("/"), test::HttpResponse::text("ok"));
        // A long sentence, so that the speech lasts while the test acts.
        rig.speech().on("POST", QStringLiteral("/v1/audio/speech"),
                        {200,
                         {},
                         test::SpeechServerScript::espeakWav(QStringLiteral(
                             "Esta é uma resposta bem longa para ouvir com calma."))});
    }
};

TEST_F(SpokenAnswerTest, EscapeFirstStopsTheSpeechThenDismisses) {
    c.showAnswer(QStringLiteral("Está feito."));
    EXPECT_TRUE(state.isSpeaking());
    ASSERT_TRUE(test::spinUntil([&] { return rig.speaker().isSpeaking(); }));
    c.escapePressed();
    EXPECT_FALSE(state.isSpeaking());
    EXPECT_EQ(state.stage(), Stage::answer);
    c.escapePressed();
    EXPECT_EQ(state.stage(), Stage::idle);
}

// The end of the speech of an answer already dismissed, or left for a new listening,
// changes nothing.
TEST_F(SpokenAnswerTest, ALateSpeechCompletionChangesNothing) {
    AppSettings::shared().setFollowUpMode(FollowUpMode::always);
    QSignalSpy idle(&rig.speaker(), &Speaker::idle);
    c.showAnswer(QStringLiteral("Está feito."));
    c.dismissAnswer();
    ASSERT_TRUE(test::spinUntil([&] { return idle.count() > 0; }));
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(rig.clock().pendingTimers(), 0);

    c.showAnswer(QStringLiteral("Está feito."));
    idle.clear();
    c.triggerDown(); // a follow-up by hand
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_FALSE(c.isFollowUpListening());
    ASSERT_TRUE(test::spinUntil([&] { return idle.count() > 0; }));
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_FALSE(c.isFollowUpListening());
}

// After the speech, a question starts follow-up listening without the key.
TEST_F(SpokenAnswerTest, AQuestionSpokenListensForTheReply) {
    c.showAnswer(QStringLiteral("Quer que eu envie?"));
    ASSERT_TRUE(rig.waitForStage(Stage::listening));
    EXPECT_TRUE(c.isFollowUpListening());
    EXPECT_TRUE(state.handsFree());
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    EXPECT_FALSE(state.isSpeaking());
    c.returnToAnswerFromFollowUp();
    EXPECT_EQ(state.stage(), Stage::answer);
    EXPECT_EQ(state.answerText(), QStringLiteral("Quer que eu envie?"));
}

// Stopping the speech by hand never opens the microphone, whatever the follow-up setting:
// the answer stays and leaves after its delay; a second Escape dismisses it at once.
TEST_F(SpokenAnswerTest, StoppingTheSpeechNeverListensForAFollowUp) {
    AppSettings::shared().setFollowUpMode(FollowUpMode::always);
    struct Case {
        const char* name;
        bool byEscape;
    } cases[] = {{"Escape", true}, {"speech toggle", false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        c.showAnswer(QStringLiteral("Quer que eu envie?"));
        ASSERT_TRUE(test::spinUntil([&] { return rig.speaker().isSpeaking(); }));
        if (k.byEscape)
            c.escapePressed();
        else
            c.toggleSpeech();
        EXPECT_FALSE(state.isSpeaking());
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents(); // the stopped speech's completion comes
        EXPECT_EQ(state.stage(), Stage::answer);
        EXPECT_FALSE(c.isFollowUpListening());
        if (k.byEscape) {
            c.escapePressed();
            EXPECT_EQ(state.stage(), Stage::idle);
        } else {
            rig.advance(5999);
            EXPECT_EQ(state.stage(), Stage::answer);
            rig.advance(1);
            EXPECT_EQ(state.stage(), Stage::idle);
        }
    }
}

// While the person works in the notch the answer stays, and the follow-up waits.
TEST_F(SpokenAnswerTest, AnEngagedNotchHoldsTheFollowUpBack) {
    bool engaged = true;
    c.setNotchEngaged([&] { return engaged; });
    c.showAnswer(QStringLiteral("Quer que eu envie?"));
    ASSERT_TRUE(test::spinUntil([&] { return rig.speaker().isSpeaking(); }));
    ASSERT_TRUE(test::spinUntil([&] { return !state.isSpeaking(); }, 60000));
    rig.advance(1000);
    EXPECT_EQ(state.stage(), Stage::answer);
    engaged = false;
    rig.advance(250);
    EXPECT_EQ(state.stage(), Stage::listening);
    EXPECT_TRUE(c.isFollowUpListening());

    // A reply already begun is not thrown away by pointing at the notch.
    state.setLiveText(QStringLiteral("sim"));
    c.returnToAnswerFromFollowUp();
    EXPECT_EQ(state.stage(), Stage::listening);

    // Before it began, the answer comes back at once, without passing through idle.
    QList<Stage> stages;
    QObject::connect(&state, &AppState::stageChanged, [&] { stages << state.stage(); });
    state.setLiveText({});
    c.returnToAnswerFromFollowUp();
    EXPECT_EQ(stages, QList<Stage>{Stage::answer});
    EXPECT_FALSE(state.handsFree());
    EXPECT_FALSE(c.isFollowUpListening());
    rig.advance(4999);
    EXPECT_EQ(state.stage(), Stage::answer);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);
}

TEST_F(VoiceControllerTest, AnEngagedNotchHoldsTheDismissalBack) {
    bool engaged = true;
    c.setNotchEngaged([&] { return engaged; });
    c.showAnswer(QStringLiteral("Pronto."));
    rig.advance(6000);
    EXPECT_EQ(state.stage(), Stage::answer);
    engaged = false;
    rig.advance(249);
    EXPECT_EQ(state.stage(), Stage::answer);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);

    // A wait given up ends with a cancellation.
    engaged = true;
    CancelToken cancel;
    auto waiting = c.waitWhileNotchEngaged(cancel);
    cancel.cancel();
    EXPECT_THROW(test::await(std::move(waiting)), Cancelled);
    c.setNotchEngaged(nullptr);
    test::await(c.waitWhileNotchEngaged());
}

// A typed request runs only when nothing else does; otherwise the caller is told why.
TEST_F(VoiceControllerTest, ATypedRequestIsTakenOnlyWhenNothingElseRuns) {
    struct Case {
        Stage stage;
        const char* text;
        std::optional<TypedRequestError::Kind> refusal;
    } cases[] = {
        {Stage::idle, " que horas são?\n", std::nullopt},
        {Stage::success, "que horas são?", std::nullopt},
        {Stage::error, "que horas são?", std::nullopt},
        {Stage::answer, "e amanhã?", std::nullopt},
        {Stage::idle, " \n\t", TypedRequestError::Kind::blank},
        {Stage::listening, "que horas são?", TypedRequestError::Kind::busy},
        {Stage::processing, "que horas são?", TypedRequestError::Kind::busy},
        {Stage::confirming, "que horas são?", TypedRequestError::Kind::busy},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(int(k.stage));
        rig.context.appName = QStringLiteral("Notas");
        if (k.stage == Stage::answer)
            c.showAnswer(QStringLiteral("Pronto."));
        else
            state.setStage(k.stage);
        state.setMode(VoiceMode::dictation);
        state.setLiveText({});
        const auto refusal = c.submitTyped(QString::fromUtf8(k.text));
        ASSERT_EQ(refusal.has_value(), k.refusal.has_value());
        if (refusal) {
            EXPECT_EQ(refusal->kind(), *k.refusal);
            EXPECT_FALSE(refusal->message().isEmpty());
            EXPECT_EQ(state.stage(), k.stage);
            EXPECT_EQ(state.mode(), VoiceMode::dictation);
            continue;
        }
        EXPECT_EQ(state.stage(), Stage::processing);
        EXPECT_EQ(state.mode(), VoiceMode::agent);
        EXPECT_EQ(state.liveText(), QString::fromUtf8(k.text).trimmed());
        EXPECT_EQ(state.targetAppName(), QStringLiteral("Notas"));
        c.escapePressed();
        rig.advance(700);
        EXPECT_EQ(state.stage(), Stage::idle);
    }
}

// With no input device the person is told so, and no permission is asked for.
TEST(VoiceControllerMicrophone, NoInputDeviceIsNotAPermissionProblem) {
    struct Case {
        bool device, granted;
        const char* status;
        int asked;
    } cases[] = {
        {false, false, "Nenhum microfone disponível.", 0},
        {false, true, "Nenhum microfone disponível.", 0},
        {true, false, "Permita o acesso ao microfone", 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.status);
        int asked = 0;
        VoiceRig rig(k.device ? test::RecordedSpeech::goForwardPath()
                              : test::home() + QStringLiteral("/nenhum-microfone.raw"),
                     nullptr, [&](VoiceController::Services& s) {
                         s.microphoneGranted = [&] { return k.granted; };
                         s.askForMicrophone = [&] { ++asked; };
                     });
        rig.controller().triggerDown();
        EXPECT_EQ(rig.state().stage(), Stage::error);
        EXPECT_EQ(rig.state().statusText(), QString::fromUtf8(k.status));
        EXPECT_EQ(rig.state().errorCount(), 1);
        EXPECT_EQ(asked, k.asked);
    }
}

// A paste that did not go in is a failure that says where the text is; it is still recorded.
TEST(VoiceControllerPaste, AFailedPasteIsShownAsAFailure) {
    VoiceRig rig(test::RecordedSpeech::goForwardPath(), nullptr, [](VoiceController::Services& s) {
        s.insertText = [](QString) -> QCoro::Task<> {
            throw TextInserterError(TextInserterError::Kind::notPasted,
                                    DesktopError(DesktopError::Kind::unreachable));
            co_return;
        };
    });
    rig.answerCleanup(QStringLiteral("go forward ten meters"),
                      QStringLiteral("Go forward ten meters."));
    const int errors = rig.state().errorCount();
    rig.holdAndSpeak();
    ASSERT_TRUE(rig.waitForStage(Stage::error));
    EXPECT_EQ(rig.state().statusText(),
              QStringLiteral("Não consegui colar: o texto está na área de transferência"));
    EXPECT_EQ(rig.state().errorCount(), errors + 1);
    EXPECT_EQ(HistoryStore::shared().entries().first().output,
              QStringLiteral("Go forward ten meters."));
}
