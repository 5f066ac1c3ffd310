// The agent self-test of the real program against a scripted model on the loopback address:
// what the dry-run front end prints, and the follow-up chain.

#include "ModelSelfTest.h"
#include "agent/AnswerSanitizer.h"
#include "speech/SpeechText.h"
#include "support/TestEnvironment.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;

namespace {

using AgentSelfTest = test::ModelSelfTest;

bool matches(const QString& pattern, const QString& line) {
    return QRegularExpression(pattern).match(line).hasMatch();
}

TEST_F(AgentSelfTest, AnActionIsShownApprovedAndNotCarriedOut) {
    model.reply("", {{"c1", "create_reminder",
                      R"({"title":"Ligar para o dentista","notes":"levar exames"})"}});
    const test::DevRun run = runNolvea({"--selftest-agent", "Me lembra de ligar para o dentista"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    const QStringList& lines = run.lines;
    EXPECT_TRUE(lines.contains("   [CONFIRMAR] Criar lembrete: Ligar para o dentista | levar "
                               "exames ✎ title=\"Ligar para o dentista\""))
        << run.output().toStdString();
    EXPECT_TRUE(lines.contains("   … Criando lembrete…")) << run.output().toStdString();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(
        matches(R"(^RESULTADO \(\d+\.\ds\): done\("\(teste\) Criar lembrete"\)$)", lines.last()))
        << lines.last().toStdString();
    // The tool call is logged, indented.
    EXPECT_TRUE(lines.filter(QRegularExpression("^   → create_reminder \\{")).size() == 1)
        << run.output().toStdString();
    EXPECT_EQ(model.calls(), 1);
    // No reminder was written anywhere.
    QDirIterator files(qEnvironmentVariable("XDG_DATA_HOME"), {"*.ics"}, QDir::Files,
                       QDirIterator::Subdirectories);
    EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

TEST_F(AgentSelfTest, AnEmailShowsItsRecipientsSubjectAndBodyOnOneLineEach) {
    model.reply("", {{"c1", "send_email",
                      R"({"to":["Ana Souza <ana@exemplo.com.br>","bruno@exemplo.com.br"],)"
                      R"("cc":["Carla <carla@exemplo.com.br>"],"subject":"Reunião",)"
                      R"("body":"Oi Ana,\nAté amanhã."})"}});
    const test::DevRun run = runNolvea({"--selftest-agent", "Escreve para a Ana"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    const qsizetype at = run.lines.indexOf("   [CONFIRMAR] Novo e-mail: Reunião");
    ASSERT_GE(at, 0) << run.output().toStdString();
    ASSERT_GT(run.lines.size(), at + 2);
    EXPECT_EQ(run.lines[at + 1],
              "   ✉︎ Para: Ana Souza, bruno@exemplo.com.br | Assunto: Reunião");
    EXPECT_EQ(run.lines[at + 2], "   ✉︎ Corpo: Oi Ana, ⏎ Até amanhã.");
    EXPECT_TRUE(run.lines.last().startsWith("RESULTADO (")) << run.output().toStdString();
}

TEST_F(AgentSelfTest, AnswersAndFollowUpsShareTheConversation) {
    const QString first = "Olá, **Maria**! Veja https://exemplo.com.br/pagina";
    model.reply(first);
    model.reply("Segunda resposta.");
    const test::DevRun run = runNolvea(
        {"--selftest-agent", "Oi", "--selection", "texto marcado", "--then", "E agora?", "--then"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_EQ(run.lines.size(), 6) << run.output().toStdString();
    EXPECT_TRUE(matches(R"(^RESPOSTA \(\d+\.\ds\): )", run.lines[0]));
    EXPECT_TRUE(run.lines[0].endsWith("): " + AnswerSanitizer::clean(first)))
        << run.lines[0].toStdString();
    EXPECT_EQ(run.lines[1], "FALADO: " + SpeechText::prepare(first));
    EXPECT_EQ(run.lines[2], "");
    EXPECT_EQ(run.lines[3], "↪ E agora?");
    EXPECT_TRUE(matches(R"(^RESPOSTA \(\d+\.\ds\): Segunda resposta\.$)", run.lines[4]))
        << run.lines[4].toStdString();
    EXPECT_EQ(run.lines[5], "FALADO: " + SpeechText::prepare("Segunda resposta."));

    // The trailing "--then" asks nothing; the second request carries the first turn, and
    // only the first saw the selection.
    ASSERT_EQ(model.calls(), 2);
    EXPECT_TRUE(sent(0).contains("texto marcado"));
    EXPECT_TRUE(sent(0).contains("Notas"));
    EXPECT_TRUE(sent(1).contains("Pedido: Oi"));
    EXPECT_TRUE(sent(1).contains(first));
    EXPECT_TRUE(sent(1).contains("Pedido: E agora?"));
    EXPECT_EQ(sent(1).count("texto marcado"), 1);
}

TEST_F(AgentSelfTest, AFailedRunIsAnErrorLineLeavesNoHistoryAndFailsTheTest) {
    model.fail(500, R"({"error":{"message":"sem memória"}})");
    model.reply("Agora foi.");
    const test::DevRun run =
        runNolvea({"--selftest-agent", "Primeiro pedido", "--then", "Segundo pedido"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 5) << run.output().toStdString();
    EXPECT_TRUE(run.lines[0].startsWith("ERRO: ")) << run.lines[0].toStdString();
    EXPECT_EQ(run.lines[2], "↪ Segundo pedido");
    EXPECT_TRUE(run.lines[3].startsWith("RESPOSTA (")) << run.lines[3].toStdString();
    ASSERT_EQ(model.calls(), 2);
    EXPECT_FALSE(sent(1).contains("Primeiro pedido"));
}

} // namespace
