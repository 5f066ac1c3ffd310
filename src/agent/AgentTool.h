#pragma once

#include "ai/ToolSpec.h"
#include "core/ActionPreview.h"
#include "support/json/JSONValue.h"

#include <QString>
#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace nolvea {

// One function the model may call. Native tools and MCP servers build these; the agent loop
// reads them and never changes them.
struct AgentTool {
    // read: never confirmed, its errors go back to the model; action: confirmed, its errors
    // end the run; light: like action but never confirmed.
    enum class Kind { read, action, light };

    QString name{};
    QString description{};
    JSONValue parameters{}; // JSON Schema, normally `Schema::object`
    Kind kind = Kind::read;
    QString symbol{};   // icon name shown while it works
    QString progress{}; // status text shown while it works
    QString group{};    // heading in the settings window
    std::optional<QString> editableKey{};
    bool alwaysConfirm = false;
    // Synchronous and infallible: the confirmation card and the dry run's title.
    std::function<ActionPreview(const JSONValue& args)> preview{};
    // Does the work on the main thread; throws `ToolError` (or any error) on failure.
    std::function<QCoro::Task<QString>(JSONValue args)> run{};

    // How the model is offered it.
    ToolSpec spec() const { return {QStringLiteral("function"), {name, description, parameters}}; }
};

} // namespace nolvea
