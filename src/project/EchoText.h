#pragma once
// A key, value or line of the user's as a message repeats it: at most 80 characters (then
// "..."), and every control byte and byte-order mark shown as \xNN, so that a garbled or
// enormous input cannot hide itself or flood the message.

#include <cstddef>
#include <string>
#include <string_view>

namespace torvex {

inline constexpr size_t kEchoCharacters = 80;

std::string EchoText(std::string_view text);

}  // namespace torvex
