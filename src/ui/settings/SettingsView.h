#pragma once

#include "ui/settings/PaneTransition.h"
#include "ui/settings/SettingsSection.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QScrollArea;

namespace nolvea {

// The settings window's root: the sidebar of sections and, beside it, the pane of the chosen
// one in a scrolling column. It holds nothing but the chosen section; each pane reads and
// writes the shared settings and services itself, and is made anew whenever it is shown.
// Always light, whatever the desktop's theme. A new pane replaces the old one with a short blur
// and fade, or at once under reduced motion.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    using Section = SettingsSection;

    static constexpr int kSidebarWidth = 190;
    static constexpr int kPanePadding = 28;

    explicit SettingsView(QWidget* parent = nullptr);

    Section section() const { return m_section; }
    void setSection(Section section);
    QWidget* pane() const { return m_pane; }
    QListWidget* sidebar() const { return m_sidebar; }
    // The switch to the current pane while it is still under way.
    PaneTransition* transition() const { return m_transition; }

    // The pane of `section` alone, padded on the settings background, without the sidebar.
    static QWidget* previewSection(Section section);
    // The pane of `section`, fresh.
    static QWidget* makePane(Section section);
    // The light palette of the settings screens.
    static QPalette lightPalette();

Q_SIGNALS:
    void sectionChanged(nolvea::SettingsSection section);

private:
    void showPane();

    Section m_section = Section::general;
    QListWidget* m_sidebar;
    QLabel* m_title;
    QScrollArea* m_scroll;
    QPointer<QWidget> m_pane;
    QPointer<PaneTransition> m_transition;
};

} // namespace nolvea
