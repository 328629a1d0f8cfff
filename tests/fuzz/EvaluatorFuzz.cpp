// Any text typed into a cell or field must evaluate or raise one of the evaluator's errors.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "dataentry/Evaluator.h"
#include "dataentry/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    torvex::SetDecimalSeparator(size % 2 ? ',' : '.');
    try {
        torvex::Evaluate(text);
    } catch (const std::exception&) {
    }
    try {
        torvex::EvaluateOperand(text);
    } catch (const std::exception&) {
    }
    return 0;
}
