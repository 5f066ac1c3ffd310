#pragma once

#include "agent/CalcError.h"

#include <QString>

// Arithmetic as a pt-BR speaker writes it: "×", "x" and "de" multiply, "÷" divides, the
// Unicode minus subtracts, points group thousands and the comma is the decimal mark.
namespace nolvea::Calculator {

// The value of `text`; throws `CalcError` when it cannot be read or has no finite value.
double evaluate(const QString& text);

// `value` in pt-BR: grouping points, decimal comma, at most 6 fraction digits.
QString format(double value);

} // namespace nolvea::Calculator
