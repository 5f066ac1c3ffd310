#pragma once

#include <QWidget>

namespace nolvea {

class MenuBarView;

// The frameless window that drops from the tray icon. It closes when another window takes
// the focus or on Escape, as a menu does.
class MenuBarWindow : public QWidget {
    Q_OBJECT

public:
    explicit MenuBarWindow(MenuBarView* view, QWidget* parent = nullptr);

    MenuBarView* view() const { return m_view; }
    // Opens under `icon` (at the top right corner when it is unknown) with the keyboard
    // focus, after re-reading the permissions and the model connection.
    void open(const QRect& icon);
    // Whether it closed itself a moment ago (a click on the tray icon that took its focus
    // must not open it again).
    bool closedJustNow() const;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent*) override;

private:
    MenuBarView* m_view;
    qint64 m_closedAt = -1;
};

} // namespace nolvea
