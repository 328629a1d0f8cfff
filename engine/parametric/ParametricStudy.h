#pragma once
// A parametric study: one input of a project varied over a range, every variant analysed in
// memory on all cores, and per variant the answers an engineer follows (deflections, the
// largest moment and shear, the support forces, the limit-equilibrium F). No file is read
// or written: the project comes as data-file text and the answers go back as values.
//
// The case a row shows: for a staged file the chosen stage (the last by default), into whose
// input the value goes (an option-block key goes to the whole project). For a file without
// stages, its first case (the short-term one of a file with a long-term case), but the
// long-term case for a cell of a long-term table (LongSoil, LongDist), the only case such a
// value changes.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Analysis.h"
#include "parametric/StudyKey.h"

namespace torvex::engine {

struct TStudyRequest {
    std::string text;      // the data file's text
    std::string dataFile;  // its name, for messages
    std::string key;       // the input to vary (StudyKey.h)
    double from = 0, to = 0;
    int count = 0;         // variants, 1 to kMaxStudyVariants; 1 gives `from` alone
    int stage = 0;         // 1..N for a staged file; 0: the last stage
    unsigned threads = 0;  // 0: one per core
    // Set from any thread to stop: each thread finishes the variant it is on and takes no
    // other.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the worker threads after each variant with the number done so far.
    std::function<void(int done, int total)> progress;
};

inline constexpr int kMaxStudyVariants = 1000;

struct TStudyRow {
    double value = 0;  // as applied (a whole number of increments)
    bool done = false; // false for a variant a cancel left out
    TOutcome outcome = TOutcome::InputError;
    std::string message;
    double topDeflection = 0, maxDeflection = 0, maxMoment = 0, maxShear = 0;
    std::vector<double> supportForces;
    std::optional<double> leF;  // when found
};

struct TStudyResult {
    std::string key;
    int stage = 0;          // the stage studied; 0 for a file without stages
    std::string caseLabel;  // that of the first variant analysed
    int unitCode = 1;
    std::vector<TStudyRow> rows;
    size_t supportCount = 0;  // the most any variant has
    bool cancelled = false;
    bool AllConverged() const;
};

// The values of the variants: from, then equal steps to `to`.
std::vector<double> StudyValues(double from, double to, int count);

// Checks the request (key, range, count, stage against the file), then runs it. Raises
// std::invalid_argument with an engineer-facing message for a request that cannot run: a
// wrong key or range, an unreadable file, a stage the file does not have.
TStudyResult RunStudy(const TStudyRequest& request);

// Which case of a file the rows show (0-based): the stage's for a staged file, else as above.
size_t StudiedCase(const TStudyKey& key, int stage);

// The answers of one analysed file as a row: those of its case `caseIndex` (0-based; past the
// last case, the last).
TStudyRow StudyRowOf(const TFileAnalysis& analysis, size_t caseIndex, double value);

// "converged", "not converged", "deflection exceeded" or "input error".
const char* StudyOutcomeText(TOutcome outcome);

// The shortest text that reads back as the same double ("0.07", "6e+09"), in any locale.
std::string StudyValueText(double value);

// The table as CSV: "value,outcome,top_deflection,max_deflection,max_moment,max_shear", a
// support_N_force column per support, "le_F", "reason"; each number as StudyValueText writes
// it, empty where a variant has no value; the reason of an input error in double quotes (its
// quotes doubled), empty for any other outcome; lines end in LF. The variants a cancel left
// out have no line.
std::string StudyCsvText(const TStudyResult& result);

}  // namespace torvex::engine
