// JSON text of any origin: read, written again, and read back as the same value.
#include "FuzzSupport.h"
#include "support/json/JSONValue.h"

#include <cmath>

using namespace nolvea;

namespace {

// Infinity (a number too large to hold) is written as null: such values do not round-trip.
bool finite(const JSONValue& v) {
    switch (v.type()) {
    case JSONValue::Type::Number:
        return std::isfinite(*v.asNumber());
    case JSONValue::Type::Array:
        for (const JSONValue& item : v.asArray())
            if (!finite(item)) return false;
        return true;
    case JSONValue::Type::Object:
        for (const auto& [key, item] : v.asObject())
            if (!finite(item)) return false;
        return true;
    default:
        return true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const std::optional<JSONValue> value = JSONValue::parse(input);
    const std::optional<JSONValue> fromText = JSONValue::parse(QString::fromUtf8(input));
    if (input.isValidUtf8()) FUZZ_CHECK(value.has_value() == fromText.has_value());
    if (!value) return 0;

    const QByteArray compact = value->compactBytes();
    const std::optional<JSONValue> again = JSONValue::parse(compact);
    FUZZ_CHECK(again.has_value());
    // Writing is stable even when a value does not survive it.
    FUZZ_CHECK(again->compactBytes() == compact);
    if (!finite(*value)) return 0;
    FUZZ_CHECK(*again == *value);
    const std::optional<JSONValue> pretty = JSONValue::parse(value->prettyBytes());
    FUZZ_CHECK(pretty && *pretty == *value);
    FUZZ_CHECK(JSONValue::parse(value->compactString()) == value);
    return 0;
}
