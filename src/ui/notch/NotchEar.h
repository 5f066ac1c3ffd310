#pragma once

#include "ui/notch/NotchEars.h"
#include "ui/notch/NotchMotion.h"

#include <QImage>
#include <QWidget>

namespace nolvea {

class FrameDriver;
class ReplaceTransition;

// One end of the island's top band as drawn: the status symbol on the left, the indicator on
// the right. A new content replaces the old one with its transition; a symbol that stays
// bounces once or pulses, as its rule says. It takes no clicks: the island answers for it.
class NotchEar : public QWidget {
    Q_OBJECT

public:
    enum class Side { left, right };
    struct Content {
        std::optional<NotchEars::Symbol> status;
        NotchEars::Right right = NotchEars::Right::none;
        QList<NotchEars::Symbol> symbols;
        QImage icon;
        NotchMotion::SymbolEffect effect = NotchMotion::SymbolEffect::none;
        bool operator==(const Content&) const = default;
    };
    // Room around the ear's rectangle, so a bounce or a halo is not cut.
    static constexpr int kMargin = 6;

    NotchEar(Side side, QWidget* parent);

    void setContent(const Content& content);
    const Content& content() const { return m_content; }
    bool isReplacing() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool step(double dt);

    Side m_side;
    Content m_content;
    NotchMotion::EarSwap m_swap = NotchMotion::EarSwap::blurReplace;
    ReplaceTransition* m_replace;
    FrameDriver* m_driver;
    double m_bounce = -1;
};

} // namespace nolvea
