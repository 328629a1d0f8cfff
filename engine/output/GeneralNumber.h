#pragma once
// Numbers as printf's "%.*g" writes them in the C locale, several times faster than
// std::to_chars with a precision: a result file holds thousands of them.

namespace torvex::engine {

// Room for any number FormatGeneral writes.
inline constexpr int kGeneralNumberSize = 64;

// Writes value with `digits` significant digits (1 to 17) into out, which has room for
// kGeneralNumberSize characters, and returns the end. The text is the one std::to_chars gives
// with std::chars_format::general and that precision, character for character.
char* FormatGeneral(char* out, double value, int digits);

}  // namespace torvex::engine
