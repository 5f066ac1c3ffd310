#pragma once

#include <QString>

#include <array>
#include <optional>

namespace nolvea {

// The sections of the settings window, in the sidebar's order.
enum class SettingsSection { general, ai, vocabulary, agent, integrations, about };

namespace SettingsSections {

const std::array<SettingsSection, 6>& allCases();
QString rawValue(SettingsSection section);
// The section whose raw value is exactly `text`.
std::optional<SettingsSection> fromRawValue(const QString& text);
QString title(SettingsSection section);
QString symbol(SettingsSection section);

} // namespace SettingsSections

} // namespace nolvea
