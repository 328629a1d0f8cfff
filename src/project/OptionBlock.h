#pragma once
// The project's option block: settings that the data file's fixed layout has no place for,
// kept in one optional block after the file's last line (after the last stage of a staged
// file). The block is the line "TORVEX-OPTIONS 1", one "key value" line per setting that
// differs from its default, and the line "END". A project whose settings are all at their
// defaults writes no block, so its file is exactly what it was without one.
//
// Values are in the file's units: lengths in the small length unit (in, m), forces in lbs or
// kN, moments in lbs-in or kN-m, pressures in psi or kPa. A few settings hold a word instead
// (DesignCode, EarthPressureMethod; UnplannedExcavation a length or Auto), read whatever its
// case and written in the spelling listed here. The block belongs to the project, never to a
// stage file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torvex {

inline constexpr const char* kOptionBlockHeader = "TORVEX-OPTIONS";
inline constexpr int kOptionBlockVersion = 1;
inline constexpr const char* kOptionBlockEnd = "END";
inline constexpr size_t kMaxJobTextBytes = 200;

// The code a design is shown to: none (one global factor on strength) or a Design Approach of
// EN 1997-1, whose combinations are analysed side by side.
enum class TDesignCode : int32_t { None, EC7_DA1, EC7_DA2, EC7_DA3 };

// How the earth-pressure coefficients are found: Rankine's (no wall friction), Coulomb's plane
// wedges, or EN 1997-1 Annex C's curved surfaces with wall friction.
enum class TEarthPressureMethod : int32_t { Rankine, Coulomb, EC7AnnexC };

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
    // Design to a code.
    TDesignCode DesignCode = TDesignCode::None;
    bool UnplannedExcavationAuto = true;  // 10 % of the clear height, at most 0.5 m
    long double UnplannedExcavation = 0;  // (L) when not Auto; 0: none
    long double MinimumSurcharge = 0;     // (F/L^2) the backfill surcharge is raised to this
    TEarthPressureMethod EarthPressureMethod = TEarthPressureMethod::Rankine;
    long double WallFrictionActive = 0;   // delta / phi behind the wall, 0 to 1
    long double WallFrictionPassive = 0;  // delta / phi in front of it, 0 to 1
    int32_t WallLoadsVariable = 0;        // 1: the Loads table's loads are variable actions
    int32_t NetPressureBelowExcavation = 0;  // 1: below the excavation, active less the front's
    // Water under the wall and the base of the excavation.
    int32_t Seepage = 0;                  // 1: steady seepage round the toe where the levels differ
    long double ExcavationWidth = 0;      // (L) B for basal heave; 0: not checked
    long double ExcavationLength = 0;     // (L) L for basal heave; 0: a long excavation
    long double BasalHeaveFactor = 1.5L;  // the least acceptable basal-heave factor
    // Partial factors (EN 1997-1 Annex A's recommended values): sets A1 and A2 on actions, M2
    // on strengths, R2 on earth resistance, HYD, and the anchors' pull-out.
    long double GammaG = 1.35L, GammaQ = 1.5L, GammaQ2 = 1.3L;
    long double GammaTanPhi = 1.25L, GammaCohesion = 1.25L, GammaUndrained = 1.4L,
                GammaUnconfined = 1.4L, GammaUnitWeight = 1.0L;
    long double GammaEarthResistance = 1.4L;
    long double GammaHydDst = 1.35L, GammaHydStb = 0.9L;
    long double GammaAnchor = 1.1L;
    // The job, for the report's title block and footers: one line of text each (no control
    // bytes, blanks at either end dropped, at most kMaxJobTextBytes); "" when not given.
    std::string JobNumber, JobTitle, Engineer, Checker, Revision;

    bool operator==(const TProjectOptions&) const = default;
};

// The block as text, lines ended by CR LF; "" when every setting has its default. Each value
// is written in the shortest text that reads back as the same value.
std::string OptionBlockText(const TProjectOptions& options);

// Whether a line reads as the block's header once case, blanks, byte-order marks and control
// bytes are set aside ("torvex-options 1", "TORVEX-OPTION 1", "TORVEX-OPTIONS1"): such a line
// is taken as a header, never as other text after the data, so that a mistyped one is refused
// instead of its settings being silently dropped.
bool LooksLikeOptionHeader(std::string_view line);

// The byte where the block's first line starts: the first line at or after the 0-based line
// `fromLine` that LooksLikeOptionHeader. Nothing when there is none. When `after` is not
// empty (the marker of a staged file's stages), a block followed by a line that holds it is
// before the last stage, where neither stage would see it: that raises EInOutError naming the
// block's line.
std::optional<size_t> FindOptionBlock(std::string_view text, size_t fromLine,
                                      std::string_view after = {});

// Reads the block that starts at byte `start` of text. A header other than exactly
// "TORVEX-OPTIONS 1" (blanks aside), an unknown or repeated key, a value that is not a number
// (or not one of the key's words) or out of its range, anything after END or no END raises
// EInOutError with a message naming the line ("Error on Line N\r...").
TProjectOptions ReadOptionBlock(std::string_view text, size_t start);

// "" when the setting `name` may hold `value`; otherwise the message that says its range
// ("The value 2 of SeismicKh must be from 0 up to (not including) 1."). A key of words holds
// no number ("The value 2 of DesignCode must be one of None, EC7-DA1, EC7-DA2, EC7-DA3.").
std::string OptionValueFault(std::string_view name, long double value);

// Raises EInOutError naming the first setting outside its range (a unit change can take one
// there): the writers call it, so that no file is written that could not be read again.
void CheckOptionRanges(const TProjectOptions& options);

// A job text as the block keeps it: blanks at either end dropped; "" when it may be kept so,
// otherwise why not (a control byte, or longer than kMaxJobTextBytes).
std::string JobTextFault(std::string_view text);
std::string TrimmedJobText(std::string_view text);

// The words the block writes for a design code ("None", "EC7-DA1", ...) and an earth-pressure
// method ("Rankine", "Coulomb", "EC7-AnnexC").
const char* DesignCodeWord(TDesignCode code);
const char* EarthPressureMethodWord(TEarthPressureMethod method);

// Converts the values with a length factor and a force factor (new unit per old unit).
void ScaleOptionUnits(TProjectOptions& options, long double length, long double force);

}  // namespace torvex
