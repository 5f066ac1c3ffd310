#include "ui/settings/SettingsSection.h"

namespace nolvea::SettingsSections {

namespace {

struct Row {
    const char* raw;
    const char* title;
    const char* symbol;
};

Row row(SettingsSection section) {
    switch (section) {
    case SettingsSection::general:
        return {"general", "Geral", "gearshape.fill"};
    case SettingsSection::ai:
        return {"ai", "IA", "cpu.fill"};
    case SettingsSection::vocabulary:
        return {"vocabulary", "Vocabulário", "character.book.closed.fill"};
    case SettingsSection::agent:
        return {"agent", "Agente", "sparkles"};
    case SettingsSection::integrations:
        return {"integrations", "Integrações", "puzzlepiece.extension.fill"};
    case SettingsSection::about:
        break;
    }
    return {"about", "Sobre", "info.circle.fill"};
}

} // namespace

const std::array<SettingsSection, 6>& allCases() {
    static const std::array<SettingsSection, 6> cases{
        SettingsSection::general, SettingsSection::ai,           SettingsSection::vocabulary,
        SettingsSection::agent,   SettingsSection::integrations, SettingsSection::about};
    return cases;
}

QString rawValue(SettingsSection section) {
    return QString::fromLatin1(row(section).raw);
}

std::optional<SettingsSection> fromRawValue(const QString& text) {
    for (SettingsSection s : allCases())
        if (rawValue(s) == text) return s;
    return std::nullopt;
}

QString title(SettingsSection section) {
    return QString::fromUtf8(row(section).title);
}

QString symbol(SettingsSection section) {
    return QString::fromLatin1(row(section).symbol);
}

} // namespace nolvea::SettingsSections
