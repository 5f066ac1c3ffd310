#include "support/Async.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/settings/SettingsView.h"
#include "ui/windows/WindowManager.h"

#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace nolvea;
using Kind = WindowManager::Kind;
using Policy = WindowManager::ActivationPolicy;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(WindowManager, OneWindowOfEachKindBroughtToTheFront) {
    WindowManager wm;
    EXPECT_EQ(wm.activationPolicy(), Policy::accessory);
    wm.show(Kind::settings);
    QWidget* first = wm.window(Kind::settings);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "Ajustes da Nolvea");
    EXPECT_EQ(wm.activationPolicy(), Policy::regular);
    first->move(first->pos() + QPoint(37, 11));
    const QPoint moved = first->pos();
    wm.show(Kind::settings);
    EXPECT_EQ(wm.window(Kind::settings), first) << "no second settings window";
    EXPECT_EQ(first->pos(), moved) << "re-focusing does not re-centre";
    int settingsWindows = 0;
    for (auto* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Ajustes da Nolvea") ++settingsWindows;
    EXPECT_EQ(settingsWindows, 1);
}

TEST(WindowManager, PolicyFollowsTheOpenWindows) {
    WindowManager wm;
    QSignalSpy changes(&wm, &WindowManager::activationPolicyChanged);
    wm.show(Kind::settings);
    wm.show(Kind::onboarding);
    EXPECT_EQ(changes.count(), 1);
    wm.window(Kind::settings)->close();
    settle();
    EXPECT_EQ(wm.window(Kind::settings), nullptr);
    EXPECT_EQ(wm.activationPolicy(), Policy::regular) << "onboarding is still open";
    wm.window(Kind::onboarding)->close();
    settle();
    EXPECT_EQ(wm.activationPolicy(), Policy::accessory);
    EXPECT_EQ(changes.count(), 2);
    wm.didClose(Kind::settings); // nothing open: nothing happens
    EXPECT_EQ(changes.count(), 2);
}

TEST(WindowManager, FinishingOnboardingClosesItsWindow) {
    WindowManager wm;
    wm.show(Kind::onboarding);
    auto* view = wm.window(Kind::onboarding)->findChild<OnboardingView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->step(), OnboardingStep::welcome);
    view->finish();
    settle();
    EXPECT_EQ(wm.window(Kind::onboarding), nullptr);
    EXPECT_EQ(wm.activationPolicy(), Policy::accessory);
}

TEST(WindowManager, ReopenedWindowIsFreshAndCentred) {
    WindowManager wm;
    wm.show(Kind::settings);
    QPointer<QWidget> first = wm.window(Kind::settings);
    const QPoint centred = first->pos();
    first->move(centred + QPoint(50, 50));
    first->close();
    settle();
    EXPECT_TRUE(first.isNull()) << "the closed window is released";
    wm.show(Kind::settings);
    QWidget* second = wm.window(Kind::settings);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->pos(), centred);
    ASSERT_NE(second->findChild<SettingsView*>(), nullptr);
    EXPECT_EQ(second->findChild<SettingsView*>()->section(), SettingsView::Section::general);
}

TEST(WindowManager, SizesPerKind) {
    WindowManager wm;
    wm.show(Kind::onboarding);
    wm.show(Kind::settings);
    QWidget* onboarding = wm.window(Kind::onboarding);
    QWidget* settings = wm.window(Kind::settings);
    EXPECT_EQ(onboarding->windowTitle(), "Boas-vindas à Nolvea");
    EXPECT_EQ(onboarding->size(), QSize(780, 660));
    EXPECT_EQ(onboarding->minimumSize(), onboarding->maximumSize()) << "not resizable";
    EXPECT_EQ(settings->size(), QSize(760, 560));
    EXPECT_EQ(settings->minimumSize(), QSize(608, 448));
    settings->resize(100, 100);
    EXPECT_EQ(settings->size(), QSize(608, 448));
    EXPECT_EQ(onboarding->palette().color(QPalette::Window),
              QColor::fromRgbF(0.043f, 0.043f, 0.071f));
}

} // namespace
