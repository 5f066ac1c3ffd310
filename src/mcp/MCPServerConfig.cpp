#include "mcp/MCPServerConfig.h"

namespace nolvea {

JSONValue MCPServerConfig::toJSON() const {
    JSONValue::Object o{{QStringLiteral("command"), command}};
    if (args) {
        JSONValue::Array a;
        for (const QString& s : *args)
            a.emplace_back(s);
        o.emplace(QStringLiteral("args"), std::move(a));
    }
    if (env) {
        JSONValue::Object e;
        for (auto it = env->begin(); it != env->end(); ++it)
            e.emplace(it.key(), it.value());
        o.emplace(QStringLiteral("env"), std::move(e));
    }
    if (disabled) o.emplace(QStringLiteral("disabled"), *disabled);
    return JSONValue(std::move(o));
}

std::variant<MCPServerConfig, MCPError> MCPServerConfig::fromJSON(const QString& name,
                                                                  const JSONValue& value) {
    const auto fail = [&](const QString& why) {
        return MCPError::invalidConfig(QStringLiteral("o servidor \"%1\" %2").arg(name, why));
    };
    if (!value.isObject()) return fail(QStringLiteral("não é um objeto."));
    MCPServerConfig config;
    const auto command = value[QStringLiteral("command")];
    if (!command) return fail(QStringLiteral("não tem \"command\"."));
    if (!command->isString()) return fail(QStringLiteral("tem \"command\" que não é texto."));
    config.command = *command->asString();

    if (const auto args = value[QStringLiteral("args")]) {
        if (!args->isArray()) return fail(QStringLiteral("tem \"args\" que não é uma lista."));
        QStringList list;
        for (const JSONValue& item : args->asArray()) {
            if (!item.isString())
                return fail(QStringLiteral("tem em \"args\" um valor que não é texto."));
            list << *item.asString();
        }
        config.args = list;
    }
    if (const auto env = value[QStringLiteral("env")]) {
        if (!env->isObject()) return fail(QStringLiteral("tem \"env\" que não é um objeto."));
        QMap<QString, QString> map;
        for (const auto& [key, item] : env->asObject()) {
            if (!item.isString())
                return fail(QStringLiteral("tem em \"env\" um valor que não é texto."));
            map.insert(key, *item.asString());
        }
        config.env = map;
    }
    if (const auto disabled = value[QStringLiteral("disabled")]) {
        if (!disabled->isBool())
            return fail(QStringLiteral("tem \"disabled\" que não é true/false."));
        config.disabled = *disabled->asBool();
    }
    return config;
}

} // namespace nolvea
