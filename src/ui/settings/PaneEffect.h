#pragma once

#include "ui/settings/PaneLook.h"

#include <QGraphicsEffect>

#include <optional>

namespace nolvea {

// Draws a widget as a transition has it now: faded, blurred and scaled about `anchor` (its
// middle when none is given). At rest it draws the widget untouched.
class PaneEffect : public QGraphicsEffect {
public:
    explicit PaneEffect(std::optional<QPointF> anchor = std::nullopt, QObject* parent = nullptr);

    void setLook(const PaneLook& look);
    const PaneLook& look() const { return m_look; }

    // Draws `picture` with its top-left corner at `at` as `look` says, scaled about `anchor`.
    static void paint(QPainter& p, const QPixmap& picture, QPointF at, const PaneLook& look,
                      QPointF anchor);

protected:
    void draw(QPainter* painter) override;

private:
    PaneLook m_look;
    std::optional<QPointF> m_anchor;
};

} // namespace nolvea
