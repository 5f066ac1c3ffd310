#pragma once

#include "ui/settings/TransitionLook.h"

#include <QGraphicsEffect>

#include <optional>

namespace nolvea {

// Draws a widget as a transition has it now: faded, blurred and scaled about `anchor` (its
// middle when none is given). At rest it draws the widget untouched.
class TransitionEffect : public QGraphicsEffect {
public:
    explicit TransitionEffect(std::optional<QPointF> anchor = std::nullopt,
                              QObject* parent = nullptr);

    void setLook(const TransitionLook& look);
    const TransitionLook& look() const { return m_look; }

    // Draws `picture` with its top-left corner at `at` as `look` says, scaled about `anchor`.
    static void paint(QPainter& p, const QPixmap& picture, QPointF at, const TransitionLook& look,
                      QPointF anchor);

protected:
    void draw(QPainter* painter) override;

private:
    TransitionLook m_look;
    std::optional<QPointF> m_anchor;
};

} // namespace nolvea
