#include "agent/tools/ToolKit.h"

namespace nolvea::ToolKit {

QString text(const JSONValue& arguments, const QString& key) {
    return arguments.optional(key).value_or(QString());
}

bool isTrue(const JSONValue& arguments, const QString& key) {
    const auto value = arguments[key];
    return value && value->asBool().value_or(false);
}

ActionPreview preview(const QString& symbol, const QString& title, QStringList details) {
    ActionPreview p;
    p.symbol = symbol;
    p.title = title;
    p.details = std::move(details);
    return p;
}

JSONValue stringArray(const QString& description) {
    return JSONValue::object({{"type", "array"},
                              {"items", JSONValue::object({{"type", "string"}})},
                              {"description", description}});
}

namespace {
QCoro::Task<QString> runNow(std::function<QString(const JSONValue&)> work, JSONValue arguments) {
    co_return work(arguments);
}
} // namespace

std::function<QCoro::Task<QString>(JSONValue)> now(std::function<QString(const JSONValue&)> work) {
    return [work = std::move(work)](JSONValue arguments) {
        return runNow(work, std::move(arguments));
    };
}

} // namespace nolvea::ToolKit
