#pragma once

#include "core/HistoryEntry.h"

#include <QWidget>

namespace nolvea {

class GlassButton;

// An opened recent entry: the way back to the list, what it was, and the whole exchange.
class RecentEntryDetail : public QWidget {
    Q_OBJECT

public:
    explicit RecentEntryDetail(HistoryEntry entry, QWidget* parent = nullptr);

    GlassButton* backButton() const { return m_back; }

Q_SIGNALS:
    void back();

private:
    HistoryEntry m_entry;
    GlassButton* m_back;
};

} // namespace nolvea
