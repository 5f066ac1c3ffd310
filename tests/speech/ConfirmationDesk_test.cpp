#include "speech/ConfirmationDesk.h"

#include "core/AppState.h"
#include "support/Async.h"
#include "support/Promise.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace nolvea;

namespace {

// A desk whose look-ups wait until the test answers them.
struct Desk {
    AppState state;
    Promise<QStringList> accounts;
    Promise<std::optional<EmailSummary>> original;
    int lookups = 0;
    std::unique_ptr<ConfirmationDesk> desk = std::make_unique<ConfirmationDesk>(
        state,
        ConfirmationDesk::Services{
            [this](std::vector<EmailRecipient> r) -> QCoro::Task<std::vector<EmailRecipient>> {
                ++lookups;
                for (auto& each : r)
                    each.address = each.name.toLower() + QStringLiteral("@exemplo.com");
                co_return r;
            },
            [this]() -> QCoro::Task<QStringList> {
                ++lookups;
                co_return co_await accounts;
            },
            [this](QString) -> QCoro::Task<std::optional<EmailSummary>> {
                ++lookups;
                co_return co_await original;
            },
            [](Sounds::Cue) {}});
};

ActionPreview emailPreview() {
    EmailDraft draft;
    EmailRecipient bia;
    bia.name = QStringLiteral("Bia");
    draft.to = {bia};
    draft.subject = QStringLiteral("Reunião");
    draft.replyToID = QStringLiteral("7");
    ActionPreview p;
    p.title = QStringLiteral("Enviar e-mail");
    p.email = draft;
    return p;
}

EmailSummary summary() {
    EmailSummary s;
    s.id = QStringLiteral("7");
    s.subject = QStringLiteral("Pauta");
    return s;
}

} // namespace

// Answers for the card still up are written; a card that went (answered, replaced, or the
// desk itself gone) takes its late answers with it.
TEST(ConfirmationDesk, LookUpsWriteOnlyWhileTheirCardIsUp) {
    {
        Desk d;
        auto pending = d.desk->confirm(emailPreview());
        EXPECT_EQ(d.state.stage(), AppState::Stage::confirming);
        ASSERT_TRUE(test::spinUntil([&] { return d.lookups == 4; }));
        EXPECT_EQ(d.state.emailDraft().to.at(0).address, QStringLiteral("bia@exemplo.com"));
        d.accounts.resolve(QStringList{QStringLiteral("eu@exemplo.com")});
        d.original.resolve(summary());
        EXPECT_EQ(d.state.mailAccounts(), QStringList{QStringLiteral("eu@exemplo.com")});
        ASSERT_TRUE(d.state.emailDraft().original);
        d.desk->resolve(Confirmation::Choice::approve);
        EXPECT_EQ(test::await(std::move(pending)).choice, Confirmation::Choice::approve);
    }
    struct Case {
        const char* name;
        std::function<void(Desk&)> end;
    } cases[] = {
        {"answered", [](Desk& d) { d.desk->resolve(Confirmation::Choice::decline); }},
        {"abandoned", [](Desk& d) { d.desk->declinePending(); }},
        {"desk gone", [](Desk& d) { d.desk.reset(); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Desk d;
        auto pending = d.desk->confirm(emailPreview());
        ASSERT_TRUE(test::spinUntil([&] { return d.lookups == 4; }));
        d.state.setMailAccounts({QStringLiteral("antes")});
        k.end(d);
        EXPECT_EQ(test::await(std::move(pending)).choice, Confirmation::Choice::decline);
        d.accounts.resolve(QStringList{QStringLiteral("tarde@exemplo.com")});
        d.original.resolve(summary());
        EXPECT_EQ(d.state.mailAccounts(), QStringList{QStringLiteral("antes")});
        EXPECT_FALSE(d.state.emailDraft().original);
    }
}

// Look-ups of a card replaced before they began never start.
TEST(ConfirmationDesk, AReplacedCardDeclinesItsAgentAndLooksNothingUp) {
    Desk d;
    auto first = d.desk->confirm(emailPreview());
    ActionPreview plain;
    plain.title = QStringLiteral("Executar atalho");
    auto second = d.desk->confirm(plain);
    EXPECT_EQ(test::await(std::move(first)).choice, Confirmation::Choice::decline);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(d.lookups, 0);
    EXPECT_TRUE(d.desk->hasPending());
    d.desk->resolve(Confirmation::Choice::alternate);
    EXPECT_EQ(test::await(std::move(second)).choice, Confirmation::Choice::alternate);
    EXPECT_FALSE(d.desk->hasPending());
}

// The person may type an address into a chip while the card's own look-up still runs: the
// look-up then fills only the recipients left as they were.
TEST(ConfirmationDesk, ALateLookUpNeverOverwritesAnAddressTypedMeanwhile) {
    AppState state;
    Promise<std::vector<EmailRecipient>> found;
    ConfirmationDesk desk(
        state, {[&](std::vector<EmailRecipient>) -> QCoro::Task<std::vector<EmailRecipient>> {
                    co_return co_await found;
                },
                []() -> QCoro::Task<QStringList> { co_return {}; },
                [](QString) -> QCoro::Task<std::optional<EmailSummary>> { co_return std::nullopt; },
                [](Sounds::Cue) {}});
    ActionPreview p = emailPreview();
    EmailRecipient caio;
    caio.name = QStringLiteral("Caio");
    p.email->to.push_back(caio);
    p.email->replyToID.reset();
    auto pending = desk.confirm(p);
    QCoreApplication::processEvents(); // the look-ups start from the event loop

    EmailDraft typed = state.emailDraft();
    typed.to[0].address = QStringLiteral("bia@casa.org");
    state.setEmailDraft(typed);
    std::vector<EmailRecipient> answer = p.email->to;
    answer[0].address = QStringLiteral("bia@exemplo.com");
    answer[1].address = QStringLiteral("caio@exemplo.com");
    found.resolve(answer);
    QCoreApplication::processEvents();

    EXPECT_EQ(state.emailDraft().to[0].address, QStringLiteral("bia@casa.org"));
    EXPECT_EQ(state.emailDraft().to[1].address, QStringLiteral("caio@exemplo.com"));
    desk.resolve(Confirmation::Choice::decline);
}
