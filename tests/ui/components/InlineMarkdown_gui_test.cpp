// The one rendering of model text: inline styles, literal block syntax and spacing, links
// only where they may open, and never the model's own HTML.
#include "ui/components/InlineMarkdown.h"
#include "ui/components/MarkdownText.h"

#include <QTextDocument>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

MarkdownRun plain(const char* t) {
    return {QString::fromUtf8(t)};
}
MarkdownRun strong(const char* t) {
    return {QString::fromUtf8(t), true};
}
MarkdownRun em(const char* t) {
    return {QString::fromUtf8(t), false, true};
}
MarkdownRun code(const char* t) {
    return {QString::fromUtf8(t), false, false, true};
}
MarkdownRun strike(const char* t) {
    return {QString::fromUtf8(t), false, false, false, true};
}
MarkdownRun link(const char* t, const char* target) {
    return {QString::fromUtf8(t), false, false, false, false, QString::fromUtf8(target)};
}

struct Case {
    const char* name;
    const char* text;
    QList<MarkdownRun> runs;
};

const Case kCases[] = {
    {"bold", "a **forte** b", {plain("a "), strong("forte"), plain(" b")}},
    {"bold underscores", "__forte__", {strong("forte")}},
    {"italic", "_leve_ e *leve*", {em("leve"), plain(" e "), em("leve")}},
    {"code keeps markup", "use `**x**` já", {plain("use "), code("**x**"), plain(" já")}},
    {"double backtick code", "``a ` b``", {code("a ` b")}},
    {"strikethrough", "~~velho~~ novo", {strike("velho"), plain(" novo")}},
    {"bold inside italic", "*a **b** c*", {em("a "), {"b", true, true}, em(" c")}},
    {"triple markers", "***tudo***", {{"tudo", true, true}}},
    {"heading stays literal", "# Título\ntexto", {plain("# Título\ntexto")}},
    {"list and quote stay literal", "- um\n> dois\n1. três", {plain("- um\n> dois\n1. três")}},
    {"line breaks and double spaces kept", "a  b\n\nc", {plain("a  b\n\nc")}},
    {"unclosed markers show as typed", "**aberto e `solto", {plain("**aberto e `solto")}},
    {"a spaced star is not emphasis", "2 * 3 * 4", {plain("2 * 3 * 4")}},
    {"underscores inside words", "nome_de_arquivo.txt", {plain("nome_de_arquivo.txt")}},
    {"escaped markers", "\\*não\\* e \\`nem\\`", {plain("*não* e `nem`")}},
    {"https link",
     "veja [o site](https://exemplo.com.br/a?b=1)",
     {plain("veja "), link("o site", "https://exemplo.com.br/a?b=1")}},
    {"styled label", "[**já**](http://x.org)", {{"já", true, false, false, false, "http://x.org"}}},
    {"mailto link",
     "[escreva](mailto:ana@exemplo.com)",
     {link("escreva", "mailto:ana@exemplo.com")}},
    {"autolink",
     "em <https://x.org/p>.",
     {plain("em "), link("https://x.org/p", "https://x.org/p"), plain(".")}},
    {"javascript link reads as its label", "[clique](javascript:alert(1))", {plain("clique")}},
    {"parentheses inside a target",
     "[Rio](https://pt.wikipedia.org/wiki/Rio_(cidade)).",
     {link("Rio", "https://pt.wikipedia.org/wiki/Rio_(cidade)"), plain(".")}},
    {"file link reads as its label", "[senhas](file:///etc/passwd)", {plain("senhas")}},
    {"relative link reads as its label", "[aqui](/caminho)", {plain("aqui")}},
    {"http without a host", "[x](http:semhost)", {plain("x")}},
    {"other autolinks stay literal", "<ftp://x.org/a>", {plain("<ftp://x.org/a>")}},
    {"html is text",
     "<b>oi</b> <a href=\"file:///\">x</a>",
     {plain("<b>oi</b> <a href=\"file:///\">x</a>")}},
    {"empty", "", {}},
};

} // namespace

TEST(InlineMarkdown, ParsesInlineStylesAndKeepsEverythingElseLiteral) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(InlineMarkdown::parse(QString::fromUtf8(c.text)), c.runs);
    }
}

TEST(InlineMarkdown, OpensOnlyWebAndMailLinks) {
    const struct {
        const char* target;
        bool opens;
    } cases[] = {
        {"https://exemplo.com", true},
        {"HTTP://EXEMPLO.COM/x", true},
        {"mailto:a@b.com", true},
        {"http://", false},
        {"mailto:", false},
        {"javascript:alert(1)", false},
        {"file:///etc/passwd", false},
        {"data:text/html,<b>x</b>", false},
        {"ftp://x.org", false},
        {"nolvea://abrir", false},
        {"/relativo", false},
        {"https://a b.com", false},
        {"https://x.org/\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(InlineMarkdown::isOpenableLink(QString::fromUtf8(c.target)), c.opens);
    }
}

// What the label is given is our own markup: the model's angle brackets and ampersands come
// out as the characters they are, and only allowed targets become anchors.
TEST(InlineMarkdown, HtmlEscapesTheTextAndKeepsLinesAndSpaces) {
    const QString text = QStringLiteral(
        "<img src=x onerror=alert(1)> & **a**\n[b](https://x.org/?q=1&r=2)  [c](file:///x)");
    QTextDocument doc;
    doc.setHtml(InlineMarkdown::toHtml(text));
    EXPECT_EQ(doc.toPlainText().replace(QChar(QChar::LineSeparator), u'\n'),
              QStringLiteral("<img src=x onerror=alert(1)> & a\nb  c"));
    const QString html = InlineMarkdown::toHtml(text);
    EXPECT_FALSE(html.contains(QStringLiteral("<img")));
    EXPECT_EQ(html.count(QStringLiteral("<a ")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"https://x.org/?q=1&amp;r=2\"")));
}

TEST(MarkdownText, ReadsAsPlainTextAndShowsTheTargetItPointsAt) {
    MarkdownText label(QStringLiteral("**Pronto**: veja [o mapa](https://mapa.org) e [isto](x:y)"));
    EXPECT_EQ(label.textFormat(), Qt::RichText);
    EXPECT_FALSE(label.openExternalLinks());
    EXPECT_EQ(label.accessibleName(), QStringLiteral("Pronto: veja o mapa e isto"));

    QStringList opened;
    QObject::connect(&label, &MarkdownText::linkOpened, [&](const QString& t) { opened << t; });
    // The label reports what is under the pointer; the target becomes the tooltip.
    Q_EMIT label.linkHovered(QStringLiteral("https://mapa.org"));
    EXPECT_EQ(label.toolTip(), QStringLiteral("https://mapa.org"));
    Q_EMIT label.linkHovered(QString());
    EXPECT_TRUE(label.toolTip().isEmpty());
    // Even a forged anchor cannot open anything but the allowed schemes.
    Q_EMIT label.linkActivated(QStringLiteral("file:///etc/passwd"));
    EXPECT_TRUE(opened.isEmpty());
}
