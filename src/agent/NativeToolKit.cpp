#include "agent/NativeToolKit.h"

namespace nolvea::NativeToolKit {

QString text(const JSONValue& arguments, const QString& key) {
    return arguments.optional(key).value_or(QString());
}

ActionPreview preview(const QString& symbol, const QString& title, QStringList details) {
    ActionPreview p;
    p.symbol = symbol;
    p.title = title;
    p.details = std::move(details);
    return p;
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

} // namespace nolvea::NativeToolKit
