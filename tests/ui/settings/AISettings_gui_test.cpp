#include "ai/AIStatus.h"
#include "ai/BridgeFixture.h"
#include "core/AppSettings.h"
#include "core/SecretStore.h"
#include "core/UserDefaults.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/ScriptedModel.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/AISettings.h"
#include "ui/settings/AccountRow.h"
#include "ui/settings/AccountRowModel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using test::HttpResponse;

namespace {

QByteArray modelList(const QStringList& ids) {
    QByteArray body = "{\"data\":[";
    for (qsizetype i = 0; i < ids.size(); ++i)
        body += (i ? ",{\"id\":\"" : "{\"id\":\"") + ids[i].toUtf8() + "\"}";
    return body + "]}";
}

// Whether every child process has ended and been reaped; its end was handled as it was reaped.
bool noChildren() {
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (children.open(QIODevice::ReadOnly) && !children.readAll().trimmed().isEmpty())
            return false;
    }
    return true;
}

// The AI pane over the shared settings and status, talking to a local OpenAI-compatible
// server on loopback.
class AIPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings& s = AppSettings::shared();
        s.setAiProvider(AIProvider::custom);
        s.setServerURL(server.url("/v1"));
        s.setModel(QString());
        s.setApiKey(QString());
        // The shared status keeps the models of the last server that listed them: a failed
        // check of this one (it has no routes yet) starts every test with none.
        AIStatus::shared().refresh();
        settleStatus();
        ASSERT_EQ(AIStatus::shared().connection(), AIConnection::offline);
        ASSERT_TRUE(AIStatus::shared().models().isEmpty());
        server.clearRequests();
    }
    void TearDown() override { settleStatus(); }

    // Lets every probe under way end, so none reaches into the next test.
    static void settleStatus() {
        ASSERT_TRUE(QTest::qWaitFor([] { return !AIStatus::shared().isProbing(); }, 5000));
    }

    bool waitModels(const QStringList& models, int ms = 5000) {
        return QTest::qWaitFor([&] { return AIStatus::shared().models() == models; }, ms);
    }

    test::LoopbackServer server;
};

TEST_F(AIPaneTest, ModelsListedByTheServerTurnTheFieldIntoAPicker) {
    AISettings pane;
    EXPECT_NE(qobject_cast<QLineEdit*>(pane.modelControl()), nullptr)
        << "no models known yet: a name is typed";
    server.on("GET", "/v1/models", HttpResponse::json(modelList({"qwen", "llama"})));
    AIStatus::shared().refresh();
    ASSERT_TRUE(waitModels({"llama", "qwen"}));
    auto* picker = qobject_cast<QComboBox*>(pane.modelControl());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->itemText(0), "Escolha um modelo…");
    EXPECT_EQ(picker->count(), 3);
    EXPECT_EQ(AIStatus::shared().connection(), AIConnection::online);

    picker->activated(2);
    EXPECT_EQ(AppSettings::shared().model(), "qwen") << "written at once";
}

TEST_F(AIPaneTest, OnlyTheNewestCheckWritesTheModelsAndConnection) {
    // The first check of this address is slow; the person moves away and back, and the check
    // made since answers first. The late answer of the first must not overwrite it.
    server.enqueue("GET", "/v1/models", [] {
        auto r = HttpResponse::json(modelList({"antigo"}));
        r.delayMs = 600;
        return r;
    }());
    server.enqueue("GET", "/v1/models", HttpResponse::json(modelList({"novo"})));
    AIStatus::shared().refresh();
    ASSERT_TRUE(server.waitForRequests(1));
    AppSettings::shared().setServerURL(server.url("/outro"));
    AppSettings::shared().setServerURL(server.url("/v1"));
    AIStatus::shared().refresh();
    ASSERT_TRUE(waitModels({"novo"}));
    settleStatus(); // the first check's late answer comes
    EXPECT_EQ(AIStatus::shared().models(), QStringList{"novo"});
    EXPECT_EQ(server.count("/v1/models"), 2);
}

TEST_F(AIPaneTest, AFailedCheckOfALeftServerLeavesTheCurrentOneAlone) {
    test::LoopbackServer other;
    other.on("GET", "/v1/models", [] {
        auto r = HttpResponse::text("erro", 500);
        r.delayMs = 400;
        return r;
    }());
    server.on("GET", "/v1/models", HttpResponse::json(modelList({"bom"})));
    AppSettings::shared().setServerURL(other.url("/v1"));
    AIStatus::shared().refresh();
    ASSERT_TRUE(other.waitForRequests(1));
    AppSettings::shared().setServerURL(server.url("/v1"));
    AIStatus::shared().refresh();
    ASSERT_TRUE(waitModels({"bom"}));
    settleStatus(); // the left server's failure comes
    EXPECT_EQ(AIStatus::shared().connection(), AIConnection::online);
    EXPECT_EQ(AIStatus::shared().lastError(), std::nullopt);
}

TEST_F(AIPaneTest, TypingAKeyChecksOnceTheTypingPauses) {
    server.on("GET", "/v1/models", HttpResponse::json(modelList({"m"})));
    ManualClock clock;
    Clock::install(&clock);
    {
        AISettings pane;
        pane.show();
        settleStatus(); // the check made on showing
        server.clearRequests();
        QTest::keyClicks(pane.keyField(), "sk-123");
        EXPECT_EQ(AppSettings::shared().apiKey(), "sk-123") << "stored as typed";
        clock.advance(AISettings::kKeyPause - Clock::Duration(1));
        EXPECT_FALSE(AIStatus::shared().isProbing());
        clock.advance(Clock::Duration(1));
        EXPECT_TRUE(AIStatus::shared().isProbing());
        settleStatus();
        EXPECT_EQ(server.count("/v1/models"), 1) << "one check for the six keys typed";
        QTest::keyClick(pane.keyField(), Qt::Key_Return);
        EXPECT_TRUE(server.waitForRequests(2)) << "Return checks at once";
    }
    clock.advance(AISettings::kKeyPause);
    Clock::install(nullptr);
}

TEST_F(AIPaneTest, ACleanUpTestOfSettingsSinceChangedShowsNothing) {
    test::ScriptedModel model;
    AppSettings::shared().setServerURL(model.server.url("/v1"));
    AppSettings::shared().setModel("m1");
    model.replyLate("Texto limpo.", 400);
    model.reply("Outro texto.");
    AISettings pane;
    pane.runTest();
    EXPECT_TRUE(pane.testing());
    EXPECT_FALSE(pane.testButton()->isEnabled());
    EXPECT_EQ(pane.testButton()->text(), "Testando…");
    AppSettings::shared().setModel("m2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.testing(); }, 5000));
    EXPECT_EQ(pane.testOutput(), std::nullopt) << "the result was for m1";
    EXPECT_TRUE(pane.testButton()->isEnabled());

    pane.runTest();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.testing(); }, 5000));
    EXPECT_EQ(pane.testOutput(), u"\u201COutro texto.\u201D"_qs);
    EXPECT_EQ(pane.testOutputLabel()->textFormat(), Qt::PlainText);
}

// The result comes in and goes away with the blur-replace: blurred, smaller and clear at first.
TEST_F(AIPaneTest, TheTestResultBlursInAndOut) {
    test::ScriptedModel model;
    AppSettings::shared().setServerURL(model.server.url("/v1"));
    AppSettings::shared().setModel("m1");
    model.reply("Texto limpo.");
    AISettings pane;
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    ReplaceTransition* change = pane.testOutputChange();
    pane.runTest();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.testing(); }, 5000));
    EXPECT_TRUE(pane.testOutputLabel()->isVisible());
    EXPECT_EQ(pane.testOutputLabel()->text(), u"\u201CTexto limpo.\u201D"_qs);
    EXPECT_TRUE(change->isRunning()) << "it comes in";
    EXPECT_LT(change->progress(), 0.5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !change->isRunning(); }, 3000));

    AppSettings::shared().setAiProvider(AIProvider::ollama);
    EXPECT_EQ(pane.testOutputLabel()->text(), "");
    ASSERT_NE(change->leaving(), nullptr) << "the old result leaves where it was";
    EXPECT_TRUE(QTest::qWaitFor([&] { return change->leaving() == nullptr; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.testOutputLabel()->isHidden(); }, 3000))
        << "the emptied line goes once the old text has left";
    AppSettings::shared().setAiProvider(AIProvider::custom);
}

TEST_F(AIPaneTest, AFailedTestShowsItsErrorAsPlainText) {
    test::ScriptedModel model;
    AppSettings::shared().setServerURL(model.server.url("/v1"));
    model.fail(500, "{\"error\":{\"message\":\"<b>quebrou</b>\"}}");
    AISettings pane;
    pane.runTest();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.testing(); }, 5000));
    ASSERT_TRUE(pane.testOutput().has_value());
    EXPECT_FALSE(pane.testOutput()->startsWith(u'\u201C'));
    EXPECT_EQ(pane.testOutputLabel()->textFormat(), Qt::PlainText);
}

// A key the secret file cannot take shows, beside the field, that it was not saved.
TEST_F(AIPaneTest, AKeyThatCouldNotBeStoredIsShownAsNotSaved) {
    AISettings pane;
    EXPECT_FALSE(pane.keyErrorLabel()->isVisibleTo(&pane));
    // A folder where the file goes: no one can put a file in its place, root included.
    const QString file = SecretStore::shared().path();
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    QTest::keyClicks(pane.keyField(), "sk-1");
    EXPECT_EQ(AppSettings::shared().apiKey(), "sk-1");
    EXPECT_TRUE(pane.keyErrorLabel()->isVisibleTo(&pane));
    EXPECT_EQ(pane.keyErrorLabel()->text(),
              "A chave não foi salva. Não foi possível gravar o arquivo " + file + ".");

    ASSERT_TRUE(QDir(file).removeRecursively());
    QTest::keyClick(pane.keyField(), Qt::Key_Backspace);
    EXPECT_FALSE(pane.keyErrorLabel()->isVisibleTo(&pane)) << "the next key was stored";
    EXPECT_EQ(SecretStore(file, UserDefaults::standard(), {}).read("apikey.custom"), "sk-");
}

TEST_F(AIPaneTest, ChangingTheProviderClearsTheResultAndShowsItsRows) {
    AISettings pane;
    EXPECT_EQ(pane.accountRow(), nullptr);
    EXPECT_FALSE(pane.addressField()->isHidden());
    AppSettings::shared().setAiProvider(AIProvider::claudeAccount);
    EXPECT_NE(pane.accountRow(), nullptr);
    EXPECT_TRUE(pane.addressField()->parentWidget()->isHidden());
    EXPECT_TRUE(pane.keyField()->parentWidget()->parentWidget()->isHidden());
    AppSettings::shared().setAiProvider(AIProvider::custom);
    EXPECT_EQ(pane.accountRow(), nullptr);
}

// The account row over fake `claude` and `codex` tools on PATH.
class AccountRowTest : public test::BridgeFixture {
protected:
    bool settle(AccountRowModel& model, const char* detail, int ms = 5000) {
        return QTest::qWaitFor([&] { return model.detail() == QString::fromUtf8(detail); }, ms);
    }
};

TEST_F(AccountRowTest, ShowsEachStateOfTheTool) {
    int changes = 0;
    AccountRowModel model(AIProvider::chatgptAccount, [&] { ++changes; });
    EXPECT_EQ(model.detail(), "Verificando…");
    model.reload();
    ASSERT_TRUE(settle(model, "Precisa do Codex instalado neste Mac"));
    EXPECT_EQ(AccountRowModel::installCommand(model.tool()), "npm install -g @openai/codex");

    writeTool("codex", "echo 'Logged in using ChatGPT'\nexit 0");
    model.reload();
    ASSERT_TRUE(settle(model, "Conectado · Assinatura do ChatGPT"));
    EXPECT_EQ(changes, 0) << "checking again is not a change";

    writeTool("claude", R"(printf '%s' '{"loggedIn":true,"email":"ana@exemplo.com"}'; exit 0)");
    model.setProvider(AIProvider::claudeAccount);
    EXPECT_EQ(model.detail(), "Verificando…") << "the other tool's state is not shown";
    ASSERT_TRUE(settle(model, "Conectado · ana@exemplo.com"));
    EXPECT_EQ(model.logoutMessage(),
              "O Claude Code usa o mesmo login, então ele também será desconectado neste Mac.");
}

TEST_F(AccountRowTest, AFailedLoginShowsItsErrorAndCallsBackOnce) {
    writeTool("claude",
              R"(if [ "$1 $2" = "auth status" ]; then printf '%s' '{"loggedIn":false}'; exit 1; fi
echo 'login <b>recusado</b>' >&2
exit 3)");
    int changes = 0;
    AccountRowModel model(AIProvider::claudeAccount, [&] { ++changes; });
    model.reload();
    ASSERT_TRUE(settle(model, "Login pelo navegador, sem chave de API"));
    model.login();
    EXPECT_EQ(model.busy(), "Termine o login no navegador…");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 5000));
    EXPECT_FALSE(model.busy());
    ASSERT_TRUE(model.error());
    EXPECT_TRUE(model.error()->contains("recusado"));
    model.login();
    EXPECT_EQ(model.error(), std::nullopt) << "the next login clears the error at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 2; }, 5000));
}

TEST_F(AccountRowTest, AStatusOfTheOtherToolIsDropped) {
    writeTool("claude", "sleep 0.4\nprintf '%s' '{\"loggedIn\":true}'\nexit 0");
    writeTool("codex", "exit 1");
    AccountRowModel model(AIProvider::claudeAccount, {});
    auto late = model.reload();
    model.setProvider(AIProvider::chatgptAccount);
    ASSERT_TRUE(settle(model, "Login pelo navegador, sem chave de API"));
    test::await(std::move(late));
    EXPECT_EQ(model.detail(), "Login pelo navegador, sem chave de API");
}

TEST_F(AccountRowTest, LoggingOutAsksFirst) {
    writeTool("claude", R"(echo "$1 $2" >> "$r/calls"
if [ "$1 $2" = "auth status" ]; then printf '%s' '{"loggedIn":true}'; fi
exit 0)");
    int changes = 0;
    AccountRow row(AIProvider::claudeAccount, [&] { ++changes; });
    auto leave = [&]() -> QAbstractButton* {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (auto* b : row.findChildren<SiteButton*>())
            if (b->accessibleName() == "Sair") return b;
        return nullptr;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return leave() != nullptr; }, 5000));
    for (const char* answer : {"Cancelar", "Sair"}) {
        leave()->click();
        auto* box = row.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Sair da conta?");
        EXPECT_EQ(box->text(), row.model().logoutMessage());
        for (auto* b : box->buttons())
            if (b->text() == answer) b->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 5000)) << "one logout, confirmed";
    QFile calls(recorded("calls"));
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    EXPECT_EQ(calls.readAll(), "auth status\nauth logout\nauth status\n")
        << "read, one confirmed logout, read again";
}

TEST_F(AccountRowTest, ARowGoneDuringALoginIsLeftAlone) {
    writeTool("claude", "sleep 0.3\nexit 0");
    int changes = 0;
    {
        AccountRow row(AIProvider::claudeAccount, [&] { ++changes; });
        row.model().login();
    }
    EXPECT_TRUE(QTest::qWaitFor(noChildren, 5000)) << "the login ended";
    EXPECT_EQ(changes, 0);
}

} // namespace
