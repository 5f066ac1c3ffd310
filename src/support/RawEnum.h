#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace nolvea {

// Enumerations stored as their case names. Each enumeration specialises `RawNames` with
// the names in declaration order:
//   template <> struct RawNames<HotkeyChoice> {
//       static constexpr std::array<std::string_view, 3> names{"fn", "rightOption", ...};
//   };
template <typename E> struct RawNames;

template <typename E> QString rawValue(E value) {
    const auto& names = RawNames<E>::names;
    const auto i = static_cast<std::size_t>(value);
    if (i >= names.size()) return {};
    return QString::fromLatin1(names[i].data(), qsizetype(names[i].size()));
}

// The case whose name equals `text` exactly (case-sensitive, no trimming).
template <typename E> std::optional<E> fromRawValue(const QString& text) {
    const auto& names = RawNames<E>::names;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (text == QLatin1String(names[i].data(), qsizetype(names[i].size())))
            return static_cast<E>(i);
    return std::nullopt;
}

template <typename E> constexpr auto allCases() {
    constexpr auto n = RawNames<E>::names.size();
    std::array<E, n> cases{};
    for (std::size_t i = 0; i < n; ++i)
        cases[i] = static_cast<E>(i);
    return cases;
}

} // namespace nolvea
