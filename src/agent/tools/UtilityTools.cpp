#include "agent/tools/UtilityTools.h"

#include "agent/Calculator.h"
#include "agent/ToolArguments.h"
#include "agent/tools/ToolKit.h"
#include "support/json/Schema.h"

namespace nolvea::UtilityTools {

using namespace ToolKit;

namespace {

QString evaluated(const JSONValue& args) {
    const QString expression = requiredArgument(args, QStringLiteral("expression"));
    return expression + QStringLiteral(" = ") +
           Calculator::format(Calculator::evaluate(expression));
}

} // namespace

const AgentTool& calculate() {
    static const AgentTool tool{
        .name = "calculate",
        .description = "Calcula uma expressão numérica com exatidão. Use SEMPRE para qualquer "
                       "conta (porcentagem, soma, divisão, juros, conversões). Ex.: \"15% * "
                       "230\", \"(1200 - 350) / 3\", \"2^10\".",
        .parameters = Schema::object(
            {{"expression", Schema::string("Expressão com números, + - * / ^ ( ) e %")}},
            {"expression"}),
        .kind = AgentTool::Kind::read,
        .symbol = "function",
        .progress = "Calculando…",
        .group = "Utilidades",
        .preview =
            [](const JSONValue& args) {
                return preview("function", "Calcular", {text(args, "expression")});
            },
        .run = now(evaluated),
    };
    return tool;
}

} // namespace nolvea::UtilityTools
