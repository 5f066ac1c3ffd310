#include "core/EmailDraft.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

JSONValue parseJSON(const char* text) {
    auto v = JSONValue::parse(QByteArray(text));
    EXPECT_TRUE(v) << text;
    return v.value_or(JSONValue());
}

} // namespace

TEST(EmailRecipient, ParsesNameAndAddressForms) {
    struct Case {
        const char* text;
        const char* name;
        const char* address;
    };
    const Case cases[] = {
        {R"( "Ana Souza" <ana@x.com> )", "Ana Souza", "ana@x.com"},
        {"Ana < ana@x.com >", "Ana", " ana@x.com "}, // kept as written, so not valid
        {"<ana@x.com>", "", "ana@x.com"},
        {"Ana <ana@x.com", "", "Ana <ana@x.com"}, // no closing ">": the "@" test decides
        {"Ana > x < y", "Ana > x < y", ""},       // ">" before "<", no "@": a name
        {"\n ana@x.com \t", "", "ana@x.com"},
        {"Ana Souza", "Ana Souza", ""},
        {"   ", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto r = EmailRecipient::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(r.name, QString::fromUtf8(c.name));
        EXPECT_EQ(r.address, QString::fromUtf8(c.address));
        EXPECT_TRUE(r.alternatives.isEmpty());
        EXPECT_FALSE(r.id.isNull());
    }
    EXPECT_NE(EmailRecipient::parse("a@b.c").id, EmailRecipient::parse("a@b.c").id);
}

TEST(EmailRecipient, ValidityIsStrictAboutTheAddressOnly) {
    struct Case {
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"ana@x.com", true},        {"ana.souza+nolvea@mail.empresa.com.br", true},
        {"ana@@x.com", false},      {"@x.com", false},
        {"ana@x", false},           {"ana@x.com@y.com", false},
        {"ana@empresa.", false}, // half typed
        {"ana@.com", false},        {"ana@x..com", false},
        {"ana@.", false},           {"an a@x.com", false},
        {" ana@x.com", false},      {"ana@x.com\t", false},
        {"ana\n@x.com", false},     {"ana\x01@x.com", false},
        {"Ana <ana@x.com>", false}, {"ana@x.com, bia@y.com", false},
        {"ana;bia@x.com", false},   {"ana@x.com?cc=eve@y.com", false},
        {"ana&bia@x.com", false},   {"\"ana\"@x.com", false},
        {"ana(x)@x.com", false},    {"ana@[10.0.0.1]", false},
        {"ana:b@x.com", false},     {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ((EmailRecipient{.name = "Qualquer", .address = c.address}.isValid()), c.valid);
    }
}

TEST(EmailRecipient, ListsFromStringsAndArrays) {
    auto names = [](const std::vector<EmailRecipient>& list) {
        QStringList out;
        for (const auto& r : list)
            out.append(r.name + u'|' + r.address);
        return out;
    };
    EXPECT_EQ(names(EmailRecipient::list(JSONValue("Ana, Bia;Caio <c@x.com>"))),
              QStringList({"Ana|", "Bia|", "Caio|c@x.com"}));
    EXPECT_TRUE(EmailRecipient::list(JSONValue(" ,; ,")).empty());
    EXPECT_EQ(
        names(EmailRecipient::list(parseJSON(R"([42, 1.5, true, {"a":1}, [1], null, "d@x.com"])"))),
        QStringList({"42|", "1.5|", "true|", "|d@x.com"}));
    EXPECT_TRUE(EmailRecipient::list(JSONValue::number(3)).empty());
    EXPECT_TRUE(EmailRecipient::list(std::nullopt).empty());
}

TEST(EmailDraft, ReadsToolArguments) {
    const auto d = EmailDraft::fromArgs(parseJSON(R"({"to":"Ana <ana@x.com>","cc":["b@x.com"],
        "subject":"  Oi ","body":"\n","from":"Eu <eu@x.com>","reply_to_id":" 123 "})"));
    ASSERT_EQ(d.to.size(), 1u);
    EXPECT_EQ(d.to[0].name, QStringLiteral("Ana"));
    ASSERT_EQ(d.cc.size(), 1u);
    EXPECT_EQ(d.subject, QStringLiteral("Oi"));
    EXPECT_EQ(d.body, QString());
    EXPECT_EQ(d.from, QStringLiteral("Eu <eu@x.com>"));
    EXPECT_EQ(d.replyToID, QStringLiteral("123"));
    EXPECT_FALSE(d.original);

    const auto empty = EmailDraft::fromArgs(parseJSON(R"({"reply_to_id":"  "})"));
    EXPECT_TRUE(empty.to.empty());
    EXPECT_FALSE(empty.replyToID);
    EXPECT_TRUE(EmailDraft::fromArgs(JSONValue("x")).to.empty());
}

TEST(EmailDraft, CanSendNeedsMainRecipientsAndValidAddresses) {
    const auto valid = EmailRecipient::parse("a@x.com");
    const auto nameOnly = EmailRecipient::parse("Ana");
    EXPECT_FALSE((EmailDraft{.cc = {valid}}).canSend());
    EXPECT_TRUE((EmailDraft{.to = {valid}}).canSend()); // empty subject and body are fine
    EXPECT_FALSE((EmailDraft{.to = {valid, nameOnly}}).canSend());
    EXPECT_FALSE((EmailDraft{.to = {valid}, .cc = {nameOnly}}).canSend());
    auto filled = nameOnly;
    filled.address = QStringLiteral("ana@x.com");
    EXPECT_TRUE((EmailDraft{.to = {filled}}).canSend());
}

TEST(EmailDraft, ArgumentsAreTheInverseOfFromArgs) {
    auto ana = EmailRecipient::parse("Ana <ana@x.com>");
    ana.alternatives = {"ana@y.com"};
    const EmailDraft draft{.to = {ana, EmailRecipient::parse("b@x.com")},
                           .cc = {EmailRecipient::parse("Caio <c@x.com>")},
                           .subject = "Assunto",
                           .body = "Corpo",
                           .replyToID = QString(),
                           .original = EmailSummary{.id = "1", .subject = "Antes"}};
    const JSONValue args = draft.arguments();
    EXPECT_EQ(args.compactString(),
              QStringLiteral(R"({"body":"Corpo","cc":["c@x.com"],"reply_to_id":"",)"
                             R"("subject":"Assunto","to":["Ana <ana@x.com>","b@x.com"]})"));

    const auto back = EmailDraft::fromArgs(args);
    ASSERT_EQ(back.to.size(), 2u);
    EXPECT_EQ(back.to[0].name, ana.name);
    EXPECT_EQ(back.to[0].address, ana.address);
    EXPECT_NE(back.to[0].id, ana.id);
    EXPECT_TRUE(back.to[0].alternatives.isEmpty());
    ASSERT_EQ(back.cc.size(), 1u);
    EXPECT_EQ(back.cc[0].name, QString()); // copy recipients travel without names
    EXPECT_FALSE(back.original);
    // An empty reply id is written, but reads back as absent (blank counts as absent).
    EXPECT_FALSE(back.replyToID);

    EXPECT_EQ((EmailDraft{.from = "eu@x.com"}.arguments().at(QStringLiteral("from"))),
              JSONValue("eu@x.com"));
    EXPECT_FALSE((EmailDraft{}.arguments().count(QStringLiteral("from"))));
}
