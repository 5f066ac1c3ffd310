#pragma once

#include "agent/AgentTool.h"
#include "core/ActionPreview.h"
#include "support/json/JSONValue.h"

#include <QStringList>

// Small pieces the built-in tool records are made of.
namespace nolvea::ToolKit {

// `optional(key)` of the arguments, or "".
QString text(const JSONValue& arguments, const QString& key);

// Only a JSON true counts: the text "true" does not.
bool isTrue(const JSONValue& arguments, const QString& key);

// A card with these lines and nothing else.
ActionPreview preview(const QString& symbol, const QString& title, QStringList details = {});

// The schema of an argument that is a list of texts.
JSONValue stringArray(const QString& description);

// A run that does its work synchronously on the calling (main) thread.
std::function<QCoro::Task<QString>(JSONValue)> now(std::function<QString(const JSONValue&)> work);

} // namespace nolvea::ToolKit
