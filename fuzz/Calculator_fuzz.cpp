// What the person says to the calculator: a finite value or a calculator error.
#include "FuzzSupport.h"
#include "agent/CalcError.h"
#include "agent/Calculator.h"

#include <cmath>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const double value = Calculator::evaluate(QString::fromUtf8(fuzz::bytes(data, size)));
        FUZZ_CHECK(std::isfinite(value));
        FUZZ_CHECK(!Calculator::format(value).isEmpty());
    } catch (const CalcError& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
    return 0;
}
