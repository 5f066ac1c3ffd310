#include "system/ScreenContext.h"

#include <array>
#include <string_view>

namespace nolvea {

namespace {

struct KindRule {
    std::array<std::string_view, 6> fragments;
    const char* phrase;
};

// Order matters: the first rule with a matching fragment wins ("slack.mail" is a chat).
constexpr std::array<KindRule, 4> kindRules{{
    {{"slack", "whatsapp", "telegram", "discord", "mobilesms", "messenger"},
     "chat (tom conversacional)"},
    {{"mail", "outlook", "spark"}, "e-mail"},
    {{"xcode", "vscode", "cursor", "terminal", "iterm", "zed"},
     "ferramenta de programação (preserve termos técnicos em inglês)"},
    {{"notion", "obsidian", "pages", "word", "notes"}, "documento/notas"},
}};

} // namespace

bool ScreenContext::isEmpty() const {
    return appName.isEmpty() && bundleID.isEmpty() && windowTitle.isEmpty() &&
           selectedText.isEmpty() && textBeforeCursor.isEmpty() && processID == 0;
}

QString ScreenContext::appKind() const {
    const QString id = bundleID.toLower();
    for (const KindRule& rule : kindRules) {
        for (std::string_view fragment : rule.fragments) {
            if (fragment.empty()) continue;
            if (id.contains(QLatin1String(fragment.data(), qsizetype(fragment.size()))))
                return QString::fromUtf8(rule.phrase);
        }
    }
    return {};
}

QString ScreenContext::textBefore(const QString& value, qint64 location) {
    const qint64 start = std::max<qint64>(location, 0);
    const qint64 end = std::min<qint64>(start, value.size());
    const qint64 from = std::max<qint64>(end - maxTextBeforeCursor, 0);
    return value.mid(qsizetype(from), qsizetype(end - from));
}

} // namespace nolvea
