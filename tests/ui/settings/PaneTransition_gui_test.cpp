#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"
#include "ui/settings/PaneTransition.h"
#include "ui/settings/PaneTransitionModel.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/VocabularySettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using Section = SettingsSection;

namespace {

void deliverDeletes() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The settings view on screen, with frames given by a clock moved by hand.
class PaneSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        FrameClock::shared().setReduceMotion(false);
        view = std::make_unique<SettingsView>();
        view->resize(860, 620);
        view->show();
    }
    void TearDown() override {
        view.reset();
        FrameClock::shared().setReduceMotion(false);
        Clock::install(nullptr);
    }
    void advance(int ms) {
        for (int t = 0; t < ms; t += FrameClock::kIntervalMs)
            clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
        QCoreApplication::processEvents();
    }
    QWidget* column() const { return view->findChild<QScrollArea*>()->viewport(); }
    QWidget* paneFrame() const { return view->pane()->parentWidget(); }

    ManualClock clock;
    std::unique_ptr<SettingsView> view;
};

TEST_F(PaneSwitch, TheOldPaneBlursAwayWhileTheNewOneComesIn) {
    EXPECT_EQ(view->transition(), nullptr) << "the first pane simply appears";
    view->setSection(Section::vocabulary);
    QPointer<PaneTransition> t = view->transition();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->parentWidget(), column());
    EXPECT_EQ(t->geometry(), column()->rect());
    EXPECT_NE(paneFrame()->graphicsEffect(), nullptr);
    EXPECT_EQ(t->presence(), 0);

    advance(170);
    ASSERT_TRUE(t);
    EXPECT_GT(t->presence(), 0.2);
    EXPECT_LT(t->presence(), 0.95);
    EXPECT_NEAR(t->presence(), PaneTransitionModel::presenceAt(0.17), 0.08);
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(view->grab().save(dir + QStringLiteral("/settings-switching.png")));

    // The new pane takes typing while it comes in.
    auto* vocabulary = qobject_cast<VocabularySettings*>(view->pane());
    ASSERT_NE(vocabulary, nullptr);
    QTest::keyClicks(vocabulary->field(), "Tesmiro");
    EXPECT_EQ(vocabulary->field()->text(), "Tesmiro");

    advance(2000);
    deliverDeletes();
    EXPECT_FALSE(t) << "the switch ends by itself";
    EXPECT_EQ(view->transition(), nullptr);
    EXPECT_EQ(paneFrame()->graphicsEffect(), nullptr) << "the pane draws plainly again";
}

TEST_F(PaneSwitch, ASwitchMidWayTakesOverFromTheFirst) {
    view->setSection(Section::vocabulary);
    QPointer<PaneTransition> first = view->transition();
    advance(100);
    view->setSection(Section::agent);
    deliverDeletes();
    EXPECT_FALSE(first);
    EXPECT_EQ(column()->findChildren<PaneTransition*>().size(), 1);
    ASSERT_NE(view->transition(), nullptr);
    EXPECT_EQ(view->transition()->presence(), 0);
    advance(2000);
    deliverDeletes();
    EXPECT_TRUE(column()->findChildren<PaneTransition*>().isEmpty());
}

TEST_F(PaneSwitch, ReducedMotionReplacesThePaneAtOnce) {
    FrameClock::shared().setReduceMotion(true);
    view->setSection(Section::about);
    EXPECT_EQ(view->transition(), nullptr);
    EXPECT_EQ(paneFrame()->graphicsEffect(), nullptr);

    // Asked for while a switch is under way: it ends where it was going.
    FrameClock::shared().setReduceMotion(false);
    view->setSection(Section::ai);
    QPointer<PaneTransition> t = view->transition();
    ASSERT_TRUE(t);
    advance(50);
    FrameClock::shared().setReduceMotion(true);
    deliverDeletes();
    EXPECT_FALSE(t);
    EXPECT_EQ(paneFrame()->graphicsEffect(), nullptr);
}

} // namespace
