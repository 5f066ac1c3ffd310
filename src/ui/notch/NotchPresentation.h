#pragma once

#include "core/AppState.h"

#include <QColor>
#include <QList>
#include <QString>

namespace nolvea {

// What the island shows for the live state, and the size and outline that go with it.
class NotchPresentation {
public:
    enum class Kind { compact, listening, hover, working, confirm, answer, result };

    static constexpr int kShoulder = 8;

    struct Glow {
        QColor color; // transparent outside listening
        double radius = 0;
        bool operator==(const Glow&) const = default;
    };

    static Kind of(AppState::Stage stage, VoiceMode mode, bool hovering, const QString& liveText);
    // The island's frame width for a notch `notchWidth` wide.
    static int islandWidth(Kind kind, int notchWidth, bool hasEmailDraft);
    static double bottomRadius(Kind kind);
    static bool showsCard(Kind kind) { return kind != Kind::compact && kind != Kind::listening; }
    // Follows the stage, not the presentation: a listening island that hovers still glows.
    static Glow glow(AppState::Stage stage, const QList<float>& levels);
    static QString name(Kind kind);

    NotchPresentation() = delete;
};

} // namespace nolvea
