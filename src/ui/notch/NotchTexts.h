#pragma once

#include "core/ActionPreview.h"
#include "core/HotkeyChoice.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// The words and small choices of the island's cards.
class NotchTexts {
public:
    // From this many characters on, an answer scrolls in a box this high.
    static constexpr int kAnswerScrollFrom = 420;
    static constexpr int kAnswerScrollHeight = 220;

    static QString keyWord(HotkeyChoice hotkey);
    static QString keyCap(HotkeyChoice hotkey);
    static QString requestPlaceholder(bool awaitingReply, HotkeyChoice hotkey);
    static QString replyPlaceholder(HotkeyChoice hotkey);

    static QString workingLine(const QString& liveText);
    static QString progressLine(const QString& statusText);
    // The glyph of the progress capsule: the tool's symbol, else the target application's icon
    // (nothing here), else sparkles.
    static std::optional<QString> progressSymbol(const std::optional<QString>& toolSymbol,
                                                 bool hasTargetIcon);

    static bool resultIsEmail(const QString& statusText);

    static std::optional<QString> conversationLabel(int turns);
    static bool offersNewConversation(int turns) { return turns >= 1; }
    static bool answerScrolls(const QString& answer);
    static QString speechSymbol(bool speaking);
    static QString speechHelp(bool speaking);

    static QStringList visibleDetails(const ActionPreview& preview);

    NotchTexts() = delete;
};

} // namespace nolvea
