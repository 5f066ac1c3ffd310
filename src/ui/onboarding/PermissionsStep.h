#pragma once

#include "core/Permissions.h"
#include "ui/onboarding/OnboardingPage.h"

#include <map>

class QStackedLayout;

namespace nolvea {

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

private:
    void render();

    Permissions& m_permissions;
    std::map<Permissions::Kind, QStackedLayout*> m_states;
};

} // namespace nolvea
