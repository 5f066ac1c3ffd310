#pragma once

#include "core/Permissions.h"
#include "ui/animation/SpringValue.h"
#include "ui/onboarding/OnboardingPage.h"

#include <QPointer>

#include <map>

class QStackedLayout;

namespace nolvea {

class FrameDriver;
class SnapshotLayer;

// The three host permissions, each with "Permitir" until the service reports it granted;
// the rows follow the flow's polling without any click.
class PermissionsStep : public OnboardingPage {
    Q_OBJECT

public:
    explicit PermissionsStep(Permissions& permissions, QWidget* parent = nullptr);
    ~PermissionsStep() override;

    struct KindLook {
        QString symbol;
        QString title;
        QString detail;
    };
    static KindLook look(Permissions::Kind kind);

    // Whether the row of `kind` shows "Permitido".
    bool showsGranted(Permissions::Kind kind) const;
    // Whether a row is still changing between its two states.
    bool isChanging() const;

private:
    void render();
    bool step(double dt);

    Permissions& m_permissions;
    std::map<Permissions::Kind, QStackedLayout*> m_states;
    // Each row's change of state: the new state coming in, the old one's picture leaving.
    std::map<Permissions::Kind, SpringValue> m_change;
    std::map<Permissions::Kind, QPointer<SnapshotLayer>> m_leaving;
    FrameDriver* m_driver;
};

} // namespace nolvea
