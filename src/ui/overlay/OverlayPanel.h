#pragma once

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <optional>

namespace nolvea {

class PanelWindowing;

// The borderless, transparent floating panel that the overlays live in. It floats above the
// other windows on every desktop and never activates the application. It lets every click
// through until its controller says otherwise, and then takes input only where its content
// draws; it takes the keyboard only while `allowsKey` holds, and gives it back to the window
// that had it.
class OverlayPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool allowsKey READ allowsKey WRITE setAllowsKey NOTIFY allowsKeyChanged)

public:
    // The only way to make a panel: hidden, click-through and unable to take the keyboard.
    // The panel owns `root` and keeps the size it is given, whatever `root` would like.
    OverlayPanel(QSize size, QWidget* root);
    ~OverlayPanel() override;

    QWidget* root() const { return m_root; }

    bool allowsKey() const { return m_allowsKey; }
    // Clearing it while the panel has the keyboard hands the keyboard back.
    void setAllowsKey(bool allows);
    bool canBecomeKey() const { return m_allowsKey; }
    bool canBecomeMain() const { return false; }
    // Whether the panel has the keyboard now.
    bool isKey() const;

    bool ignoresMouseEvents() const { return m_ignoresMouse; }
    void setIgnoresMouseEvents(bool ignores);

    // What the content draws, in panel coordinates; by default the union of the root's
    // visible children. Input (and, without a compositor, the visible shape) is limited to it.
    QRegion drawnRegion() const;
    void setDrawnRegion(std::optional<QRegion> region);
    // Re-reads the drawn region after the content changed its layout.
    void updateRegions();

    void setVisible(bool visible) override;

    // Takes the keyboard for the panel (only while `allowsKey`); false when not taken.
    bool makeKey();
    // Gives the keyboard back to the window that had it before the panel took it.
    void resignKey();

Q_SIGNALS:
    void allowsKeyChanged(bool allows);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    static bool takesTextInput(const QWidget* w);
    quintptr nativeId() const;

    QPointer<QWidget> m_root;
    std::shared_ptr<PanelWindowing> m_windowing;
    bool m_allowsKey = false;
    bool m_ignoresMouse = true;
    std::optional<QRegion> m_drawn;
    quintptr m_previousFocus = 0;
};

} // namespace nolvea
