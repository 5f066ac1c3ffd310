#pragma once

#include "platform/PointerSource.h"
#include "support/Clock.h"

#include <QObject>
#include <QRect>

#include <functional>
#include <memory>

namespace nolvea {

class AppSettings;
class HistoryDrawerModel;
class HistoryDrawerView;
class HistoryStore;
class OverlayPanel;

// Opens the history drawer at the left edge of the screen under the pointer, after the
// pointer rests there 0.45 s or when asked, and closes it when the pointer has left it for
// 0.4 s, on a press outside it, or when asked. The pointer is watched only while the edge
// trigger is on or the drawer is open. Presses in this application's own windows are seen
// here too, so they close it even where the desktop-wide source cannot report presses.
class HistoryDrawerController : public QObject {
    Q_OBJECT

public:
    static constexpr Clock::Duration kDwell{450};
    static constexpr Clock::Duration kPoll{200};
    static constexpr Clock::Duration kCloseDelay{400};
    static constexpr Clock::Duration kHideDelay{500};

    struct Options {
        std::shared_ptr<PointerSource> pointer; // none: opens only when asked
        AppSettings* settings = nullptr;        // the shared settings when none
        HistoryStore* history = nullptr;        // the shared store when none
        // The usable part of a screen (without panels); the screen itself when unknown.
        std::function<QRect(const QRect& screen)> usableArea{};
    };

    explicit HistoryDrawerController(Options options, QObject* parent = nullptr);
    ~HistoryDrawerController() override;

    HistoryDrawerModel& model() const { return *m_model; }
    OverlayPanel& panel() const { return *m_panel; }
    HistoryDrawerView& view() const { return *m_view; }

    void open();
    void close();

    bool isWatchingPointer() const { return bool(m_watch); }
    bool isDwelling() const { return m_dwell && m_dwell->isActive(); }
    bool isClosing() const { return m_close && m_close->isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(QPoint at);
    void pointerEvent(const PointerSource::Event& event);
    void mouseMoved(QPoint p);
    bool inHotZone(QPoint p) const;
    void updateClose();
    void startTracking();
    void refreshWatch();
    QRect grownFrame() const;
    bool pointerOverPanel() const;
    bool isEditing() const;
    // A menu opened from the drawer (a field's context menu) may reach past its edge.
    bool showsOwnPopup() const;
    QPoint pointer() const;

    Options m_options;
    HistoryDrawerModel* m_model;
    HistoryDrawerView* m_view;
    std::unique_ptr<OverlayPanel> m_panel;
    std::unique_ptr<PointerSource::Watch> m_watch;
    std::unique_ptr<ClockTimer> m_dwell, m_close, m_tracking, m_hide;
    bool m_waitingForEntry = false;
};

} // namespace nolvea
