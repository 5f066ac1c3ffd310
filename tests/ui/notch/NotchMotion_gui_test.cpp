// The island's motion as a model: what moves between two presentations, with which spring,
// after which delay, and what reduced motion leaves of it.
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchMotion.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Target = NotchMotion::Target;

namespace {

constexpr double kFrame = 1.0 / 60;

Target compact() {
    Target t;
    t.size = {298, 24};
    t.bottomRadius = 13;
    t.glow = {QColor(Qt::transparent), 0};
    return t;
}

Target listening(double level = 0) {
    Target t;
    t.size = {330, 24};
    t.bottomRadius = 13;
    t.stage = Stage::listening;
    QColor purple = Brand::roxo();
    purple.setAlphaF(0.35 + 0.5 * level);
    t.glow = {purple, 10 + 22 * level};
    t.markSize = {32, 24};
    return t;
}

Target card(Stage stage, double height, bool markShown = true) {
    Target t;
    t.size = {470, height};
    t.bottomRadius = 28;
    t.stage = stage;
    t.glow = {QColor(Qt::transparent), 0};
    t.markSize = {32, 24};
    t.markShown = markShown;
    return t;
}

double run(NotchMotion& m, double seconds) {
    double t = 0;
    for (; t < seconds - 1e-9; t += kFrame)
        m.advance(kFrame);
    return t;
}

} // namespace

// Every change of presentation reshapes the island with the morph: it starts where it was,
// passes through sizes and corners in between, and comes to rest on the target; without
// animation it is there at once.
TEST(NotchMotion, theIslandMorphsBetweenPresentations) {
    struct Case {
        const char* name;
        Target from, to;
    };
    const Case cases[] = {
        {"compact to listening", compact(), listening()},
        {"compact to hover", compact(), card(Stage::idle, 260)},
        {"hover to compact", card(Stage::idle, 260), compact()},
        {"working to confirm", card(Stage::processing, 120), card(Stage::confirming, 200)},
        {"answer to compact", card(Stage::answer, 300, false), compact()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotchMotion m;
        m.setTarget(c.from, true); // the first target is where it starts
        EXPECT_EQ(m.frame().size, c.from.size);
        m.setTarget(c.to, true);
        EXPECT_EQ(m.frame().size, c.from.size) << "nothing jumps";
        EXPECT_DOUBLE_EQ(m.frame().bottomRadius, c.from.bottomRadius);
        run(m, 0.12);
        const NotchMotion::Frame mid = m.frame();
        auto between = [](double v, double a, double b) {
            return v > std::min(a, b) && v < std::max(a, b);
        };
        EXPECT_TRUE(between(mid.size.width(), c.from.size.width(), c.to.size.width()) ||
                    c.from.size.width() == c.to.size.width())
            << mid.size.width();
        EXPECT_TRUE(between(mid.size.height(), c.from.size.height(), c.to.size.height()) ||
                    c.from.size.height() == c.to.size.height())
            << mid.size.height();
        EXPECT_TRUE(between(mid.bottomRadius, c.from.bottomRadius, c.to.bottomRadius) ||
                    c.from.bottomRadius == c.to.bottomRadius)
            << mid.bottomRadius;
        EXPECT_FALSE(m.advance(2)) << "at rest within two seconds";
        EXPECT_EQ(m.frame().size, c.to.size);
        EXPECT_DOUBLE_EQ(m.frame().bottomRadius, c.to.bottomRadius);

        NotchMotion still;
        still.setTarget(c.from, true);
        still.setTarget(c.to, false);
        EXPECT_EQ(still.frame().size, c.to.size) << "reduced motion lands at once";
        EXPECT_FALSE(still.advance(kFrame));
    }
}

// A new target mid-way bends the motion from where the island is, it does not restart it.
TEST(NotchMotion, aChangeOfMindContinuesFromWhereTheIslandIs) {
    NotchMotion m;
    m.setTarget(compact(), true);
    m.setTarget(card(Stage::idle, 260), true);
    run(m, 0.1);
    const QSizeF there = m.frame().size;
    m.setTarget(compact(), true);
    EXPECT_EQ(m.frame().size, there);
    m.advance(kFrame);
    EXPECT_LT(std::abs(m.frame().size.width() - there.width()), 20);
}

// The glow springs in and out with the stage, and within listening follows the microphone at
// once; the brand mark shrinks, blurs and fades where a status symbol takes its place.
TEST(NotchMotion, glowFollowsTheStageAndTheMarkGivesWayToTheStatus) {
    NotchMotion m;
    m.setTarget(compact(), true);
    m.setTarget(listening(0), true);
    EXPECT_DOUBLE_EQ(m.frame().glow.radius, 0) << "the glow grows in";
    run(m, 0.1);
    EXPECT_GT(m.frame().glow.radius, 0);
    EXPECT_LT(m.frame().glow.radius, 10);
    EXPECT_EQ(m.frame().glow.color.rgb(), Brand::roxo().rgb());
    m.finish();
    m.setTarget(listening(1), true);
    EXPECT_DOUBLE_EQ(m.frame().glow.radius, 32) << "levels move the glow at once";
    EXPECT_NEAR(m.frame().glow.color.alphaF(), 0.85, 0.01);
    m.setTarget(compact(), true);
    run(m, 0.1);
    EXPECT_GT(m.frame().glow.radius, 0) << "it fades out, still purple";
    EXPECT_EQ(m.frame().glow.color.rgb(), Brand::roxo().rgb());
    m.finish();
    EXPECT_EQ(m.frame().glow.color.alpha(), 0);

    EXPECT_EQ(m.frame().mark, TransitionLook{});
    m.setTarget(card(Stage::success, 80, false), true);
    run(m, 0.1);
    const TransitionLook going = m.frame().mark;
    EXPECT_LT(going.opacity, 1);
    EXPECT_GT(going.blur, 0);
    EXPECT_LT(going.scale, 1);
    EXPECT_GT(m.frame().markSize.width(), 24) << "the mark grows to its working size";
    m.finish();
    EXPECT_DOUBLE_EQ(m.frame().mark.opacity, 0);
    EXPECT_DOUBLE_EQ(m.frame().mark.scale, 0.5);
    EXPECT_DOUBLE_EQ(m.frame().mark.blur, 4);
}

// The old card fades out in 0.12 s with an ease-out curve; the new one waits 0.06 s and then
// scales in from 0.92 about its top centre with the morph.
TEST(NotchMotion, cardsFadeOutQuicklyAndScaleInAfterTheIslandBegins) {
    struct Case {
        const char* name;
        bool hadCard, hasCard, animated;
        bool leaves, comes;
    };
    const Case cases[] = {
        {"working to confirm", true, true, true, true, true},
        {"compact to hover", false, true, true, false, true},
        {"hover to compact", true, false, true, true, false},
        {"reduced motion", true, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotchMotion m;
        m.setTarget(compact(), true);
        m.replaceCard(c.hadCard, c.hasCard, c.animated);
        NotchMotion::Frame f = m.frame();
        EXPECT_EQ(f.leaving.has_value(), c.leaves);
        if (c.leaves) {
            EXPECT_DOUBLE_EQ(f.leaving->opacity, 1);
            EXPECT_DOUBLE_EQ(f.leaving->scale, 1) << "a fade only";
        }
        if (c.comes)
            EXPECT_EQ(f.card, NotchMotion::cardIn(0));
        else
            EXPECT_TRUE(f.card.isIdentity());
        run(m, 0.05);
        f = m.frame();
        if (c.comes) EXPECT_EQ(f.card, NotchMotion::cardIn(0)) << "still waiting";
        if (c.leaves) {
            ASSERT_TRUE(f.leaving);
            EXPECT_LT(f.leaving->opacity, 0.5) << "ease-out: most of the fade is early";
        }
        run(m, 0.08);
        f = m.frame();
        EXPECT_FALSE(f.leaving) << "gone after 0.12 s";
        if (c.comes) {
            EXPECT_GT(f.card.opacity, 0);
            EXPECT_LT(f.card.opacity, 1);
            EXPECT_GT(f.card.scale, 0.92);
            EXPECT_EQ(f.card.anchor, QPointF(0.5, 0));
        }
        m.advance(3);
        EXPECT_TRUE(m.frame().card.isIdentity());
    }

    // Replaced again before it was in: the leaving picture starts from what was shown.
    NotchMotion m;
    m.setTarget(compact(), true);
    m.replaceCard(false, true, true);
    run(m, 0.08);
    const double shown = m.frame().card.opacity;
    m.replaceCard(true, true, true);
    ASSERT_TRUE(m.frame().leaving);
    EXPECT_NEAR(m.frame().leaving->opacity, shown, 1e-9);
}

// The smaller pieces: recent rows cascade from 6 px above, 0.04 s apart; the paper plane flies
// up and right, shrinking and fading, while the check mark grows in; a field's send button
// grows from a point.
TEST(NotchMotion, piecesLooks) {
    struct Case {
        const char* name;
        TransitionLook look;
        double scale, opacity;
        QPointF offset;
    };
    const Case cases[] = {
        {"row coming", NotchMotion::row(0), 1, 0, {0, -6}},
        {"row in", NotchMotion::row(1), 1, 1, {0, 0}},
        {"plane before", NotchMotion::plane(0), 1, 1, {0, 0}},
        {"plane flown", NotchMotion::plane(1), 0.4, 0, {26, -22}},
        {"check before", NotchMotion::check(0), 0.2, 0, {0, 0}},
        {"check after", NotchMotion::check(1), 1, 1, {0, 0}},
        {"card coming", NotchMotion::cardIn(0), 0.92, 0, {0, 0}},
        {"send button coming", NotchMotion::sendButton(0), 0.00001, 0, {0, 0}},
        {"send button in", NotchMotion::sendButton(1), 1, 1, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.look.scale, c.scale, 1e-9);
        EXPECT_NEAR(c.look.opacity, c.opacity, 1e-9);
        EXPECT_EQ(c.look.offset, c.offset);
    }
    // A button's new symbol and the working capsule come blurred and smaller, grow in and
    // clear up; the capsule with the stage's spring.
    for (auto look : {&NotchMotion::symbolSwap, &NotchMotion::capsule}) {
        EXPECT_EQ(look(0), Transitions::blurReplace(0));
        EXPECT_GT(look(0).blur, 0);
        EXPECT_LT(look(0).scale, 1);
        EXPECT_TRUE(look(1).isIdentity());
    }
    EXPECT_EQ(NotchMotion::capsuleSpring(), Theme::morph());
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(NotchMotion::rowDelay(i), 0.04 * i, 1e-12);
    EXPECT_EQ(NotchMotion::flight(), (SpringSpec{0.55, 0.7, 0}));
    EXPECT_DOUBLE_EQ(NotchMotion::kFlightDelay, 0.15);
}

// The room a field's text leaves at its end: the key cap's while empty, the send button's once
// anything is typed, each with its gap; none where nothing shows.
TEST(NotchMotion, fieldRoom) {
    struct Case {
        const char* name;
        bool empty;
        int keyCap, send, gap;
        double room;
    };
    const Case cases[] = {
        {"hover field, empty", true, 20, 22, 10, 30},
        {"hover field, typed", false, 20, 22, 10, 32},
        {"reply field, empty", true, 0, 20, 8, 0},
        {"reply field, typed", false, 0, 20, 8, 28},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(NotchMotion::fieldRoom(c.empty, c.keyCap, c.send, c.gap), c.room)
            << c.name;
}

// Which way each ear's symbol comes and goes, and what it does while it stays.
TEST(NotchMotion, earSwapsAndSymbolEffects) {
    using Right = NotchEars::Right;
    using Swap = NotchMotion::EarSwap;
    using Effect = NotchMotion::SymbolEffect;
    struct Case {
        Right right;
        Swap swap;
        Effect effect;
    };
    const Case cases[] = {
        {Right::target, Swap::blurReplace, Effect::none},
        {Right::tool, Swap::blurReplace, Effect::pulse},
        {Right::thinking, Swap::blurReplace, Effect::pulse},
        {Right::unseen, Swap::scaleFade, Effect::none},
        {Right::question, Swap::scaleFade, Effect::pulse},
        {Right::conversation, Swap::scaleFade, Effect::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.right));
        EXPECT_EQ(NotchMotion::rightSwap(c.right), c.swap);
        EXPECT_EQ(NotchMotion::rightEffect(c.right), c.effect);
    }
    EXPECT_EQ(NotchMotion::earLook(Swap::blurReplace, 0), Transitions::blurReplace(0));
    EXPECT_EQ(NotchMotion::earLook(Swap::scaleFade, 0), NotchMotion::sendButton(0));

    struct Status {
        Stage stage;
        bool speaking;
        Effect effect;
    };
    const Status statuses[] = {
        {Stage::success, false, Effect::bounce}, {Stage::error, false, Effect::none},
        {Stage::answer, true, Effect::pulse},    {Stage::answer, false, Effect::none},
        {Stage::listening, false, Effect::none},
    };
    for (const Status& s : statuses)
        EXPECT_EQ(NotchMotion::statusEffect(s.stage, s.speaking), s.effect) << int(s.stage);

    // A pulse dims and comes back within its period, and never vanishes.
    EXPECT_DOUBLE_EQ(NotchMotion::pulse(0), 1);
    EXPECT_NEAR(NotchMotion::pulse(NotchMotion::kPulsePeriod / 2), 0.4, 1e-9);
    EXPECT_NEAR(NotchMotion::pulse(NotchMotion::kPulsePeriod), 1, 1e-9);
}
