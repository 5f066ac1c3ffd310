#pragma once

#include "ui/components/Theme.h"
#include "ui/onboarding/MotionLook.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace nolvea {

// The motion of the first-run flow as plain numbers: for each moving part, its look at a
// progress p of its transition (0 where it comes from, 1 at rest; a spring may overshoot a
// little), and the welcome's timeline.
class OnboardingMotion {
public:
    // Pages change by sliding 70 pt: moving forward the new page comes in from the right,
    // scaled up from 0.97 and fading in, while the old one leaves to the left fading out.
    static MotionLook pageIn(bool forward, double p);
    static MotionLook pageOut(bool forward, double p);
    // The progress marks come down from the top edge, the footer up from the bottom edge.
    static MotionLook fromTop(double height, double p);
    static MotionLook fromBottom(double height, double p);
    // Content that only fades (the footer's hint).
    static MotionLook fade(double p);

    // Welcome.
    static MotionLook welcomeMark(double p);
    // The resting ring ripples out (p = the ripple's progress).
    static MotionLook welcomeRing(double p);
    static MotionLook welcomeText(double p);
    static MotionLook welcomeButtons(double p);
    // A new word of the title rises from below while growing; the old one rises and fades.
    static MotionLook wordIn(double p);
    static MotionLook wordOut(double p);

    // Done: every row in one transaction.
    static MotionLook doneMark(double p);
    static MotionLook doneTitle(double p);
    static MotionLook doneGrid(double p);

    // A key of the hotkey page's drawn keyboard: `chosen` and `lit` (chosen and held) each
    // 0…1 on their way in. The fill and edge are opacities of the ink; the text goes from
    // the ink to white as the key is chosen.
    struct KeyLook {
        double fill;
        double edge;
        double white;
        double scale;
        double dy;
        bool operator==(const KeyLook&) const = default;
    };
    static KeyLook key(bool selectable, double chosen, double lit);
    // The hotkey page's check mark grows from almost nothing as it fades in.
    static MotionLook checkIn(double p);
    // One state replacing another in place (a permission's "Permitir" and "Permitido"): the
    // new one grows in from nothing and fades in, the old one shrinks away fading out.
    static MotionLook swapIn(double p) { return checkIn(p); }
    static MotionLook swapOut(double p) { return checkIn(1 - p); }

    // A timed change of the welcome page and the animation it takes.
    struct Curve {
        enum class Kind { spring, easeOut };
        Kind kind = Kind::spring;
        SpringSpec spring{};
        double duration = 0;
        bool operator==(const Curve&) const = default;
    };
    struct Beat {
        enum class Kind { phase, ripple, word };
        double at = 0; // seconds after the page came on screen
        Kind kind = Kind::phase;
        int phase = 0;
        QString word{};
        Curve curve{};
        bool operator==(const Beat&) const = default;
    };
    // The welcome's sequence when nothing is skipped, in order.
    static std::vector<Beat> welcomeTimeline(const QStringList& greetings);
    static Curve spring(double response, double dampingFraction) {
        return {Curve::Kind::spring, {response, dampingFraction, 0}, 0};
    }
    static Curve easeOut(double duration) { return {Curve::Kind::easeOut, {}, duration}; }

    // The celebration of the done page: the mark gathers into its ball, the rows come in,
    // and after 0.9 s the confetti bursts and the ball opens again.
    static constexpr double kBurstDelay = 0.9;
    static Curve doneBall() { return spring(0.6, 0.7); }
    static Curve doneEntrance() { return spring(0.8, 0.75); }

    OnboardingMotion() = delete;
};

} // namespace nolvea
