#include "ui/overlay/AnswerCardModel.h"

#include "support/Graphemes.h"

namespace nolvea {

bool AnswerCardModel::scrolls(const QString& text) {
    return Graphemes::count(text) >= kScrollFrom;
}

QString AnswerCardModel::hint(HotkeyChoice hotkey) {
    return QStringLiteral("segure ") +
           (hotkey == HotkeyChoice::fn ? QStringLiteral("fn") : QStringLiteral("a tecla")) +
           QStringLiteral(" para responder · esc fecha");
}

QString AnswerCardModel::copyTitle(bool copied) {
    return copied ? QStringLiteral("Copiado") : QStringLiteral("Copiar");
}

QString AnswerCardModel::copySymbol(bool copied) {
    return copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.doc");
}

} // namespace nolvea
