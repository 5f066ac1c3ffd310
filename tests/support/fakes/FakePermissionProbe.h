#pragma once

#include "platform/PermissionProbe.h"

#include <QList>
#include <QSet>

namespace nolvea::test {

// Grants what the test says and records the settings pages it was asked to open.
struct FakePermissionProbe final : PermissionProbe {
    QSet<int> granted;
    bool undetermined = false;
    bool accessibilityAfterRequest = false;
    QList<PermissionKind> opened;
    int microphoneRequests = 0;

    bool isGranted(PermissionKind k) override { return granted.contains(int(k)); }
    bool microphoneUndetermined() override { return undetermined; }
    void requestMicrophone(std::function<void(bool)> answered) override {
        ++microphoneRequests;
        answered(true);
    }
    bool requestAccessibility() override {
        if (accessibilityAfterRequest) granted.insert(int(PermissionKind::accessibility));
        return accessibilityAfterRequest;
    }
    bool requestInputMonitoring() override { return false; }
    bool openSettings(PermissionKind k) override {
        opened.append(k);
        return true;
    }
};

} // namespace nolvea::test
