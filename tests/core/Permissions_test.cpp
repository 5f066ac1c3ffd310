#include "core/Permissions.h"
#include "platform/PermissionProbe.h"
#include "support/fakes/FakePermissionProbe.h"
#include "support/fakes/ManualClock.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(Permissions, NotifiesOnlyWhenTheGrantedSetChanges) {
    auto probe = std::make_shared<test::FakePermissionProbe>();
    probe->granted = {int(PermissionKind::microphone)};
    Permissions p(probe);
    EXPECT_TRUE(p.isGranted(PermissionKind::microphone));
    QSignalSpy spy(&p, &Permissions::grantedChanged);
    p.refresh();
    EXPECT_EQ(spy.count(), 0);
    probe->granted.insert(int(PermissionKind::inputMonitoring));
    p.refresh();
    p.refresh();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(p.isGranted(PermissionKind::inputMonitoring));
    EXPECT_FALSE(p.isGranted(PermissionKind::accessibility));
}

TEST(Permissions, RequestsAskOrOpenTheSettingsPage) {
    auto probe = std::make_shared<test::FakePermissionProbe>();
    Permissions p(probe);
    // Already decided (granted or not): the page opens instead of nothing.
    p.request(PermissionKind::microphone);
    EXPECT_EQ(probe->opened, QList<PermissionKind>{PermissionKind::microphone});
    probe->undetermined = true;
    p.request(PermissionKind::microphone);
    EXPECT_EQ(probe->microphoneRequests, 1);
    EXPECT_EQ(probe->opened.size(), 1);

    p.request(PermissionKind::accessibility);
    EXPECT_EQ(probe->opened.last(), PermissionKind::accessibility);
    probe->accessibilityAfterRequest = true;
    probe->opened.clear();
    p.request(PermissionKind::accessibility);
    EXPECT_TRUE(probe->opened.isEmpty());
    EXPECT_TRUE(p.isGranted(PermissionKind::accessibility)); // refreshed right away

    p.request(PermissionKind::inputMonitoring);
    EXPECT_EQ(probe->opened.last(), PermissionKind::inputMonitoring);
}

TEST(Permissions, PollingRefreshesEverySecondWithOneTimer) {
    ManualClock clock;
    Clock::install(&clock);
    auto probe = std::make_shared<test::FakePermissionProbe>();
    {
        Permissions p(probe);
        p.startPolling();
        p.startPolling();
        EXPECT_EQ(clock.pendingTimers(), 1);
        probe->granted.insert(int(PermissionKind::inputMonitoring));
        clock.advance(std::chrono::milliseconds(999));
        EXPECT_FALSE(p.isGranted(PermissionKind::inputMonitoring));
        clock.advance(std::chrono::milliseconds(1));
        EXPECT_TRUE(p.isGranted(PermissionKind::inputMonitoring));
    }
    Clock::install(nullptr);
}

TEST(Permissions, KindsAreIdentifiedByTheirExactRawValue) {
    EXPECT_EQ(fromRawValue<PermissionKind>("inputMonitoring"), PermissionKind::inputMonitoring);
    EXPECT_FALSE(fromRawValue<PermissionKind>("Microphone"));
    EXPECT_EQ(rawValue(PermissionKind::accessibility), "accessibility");
}

} // namespace
