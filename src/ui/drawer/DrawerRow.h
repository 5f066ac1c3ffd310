#pragma once

#include "core/HistoryEntry.h"
#include "ui/animation/SpringValue.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;

namespace nolvea {

class FrameDriver;
class GlassButton;
class HistoryConversationView;
class ReplaceTransition;
class RevealBox;
class WidthMotion;
class WidgetTransition;

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
    // Unfolds or folds the conversation; `animated` false shows it as it ends up.
    void setExpanded(bool expanded, bool animated = true);
    bool isExpanded() const { return m_expanded; }

    QLabel* preview() const { return m_preview; }
    QLabel* meta() const { return m_meta; }
    QWidget* header() const { return m_header; }
    HistoryConversationView* conversation() const { return m_conversation; }
    GlassButton* copyButton() const { return m_copy; }
    // "Copiar" giving way to "Copiado": the labels cross-fade as the width follows.
    ReplaceTransition* copyChange() const { return m_copyChange; }
    WidthMotion* copyWidth() const { return m_copyWidth; }
    GlassButton* deleteButton() const { return m_delete; }
    // The conversation's box while it unfolds, shows or folds away; none once folded.
    RevealBox* detail() const;
    // The chevron's turn in degrees and the fill's opacity, as drawn now.
    double chevronAngle() const;
    double fill() const { return m_fill.value(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void refresh();
    void buildDetail(bool animated);
    void dropDetail(bool animated);
    void animateDecorations();
    bool step(double dt);

    HistoryEntry m_entry;
    Actions m_actions;
    bool m_expanded = false;
    bool m_hovering = false;
    bool m_copied = false;
    QWidget* m_header;
    QLabel* m_preview;
    QLabel* m_meta;
    QWidget* m_chevron;
    FrameDriver* m_driver;
    SpringValue m_fill, m_chevronOpacity, m_chevronTurn;
    RevealBox* m_detail = nullptr; // the unfolded conversation
    WidgetTransition* m_detailMotion = nullptr;
    QPointer<RevealBox> m_folding; // one folding away
    HistoryConversationView* m_conversation = nullptr;
    GlassButton* m_copy = nullptr;
    ReplaceTransition* m_copyChange = nullptr;
    WidthMotion* m_copyWidth = nullptr;
    GlassButton* m_delete = nullptr;
};

} // namespace nolvea
