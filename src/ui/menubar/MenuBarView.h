#pragma once

#include "ui/menubar/MenuBarActions.h"

#include <QWidget>

class QBoxLayout;
class QLabel;

namespace nolvea {

class AIStatus;
class AppSettings;
class AppState;
class BrandMark;
class ElidedLabel;
class HistoryStore;
class KeyCap;
class MenuBarHeaderBox;
class Permissions;
class ReplaceTransition;
class StatusDot;
class SwitchToggle;
class Updater;

// The column that drops from the tray icon: header, update offer, missing permissions, model
// connection, three toggles, the latest results and the footer. It holds nothing of its own:
// every field is read from the shared objects and every action is a call into them.
class MenuBarView : public QWidget {
    Q_OBJECT

public:
    struct Sources {
        AppState& state;
        AppSettings& settings;
        Permissions& permissions;
        AIStatus& ai;
        HistoryStore& history;
        Updater& updater;
    };

    MenuBarView(Sources sources, MenuBarActions actions, QWidget* parent = nullptr);

    // Re-reads the permissions and probes the model connection; the window calls it each time
    // it opens.
    void refreshOnAppear();

    QLabel* statusLine() const { return m_status; }
    MenuBarHeaderBox* header() const { return m_header; }
    ReplaceTransition* statusChange() const { return m_statusChange; }

    // Always the column's fixed width; the height its content asks for.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    QWidget* buildHeader();
    QWidget* buildModelCard();
    QWidget* buildTogglesCard();
    QWidget* buildFooter();
    void updateHeader();
    void updateBrandMark();
    void updateKeyCap();
    void updateModelCard();
    void rebuildUpdateCard();
    void rebuildPermissionsCard();
    void rebuildRecentCard();
    // Empties `slot` and puts `card` in it; an empty slot is hidden.
    static void fill(QWidget* slot, QWidget* card);

    Sources m_sources;
    MenuBarActions m_actions;
    QBoxLayout* m_keyCapSlot = nullptr;
    BrandMark* m_mark = nullptr;
    QLabel* m_status = nullptr;
    MenuBarHeaderBox* m_header = nullptr;
    ReplaceTransition* m_statusChange = nullptr;
    KeyCap* m_keyCap = nullptr;
    StatusDot* m_dot = nullptr;
    ElidedLabel* m_aiTitle = nullptr;
    ElidedLabel* m_modelLine = nullptr;
    QWidget* m_updateSlot = nullptr;
    QWidget* m_permissionsSlot = nullptr;
    QWidget* m_recentSlot = nullptr;
};

} // namespace nolvea
