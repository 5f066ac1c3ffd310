#include "ui/composer/ComposerMotion.h"
#include "ui/composer/EmailComposerModel.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Part = EmailComposerModel::AddressPart;

namespace {

EmailRecipient person(const char* name, const char* address, QStringList alternatives = {}) {
    return {.name = QString::fromUtf8(name),
            .address = QString::fromUtf8(address),
            .alternatives = alternatives};
}

TEST(ComposerModel, WarnsAboutTheFirstIncompleteRecipientExactlyWhenSendingIsBarred) {
    struct Case {
        const char* name;
        std::vector<EmailRecipient> to, cc;
        std::optional<QString> warning;
    };
    const Case cases[] = {
        {"nobody", {}, {}, "Sem destinatário"},
        {"nobody in To, someone in Cc", {}, {person("", "c@x.com")}, "Sem destinatário"},
        {"all complete", {person("Ana", "ana@x.com")}, {person("", "c@x.com")}, std::nullopt},
        {"a name without address",
         {person("Ana", "ana@x.com"), person("Beatriz", "")},
         {},
         "Falta o e-mail de Beatriz"},
        {"no name: the address is named",
         {person("", "beatriz.x.com")},
         {},
         "Falta o e-mail de beatriz.x.com"},
        {"a half-typed address", {person("Ana", "ana@empresa.")}, {}, "Falta o e-mail de Ana"},
        {"To before Cc", {person("Ana", "ana")}, {person("Caio", "")}, "Falta o e-mail de Ana"},
        {"an incomplete copy recipient",
         {person("Ana", "ana@x.com")},
         {person("Caio", "")},
         "Falta o e-mail de Caio"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EmailDraft d{.to = c.to, .cc = c.cc};
        EXPECT_EQ(EmailComposerModel::warning(d), c.warning);
        EXPECT_EQ(d.canSend(), !c.warning.has_value());
    }
}

TEST(ComposerModel, ChipsShowInitialsAndTheAddressAsTextChoiceOrField) {
    struct Case {
        EmailRecipient r;
        const char* initials;
        Part part;
    };
    const Case cases[] = {
        {person("ana maria souza", "ana@x.com"), "AM", Part::text},
        {person("  Bia  ", "bia@x.com", {"bia@x.com"}), "B", Part::text},
        {person("Caio", "caio@x.com", {"caio@x.com", "caio@casa.org"}), "C", Part::choice},
        {person("dani@x.com", "dani@x.com"), "D", Part::text}, // the name repeats the address
        {person("", "eva@x.com"), "E", Part::text},
        {person("Fábio", ""), "F", Part::entry},
        {person("Gil", "gil@x", {"gil@x", "gil@y"}), "G", Part::entry},
        {person("", ""), "", Part::entry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r.name.toStdString() + "|" + c.r.address.toStdString());
        EXPECT_EQ(EmailComposerModel::initials(c.r), QString::fromUtf8(c.initials));
        EXPECT_EQ(EmailComposerModel::addressPart(c.r), c.part);
    }
}

TEST(ComposerModel, FinishedEntriesMakeRecipientsAndBlanksMakeNone) {
    struct Case {
        const char* typed;
        std::optional<std::pair<const char*, const char*>> made; // name, address
    };
    const Case cases[] = {
        {"", std::nullopt},
        {" \t ", std::nullopt},
        {"Ana Lima <ana@x.com>", std::pair{"Ana Lima", "ana@x.com"}},
        {"  bia@x.com\t", std::pair{"", "bia@x.com"}},
        {"Caio", std::pair{"Caio", ""}},
        {"ana@empresa.", std::pair{"", "ana@empresa."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto r = EmailComposerModel::entered(QString::fromUtf8(c.typed));
        ASSERT_EQ(r.has_value(), c.made.has_value());
        if (!r) continue;
        EXPECT_EQ(r->name, QString::fromUtf8(c.made->first));
        EXPECT_EQ(r->address, QString::fromUtf8(c.made->second));
    }
}

TEST(ComposerModel, ALookUpFillsOnlyItsOwnRecipientAndNeverWhatThePersonTyped) {
    const EmailRecipient asked = person("Beatriz", "");
    const EmailRecipient other = person("Ana", "ana@x.com");
    EmailRecipient found = person("Beatriz Souza", "bia@x.com", {"bia@x.com", "bia@casa.org"});
    found.id = QUuid::createUuid(); // the look-up may hand back another identity

    const EmailDraft waiting{.to = {other, asked}};
    const auto filled = EmailComposerModel::withLookup(waiting, asked, found);
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->to[0], other);
    EXPECT_EQ(filled->to[1].id, asked.id);
    EXPECT_EQ(filled->to[1].address, QStringLiteral("bia@x.com"));
    EXPECT_EQ(filled->to[1].alternatives.size(), 2);

    // Removed meanwhile, or moved to Cc: dropped.
    EXPECT_EQ(EmailComposerModel::withLookup(EmailDraft{.to = {other}}, asked, found),
              std::nullopt);
    EXPECT_EQ(
        EmailComposerModel::withLookup(EmailDraft{.to = {other}, .cc = {asked}}, asked, found),
        std::nullopt);
    // The person typed an address meanwhile, complete or not: theirs stands.
    for (const char* typed : {"beatriz@empresa.com", "beatriz@emp"}) {
        EmailRecipient edited = asked;
        edited.address = QString::fromUtf8(typed);
        EXPECT_EQ(EmailComposerModel::withLookup(EmailDraft{.to = {edited}}, asked, found),
                  std::nullopt)
            << typed;
    }
}

TEST(ComposerModel, SenderRowOffersAPickerOnlyForTwoOrMoreAccounts) {
    using S = EmailComposerModel::Sender;
    struct Case {
        QStringList accounts;
        bool picker;
        QStringList options;
        QString text;
    };
    const Case cases[] = {
        {{}, false, {}, "Conta padrão do Mail"},
        {{"eu@casa.org"}, false, {}, "eu@casa.org"},
        {{"eu@casa.org", "eu@empresa.com"}, true, {"", "eu@casa.org", "eu@empresa.com"}, ""},
    };
    for (const Case& c : cases) {
        const S s = EmailComposerModel::sender(c.accounts);
        EXPECT_EQ(s.picker, c.picker);
        EXPECT_EQ(s.options, c.options);
        EXPECT_EQ(s.text, c.text);
    }
    EXPECT_EQ(EmailComposerModel::senderOptionTitle(""), QStringLiteral("Conta padrão"));
    EXPECT_EQ(EmailComposerModel::senderOptionTitle("eu@casa.org"), QStringLiteral("eu@casa.org"));
}

TEST(ComposerMotion, PiecesRiseOneAfterAnotherAndEachChangeTakesItsSpring) {
    using T = ComposerMotion::Timing;
    const T entrances[] = {
        {Theme::snappy(), 0},    {Theme::snappy(), 0.05}, {Theme::snappy(), 0.1},
        {Theme::snappy(), 0.15}, {Theme::snappy(), 0.2},
    };
    for (int i = 0; i < ComposerMotion::kPieces; ++i) {
        EXPECT_EQ(ComposerMotion::entrance(i).spring, entrances[i].spring) << i;
        EXPECT_NEAR(ComposerMotion::entrance(i).delay, entrances[i].delay, 1e-12) << i;
    }
    using C = ComposerMotion::Change;
    const struct {
        C change;
        SpringSpec spring;
    } changes[] = {
        {C::recipients, Theme::snappy()}, {C::ccRow, Theme::snappy()},
        {C::warning, Theme::snappy()},    {C::original, Theme::gentle()},
        {C::unfold, Theme::snappy()},
    };
    for (const auto& c : changes)
        EXPECT_EQ(ComposerMotion::spring(c.change), c.spring) << int(c.change);

    const struct {
        double progress;
        MotionPose entrance, chip;
    } poses[] = {
        {0, {.opacity = 0, .offset = {0, 8}}, {.opacity = 0, .scale = 0.7}},
        {0.5, {.opacity = 0.5, .offset = {0, 4}}, {.opacity = 0.5, .scale = 0.85}},
        {1, {}, {}},
    };
    for (const auto& p : poses) {
        EXPECT_EQ(ComposerMotion::entrancePose(p.progress), p.entrance) << p.progress;
        EXPECT_EQ(ComposerMotion::chipPose(p.progress).opacity, p.chip.opacity) << p.progress;
        EXPECT_NEAR(ComposerMotion::chipPose(p.progress).scale, p.chip.scale, 1e-12);
    }
    EXPECT_EQ(ComposerMotion::chipPose(1.05).opacity, 1) << "an overshoot stays opaque";
}

TEST(ComposerModel, TitleAndRequestLine) {
    EXPECT_EQ(EmailComposerModel::title({}), QStringLiteral("Novo e-mail"));
    EXPECT_EQ(EmailComposerModel::title(EmailDraft{.replyToID = QStringLiteral("7")}),
              QStringLiteral("Responder e-mail"));
    EXPECT_EQ(EmailComposerModel::requestLine(""), std::nullopt);
    EXPECT_EQ(EmailComposerModel::requestLine("mande"), QStringLiteral("“mande”"));
}

} // namespace
