#pragma once

#include "platform/CalendarAccounts.h"

#include <vector>

namespace nolvea::test {

// Calendar accounts the test sets up; access requests are answered with `answer`.
class FakeCalendarAccounts final : public CalendarAccounts {
public:
    Authorization authorization() override { return access; }
    QCoro::Task<bool> requestFullAccess() override {
        ++requests;
        access = answer;
        co_return access == Authorization::fullAccess;
    }
    std::vector<Source> sources() override { return list; }
    void watch(std::function<void()> changed) override { watchers.push_back(std::move(changed)); }
    void openPrivacySettings() override { ++privacyOpened; }

    Authorization access = Authorization::fullAccess;
    Authorization answer = Authorization::fullAccess;
    std::vector<Source> list;
    std::vector<std::function<void()>> watchers;
    int requests = 0;
    int privacyOpened = 0;
};

} // namespace nolvea::test
