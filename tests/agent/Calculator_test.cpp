#include "agent/Calculator.h"

#include <gtest/gtest.h>

#include <variant>

using namespace nolvea;

namespace {

// Each expression gives either a value (and its pt-BR text) or an error message.
struct Case {
    QString expression;
    std::variant<double, QString> expected;
    QString formatted = {};
};

TEST(Calculator, EvaluatesTheWayItIsSpoken) {
    const QList<Case> cases = {
        {"15% * 230", 34.5, "34,5"},
        {"2^10", 1024.0, "1.024"},
        {"2^3^2", 512.0, "512"},
        {"-2^2", 4.0, "4"},
        {"2^-1", 0.5, "0,5"},
        {"(1200 - 350) / 3", 850.0 / 3, "283,333333"},
        {"1.500 + 2,5", 1502.5, "1.502,5"},
        {"0.125", 125.0, "125"},
        {"1.000.000", 1000000.0, "1.000.000"},
        {"1.000.000,5 * 2", 2000001.0, "2.000.001"},
        {"1.2345 + 1", 2.2345, "2,2345"},
        {"10% de 200", 20.0, "20"},
        {"3 X 4", 12.0, "12"},
        {"3 × 4", 12.0, "12"},
        {"8 ÷ 2", 4.0, "4"},
        {"10 \u2212 3", 7.0, "7"},
        {"+5", 5.0, "5"},
        {" ( 2 + 3 ) * 4 ", 20.0, "20"},
        {"-0", 0.0, "0"},
        {".5 + 1", 1.5, "1,5"},
        {"1/3", 1.0 / 3, "0,333333"},
        {"1/0", QString("Divisão por zero.")},
        {"0/0", QString("Divisão por zero.")},
        {"10^400", QString("Resultado indefinido.")},
        {"(-8)^0,5", QString("Resultado indefinido.")},
        {"1" + QString(400, u'0'), QString("Resultado indefinido.")},
        {"", QString("Expressão incompleta.")},
        {"2 +", QString("Expressão incompleta.")},
        {"(1+2", QString("Faltou fechar parêntese.")},
        {"abc", QString("Esperava um número em \"abc\".")},
        {"2 * ²3", QString("Esperava um número em \"\".")},
        {"1..2", QString("Esperava um número em \"\".")},
        {"2 3", QString("Expressão inválida perto de \"3\".")},
        {"50%%", QString("Expressão inválida perto de \"%\".")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression.toStdString());
        if (const auto* value = std::get_if<double>(&c.expected)) {
            const double got = Calculator::evaluate(c.expression);
            EXPECT_DOUBLE_EQ(got, *value);
            EXPECT_EQ(Calculator::format(got), c.formatted);
        } else {
            try {
                Calculator::evaluate(c.expression);
                ADD_FAILURE() << "no error";
            } catch (const CalcError& e) {
                EXPECT_EQ(e.message(), std::get<QString>(c.expected));
            }
        }
    }
}

TEST(Calculator, FormatsLikeThePtBrNumberFormatter) {
    EXPECT_EQ(Calculator::format(-1234567.5), "-1.234.567,5");
    EXPECT_EQ(Calculator::format(0.0000004), "0");
    EXPECT_EQ(Calculator::format(0.1234567), "0,123457"); // 6 digits, rounded
    EXPECT_EQ(Calculator::format(1e15), "1.000.000.000.000.000");
}

// Text a model may have been steered into sending: deep nesting is refused as an invalid
// expression instead of exhausting the stack.
TEST(Calculator, RefusesNestingDeeperThanAFewHundredLevels) {
    const QString chainedPowers = "2" + QString("^1").repeated(1'000'000);
    const QList<QString> deep = {
        QString(17'500, u'(') + "1" + QString(17'500, u')'),
        QString(1'000'000, u'-') + "1",
        chainedPowers,
        QString(600, u'(') + "1" + QString(600, u')'),
    };
    for (const QString& expression : deep) {
        SCOPED_TRACE(expression.left(20).toStdString());
        try {
            Calculator::evaluate(expression);
            ADD_FAILURE() << "no error";
        } catch (const CalcError& e) {
            EXPECT_TRUE(e.message().startsWith("Expressão inválida perto de \""));
            EXPECT_LT(e.message().size(), 100); // the rest is cut, not a megabyte for the model
        }
    }

    // Ordinary nesting still counts.
    EXPECT_DOUBLE_EQ(Calculator::evaluate(QString(100, u'(') + "1+1" + QString(100, u')')), 2.0);
    EXPECT_DOUBLE_EQ(Calculator::evaluate(QString(100, u'-') + "3"), 3.0);
    EXPECT_DOUBLE_EQ(Calculator::evaluate("2" + QString("^1").repeated(100)), 2.0);
}

} // namespace
