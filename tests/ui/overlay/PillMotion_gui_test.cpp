// The pill's motion as a model: how its shapes move between layouts over time.
#include "ui/animation/Transitions.h"
#include "ui/overlay/PillMotion.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

const QRect kListening(180, 400, 282, 46);
const QRect kCard(110, 260, 420, 186);

PillMotion::Layout listening(bool agentDrop = false, bool bubble = false) {
    PillMotion::Layout l;
    l.group = true;
    l.pill = kListening;
    l.radius = 23;
    l.shadow = 0.22;
    if (agentDrop) l.agentDrop = QRect(132, 403, 40, 40);
    if (bubble) l.bubble = QRect(200, 344, 240, 46);
    return l;
}

PillMotion::Layout card() {
    PillMotion::Layout l;
    l.group = true;
    l.pill = kCard;
    l.radius = 26;
    l.shadow = 0.22;
    return l;
}

// Runs the motion at 60 frames a second for `seconds`.
void run(PillMotion& m, double seconds) {
    for (double t = 0; t < seconds; t += 1.0 / 60)
        m.advance(1.0 / 60);
}

TEST(PillMotion, TheGroupRisesInAlreadyInShapeAndSinksAwayAsItWas) {
    PillMotion m;
    EXPECT_FALSE(m.frame().group) << "nothing at idle";
    m.setLayout(listening(true), true, Theme::morph());
    PillMotion::Frame f = m.frame();
    ASSERT_TRUE(f.group);
    EXPECT_EQ(f.groupLook, Transitions::liquidAppear(0));
    EXPECT_EQ(f.pill, QRectF(kListening)) << "the capsule does not grow out of nothing";
    ASSERT_TRUE(f.agentDrop);
    EXPECT_TRUE(f.agentDrop->look.isIdentity()) << "the drops come with the group";
    run(m, 0.15);
    EXPECT_GT(m.frame().groupLook.opacity, 0.3);
    EXPECT_LT(m.frame().groupLook.scale, 1);
    run(m, 2);
    EXPECT_TRUE(m.frame().groupLook.isIdentity());

    m.setLayout({}, true, Theme::morph());
    f = m.frame();
    ASSERT_TRUE(f.group) << "still there on its way out";
    EXPECT_EQ(f.pill, QRectF(kListening));
    EXPECT_TRUE(f.agentDrop) << "everything leaves together";
    run(m, 0.15);
    EXPECT_LT(m.frame().groupLook.opacity, 0.7);
    EXPECT_GT(m.frame().groupLook.offset.y(), 5);
    run(m, 2);
    EXPECT_FALSE(m.frame().group);

    // Coming back while still leaving picks up from where it was.
    m.setLayout(listening(), true, Theme::morph());
    run(m, 0.1);
    m.setLayout({}, true, Theme::morph());
    run(m, 0.05);
    const double opacity = m.frame().groupLook.opacity;
    m.setLayout(listening(), true, Theme::morph());
    run(m, 0.02);
    EXPECT_GT(m.frame().groupLook.opacity, opacity - 0.05);
}

TEST(PillMotion, TheCapsuleMorphsBetweenStagesAndEndsExactlyInPlace) {
    PillMotion m;
    m.setLayout(listening(), false, Theme::morph());
    m.setLayout(card(), true, Theme::morph());
    EXPECT_EQ(m.frame().pill, QRectF(kListening)) << "it starts where it was";
    run(m, 0.12);
    const PillMotion::Frame mid = m.frame();
    EXPECT_GT(mid.pill.width(), kListening.width() + 20);
    EXPECT_LT(mid.pill.width(), kCard.width());
    EXPECT_GT(mid.radius, 23);
    EXPECT_LT(mid.radius, 26);
    run(m, 3);
    EXPECT_EQ(m.frame().pill, QRectF(kCard));
    EXPECT_EQ(m.frame().radius, 26);
    EXPECT_FALSE(m.advance(1.0 / 60)) << "at rest it asks for no more frames";

    // A quicker spring when only the text changed: the same way, sooner there.
    PillMotion slow, quick;
    for (auto [motion, spring] :
         {std::pair{&slow, Theme::morph()}, std::pair{&quick, Theme::snappy()}}) {
        motion->setLayout(listening(), false, spring);
        motion->setLayout(card(), true, spring);
        run(*motion, 0.1);
    }
    EXPECT_GT(quick.frame().pill.width(), slow.frame().pill.width());
}

TEST(PillMotion, DropsAndTheBubbleGrowInAndMeltAway) {
    PillMotion m;
    m.setLayout(listening(), false, Theme::morph());
    m.setLayout(listening(true, true), true, Theme::morph());
    PillMotion::Frame f = m.frame();
    ASSERT_TRUE(f.agentDrop);
    ASSERT_TRUE(f.bubble);
    EXPECT_EQ(f.agentDrop->rect, QRectF(132, 403, 40, 40)) << "it grows where it will be";
    EXPECT_EQ(f.agentDrop->look, Transitions::scaleFade(0.3, {0.5, 0.5}, 0));
    EXPECT_EQ(f.bubble->look.opacity, 0);
    EXPECT_EQ(f.bubble->look.blur, Transitions::kBlurReplaceBlur);
    EXPECT_DOUBLE_EQ(f.bubble->look.scale, 0.8 * Transitions::kBlurReplaceScale);
    run(m, 0.2);
    f = m.frame();
    // The bubble comes on the gentler spring, the drop on the stage's.
    EXPECT_GT(f.agentDrop->look.opacity, f.bubble->look.opacity);
    run(m, 3);
    EXPECT_TRUE(m.frame().agentDrop->look.isIdentity());
    EXPECT_TRUE(m.frame().bubble->look.isIdentity());

    m.setLayout(listening(), true, Theme::morph());
    run(m, 0.1);
    f = m.frame();
    ASSERT_TRUE(f.agentDrop) << "melting away";
    EXPECT_EQ(f.agentDrop->rect, QRectF(132, 403, 40, 40));
    EXPECT_LT(f.agentDrop->look.opacity, 1);
    EXPECT_LT(f.agentDrop->look.scale, 1);
    run(m, 3);
    EXPECT_FALSE(m.frame().agentDrop);
    EXPECT_FALSE(m.frame().bubble);
}

TEST(PillMotion, ContentBlursOutAsTheNextBlursIn) {
    PillMotion m;
    m.setLayout(listening(), false, Theme::morph());
    m.replaceContent(true);
    PillMotion::Frame f = m.frame();
    EXPECT_EQ(f.content, Transitions::blurReplace(0));
    ASSERT_TRUE(f.leaving);
    EXPECT_EQ(*f.leaving, Transitions::blurReplace(1));
    run(m, 0.1);
    f = m.frame();
    EXPECT_GT(f.content.opacity, 0);
    ASSERT_TRUE(f.leaving);
    EXPECT_LT(f.leaving->opacity, 1);
    run(m, 3);
    EXPECT_TRUE(m.frame().content.isIdentity());
    EXPECT_FALSE(m.frame().leaving);

    // From idle the new content simply comes with the group.
    PillMotion fresh;
    fresh.replaceContent(true);
    EXPECT_TRUE(fresh.frame().content.isIdentity());
    EXPECT_FALSE(fresh.frame().leaving);
}

TEST(PillMotion, WithoutMotionOrAfterFinishEverythingIsInPlace) {
    PillMotion m;
    m.setLayout(listening(true, true), false, Theme::morph());
    PillMotion::Frame f = m.frame();
    EXPECT_TRUE(f.groupLook.isIdentity());
    EXPECT_EQ(f.pill, QRectF(kListening));
    EXPECT_TRUE(f.bubble && f.bubble->look.isIdentity());
    m.setLayout(card(), false, Theme::morph());
    f = m.frame();
    EXPECT_EQ(f.pill, QRectF(kCard));
    EXPECT_FALSE(f.bubble) << "gone at once";
    EXPECT_FALSE(f.agentDrop);

    m.setLayout(listening(true), true, Theme::morph());
    m.replaceContent(true);
    run(m, 0.05);
    m.finish();
    f = m.frame();
    EXPECT_EQ(f.pill, QRectF(kListening));
    EXPECT_TRUE(f.agentDrop && f.agentDrop->look.isIdentity());
    EXPECT_TRUE(f.content.isIdentity());
    EXPECT_FALSE(f.leaving);
    m.setLayout({}, false, Theme::morph());
    EXPECT_FALSE(m.frame().group);
}

} // namespace
