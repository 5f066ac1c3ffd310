#pragma once

#include "ui/animation/MorphingLabel.h"

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class ReplaceTransition;
class ShimmerText;

// What was said while the agent hears or works, and while it works a capsule with the tool's
// symbol (or the target application's icon) and the progress text.
class NotchWorkingCard : public QWidget {
    Q_OBJECT

public:
    explicit NotchWorkingCard(AppState& state, QWidget* parent = nullptr);

    MorphingLabel* line() const { return m_line; }
    QLabel* progress() const { return m_progress; }
    // Blurs the old progress text out as the new one blurs in.
    ReplaceTransition* progressTransition() const { return m_progressSwap; }
    QWidget* capsule() const { return m_capsule; }

private:
    void refresh();

    AppState& m_state;
    MorphingLabel* m_line;
    QWidget* m_capsule;
    QLabel* m_glyph;
    QLabel* m_progress;
    ReplaceTransition* m_progressSwap;
    ReplaceTransition* m_glyphSwap;
    QString m_shownSymbol;
};

} // namespace nolvea
