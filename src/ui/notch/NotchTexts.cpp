#include "ui/notch/NotchTexts.h"

#include "support/Graphemes.h"

namespace nolvea {

QString NotchTexts::keyWord(HotkeyChoice hotkey) {
    return hotkey == HotkeyChoice::fn ? QStringLiteral("fn") : QStringLiteral("a tecla");
}

QString NotchTexts::keyCap(HotkeyChoice hotkey) {
    switch (hotkey) {
    case HotkeyChoice::fn:
        return QStringLiteral("fn");
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥");
    case HotkeyChoice::rightCommand:
        break;
    }
    return QStringLiteral("⌘");
}

QString NotchTexts::requestPlaceholder(bool awaitingReply, HotkeyChoice hotkey) {
    if (awaitingReply)
        return QStringLiteral("Responda à pergunta… ou segure ") + keyWord(hotkey) +
               QStringLiteral(" e fale");
    return QStringLiteral("Digite ou segure ") + keyWord(hotkey) + QStringLiteral(" para falar");
}

QString NotchTexts::replyPlaceholder(HotkeyChoice hotkey) {
    return QStringLiteral("Responder… ou segure ") + keyWord(hotkey) + QStringLiteral(" e fale");
}

QString NotchTexts::workingLine(const QString& liveText) {
    return liveText.isEmpty() ? QStringLiteral("…") : liveText;
}

QString NotchTexts::progressLine(const QString& statusText) {
    return statusText.isEmpty() ? QStringLiteral("Trabalhando…") : statusText;
}

std::optional<QString> NotchTexts::progressSymbol(const std::optional<QString>& toolSymbol,
                                                  bool hasTargetIcon) {
    if (toolSymbol) return toolSymbol;
    if (hasTargetIcon) return std::nullopt;
    return QStringLiteral("sparkles");
}

bool NotchTexts::resultIsEmail(const QString& statusText) {
    return statusText.startsWith(QStringLiteral("E-mail"), Qt::CaseSensitive);
}

std::optional<QString> NotchTexts::conversationLabel(int turns) {
    if (turns < 2) return std::nullopt;
    return QStringLiteral("Conversa · %1").arg(turns);
}

bool NotchTexts::answerScrolls(const QString& answer) {
    return Graphemes::count(answer) >= kAnswerScrollFrom;
}

QString NotchTexts::speechSymbol(bool speaking) {
    return speaking ? QStringLiteral("stop.fill") : QStringLiteral("speaker.wave.2.fill");
}

QString NotchTexts::speechHelp(bool speaking) {
    return speaking ? QStringLiteral("Parar de falar") : QStringLiteral("Ouvir de novo");
}

QStringList NotchTexts::visibleDetails(const ActionPreview& preview) {
    QStringList out;
    for (const QString& d : preview.details)
        if (!d.isEmpty() && d != preview.editableValue) out << d;
    return out;
}

} // namespace nolvea
