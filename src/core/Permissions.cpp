#include "core/Permissions.h"

#include "platform/PermissionProbe.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QPointer>

namespace nolvea {

Permissions::Permissions(std::shared_ptr<PermissionProbe> probe, QObject* parent)
    : QObject(parent)
    , m_probe(std::move(probe)) {
    refresh();
}

Permissions::~Permissions() = default;

Permissions& Permissions::shared() {
    static Permissions* permissions = new Permissions(Platform::find<PermissionProbe>());
    return *permissions;
}

void Permissions::refresh() {
    int granted = 0;
    if (m_probe)
        for (Kind kind : allCases<Kind>())
            if (m_probe->isGranted(kind)) granted |= bit(kind);
    if (granted == m_granted) return;
    m_granted = granted;
    Q_EMIT grantedChanged();
}

void Permissions::request(Kind kind) {
    if (m_probe) {
        switch (kind) {
        case Kind::microphone:
            if (m_probe->microphoneUndetermined()) {
                QPointer<Permissions> self(this);
                m_probe->requestMicrophone([self](bool) {
                    // The answer may come on any thread; refresh on ours.
                    QMetaObject::invokeMethod(
                        qApp,
                        [self] {
                            if (self) self->refresh();
                        },
                        Qt::QueuedConnection);
                });
            } else {
                m_probe->openSettings(kind);
            }
            break;
        case Kind::accessibility:
            if (!m_probe->requestAccessibility()) m_probe->openSettings(kind);
            break;
        case Kind::inputMonitoring:
            if (!m_probe->requestInputMonitoring()) m_probe->openSettings(kind);
            break;
        }
    }
    refresh();
}

void Permissions::startPolling() {
    if (m_timer) return;
    QPointer<Permissions> self(this);
    m_timer = Clock::shared().schedule(std::chrono::seconds(1), true, [self] {
        if (self) self->refresh();
    });
}

} // namespace nolvea
