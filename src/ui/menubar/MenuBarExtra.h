#pragma once

#include "ui/menubar/MenuBarActions.h"
#include "ui/menubar/MenuBarIconModel.h"
#include "ui/menubar/MenuBarView.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QSystemTrayIcon;

namespace nolvea {

class MenuBarWindow;

// The tray icon, labelled by the stage, and the window it drops when clicked.
class MenuBarExtra : public QObject {
    Q_OBJECT

public:
    MenuBarExtra(MenuBarView::Sources sources, MenuBarActions actions, QObject* parent = nullptr);
    ~MenuBarExtra() override;

    // Opens the window under the icon (or at the top right corner with no tray), or closes it.
    void toggleWindow();
    // Opens the window and brings it to the front (a second start of the program asks this).
    void showWindow();

    MenuBarWindow* window() const { return m_window.get(); }
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    MenuBarLabel label() const { return m_label; }

private:
    void updateLabel();
    void updateToolTip();
    void pulse();
    // The label's icon; `step` lights one layer while the effect runs.
    QIcon iconFor(const MenuBarLabel& label, std::optional<int> step = std::nullopt) const;

    MenuBarView::Sources m_sources;
    std::unique_ptr<MenuBarWindow> m_window;
    QSystemTrayIcon* m_tray;
    MenuBarLabel m_label;
    QTimer m_pulse;
    int m_pulseStep = 0;
};

} // namespace nolvea
