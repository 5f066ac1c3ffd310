#pragma once

#include "core/HistoryEntry.h"

#include <QAbstractButton>

namespace nolvea {

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
};

} // namespace nolvea
