#pragma once
// The project's option block: settings that the data file's fixed layout has no place for,
// kept in one optional block after the file's last line (after the last stage of a staged
// file). The block is the line "TORVEX-OPTIONS 1", one "key value" line per setting that
// differs from its default, and the line "END". A project whose settings are all at their
// defaults writes no block, so its file is exactly what it was without one.
//
// Values are in the file's units: lengths in the small length unit (in, m), forces in lbs or
// kN, moments in lbs-in or kN-m. The block belongs to the project, never to a stage file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torvex {

inline constexpr const char* kOptionBlockHeader = "TORVEX-OPTIONS";
inline constexpr int kOptionBlockVersion = 1;
inline constexpr const char* kOptionBlockEnd = "END";

struct TProjectOptions {
    long double MomentCapacity = 0;       // of the wall unit (F-L); 0: not checked
    long double ShearCapacity = 0;        // of the wall unit (F); 0: not checked
    long double AllowableDeflection = 0;  // (L); 0: not checked
    long double TargetSafetyFactor = 1.5L;  // for the required embedment
    long double SeismicKh = 0;
    long double SeismicKv = 0;            // positive when the inertia force acts upward
    int32_t LayeredSoil = 0;              // 1: equivalent depths below the first layer
    int32_t CyclicLoading = 0;            // 1: cyclic p-y curves
    int32_t CyclicCycles = 1;             // number of cycles N

    bool operator==(const TProjectOptions&) const = default;
};

// The block as text, lines ended by CR LF; "" when every setting has its default.
std::string OptionBlockText(const TProjectOptions& options);

// The byte where the block's first line starts: the first line at or after the 0-based line
// `fromLine`, and after the last line that holds `after` when that is not empty (the marker
// of a staged file's last stage), whose first word is the header word. Nothing when there is
// none.
std::optional<size_t> FindOptionBlock(std::string_view text, size_t fromLine,
                                      std::string_view after = {});

// Reads the block that starts at byte `start` of text. An unknown or repeated key, a value
// that is not a number or out of its range, a wrong version, anything after END or no END
// raises EInOutError with a message naming the line ("Error on Line N\r...").
TProjectOptions ReadOptionBlock(std::string_view text, size_t start);

// Converts the values with a length factor and a force factor (new unit per old unit).
void ScaleOptionUnits(TProjectOptions& options, long double length, long double force);

}  // namespace torvex
