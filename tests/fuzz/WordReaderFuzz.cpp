// Any file content must read as words, numbers and lines or end with the reader's error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/WordRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto reader = torvex::TWordReader::FromText(text);
    // Mix the reads by the input's first byte so every path gets exercised.
    const unsigned pattern = size ? static_cast<unsigned char>(text[0]) : 0;
    try {
        for (unsigned step = 0; step < 100000; ++step) {
            switch ((pattern >> (step % 7)) & 3) {
                case 0: reader.NextInteger(); break;
                case 1: reader.NextReal(); break;
                case 2: reader.NextWord(); break;
                default: reader.NextLine(); break;
            }
        }
    } catch (const torvex::EInOutError&) {
    }
    return 0;
}
