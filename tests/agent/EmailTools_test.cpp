#include "agent/ContactStore.h"
#include "agent/MailBackend.h"
#include "agent/MailMessage.h"
#include "agent/Maildir.h"
#include "agent/MimeText.h"
#include "agent/MsmtpAccounts.h"
#include "agent/ToolError.h"
#include "agent/tools/EmailTools.h"
#include "platform/Platform.h"
#include "platform/linux/SendmailTransport.h"
#include "support/Async.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "support/ToolCalls.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

using test::args;
using test::toolError;

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const QByteArray kMultipart =
    "From: =?UTF-8?Q?Jo=C3=A3o_Pereira?= <joao@ex.com>\n"
    "Subject: =?UTF-8?B?UmV1bmnDo28gZGU=?=\n =?UTF-8?B?IHNleHRh?=\n"
    "Date: Tue, 08 Dec 2026 09:00:00 -0300\n"
    "Message-ID: <abc@ex.com>\n"
    "MIME-Version: 1.0\n"
    "Content-Type: multipart/alternative; boundary=\"XYZ\"\n\n"
    "preamble\n--XYZ\nContent-Type: text/html; charset=utf-8\n\n<p>HTML</p>\n"
    "--XYZ\nContent-Type: text/plain; charset=iso-8859-1\nContent-Transfer-Encoding: "
    "quoted-printable\n\n"
    "Ol=E1,\tvamos nos ver\r\nsexta? =\nAbra=E7o\n--XYZ--\n";

const QByteArray kPlain =
    "From: Ana <ana@ex.com>\nSubject: Fatura\nDate: Wed, 09 Dec 2026 10:00:00 +0000\n\n"
    "Segue a fatura.\n";

// A fake sendmail and xdg-email that keep their arguments and what they read.
class MailHome : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_bin.isValid());
        m_maildir = test::home() + QStringLiteral("/Maildir");
        QDir(m_maildir).removeRecursively();
        writeFile(m_maildir + QStringLiteral("/cur/1765000000.M1P1.host:2,S"), kMultipart);
        writeFile(m_maildir + QStringLiteral("/new/1765100000.M2P2.host"), kPlain);
        QDir().mkpath(m_maildir + QStringLiteral("/tmp"));
        m_path = qgetenv("PATH");
        qputenv("PATH", m_bin.path().toUtf8() + ':' + m_path);
        Platform::install<MailTransport>(std::make_shared<SendmailTransport>(QStringList{}));
        QDir(ContactStore::defaultRoot()).removeRecursively();
        writeFile(ContactStore::defaultRoot() + QStringLiteral("/bia.vcf"),
                  "BEGIN:VCARD\nN:Souza;Beatriz;;;\nEMAIL:bia@ex.com\nEND:VCARD\n");
    }
    void TearDown() override {
        qputenv("PATH", m_path);
        Platform::uninstall<MailTransport>();
        QDir(ContactStore::defaultRoot()).removeRecursively();
    }

    void installFake(const char* name) {
        const QString path = m_bin.path() + u'/' + QLatin1String(name);
        writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\ncat > \"$0.input\"\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QByteArray received(const char* name, const char* what) {
        return readFile(m_bin.path() + u'/' + QLatin1String(name) + '.' + QLatin1String(what));
    }

    QTemporaryDir m_bin;
    QString m_maildir;
    QByteArray m_path;
};

} // namespace

TEST_F(MailHome, ListsTheNewestInboxMessages) {
    const AgentTool tool = EmailTools::listRecentEmails();
    const QString ana = Maildir::idFor(QStringLiteral("1765100000.M2P2.host"));
    const QString joao = Maildir::idFor(QStringLiteral("1765000000.M1P1.host:2,S"));
    const QString anaEntry =
        QStringLiteral("- id %1 | de: Ana <ana@ex.com> | assunto: Fatura | %2\n  Segue a fatura.")
            .arg(ana,
                 Maildir::dateText(QDateTime(QDate(2026, 12, 9), QTime(10, 0), QTimeZone::utc())));
    const QString joaoEntry =
        QStringLiteral("- id %1 | de: João Pereira <joao@ex.com> | assunto: Reunião de sexta | %2\n"
                       "  Olá, vamos nos ver sexta? Abraço")
            .arg(joao,
                 Maildir::dateText(QDateTime(QDate(2026, 12, 8), QTime(12, 0), QTimeZone::utc())));
    EXPECT_EQ(test::await(tool.run(args(R"({"query":"  "})"))), anaEntry + u'\n' + joaoEntry);
    EXPECT_EQ(test::await(tool.run(args(R"({"query":"reunião"})"))), joaoEntry);
    EXPECT_EQ(test::await(tool.run(args(R"({"query":"nada disso"})"))),
              QStringLiteral("Nenhum e-mail encontrado."));

    const auto one = test::await(MailBackend::message(joao));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->id, joao);
    EXPECT_EQ(one->snippet, QStringLiteral("Olá, vamos nos ver\nsexta? Abraço"));
    EXPECT_FALSE(test::await(MailBackend::message(QStringLiteral("abc"))));
    EXPECT_FALSE(test::await(MailBackend::message(QStringLiteral("12345"))));

    // Long texts are clipped to 280 characters and an ellipsis.
    writeFile(m_maildir + QStringLiteral("/new/1765200000.M3P3.host"),
              "From: x@ex.com\nSubject: longo\nDate: Thu, 10 Dec 2026 10:00:00 +0000\n\n" +
                  QByteArray(300, 'a') + '\n');
    const auto recent = test::await(MailBackend::recent(std::nullopt, 1));
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent[0].snippet, QString(280, u'a') + QStringLiteral("…"));

    QDir(m_maildir).removeRecursively();
    EXPECT_EQ(test::await(tool.run(JSONValue::object({}))),
              QStringLiteral("Nenhum e-mail encontrado."));
}

// A big inbox is read by its newest files only, headers only, and never on the caller's
// thread.
TEST_F(MailHome, LooksOnlyAtTheNewestMessagesOffTheCallersThread) {
    QDir(m_maildir).removeRecursively();
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0), QTimeZone::utc());
    const int count = Maildir::kConsidered + 1;
    QString oldest;
    for (int i = 0; i < count; ++i) {
        const QDateTime at = start.addSecs(qint64(i) * 60);
        // The oldest file has the newest Date header and the only matching sender: the file's
        // time decides which messages are looked at.
        const QByteArray date = (i == 0 ? at.addYears(1) : at).toString(Qt::RFC2822Date).toLatin1();
        const QByteArray sender = i == 0 ? "Antiga <antiga@ex.com>" : "x@ex.com";
        const QString path = m_maildir + QStringLiteral("/cur/%1.M%2.host:2,S").arg(i).arg(i);
        writeFile(path, "From: " + sender + "\r\nSubject: n" + QByteArray::number(i) +
                            "\r\nDate: " + date + "\r\n\r\ncorpo " + QByteArray::number(i) +
                            "\r\n");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(at, QFileDevice::FileModificationTime));
        if (i == 0) oldest = Maildir::idFor(path);
    }

    auto listing = MailBackend::recent(std::nullopt, 3);
    EXPECT_FALSE(listing.isReady());
    const auto newest = test::await(std::move(listing));
    ASSERT_EQ(newest.size(), 3);
    EXPECT_EQ(newest[0].subject, QStringLiteral("n%1").arg(count - 1));
    EXPECT_EQ(newest[0].sender, QStringLiteral("x@ex.com")); // CRLF headers read as LF ones
    EXPECT_EQ(newest[0].snippet, QStringLiteral("corpo %1").arg(count - 1));
    EXPECT_EQ(newest[2].subject, QStringLiteral("n%1").arg(count - 3));
    EXPECT_TRUE(test::await(MailBackend::recent(QStringLiteral("antiga"), 8)).isEmpty());

    // A message named by its id is found however old it is.
    auto byID = MailBackend::message(oldest);
    EXPECT_FALSE(byID.isReady());
    const auto found = test::await(std::move(byID));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->subject, QStringLiteral("n0"));
}

TEST_F(MailHome, SendsThroughSendmailWithEncodedHeadersAndTheReplyReference) {
    installFake("sendmail");
    writeFile(test::home() + QStringLiteral("/.msmtprc"),
              "defaults\nauth on\naccount pessoal\nfrom eu@casa.org\naccount trabalho\n"
              "from eu@empresa.com\naccount default : trabalho\n");
    const QString joao = Maildir::idFor(QStringLiteral("1765000000.M1P1.host:2,S"));
    const JSONValue arguments = JSONValue::object(
        {{"to", JSONValue::array({"Beatriz", "Carlos Lima <carlos@ex.com>", "d@ex.com"})},
         {"cc", "e@ex.com"},
         {"subject", "Re: Reunião\nBcc: intruso@ex.com"},
         {"body", "Olá!\nAté sexta."},
         {"reply_to_id", joao}});
    EXPECT_EQ(test::await(EmailTools::sendEmail().run(arguments)),
              QStringLiteral("E-mail enviado para Beatriz, Carlos, d@ex.com"));

    EXPECT_EQ(received("sendmail", "args"), QByteArray("-t\n-oi\n"));
    const MailMessage sent = MailMessage::parse(received("sendmail", "input"));
    EXPECT_EQ(sent.header("From"), QByteArray("eu@empresa.com"));
    EXPECT_EQ(sent.header("To"),
              QByteArray("Beatriz Souza <bia@ex.com>, Carlos Lima <carlos@ex.com>, d@ex.com"));
    EXPECT_EQ(sent.header("Cc"), QByteArray("e@ex.com"));
    // The line break cannot smuggle in a header.
    EXPECT_EQ(sent.header("Bcc"), QByteArray());
    EXPECT_EQ(MimeText::decodeHeader(sent.header("Subject")),
              QStringLiteral("Re: Reunião Bcc: intruso@ex.com"));
    EXPECT_FALSE(sent.header("Subject").contains("ã"));
    EXPECT_EQ(sent.header("In-Reply-To"), QByteArray("<abc@ex.com>"));
    EXPECT_EQ(sent.header("References"), QByteArray("<abc@ex.com>"));
    EXPECT_EQ(sent.text, QStringLiteral("Olá!\nAté sexta."));

    EXPECT_EQ(MsmtpAccounts::addresses(),
              QStringList({QStringLiteral("eu@empresa.com"), QStringLiteral("eu@casa.org")}));
}

TEST_F(MailHome, RecipientsWithoutAddressesAreNamed) {
    installFake("sendmail");
    struct Case {
        const char* arguments;
        QString message;
    };
    const Case cases[] = {
        {R"({"to":["Pedro"],"subject":"s","body":"b"})",
         QStringLiteral("Sem e-mail válido para: Pedro")},
        {R"({"to":["Beatriz"],"cc":["Fulano","x@"],"subject":"s","body":"b"})",
         QStringLiteral("Sem e-mail válido para: Fulano, x@")},
        {R"({"to":" , ","cc":["c@ex.com"],"subject":"s","body":"b"})",
         QStringLiteral("Faltou o campo \"to\".")},
        {R"({"subject":"s","body":"b"})", QStringLiteral("Faltou o campo \"to\".")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(toolError(EmailTools::sendEmail(), args(c.arguments)), c.message);
    }
    EXPECT_FALSE(QFile::exists(m_bin.path() + QStringLiteral("/sendmail.input"))); // nothing sent
}

TEST_F(MailHome, OpensTheDraftWhenAskedOrWithoutSendmail) {
    installFake("xdg-email");
    EXPECT_EQ(test::await(EmailTools::sendEmail().run(
                  args(R"({"to":["Pedro"],"subject":"Olá & até","body":"a b","open_only":true})"))),
              QStringLiteral("Rascunho aberto no Mail"));
    EXPECT_EQ(received("xdg-email", "args"),
              QByteArray("mailto:Pedro?subject=Ol%C3%A1%20%26%20at%C3%A9&body=a%20b\n"));

    // "true" as text is no JSON true: a normal send, which here has no sendmail.
    EXPECT_EQ(
        test::await(EmailTools::sendEmail().run(
            args(R"({"to":["Beatriz"],"subject":"s","body":"b","open_only":"true"})"))),
        QStringLiteral("Não há sendmail neste computador: o e-mail para Beatriz foi aberto no "
                       "app de e-mail para ser enviado de lá."));
    EXPECT_EQ(received("xdg-email", "args"), QByteArray("mailto:bia@ex.com?subject=s&body=b\n"));

    QFile::remove(m_bin.path() + QStringLiteral("/xdg-email"));
    EXPECT_EQ(
        toolError(EmailTools::sendEmail(), args(R"({"to":["Beatriz"],"subject":"s","body":"b"})")),
        QStringLiteral("Nenhum app de e-mail disponível: o xdg-email não está instalado."));
}

TEST_F(MailHome, SendmailFailureIsReported) {
    const QString path = m_bin.path() + QStringLiteral("/sendmail");
    writeFile(path, "#!/bin/sh\ncat > /dev/null\necho 'msmtp: conta inexistente' >&2\nexit 78\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(
        toolError(EmailTools::sendEmail(), args(R"({"to":["a@ex.com"],"subject":"s","body":"b"})")),
        QStringLiteral("msmtp: conta inexistente\n"));
}

TEST(EmailPreviews, CardCarriesTheDraft) {
    const AgentTool tool = EmailTools::sendEmail();
    const auto p =
        tool.preview(args(R"({"to":["Ana"],"subject":"Oi","body":"b","reply_to_id":"12"})"));
    EXPECT_EQ(p.title, QStringLiteral("Responder e-mail"));
    EXPECT_EQ(p.details, QStringList{QStringLiteral("Oi")});
    EXPECT_EQ(p.appName, QStringLiteral("Mail"));
    EXPECT_EQ(p.alternateLabel, QStringLiteral("Abrir no Mail"));
    ASSERT_TRUE(p.email);
    EXPECT_EQ(p.email->to.at(0).name, QStringLiteral("Ana"));
    EXPECT_EQ(tool.preview(args(R"({"subject":"Oi","reply_to_id":"  "})")).title,
              QStringLiteral("Novo e-mail"));
    EXPECT_TRUE(tool.alwaysConfirm);
}

TEST(MimeText, HeadersRoundTrip) {
    const QString long_ =
        QStringLiteral("Relatório trimestral de operações — versão final revisada com anexos");
    QByteArray encoded = MimeText::encodeHeader(long_, 7);
    for (const QByteArray& line : encoded.split('\n'))
        EXPECT_LE(line.size() + 9, 78) << line.constData();
    EXPECT_EQ(MimeText::decodeHeader(encoded.replace('\n', "")), long_);
    // Plain text that looks like an encoded word must not be decoded by the reader.
    for (const QString& plain : {QStringLiteral("Oi"), QStringLiteral("=?UTF-8?B?YWJj?= e =?x")})
        EXPECT_EQ(MimeText::decodeHeader(MimeText::encodeHeader(plain, 7)), plain);
    EXPECT_EQ(MimeText::encodeAddress(QStringLiteral("Silva, Ana"), QStringLiteral("a@b.com")),
              QByteArray("\"Silva, Ana\" <a@b.com>"));
}
