#pragma once

#include "ui/animation/AppearTransition.h"
#include "ui/animation/SpringValue.h"
#include "ui/animation/TransitionLook.h"

#include <QRect>

#include <optional>

namespace nolvea {

// The pill's glass shapes on their way between two layouts: the capsule's size and corners
// morph, the bubble and the drops grow in and melt away, the whole group rises in from idle
// and sinks back, and the stage content blurs out as the next one blurs in. Free of drawing:
// the view asks it for a frame.
class PillMotion {
public:
    // Where everything goes, in the view's coordinates.
    struct Layout {
        bool group = false; // nothing at all at idle
        QRect pill;
        double radius = 23;
        double shadow = 0; // opacity of the capsule's shadow
        std::optional<QRect> bubble;
        std::optional<QRect> agentDrop;
        std::optional<QRect> lockDrop;
        bool operator==(const Layout&) const = default;
    };
    // One shape on screen now.
    struct Shape {
        QRectF rect;
        TransitionLook look;
    };
    struct Frame {
        bool group = false; // whether anything is drawn
        TransitionLook groupLook;
        QRectF pill;
        double radius = 23;
        double shadow = 0;
        std::optional<Shape> bubble;
        std::optional<Shape> agentDrop;
        std::optional<Shape> lockDrop;
        TransitionLook content;                // the stage content now showing
        std::optional<TransitionLook> leaving; // the content it replaced, on its way out
    };

    // Aims at `layout`. `resize` is the spring of the capsule's change of size (the stage's
    // morph, or the quicker one when only its text changed). Without `animated` everything is
    // put in place at once.
    void setLayout(const Layout& layout, bool animated, const SpringSpec& resize);
    // Plays the group's rise from the start: it came while nobody could see it.
    void riseIn();
    // The stage content was replaced by a new one.
    void replaceContent(bool animated);
    // Moves time forward; returns whether anything still moves.
    bool advance(double seconds);
    // Puts everything where it is going.
    void finish();

    Frame frame() const;
    const Layout& layout() const { return m_layout; }

private:
    struct Box {
        SpringValue x, y, w, h;
        void jump(const QRectF& r);
        void aim(const QRectF& r, const SpringSpec& spec);
        bool advance(double seconds);
        QRectF value() const;
    };
    struct Part {
        AppearTransition shown;
        Box box;
    };
    void aimPart(Part& part, const std::optional<QRect>& target, const SpringSpec& appear,
                 const SpringSpec& move);

    Layout m_layout;
    AppearTransition m_group;
    Box m_pill;
    SpringValue m_radius{23};
    SpringValue m_shadow{0};
    Part m_bubble, m_agentDrop, m_lockDrop;
    AppearTransition m_content{true};
    AppearTransition m_leaving;
};

} // namespace nolvea
