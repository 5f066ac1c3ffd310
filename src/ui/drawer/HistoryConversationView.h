#pragma once

#include "core/HistoryEntry.h"

#include <QWidget>

class QLabel;

namespace nolvea {

class MarkdownText;

// One entry as a short conversation: what was said on the right, when it adds something,
// and the result on the left beside the kind's badge, its inline markdown rendered.
class HistoryConversationView : public QWidget {
    Q_OBJECT

public:
    explicit HistoryConversationView(const HistoryEntry& entry, QWidget* parent = nullptr);

    QLabel* request() const { return m_request; }
    MarkdownText* answer() const { return m_answer; }

private:
    QLabel* m_request = nullptr;
    MarkdownText* m_answer;
};

} // namespace nolvea
