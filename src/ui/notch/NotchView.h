#pragma once

#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchPresentation.h"

#include "core/ActionPreview.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace nolvea {

class AppState;
class BrandMark;
class FrameDriver;
class NotchController;
class NotchIsland;
class ShakeEffect;
class TransitionEffect;

// The notch panel's root: the island at the top centre, its ears, and under them the card of
// the presentation. It reads the live state and the notch model, reports the island's size to
// the model and leaves every decision to the plain rules beside it.
class NotchView : public QWidget {
    Q_OBJECT

public:
    NotchView(AppState& state, NotchController& controller, QWidget* parent = nullptr);

    NotchPresentation::Kind presentation() const { return m_kind; }
    // The island's rectangle in this widget's coordinates, as drawn now.
    QRect islandFrame() const;
    // The island's outline as drawn now, in this widget's coordinates: where it takes clicks.
    QRegion islandRegion() const;
    QWidget* card() const { return m_card; }
    // The picture of the card just replaced, while it fades out.
    QWidget* leavingCard() const { return m_leaving; }
    const NotchMotion& motion() const { return m_motion; }
    NotchIsland* island() const { return m_island; }
    BrandMark* mark() const { return m_mark; }

    // Gives the keyboard to the confirmation card, when one shows.
    void focusCard();
    void refresh();

Q_SIGNALS:
    void islandChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void rebuildCard();
    void relayout();
    void applyFrame();
    bool animates() const;

    AppState& m_state;
    NotchController& m_controller;
    NotchIsland* m_island;
    BrandMark* m_mark;
    ShakeEffect* m_shake;
    TransitionEffect* m_markEffect;
    // Holds the cards, cut to the island's outline so nothing draws outside it.
    QWidget* m_clip;
    FrameDriver* m_driver;
    NotchMotion m_motion;
    QPointer<QWidget> m_card;
    QPointer<QWidget> m_leaving;
    QSize m_cardSize;
    QSize m_leavingSize;
    NotchPresentation::Kind m_kind = NotchPresentation::Kind::compact;
    std::optional<NotchPresentation::Kind> m_cardKind;
    std::optional<ActionPreview> m_cardAction;
    bool m_relayoutPending = false;
};

} // namespace nolvea
