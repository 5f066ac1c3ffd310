// A changing text morphs: words both texts start with glide to their new place, the rest fade
// across, and the label reports the new text from the first moment.
#include "support/FrameSteps.h"
#include "ui/animation/MorphingLabel.h"
#include "ui/animation/TextMorph.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(TextMorph, SharedPrefixStopsAtAWordBoundary) {
    struct Case {
        const char* from;
        const char* to;
        int shared;
    };
    const Case cases[] = {
        {"abre o", "abre o mapa", 6},       // a word added
        {"abre o ma", "abre o mapa", 7},    // the last word still being heard changes
        {"abre o mapa", "abre o mapa", 11}, // nothing changed
        {"abre o mapa", "abre a porta", 5}, // a word in the middle changed
        {"", "abre", 0},
        {"abre", "", 0},
        {"manda", "mande um e-mail", 0}, // the first word changed
        {"liga pra mãe", "liga pra mãe agora", 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextMorph::sharedPrefix(QString::fromUtf8(c.from), QString::fromUtf8(c.to)),
                  c.shared)
            << c.from << " → " << c.to;
}

class Morph : public ::testing::Test {
protected:
    QFont font{QStringLiteral("DejaVu Sans"), 14};
    const Qt::Alignment centred = Qt::AlignCenter;

    TextMorph morph(const QString& from, const QString& to) const {
        return TextMorph(from, to, font, 300, 60, centred);
    }
    static std::vector<QString> texts(const std::vector<TextMorph::Piece>& pieces, double opacity) {
        std::vector<QString> out;
        for (const auto& p : pieces)
            if (p.opacity == opacity) out.push_back(p.text);
        return out;
    }
};

TEST_F(Morph, EndsAreTheTwoTextsAsLaidOut) {
    const QString from = QStringLiteral("abre o ma"), to = QStringLiteral("abre o mapa agora");
    const TextMorph m = morph(from, to);
    const auto fromWords = TextMorph::layoutWords(from, font, 300, 60, centred);
    const auto toWords = TextMorph::layoutWords(to, font, 300, 60, centred);

    const auto start = m.pieces(0);
    ASSERT_EQ(texts(start, 1), (std::vector<QString>{"abre", "o", "ma"}));
    for (std::size_t i = 0; i < fromWords.size(); ++i)
        EXPECT_EQ(start[i].origin, fromWords[i].origin);

    const auto end = m.pieces(1);
    ASSERT_EQ(texts(end, 1), (std::vector<QString>{"abre", "o", "mapa", "agora"}));
    for (std::size_t i = 0; i < toWords.size(); ++i)
        EXPECT_EQ(end[i].origin, toWords[i].origin);
}

TEST_F(Morph, KeptWordsGlideWhileChangedWordsFadeAcross) {
    // A centred line re-centres when a word arrives: the kept words move left.
    const TextMorph m = morph(QStringLiteral("abre o"), QStringLiteral("abre o mapa"));
    const auto before = m.pieces(0), half = m.pieces(0.5), after = m.pieces(1);
    ASSERT_EQ(half.size(), 3u);
    EXPECT_EQ(half[0].text, "abre");
    EXPECT_EQ(half[0].opacity, 1);
    EXPECT_LT(after[0].origin.x(), before[0].origin.x());
    EXPECT_DOUBLE_EQ(half[0].origin.x(), (before[0].origin.x() + after[0].origin.x()) / 2);
    EXPECT_EQ(half[2].text, "mapa");
    EXPECT_GT(half[2].opacity, 0);
    EXPECT_LT(half[2].opacity, 0.5) << "new words arrive late, once the kept ones have moved";
    const auto early = m.pieces(TextMorph::kOverlap);
    EXPECT_EQ(early.size(), 2u) << "nothing new shows in the first part of the way";

    // A changed word leaves early: gone before the end, while the new one is not yet whole.
    const TextMorph change = morph(QStringLiteral("abre a porta"), QStringLiteral("abre o mapa"));
    const auto late = change.pieces(1 - TextMorph::kOverlap);
    EXPECT_EQ(texts(late, 1), (std::vector<QString>{"abre"}));
    EXPECT_EQ(late.size(), 3u) << "abre and the two arriving words";

    // A spring's overshoot moves words past their place but never fades beyond the ends.
    for (const auto& p : m.pieces(1.1))
        EXPECT_EQ(p.opacity, 1) << p.text.toStdString();
}

TEST_F(Morph, ALongTextWrapsAndEveryWordStaysInsideTheBox) {
    const QString to = QStringLiteral("manda um e-mail pro João dizendo que eu chego amanhã "
                                      "depois do almoço e que levo os documentos");
    const auto words = TextMorph::layoutWords(to, font, 300, 200, centred);
    const QFontMetricsF fm(font);
    qreal lastY = words.front().origin.y();
    int lines = 1;
    for (const auto& w : words) {
        const qreal right = w.origin.x() + fm.horizontalAdvance(to.mid(w.start, w.length));
        EXPECT_GE(w.origin.x(), 0);
        EXPECT_LE(right, 300.5);
        if (w.origin.y() > lastY) ++lines, lastY = w.origin.y();
    }
    EXPECT_GE(lines, 3);
}

class Label : public test::FrameSteps {
protected:
    void SetUp() override {
        FrameSteps::SetUp();
        label.setAlignment(Qt::AlignCenter);
        label.setWordWrap(true);
        label.resize(300, 40);
        label.setText(QStringLiteral("abre o"));
        label.show();
    }

    MorphingLabel label;
};

TEST_F(Label, ReadsTheNewTextAtOnceAndSettlesIntoIt) {
    label.morphTo(QStringLiteral("abre o mapa"));
    EXPECT_EQ(label.text(), "abre o mapa");
    EXPECT_TRUE(label.isMorphing());
    run(100);
    EXPECT_GT(label.progress(), 0);
    EXPECT_LT(label.progress(), 1);
    QImage mid(label.size(), QImage::Format_ARGB32);
    mid.fill(Qt::transparent);
    label.render(&mid);
    int inked = 0;
    for (int y = 0; y < mid.height(); ++y)
        for (int x = 0; x < mid.width(); ++x)
            inked += qAlpha(mid.pixel(x, y)) > 0;
    EXPECT_GT(inked, 50) << "the words are drawn mid-morph";
    run(2000);
    EXPECT_FALSE(label.isMorphing());
    EXPECT_EQ(label.progress(), 1);
}

TEST_F(Label, CutsWhenMotionIsReducedOrFromNothing) {
    FrameClock::shared().setReduceMotion(true);
    label.morphTo(QStringLiteral("abre o mapa"));
    EXPECT_FALSE(label.isMorphing());
    FrameClock::shared().setReduceMotion(false);

    label.setText(QString());
    label.morphTo(QStringLiteral("oi"));
    EXPECT_FALSE(label.isMorphing()) << "the first words simply appear";

    label.hide();
    label.morphTo(QStringLiteral("oi tudo bem"));
    EXPECT_FALSE(label.isMorphing()) << "nothing moves off screen";
}

} // namespace
