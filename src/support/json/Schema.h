#pragma once

#include "support/json/JSONValue.h"

#include <QString>
#include <QStringList>

// JSON Schema builders for tool parameters.
namespace nolvea::Schema {

JSONValue string(const QString& description);
JSONValue boolean(const QString& description);
// "required" is written also when empty.
JSONValue object(JSONValue::Object properties, const QStringList& required = {});

} // namespace nolvea::Schema
