#include "agent/ContactStore.h"
#include "agent/ContactsLookup.h"
#include "agent/ToolError.h"
#include "agent/tools/ContactTools.h"
#include "support/Async.h"
#include "support/Printers.h"
#include "support/ToolCalls.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

using test::args;
using test::toolError;

class ContactFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = ContactStore::defaultRoot();
        QDir(m_root).removeRecursively();
        QDir().mkpath(m_root);
        // vCard 3 with folding and groups, vCard 4 with tel: values, an old 2.1 card in
        // quoted-printable Latin-1, and a file holding two cards.
        write("joana.vcf",
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Muñoz;Joana;;;\r\nFN:Joana Muñoz\r\n"
              "TEL;TYPE=CELL:+55 11 99999-8888\r\nitem1.EMAIL;TYPE=INTERNET:joana@ex\r\n"
              " emplo.com\r\nEMAIL:jo@casa.org\r\nEND:VCARD\r\n");
        write("jose.vcf",
              "BEGIN:VCARD\nVERSION:4.0\nN:Araújo;José;;;\nTEL;VALUE=uri:tel:+5521988887777\n"
              "END:VCARD\n");
        write("old.vcf", "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:"
                         "Concei=E7=E3o;Maria\nEMAIL:maria@ex.com\nEND:VCARD\n");
        write("two.vcf",
              "BEGIN:VCARD\nVERSION:3.0\nFN:Zeca\nEMAIL:zeca@ex.com\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nN:Silva;Joana;;;\nEMAIL:outra@ex.com\nEND:VCARD\n");
    }
    void TearDown() override { QDir(m_root).removeRecursively(); }

    void write(const QString& name, const QByteArray& content) {
        QFile f(m_root + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QString m_root;
};

} // namespace

TEST_F(ContactFolder, FindContactListsPhonesAndAddresses) {
    const AgentTool tool = ContactTools::findContact();
    struct Case {
        const char* name;
        QString expected;
    };
    const Case cases[] = {
        {"joana", QStringLiteral(
                      "- Joana Muñoz | telefones: +55 11 99999-8888 | e-mails: joana@exemplo.com, "
                      "jo@casa.org\n- Joana Silva | telefones: — | e-mails: outra@ex.com")},
        {"JOSE ARAU", QStringLiteral("- José Araújo | telefones: +5521988887777 | e-mails: —")},
        {"conceição", QStringLiteral("- Maria Conceição | telefones: — | e-mails: maria@ex.com")},
        {"zeca", QStringLiteral("- Zeca  | telefones: — | e-mails: zeca@ex.com")},
        {" Pedro ", QStringLiteral("Nenhum contato encontrado para \"Pedro\".")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::await(tool.run(JSONValue::object({{"name", c.name}}))), c.expected);
    }
    for (int i = 0; i < 7; ++i)
        write(QStringLiteral("ana%1.vcf").arg(i),
              QStringLiteral("BEGIN:VCARD\nN:Lima%1;Ana;;;\nEND:VCARD\n").arg(i).toUtf8());
    EXPECT_EQ(test::await(tool.run(args(R"({"name":"ana"})"))).split(u'\n').size(), 5);
    EXPECT_EQ(toolError(tool, args(R"({"name":"  "})")),
              QStringLiteral("Faltou o campo \"name\"."));
    EXPECT_EQ(tool.preview(args(R"({"name":"Ana"})")).details, QStringList{QStringLiteral("Ana")});
}

TEST_F(ContactFolder, ResolveFillsAddressesFromTheFirstMatch) {
    std::vector<EmailRecipient> recipients = {
        EmailRecipient::parse(QStringLiteral("joana")),
        EmailRecipient::parse(QStringLiteral("Joana <ja@tem.com>")), // valid: never looked up
        EmailRecipient::parse(QStringLiteral("José")),               // no address in the card
        EmailRecipient::parse(QStringLiteral("Ninguém")),
    };
    const auto before = recipients;
    const auto resolved = test::await(ContactsLookup::resolve(recipients));
    ASSERT_EQ(resolved.size(), 4u);
    EXPECT_EQ(resolved[0].id, before[0].id);
    EXPECT_EQ(resolved[0].name, QStringLiteral("Joana Muñoz"));
    EXPECT_EQ(resolved[0].address, QStringLiteral("joana@exemplo.com"));
    EXPECT_EQ(resolved[0].alternatives,
              QStringList({QStringLiteral("joana@exemplo.com"), QStringLiteral("jo@casa.org")}));
    EXPECT_EQ(resolved[1], before[1]);
    EXPECT_EQ(resolved[2], before[2]);
    EXPECT_EQ(resolved[3], before[3]);
}

TEST(ContactTools, MessagesCannotBeSentHere) {
    const AgentTool tool = ContactTools::sendMessage();
    EXPECT_EQ(toolError(tool, args(R"({"text":"oi"})")), QStringLiteral("Faltou o campo \"to\"."));
    EXPECT_EQ(toolError(tool, args(R"({"to":"+5511999998888"})")),
              QStringLiteral("Faltou o campo \"text\"."));
    EXPECT_EQ(
        toolError(tool, args(R"({"to":"+5511999998888","text":"oi"})")),
        QStringLiteral("O envio de iMessage/SMS não está disponível neste computador: nenhuma "
                       "mensagem foi enviada."));
    const auto p = tool.preview(args(R"({"to":"+551199","text":"oi"})"));
    EXPECT_EQ(p.title, QStringLiteral("Enviar mensagem para +551199"));
    EXPECT_EQ(p.details, QStringList{QStringLiteral("+551199")});
    EXPECT_EQ(p.appName, QStringLiteral("Mensagens"));
    EXPECT_EQ(tool.preview(args(R"({"to":"+551199","display_name":"Bia"})")).title,
              QStringLiteral("Enviar mensagem para Bia"));
    EXPECT_EQ(tool.preview(JSONValue::object({})).title, QStringLiteral("Enviar mensagem para "));
}
