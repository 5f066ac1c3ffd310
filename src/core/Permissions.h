#pragma once

#include "platform/PermissionKind.h"
#include "support/Clock.h"

#include <QObject>

#include <memory>

namespace nolvea {

class PermissionProbe;

// Which host permissions are granted now, with the operations to re-read them, to ask for
// one, and to keep re-reading them every second while the person grants them.
class Permissions : public QObject {
    Q_OBJECT
    Q_PROPERTY(int granted READ grantedMask NOTIFY grantedChanged)

public:
    using Kind = PermissionKind;

    // `probe` may be null: nothing is then granted.
    explicit Permissions(std::shared_ptr<PermissionProbe> probe, QObject* parent = nullptr);
    ~Permissions() override;

    // The instance over the installed platform probe.
    static Permissions& shared();

    bool isGranted(Kind kind) const { return m_granted & bit(kind); }
    int grantedMask() const { return m_granted; }

    void refresh();
    void request(Kind kind);
    void startPolling();
    // Ends the polling; a later `startPolling` starts it anew.
    void stopPolling() { m_timer.reset(); }
    bool isPolling() const { return bool(m_timer); }

Q_SIGNALS:
    void grantedChanged();

private:
    static int bit(Kind kind) { return 1 << int(kind); }

    std::shared_ptr<PermissionProbe> m_probe;
    int m_granted = 0;
    std::unique_ptr<ClockTimer> m_timer;
};

} // namespace nolvea
