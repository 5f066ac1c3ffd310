#pragma once

#include "core/HistoryEntry.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace nolvea {

class GlassButton;
class HistoryConversationView;

// One history entry in the drawer: a header (badge, preview, time) that expands the row in
// place into its conversation, with copy and delete.
class DrawerRow : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> toggle;
        std::function<void()> remove;
    };

    DrawerRow(HistoryEntry entry, Actions actions, QWidget* parent = nullptr);

    const HistoryEntry& entry() const { return m_entry; }
    void setExpanded(bool expanded);
    bool isExpanded() const { return m_expanded; }

    QLabel* preview() const { return m_preview; }
    QLabel* meta() const { return m_meta; }
    QWidget* header() const { return m_header; }
    HistoryConversationView* conversation() const { return m_conversation; }
    GlassButton* copyButton() const { return m_copy; }
    GlassButton* deleteButton() const { return m_delete; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void refresh();

    HistoryEntry m_entry;
    Actions m_actions;
    bool m_expanded = false;
    bool m_hovering = false;
    bool m_copied = false;
    QWidget* m_header;
    QLabel* m_preview;
    QLabel* m_meta;
    QLabel* m_chevron;
    QWidget* m_detail = nullptr;
    HistoryConversationView* m_conversation = nullptr;
    GlassButton* m_copy = nullptr;
    GlassButton* m_delete = nullptr;
};

} // namespace nolvea
