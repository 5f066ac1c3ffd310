#pragma once

#include "core/AppState.h"
#include "ui/animation/EaseOutValue.h"
#include "ui/animation/SpringValue.h"
#include "ui/animation/TransitionLook.h"
#include "ui/notch/NotchEars.h"
#include "ui/notch/NotchPresentation.h"

#include <QSizeF>

#include <optional>

namespace nolvea {

// The island on its way between two presentations: its size, lower corners, glow and brand
// mark spring with the morph; the card of the presentation scales in from just under its size
// at the top once the island has begun to widen, while the card it replaced fades out quickly.
// Also the timing of the smaller pieces (recent rows, the paper plane, the field's send
// button). Free of drawing: the view asks it for a frame.
class NotchMotion {
public:
    struct Target {
        QSizeF size;
        double bottomRadius = 13;
        AppState::Stage stage = AppState::Stage::idle;
        NotchPresentation::Glow glow;
        QSizeF markSize{24, 18};
        bool markShown = true;
        bool operator==(const Target&) const = default;
    };
    struct Frame {
        QSizeF size;
        double bottomRadius = 13;
        NotchPresentation::Glow glow;
        QSizeF markSize;
        TransitionLook mark;
        TransitionLook card;                   // the card now showing
        std::optional<TransitionLook> leaving; // the card it replaced, on its way out
    };

    static constexpr double kCardFrom = 0.92;
    static constexpr double kCardDelay = 0.06;
    static constexpr double kCardFadeOut = 0.12;
    static constexpr double kRowStagger = 0.04;
    static constexpr double kRowRise = 6;
    static constexpr double kFlightDelay = 0.15;

    // The card coming in: scaled from 0.92 about its top centre while it fades in.
    static TransitionLook cardIn(double progress);
    // The card going away: a fade alone.
    static TransitionLook cardOut(double opacity);
    // The brand mark giving way to a status symbol (0) or shown (1): faded, shrunk, blurred.
    static TransitionLook mark(double shown);
    // A recent row coming in: from 6 px above, fading in.
    static TransitionLook row(double progress);
    // The delay of the recent row at `index`, so the rows cascade from the top.
    static double rowDelay(int index) { return kRowStagger * index; }
    // The paper plane's flight and the check mark that takes its place.
    static TransitionLook plane(double flown);
    static TransitionLook check(double flown);
    static SpringSpec flight() { return {0.55, 0.7, 0}; }
    // The send button of a field arriving or leaving: from a point about its centre.
    static TransitionLook sendButton(double progress);
    // The room at the end of a field for what shows there: the key cap while empty, the send
    // button once anything is typed, each with the gap before it; nothing when none shows.
    static double fieldRoom(bool empty, int keyCapWidth, int sendSide, int gap);
    // A button's symbol giving way to another: the old one shrinks and blurs away while the
    // new one grows in from smaller and blurred.
    static TransitionLook symbolSwap(double progress);
    // The working card's capsule coming with the work and going with it: blurred and smaller
    // while it comes or goes, with the stage's spring.
    static TransitionLook capsule(double progress);
    static SpringSpec capsuleSpring();

    // How an ear's symbol comes and goes: the status symbols and the busy indicators blur
    // in and out; the quiet indicators (dot, question, conversation) grow from a point.
    enum class EarSwap { blurReplace, scaleFade };
    static EarSwap rightSwap(NotchEars::Right right);
    static TransitionLook earLook(EarSwap swap, double progress);
    // What an ear's symbol does while it stays: a bounce once, or a steady pulse.
    enum class SymbolEffect { none, bounce, pulse };
    static SymbolEffect statusEffect(AppState::Stage stage, bool isSpeaking);
    static SymbolEffect rightEffect(NotchEars::Right right);
    // The opacity of a pulsing symbol `seconds` into its pulse.
    static double pulse(double seconds);
    static constexpr double kPulsePeriod = 1.2;

    // Aims at `target`. Size, corners and the mark spring with the morph; the glow springs
    // only with a change of stage and otherwise follows the microphone at once. Without
    // `animated` everything is put in place.
    void setTarget(const Target& target, bool animated);
    // The card was replaced: `hadCard` whether one leaves, `hasCard` whether one comes.
    void replaceCard(bool hadCard, bool hasCard, bool animated);
    // Moves time forward; returns whether anything still moves.
    bool advance(double seconds);
    void finish();

    Frame frame() const;
    const Target& target() const { return m_target; }

private:
    Target m_target;
    bool m_placed = false;
    SpringValue m_width, m_height, m_radius{13};
    SpringValue m_glowAlpha, m_glowRadius;
    QColor m_glowColor;
    SpringValue m_markWidth{24}, m_markHeight{18}, m_markShown{1};
    SpringValue m_card{1};
    double m_cardDelay = 0;
    EaseOutValue m_leaving{0, kCardFadeOut};
};

} // namespace nolvea
