#pragma once

#include "ui/notch/NotchEars.h"
#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchPresentation.h"
#include "ui/notch/NotchShape.h"

#include <QImage>
#include <QWidget>

namespace nolvea {

class NotchEar;

// The black island itself: its outline, the listening glow around it and the ears' symbols.
// It is larger than the island by the glow's room; `body()` is the island's own rectangle.
class NotchIsland : public QWidget {
    Q_OBJECT

public:
    static constexpr int kGlowRoom = 36;

    struct Look {
        NotchShape shape;
        NotchPresentation::Glow glow;
        int notchWidth = 190;
        int notchHeight = 24;
        std::optional<NotchEars::Symbol> status;
        NotchMotion::SymbolEffect statusEffect = NotchMotion::SymbolEffect::none;
        NotchEars::Right right = NotchEars::Right::none;
        QList<NotchEars::Symbol> rightSymbols;
        QImage targetIcon;
    };

    explicit NotchIsland(QWidget* parent = nullptr);

    void setLook(const Look& look);
    const Look& look() const { return m_look; }
    QRect body() const { return rect().adjusted(kGlowRoom, 0, -kGlowRoom, -kGlowRoom); }
    // Where the right ear's indicator sits, in this widget's coordinates.
    QRect rightEar() const;
    QRect leftEar() const;
    NotchEar* leftEarView() const { return m_left; }
    NotchEar* rightEarView() const { return m_right; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    bool event(QEvent* e) override;

private:
    void placeEars();

    Look m_look;
    NotchEar* m_left;
    NotchEar* m_right;
};

} // namespace nolvea
