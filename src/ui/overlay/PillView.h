#pragma once

#include "ui/overlay/ControllerAccess.h"

#include "core/ActionPreview.h"
#include "ui/animation/MorphingLabel.h"
#include "ui/components/GlassBlend.h"
#include "ui/overlay/PillMotion.h"
#include "ui/overlay/PillPresentation.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <vector>

class QLabel;

namespace nolvea {

class AppState;
class FrameDriver;
class LiquidGlass;
class TransitionEffect;

// The bottom pill's whole overlay: at the bottom of its transparent panel, the capsule that
// follows the stage and grows into the confirmation and answer cards, the live-text bubble
// above it and the agent and hands-free drops beside it. It reads the live state only; the
// cards act on the voice controller.
class PillView : public QWidget {
    Q_OBJECT

public:
    PillView(AppState& state, ControllerAccess controller, QWidget* parent = nullptr);

    const PillPresentation& presentation() const { return m_presentation; }
    const PillMotion& motion() const { return m_motion; }
    // The glass surfaces now on screen and where they are going, in this widget's coordinates.
    QRegion drawnRegion() const { return m_drawn; }
    // The capsule as it is drawn now (mid-morph while it changes).
    QRect pillRect() const;
    QWidget* content() const { return m_content; }
    QLabel* bubbleLabel() const { return m_bubbleText; }
    bool showsAgentDrop() const;
    bool showsLockDrop() const;

    // Gives the keyboard to the confirmation card, when one shows.
    void focusCard();

    // The tint of every glass surface of the pill.
    static QColor ink();
    static const int kBubbleRadius;
    static const double kBubbleRadiusF;

Q_SIGNALS:
    void drawnRegionChanged();

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    class GroupLayer;
    void refresh();
    void rebuildContent();
    void relayout();
    void applyFrame();
    void paintShadow(QPainter& p);
    void paintSurface(QPainter& p);
    bool animates() const;
    QSize bubbleSize(const QString& text);
    QString fittedBubbleText(const QString& text) const;

    AppState& m_state;
    ControllerAccess m_controller;
    PillInputs m_inputs;
    const SpringSpec* m_resize = &Theme::morph();
    PillPresentation m_presentation;
    PillMotion m_motion;
    FrameDriver* m_driver;
    GroupLayer* m_group;
    TransitionEffect* m_groupEffect;
    PillContent m_contentKind = PillContent::none;
    std::optional<ActionPreview> m_contentAction;
    QString m_contentAnswer;

    LiquidGlass* m_bubble;
    MorphingLabel* m_bubbleText;
    LiquidGlass* m_agentDrop;
    QWidget* m_agentSymbol;
    QLabel* m_lockSymbol;
    LiquidGlass* m_pill;
    LiquidGlass* m_lockDrop;
    QPointer<QWidget> m_content;
    QRect m_contentTarget;     // where the content sits once the capsule is at rest
    QPointer<QWidget> m_ghost; // a picture of the content it replaced, on its way out
    QPointF m_ghostOffset;     // its centre from the capsule's centre
    double m_radius = 23;
    QRegion m_drawn;
    // The glass shapes drawn as one melted surface (not in the flat look), and its picture,
    // made again when a shape moves.
    std::vector<GlassBlend::Shape> m_surfaceShapes;
    QImage m_surface;
    QRect m_surfaceArea;
    std::vector<GlassBlend::Shape> m_surfaceMadeFor;
    QRegion m_necks; // where the melted surface reaches beyond the shapes
    std::vector<GlassBlend::Shape> m_necksFor;
    QImage m_shadow; // the capsule's soft shadow, made again when its shape changes
    QSize m_shadowSize;
    int m_shadowRadius = -1;
    bool m_cameWhileHidden = false; // the group came before the panel was shown
};

} // namespace nolvea
