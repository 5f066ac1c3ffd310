#pragma once

#include "ui/overlay/ControllerAccess.h"

#include "core/ActionPreview.h"
#include "support/Clock.h"
#include "ui/overlay/ConfirmCardModel.h"
#include "ui/overlay/ConfirmCardStyle.h"

#include <QList>
#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class Bounce;
class FrameDriver;
class DraftEditor;
class EmailComposerView;
class GlassButton;
class SymbolBadge;

// The pill's confirmation of an agent action: what will be done, an editor for its one
// editable value, and Cancelar / Confirmar. Escape declines and Return approves (Ctrl+Return
// with an editor, where Return breaks the line), but not in the first moments after the card
// appears.
class ConfirmCard : public QWidget {
    Q_OBJECT

public:
    ConfirmCard(ActionPreview action, AppState& state, ControllerAccess controller,
                QWidget* parent = nullptr);
    ConfirmCard(ActionPreview action, AppState& state, ControllerAccess controller,
                ConfirmCardStyle style, QWidget* parent = nullptr);

    const ActionPreview& action() const { return m_action; }
    const ConfirmCardStyle& style() const { return m_style; }
    // The request the card answers, in the island's style; none otherwise.
    QLabel* request() const { return m_request; }
    SymbolBadge* badge() const { return m_icon; }
    QLabel* title() const { return m_title; }
    const QList<QLabel*>& detailLabels() const { return m_details; }
    DraftEditor* editor() const { return m_editor; }
    // The e-mail composer that takes the whole card when the action sends an e-mail.
    EmailComposerView* composer() const { return m_composer; }
    GlassButton* cancelButton() const { return m_cancel; }
    GlassButton* confirmButton() const { return m_confirm; }

    // Seconds since the card appeared, while its entrance plays; negative before and after.
    double entranceElapsed() const { return m_entrance; }
    Bounce* iconBounce() const { return m_bounce; }

    // Gives the keyboard to the editor, or to the card for its keys.
    void takeFocus();

    // An e-mail card asks for no more than the pill's panel can show; the body yields.
    static constexpr int kEmailMaxHeight = 400;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool keysAccepted() const;
    bool stepEntrance(double dt);
    void applyEntrance();
    void approve();
    void decline();

    ActionPreview m_action;
    ConfirmCardStyle m_style;
    AppState& m_state;
    ControllerAccess m_controller;
    Clock::Duration m_shownAt{-1};
    QLabel* m_request = nullptr;
    SymbolBadge* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QList<QLabel*> m_details;
    QList<ConfirmDetailLine> m_lines;
    FrameDriver* m_driver = nullptr;
    Bounce* m_bounce = nullptr;
    double m_entrance = -1;
    bool m_appeared = false;
    DraftEditor* m_editor = nullptr;
    EmailComposerView* m_composer = nullptr;
    GlassButton* m_cancel = nullptr;
    GlassButton* m_confirm = nullptr;
};

} // namespace nolvea
