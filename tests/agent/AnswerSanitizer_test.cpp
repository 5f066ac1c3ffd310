#include "agent/AnswerSanitizer.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using nolvea::AnswerSanitizer::clean;

TEST(AnswerSanitizer, RemovesLinksIdsAndCodes) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"Link: https://example.com/a?b=1", ""},
        {"Veja o web link: http://x.org/p aqui.", "Veja o aqui."},
        {"Enviei o e-mail (ID: 0123456789abcdef).", "Enviei o e-mail."},
        {"Abra (https://docs.google.com/document/d/abc ) agora", "Abra agora"},
        {"Arquivo em https://drive.google.com/file/x e https://mail.google.com/mail/u/0/#inbox.",
         "Arquivo em e"},
        {"Outro site https://example.com/x fica.", "Outro site https://example.com/x fica."},
        {"Mensagem message id: 18c2f3a4b5 recebida", "Mensagem recebida"},
        {"thread-id=ab1234 e msg_id 99zz", "e"},
        {"id abc123 fica: o dígito precisa de três depois",
         "id abc123 fica: o dígito precisa de três depois"},
        {"Código ABCDEF0123456789 removido", "Código removido"},
        {"Mantém abcdef012345678 (15)", "Mantém abcdef012345678 (15)"},
        {"Número 1234567890123456 longo", "Número longo"},
        {"Resumo:\n- Link:\nfim", "Resumo:\nfim"},
        {"• ID:\nnada", "nada"},
        {"a  \t b , c ; d .", "a b, c; d."},
        {"linha 1   \nlinha 2  ", "linha 1\nlinha 2"},
        {"Sem nada a mudar.", "Sem nada a mudar."},
        {"Idade 2024 é um ano", "Idade 2024 é um ano"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(clean(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
    }
}

TEST(AnswerSanitizer, NeverLeavesDoubleSpacesOrSpacesBeforePunctuation) {
    const QString out = clean(QStringLiteral(
        "Pronto ,  enviei (id: a1b2c3d4) para ana . Veja link: https://x.y/z ;\n  fim  \n"));
    EXPECT_FALSE(out.contains(QStringLiteral("  ")));
    for (const char* p : {" ,", " .", " ;", " :", " \n"})
        EXPECT_FALSE(out.contains(QString::fromUtf8(p))) << p;
    EXPECT_EQ(out, QStringLiteral("Pronto, enviei para ana. Veja;\n fim"));
}
