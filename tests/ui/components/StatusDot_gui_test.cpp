#include "ui/components/StatusDot.h"
#include "ui/components/Theme.h"

#include <QHBoxLayout>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(StatusDot, ColourByConnection) {
    const QColor orange(255, 149, 0), gray(142, 142, 147);
    const std::pair<AIConnection, QColor> cases[] = {
        {AIConnection::online, Theme::success()}, {AIConnection::offline, Theme::failure()},
        {AIConnection::sleeping, gray},           {AIConnection::checking, orange},
        {AIConnection::unknown, orange},
    };
    for (const auto& [c, colour] : cases)
        EXPECT_EQ(StatusDot::color(c), colour) << rawValue(c).toStdString();
}

TEST(StatusDot, HaloGrowsAndFadesEveryPulse) {
    struct Case {
        double elapsed, scale, opacity;
    } cases[] = {
        {0, 1, 1},
        {1.6, 1, 1},
        {3.2, 1, 1},
        {-1, 1, 1},
    };
    for (const auto& c : cases) {
        const auto h = StatusDot::halo(c.elapsed);
        EXPECT_NEAR(h.scale, c.scale, 1e-6) << c.elapsed;
        EXPECT_NEAR(h.opacity, c.opacity, 1e-6) << c.elapsed;
    }
    // Ease-out: past the middle of the pulse the halo is more than half grown; it nears 2.4
    // and nothing at the end.
    const auto mid = StatusDot::halo(0.8);
    EXPECT_GT(mid.scale, 1 + 1.4 * 0.5);
    EXPECT_NEAR(mid.opacity, 1 - (mid.scale - 1) / 1.4, 1e-9);
    const auto late = StatusDot::halo(1.599);
    EXPECT_NEAR(late.scale, 2.4, 1e-2);
    EXPECT_NEAR(late.opacity, 0, 1e-2);
    // It never reverses: the scale only grows within a pulse.
    double last = 0;
    for (double t = 0; t < 1.6; t += 0.05) {
        EXPECT_GE(StatusDot::halo(t).scale, last);
        last = StatusDot::halo(t).scale;
    }
}

TEST(StatusDot, TakesTenByTenWhileTheHaloSpills) {
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    layout->setContentsMargins(20, 20, 20, 20);
    auto* dot = new StatusDot(AIConnection::checking);
    layout->addWidget(dot);
    host.show();
    EXPECT_EQ(dot->size(), QSize(10, 10));
    EXPECT_EQ(dot->sizeHint().isValid() ? dot->minimumSize() : QSize(10, 10), QSize(10, 10));
    // The halo is a sibling behind the dot, big enough for 2.4 × 10 and centred on it.
    QWidget* halo = nullptr;
    for (auto* w : host.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != dot) halo = w;
    ASSERT_NE(halo, nullptr);
    EXPECT_GE(halo->width(), 24);
    EXPECT_TRUE(halo->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_LE(std::abs(halo->geometry().center().x() - dot->geometry().center().x()), 1);
}

TEST(StatusDot, ChangeBlendsFromTheShownColour) {
    QWidget host;
    auto* dot = new StatusDot(AIConnection::checking, &host);
    host.show();
    EXPECT_EQ(dot->shownColor(), StatusDot::color(AIConnection::checking));
    dot->setConnection(AIConnection::online);
    // Right after the change the colour is still orange; it ends at the success green.
    EXPECT_EQ(dot->shownColor(), StatusDot::color(AIConnection::checking));
    EXPECT_NEAR(StatusDot::blend(Qt::black, Qt::white, 0.5).redF(), 0.5, 1e-4);
    EXPECT_EQ(StatusDot::blend(Qt::black, Qt::white, 2), QColor(Qt::white));
}

} // namespace
