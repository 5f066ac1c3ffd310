#pragma once

#include "core/HotkeyChoice.h"

#include <QString>

namespace nolvea {

// The rules of the answer card.
class AnswerCardModel {
public:
    // From this many characters on, the answer scrolls in a box of `kScrollHeight`.
    static constexpr int kScrollFrom = 420;
    static constexpr int kScrollHeight = 240;

    static bool scrolls(const QString& text);
    // How to reply or close, naming the hotkey.
    static QString hint(HotkeyChoice hotkey);
    static QString copyTitle(bool copied);
    static QString copySymbol(bool copied);

    AnswerCardModel() = delete;
};

} // namespace nolvea
