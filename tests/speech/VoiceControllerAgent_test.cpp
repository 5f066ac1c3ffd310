// The controller's agent half: turns with their memory, log and history, the confirmation
// card's outcomes, and the e-mail draft prepared for the card.
#include "speech/VoiceController.h"

#include "agent/ContactStore.h"
#include "agent/Maildir.h"
#include "agent/tools/ShortcutTools.h"
#include "core/AgentLog.h"
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/TestEnvironment.h"
#include "support/VoiceRig.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace nolvea;
using Stage = AppState::Stage;
using Call = test::ScriptedModel::Call;

namespace {

void writeFile(const QString& path, const QByteArray& content, bool executable = false) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    if (executable) f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A member of an object, or null.
JSONValue at(const JSONValue& value, const char* key) {
    const JSONValue* member = value.member(QString::fromUtf8(key));
    return member ? *member : JSONValue::null();
}

class AgentTurnTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings::shared().setConfirmActions(true);
        QFile::remove(marker());
        AgentLog::shared().flush();
        QFile::remove(AgentLog::shared().path());
        // A shortcut that leaves a mark and says what it did.
        writeFile(ShortcutTools::folder() + QStringLiteral("/Marcar"),
                  "#!/bin/sh\necho feito > \"$HOME/marca\"\nwhile [ $# -gt 0 ]; do\n"
                  "  [ \"$1\" = --output-path ] && printf 'Seleção revisada' > \"$2\"\n"
                  "  shift\ndone\n",
                  true);
    }

    static QString marker() { return test::home() + QStringLiteral("/marca"); }

    void reply(const QString& text, const std::vector<Call>& calls = {}, int delayMs = 0) {
        test::HttpResponse response =
            test::HttpResponse::json(test::ScriptedModel::body(text, calls));
        response.delayMs = delayMs;
        rig.enqueueReply(response);
    }

    // The agent's requests to the model, in order.
    std::vector<JSONValue> agentRequests() {
        std::vector<JSONValue> out;
        for (const test::HttpRequest& r : rig.model().requests()) {
            if (test::VoiceRig::isWarmup(r)) continue;
            const auto body = JSONValue::parse(QString::fromUtf8(r.body));
            if (body && body->member(QStringLiteral("tools"))) out.push_back(*body);
        }
        return out;
    }

    // The log's lines without their time stamps.
    static QStringList logLines() {
        AgentLog::shared().flush();
        QFile f(AgentLog::shared().path());
        f.open(QIODevice::ReadOnly);
        QStringList lines;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
            lines << line.section(u' ', 1);
        return lines;
    }

    // Captures a screen context as a listening does, then lets the listening go.
    void captureContext(const QString& appName, const QString& selection = {}) {
        rig.context.appName = appName;
        rig.context.selectedText = selection;
        c.beginListening(VoiceMode::agent, false);
        c.cancelListening(false);
    }

    void typed(const QString& request, Stage until) {
        c.submitTyped(request);
        ASSERT_TRUE(rig.waitForStage(until)) << int(state.stage());
    }

    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    VoiceController& c = rig.controller();
    AppState& state = rig.state();
};

} // namespace

// A spoken request under Control: the agent answers, the answer is shown, recorded, logged
// and remembered, and leaves the screen after its delay.
TEST_F(AgentTurnTest, ASpokenRequestIsAnsweredShownRecordedAndRemembered) {
    rig.context.appName = QStringLiteral("Notas");
    reply(QStringLiteral("Andei dez metros."));
    const qsizetype historyBefore = HistoryStore::shared().entries().size();

    c.controlChanged(true);
    rig.holdAndSpeak();
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    ASSERT_TRUE(rig.waitForStage(Stage::answer));

    EXPECT_EQ(state.lastRequest(), QStringLiteral("go forward ten meters"));
    EXPECT_EQ(state.answerText(), QStringLiteral("Andei dez metros."));
    EXPECT_TRUE(state.hasUnseenResult());
    EXPECT_EQ(state.conversationTurns(), 1);
    EXPECT_FALSE(state.awaitingReply());
    ASSERT_EQ(HistoryStore::shared().entries().size(), historyBefore + 1);
    const HistoryEntry entry = HistoryStore::shared().entries().first();
    EXPECT_EQ(entry.kind, HistoryEntry::Kind::agent);
    EXPECT_EQ(entry.appName, QStringLiteral("Notas"));
    EXPECT_EQ(entry.transcript, QStringLiteral("go forward ten meters"));
    EXPECT_EQ(entry.output, QStringLiteral("Andei dez metros."));

    const auto requests = agentRequests();
    ASSERT_EQ(requests.size(), 1u);
    const JSONValue::Array tools = at(requests[0], "tools").asArray();
    ASSERT_FALSE(tools.empty());
    EXPECT_EQ(at(at(tools.front(), "function"), "name").asString(), QStringLiteral("insert_text"));
    EXPECT_EQ(at(at(requests[0], "messages").asArray().front(), "role").asString(),
              QStringLiteral("system"));
    EXPECT_EQ(logLines(), (QStringList{QStringLiteral("▶ [Notas] go forward ten meters"),
                                       QStringLiteral("■ answer(\"Andei dez metros.\")")}));

    rig.advance(4999);
    EXPECT_EQ(state.stage(), Stage::answer);
    rig.advance(1);
    EXPECT_EQ(state.stage(), Stage::idle);
}

// A question opens the reply window; the reply goes to the model with the first turn, and a
// request after 300 s starts over.
TEST_F(AgentTurnTest, RepliesCarryTheConversationWhileItIsFresh) {
    captureContext(QStringLiteral("Notas"));
    reply(QStringLiteral("Paris. Quer saber mais?"));
    typed(QStringLiteral("Qual é a capital da França?"), Stage::answer);
    EXPECT_TRUE(state.awaitingReply());

    reply(QStringLiteral("A Torre Eiffel fica lá."));
    typed(QStringLiteral("sim"), Stage::answer);
    EXPECT_FALSE(state.awaitingReply());
    EXPECT_EQ(state.conversationTurns(), 2);

    rig.advance(301'000);
    reply(QStringLiteral("Dez."));
    typed(QStringLiteral("quanto é cinco mais cinco"), Stage::answer);
    EXPECT_EQ(state.conversationTurns(), 1);

    const auto requests = agentRequests();
    ASSERT_EQ(requests.size(), 3u);
    const auto messages = [&](int n) { return at(requests[n], "messages").asArray(); };
    // system, context; then system, the first turn (context + answer), context
    EXPECT_EQ(messages(0).size(), 2u);
    EXPECT_EQ(messages(1).size(), 4u);
    EXPECT_EQ(messages(2).size(), 2u);

    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 6);
    EXPECT_EQ(log[0], QStringLiteral("▶ [Notas] Qual é a capital da França?"));
    EXPECT_EQ(log[2], QStringLiteral("▶ [Notas] sim (continuação, 1 turnos)"));
    EXPECT_EQ(log[4], QStringLiteral("▶ [Notas] quanto é cinco mais cinco"));
}

// The confirmation card decides whether the action runs; either way the run ends and is
// remembered.
TEST_F(AgentTurnTest, AnActionRunsOnlyWhenApproved) {
    for (const bool approve : {true, false}) {
        SCOPED_TRACE(approve);
        QFile::remove(marker());
        reply({}, {{QStringLiteral("c1"), QStringLiteral("run_shortcut"),
                    QStringLiteral(R"({"name":"Marcar"})")}});
        c.submitTyped(QStringLiteral("marque"));
        ASSERT_TRUE(rig.waitForStage(Stage::confirming));
        ASSERT_TRUE(state.pendingAction());
        EXPECT_EQ(state.toolSymbol(), QStringLiteral("square.stack.3d.up.fill"));
        c.resolveConfirmation(approve);
        if (approve) {
            ASSERT_TRUE(rig.waitForStage(Stage::success));
            EXPECT_TRUE(QFile::exists(marker()));
            EXPECT_EQ(state.statusText(),
                      QStringLiteral("Atalho executado. Saída: Seleção revisada"));
            EXPECT_EQ(HistoryStore::shared().entries().first().kind, HistoryEntry::Kind::agent);
        } else {
            ASSERT_TRUE(rig.waitForStage(Stage::error));
            EXPECT_EQ(state.statusText(), QStringLiteral("Cancelado"));
            EXPECT_FALSE(QFile::exists(marker()));
            EXPECT_EQ(logLines().last(), QStringLiteral("■ cancelled"));
        }
        rig.advance(3000);
        EXPECT_EQ(state.stage(), Stage::idle);
    }
    EXPECT_EQ(state.conversationTurns(), 2);
}

// A finished action on a selection that names the selection is an edit; the result line is
// cut at 49 characters.
TEST_F(AgentTurnTest, DoneSummariesAreRecordedAsEditsOnlyWithASelection) {
    AppSettings::shared().setConfirmActions(false);
    for (const QString& selection : {QStringLiteral("texto"), QStringLiteral("  \n")}) {
        captureContext(QStringLiteral("Editor"), selection);
        reply({}, {{QStringLiteral("c1"), QStringLiteral("run_shortcut"),
                    QStringLiteral(R"({"name":"Marcar"})")}});
        typed(QStringLiteral("revise"), Stage::success);
        EXPECT_EQ(HistoryStore::shared().entries().first().kind,
                  selection == QStringLiteral("texto") ? HistoryEntry::Kind::edit
                                                       : HistoryEntry::Kind::agent);
        rig.advance(3000);
    }
    EXPECT_EQ(VoiceController::agentStatus(QString(48, u'a')), QString(48, u'a'));
    EXPECT_EQ(VoiceController::agentStatus(QString(49, u'a')),
              QString(46, u'a') + QStringLiteral("…"));
}

// Escape while the model thinks: nothing is recorded, remembered or logged as an outcome.
TEST_F(AgentTurnTest, EscapeWhileThinkingEndsTheTurnWithoutATrace) {
    const qsizetype historyBefore = HistoryStore::shared().entries().size();
    reply(QStringLiteral("tarde demais"), {}, 1500);
    c.submitTyped(QStringLiteral("pense"));
    EXPECT_EQ(state.statusText(), QStringLiteral("Pensando…"));
    ASSERT_TRUE(test::spinUntil([&] { return agentRequests().size() == 1; }));
    QSignalSpy settled(&c, &VoiceController::turnSettled);
    c.escapePressed();
    EXPECT_EQ(state.statusText(), QStringLiteral("Cancelado"));
    ASSERT_TRUE(test::spinUntil([&] { return settled.count() == 1; }));
    EXPECT_EQ(state.stage(), Stage::error);
    EXPECT_EQ(HistoryStore::shared().entries().size(), historyBefore);
    EXPECT_EQ(state.conversationTurns(), 0);
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("▶ [] pense")});
}

// ---------------------------------------------------------------------------------------------
// The e-mail card

class EmailCardTest : public AgentTurnTest {
protected:
    void SetUp() override {
        AgentTurnTest::SetUp();
        writeFile(ContactStore::defaultRoot() + QStringLiteral("/bia.vcf"),
                  "BEGIN:VCARD\nN:Souza;Beatriz;;;\nEMAIL:bia@ex.com\nEMAIL:bia@casa.org\n"
                  "END:VCARD\n");
        writeFile(test::home() + QStringLiteral("/.msmtprc"),
                  "account pessoal\nfrom eu@casa.org\naccount trabalho\nfrom eu@empresa.com\n"
                  "account default : trabalho\n");
        const QString answered = QStringLiteral("1765100000.M2P2.host");
        writeFile(test::home() + QStringLiteral("/Maildir/new/") + answered,
                  "From: Ana <ana@ex.com>\nSubject: Fatura\n"
                  "Date: Wed, 09 Dec 2026 10:00:00 +0000\n\nSegue a fatura.\n");
        preview.title = QStringLiteral("Enviar e-mail");
        preview.email =
            EmailDraft::fromArgs(JSONValue::object({{"to", "Beatriz"},
                                                    {"subject", "Re: Fatura"},
                                                    {"body", "Recebi."},
                                                    {"reply_to_id", Maildir::idFor(answered)}}));
    }

    ActionPreview preview;
};

TEST_F(EmailCardTest, RecipientsAndAccountsArriveWhileTheCardIsUp) {
    state.setMailAccounts({QStringLiteral("velha@ex.com")});
    auto pending = c.agentConfirm(preview);
    EXPECT_EQ(state.emailDraft().subject, QStringLiteral("Re: Fatura"));
    EXPECT_TRUE(state.mailAccounts().isEmpty());
    ASSERT_TRUE(test::spinUntil([&] {
        return !state.emailDraft().to.empty() && !state.emailDraft().to[0].address.isEmpty() &&
               !state.mailAccounts().isEmpty() && state.emailDraft().original;
    })) << state.emailDraft().to.size()
        << " " << state.mailAccounts().join(u',').toStdString();
    const EmailRecipient bia = state.emailDraft().to[0];
    EXPECT_EQ(bia.address, QStringLiteral("bia@ex.com"));
    EXPECT_EQ(bia.alternatives,
              (QStringList{QStringLiteral("bia@ex.com"), QStringLiteral("bia@casa.org")}));
    EXPECT_EQ(state.mailAccounts(),
              (QStringList{QStringLiteral("eu@empresa.com"), QStringLiteral("eu@casa.org")}));

    EXPECT_EQ(state.emailDraft().original->subject, QStringLiteral("Fatura"));
    EXPECT_EQ(state.emailDraft().original->sender, QStringLiteral("Ana <ana@ex.com>"));

    c.resolveConfirmation(true);
    const Confirmation answer = test::await(std::move(pending));
    EXPECT_EQ(answer.edits.at(QStringLiteral("to")).asArray().front().asString(),
              QStringLiteral("Beatriz Souza <bia@ex.com>"));
}

// Recipients the person changed meanwhile, or a card already gone, keep what they have.
TEST_F(EmailCardTest, LateLookupsLeaveAChangedDraftAlone) {
    QSignalSpy settled(&c, &VoiceController::cardLookUpsSettled);
    auto pending = c.agentConfirm(preview);
    EmailDraft edited = state.emailDraft();
    edited.to = {EmailRecipient::parse(QStringLiteral("outra@ex.com"))};
    state.setEmailDraft(edited);
    ASSERT_TRUE(test::spinUntil([&] { return settled.count() == 1; }));
    EXPECT_TRUE(state.emailDraft().to == edited.to);

    c.resolveConfirmation(false);
    test::await(std::move(pending));
    auto again = c.agentConfirm(preview);
    c.resolveConfirmation(false);
    test::await(std::move(again));
    ASSERT_TRUE(test::spinUntil([&] { return settled.count() == 2; }));
    ASSERT_EQ(state.emailDraft().to.size(), 1u);
    EXPECT_TRUE(state.emailDraft().to[0].address.isEmpty());
}
