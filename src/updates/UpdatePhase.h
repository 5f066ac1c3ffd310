#pragma once

#include "updates/UpdateRelease.h"

#include <QMetaType>
#include <QString>

#include <optional>

namespace nolvea {

// Where the updater stands, as the menu bar and the settings window show it.
struct UpdatePhase {
    enum class Kind { idle, checking, upToDate, available, downloading, installing, failed };

    Kind kind = Kind::idle;
    std::optional<UpdateRelease> release; // with `available`
    QString message;                      // with `failed`, shown unchanged

    static UpdatePhase idle() { return {}; }
    static UpdatePhase checking() { return {Kind::checking, {}, {}}; }
    static UpdatePhase upToDate() { return {Kind::upToDate, {}, {}}; }
    static UpdatePhase available(UpdateRelease r) { return {Kind::available, std::move(r), {}}; }
    static UpdatePhase downloading() { return {Kind::downloading, {}, {}}; }
    static UpdatePhase installing() { return {Kind::installing, {}, {}}; }
    static UpdatePhase failed(QString text) { return {Kind::failed, {}, std::move(text)}; }

    friend bool operator==(const UpdatePhase&, const UpdatePhase&) = default;
};

} // namespace nolvea

Q_DECLARE_METATYPE(nolvea::UpdatePhase)
