#include "speech/SpeechText.h"

#include "support/Graphemes.h"

#include <gtest/gtest.h>

using namespace nolvea;

TEST(SpeechText, PrepareKeepsOnlyWhatIsRead) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"**Pronto!** Enviei o *e-mail*.", "Pronto! Enviei o e-mail."},
        {"## Agenda\n- reunião às 10h\n- almoço", "Agenda. reunião às 10h. almoço"},
        {"Veja [o site](https://example.com/a?b=1) ou https://www.nolvea.app/docs",
         "Veja o site ou nolvea.app"},
        {"Use `git pull` 👍🏽 agora", "Use git pull agora"},
        {"1. primeiro\n2) segundo:\n\n> citação", "primeiro. segundo: citação"},
        {"snake_case_name e 2*3*4", "snake_case_name e 2*3*4"},
        {"```bash\nls -la\n```", "ls -la"},
        {"   ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpeechText::prepare(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(SpeechText, SentencesSplitAtTheirEnds) {
    EXPECT_EQ(
        SpeechText::sentences(QStringLiteral("Oi. Tudo bem? Sim! Custa 3.5 reais… ok"), 200),
        (QStringList{QStringLiteral("Oi."), QStringLiteral("Tudo bem?"), QStringLiteral("Sim!"),
                     QStringLiteral("Custa 3.5 reais…"), QStringLiteral("ok")}));
    EXPECT_TRUE(SpeechText::sentences(QString(), 200).isEmpty());
    EXPECT_TRUE(SpeechText::sentences(QStringLiteral("  "), 200).isEmpty());
}

TEST(SpeechText, LongSentencesAreCutAtCommasThenWordsNeverOverTheLimit) {
    const QString text = QStringLiteral(
        "Hoje tenho reunião com a equipe de vendas, depois almoço com a Ana, e à tarde preciso "
        "revisar o contrato inteiro antes das cinco horas da tarde sem falta. Fim.");
    const QStringList parts = SpeechText::sentences(text, 40);
    for (const QString& p : parts)
        EXPECT_LE(Graphemes::count(p), 40) << p.toStdString();
    EXPECT_EQ(parts.first(), QStringLiteral("Hoje tenho reunião com a equipe de"));
    EXPECT_EQ(parts.last(), QStringLiteral("Fim."));
    EXPECT_EQ(parts.join(QLatin1Char(' ')).simplified(), text.simplified());

    const QStringList commas =
        SpeechText::sentences(QStringLiteral("Primeiro isto, depois aquilo, por fim o resto."), 20);
    EXPECT_EQ(commas,
              (QStringList{QStringLiteral("Primeiro isto,"), QStringLiteral("depois aquilo,"),
                           QStringLiteral("por fim o resto.")}));

    // Only a single overlong word is cut inside, whole characters kept.
    const QStringList word =
        SpeechText::sentences(QStringLiteral("é ") + QString(25, QLatin1Char('a')), 10);
    EXPECT_EQ(word, (QStringList{QStringLiteral("é"), QString(10, QLatin1Char('a')),
                                 QString(10, QLatin1Char('a')), QString(5, QLatin1Char('a'))}));
}
