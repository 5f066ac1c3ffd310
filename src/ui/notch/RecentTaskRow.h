#pragma once

#include "core/HistoryEntry.h"
#include "ui/animation/SpringValue.h"

#include <QAbstractButton>

namespace nolvea {

class FrameDriver;

// One recent entry in the hover panel: its icon, title and age; a click opens it in place.
class RecentTaskRow : public QAbstractButton {
    Q_OBJECT

public:
    explicit RecentTaskRow(HistoryEntry entry, QWidget* parent = nullptr);

    const HistoryEntry& entry() const { return m_entry; }
    QSize sizeHint() const override { return {300, 34}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    HistoryEntry m_entry;
    bool m_hovering = false;
    // The highlight and the chevron, faded in and out with the quick spring.
    SpringValue m_highlight{0};
    FrameDriver* m_driver;
};

} // namespace nolvea
