#pragma once

#include "ui/animation/MorphingLabel.h"
#include "ui/animation/SpringValue.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class FrameDriver;
class ReplaceTransition;
class WidthMotion;
class ShimmerText;

// What was said while the agent hears or works, and while it works a capsule with the tool's
// symbol (or the target application's icon) and the progress text.
class NotchWorkingCard : public QWidget {
    Q_OBJECT

public:
    explicit NotchWorkingCard(AppState& state, QWidget* parent = nullptr);
    ~NotchWorkingCard() override;

    MorphingLabel* line() const { return m_line; }
    QLabel* progress() const { return m_progress; }
    // Blurs the old progress text out as the new one blurs in.
    ReplaceTransition* progressTransition() const { return m_progressSwap; }
    WidthMotion* progressWidth() const { return m_progressWidth; }
    QWidget* capsule() const { return m_capsule; }
    // How far the capsule has come in (1 at rest), and the picture of it on its way out after
    // the work ended, while there is one.
    double capsuleProgress() const { return m_capsuleIn.value(); }
    QWidget* leavingCapsule() const { return m_capsuleLeaving; }

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void refresh();
    void showCapsule(bool shown);
    bool step(double dt);
    void applyCapsule();

    AppState& m_state;
    MorphingLabel* m_line;
    QWidget* m_capsule;
    QLabel* m_glyph;
    QLabel* m_progress;
    ReplaceTransition* m_progressSwap;
    WidthMotion* m_progressWidth;
    ReplaceTransition* m_glyphSwap;
    QString m_shownSymbol;
    FrameDriver* m_driver;
    SpringValue m_capsuleIn{1};
    SpringValue m_capsuleOut{0};
    QPointer<QWidget> m_capsuleLeaving;
};

} // namespace nolvea
