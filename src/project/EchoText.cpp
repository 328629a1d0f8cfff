#include "project/EchoText.h"

namespace torvex {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendEscaped(std::string& out, unsigned char byte) {
    constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

}  // namespace

std::string EchoText(std::string_view text) {
    std::string out;
    size_t characters = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        // A UTF-8 continuation byte belongs to the character before it.
        if ((byte & 0xC0) != 0x80 && characters++ == kEchoCharacters) {
            out += "...";
            break;
        }
        if (text.substr(i, kByteOrderMark.size()) == kByteOrderMark) {
            for (const char c : kByteOrderMark) AppendEscaped(out, static_cast<unsigned char>(c));
            i += kByteOrderMark.size();
        } else {
            if (byte < 0x20 || byte == 0x7F)
                AppendEscaped(out, byte);
            else
                out += text[i];
            ++i;
        }
    }
    return out;
}

}  // namespace torvex
