#pragma once

#include "core/AppState.h"
#include "ui/components/BrandMarkModel.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <optional>

namespace nolvea {

// The two ends of the island's top band: the brand mark or a status symbol on the left, at
// most one indicator on the right.
class NotchEars {
public:
    struct Inputs {
        AppState::Stage stage = AppState::Stage::idle;
        VoiceMode mode = VoiceMode::dictation;
        QList<float> levels;
        bool isSpeaking = false;
        std::optional<QString> toolSymbol;
        bool hasTargetAppIcon = false;
        bool hasUnseenResult = false;
        bool awaitingReply = false;
        int conversationTurns = 0;
        bool hovering = false;

        static Inputs of(const AppState& state, bool hovering);
    };

    struct Symbol {
        QString name;
        int size = 12;
        QColor color;
        bool operator==(const Symbol&) const = default;
    };

    enum class Right { none, target, tool, thinking, unseen, question, conversation };

    // Width of each ear block for an island `islandWidth` wide.
    static int earWidth(int islandWidth, int notchWidth);

    static BrandMarkInputs mark(const Inputs& in);
    static QSize markSize(AppState::Stage stage);
    // Whether the mark gives way to a status symbol.
    static bool hidesMark(AppState::Stage stage);
    static std::optional<Symbol> status(const Inputs& in);

    static Right right(const Inputs& in);
    // The symbols the right indicator draws, in order (the target's icon is drawn apart).
    static QList<Symbol> rightSymbols(const Inputs& in);
    static QString rightTooltip(Right right);

    NotchEars() = delete;
};

} // namespace nolvea
