#include "run/StudyCommand.h"

#include <stdexcept>

#include "dataentry/NumberText.h"
#include "parametric/ParametricStudy.h"
#include "project/EchoText.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"

namespace torvex::engine {

const char* const kStudyUsage =
    "   or: torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE\n"
    "  --vary KEY=FROM:TO:COUNT  analyses COUNT variants (up to 1000) of FILE in memory, KEY\n"
    "             from FROM to TO in the file's own units (in and lbs in an English file, m and\n"
    "             kN in SI), and prints one CSV line per variant; no file is written. KEY is a\n"
    "             project field (FreeHeight, NumIncrements, ...), an option key (SeismicKh, ...)\n"
    "             or a table cell Table[row].column, rows counted from 1.\n"
    "  --stage N  with --vary: the stage the value goes into and whose results are printed\n"
    "             (default: the last stage); a file without stages prints its short-term\n"
    "             case, or its long-term case for a LongSoil or LongDist cell\n";

namespace {

double Number(const std::string& text, const std::string& vary) {
    const auto value = ParseDecimal(text, '.');
    if (!value || text.empty())
        throw std::invalid_argument("--vary " + EchoText(vary) + ": \"" + EchoText(text) +
                                    "\" is not a number (KEY=FROM:TO:COUNT).");
    return static_cast<double>(*value);
}

// KEY=FROM:TO:COUNT into the request.
void ParseVary(const std::string& vary, TStudyRequest& request) {
    const size_t equals = vary.rfind('=');
    if (equals == std::string::npos || equals == 0)
        throw std::invalid_argument("--vary needs KEY=FROM:TO:COUNT, not \"" + EchoText(vary) + "\".");
    request.key = vary.substr(0, equals);
    const std::string range = vary.substr(equals + 1);
    const size_t first = range.find(':'), second = range.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos || range.find(':', second + 1) != std::string::npos)
        throw std::invalid_argument("--vary " + EchoText(vary) + ": the range must be FROM:TO:COUNT.");
    request.from = Number(range.substr(0, first), vary);
    request.to = Number(range.substr(first + 1, second - first - 1), vary);
    const double count = Number(range.substr(second + 1), vary);
    if (!(count >= 1 && count <= kMaxStudyVariants) || count != static_cast<int>(count))
        throw std::invalid_argument("--vary " + EchoText(vary) + ": COUNT must be a whole number from 1 to " +
                                    std::to_string(kMaxStudyVariants) + ".");
    request.count = static_cast<int>(count);
}

}  // namespace

int RunStudyCommand(const TStudyCommand& command, const std::vector<std::string>& files,
                    bool fileOutputs, std::ostream& out, std::ostream& err) {
    try {
        if (command.vary.empty() || files.size() != 1 || fileOutputs)
            throw std::invalid_argument("--vary takes one data file, without --csv or --pdf; --stage goes with --vary.");
        TStudyRequest request;
        ParseVary(command.vary, request);
        if (!command.stage.empty()) {
            const auto stage = ParseDecimal(command.stage, '.');
            if (!stage || !(*stage >= 1 && *stage <= 1000) || *stage != static_cast<int>(*stage))
                throw std::invalid_argument("--stage " + EchoText(command.stage) +
                                            ": the stage is a whole number from 1.");
            request.stage = static_cast<int>(*stage);
        }
        const std::string& file = files.front();
        request.dataFile = file;
        // The program's reader of whole files: a folder, a pipe or a device is refused, never
        // waited on or read without end.
        try {
            request.text = LoadTextFile(file);
        } catch (const EInOutError& error) {
            throw std::invalid_argument(file + ": the data file cannot be opened: " + error.what());
        }
        const TStudyResult result = RunStudy(request);
        out << StudyCsvText(result) << std::flush;
        // The table's reason column is easily missed: each input error is named here too.
        for (const TStudyRow& row : result.rows)
            if (row.done && row.outcome == TOutcome::InputError)
                err << "torvex-run: " << EchoText(request.key) << "=" << StudyValueText(row.value)
                    << ": input error: " << row.message << "\n";
        return result.AllConverged() ? 0 : 1;
    } catch (const std::invalid_argument& error) {
        err << "torvex-run: " << error.what() << "\n";
        return 2;
    }
}

}  // namespace torvex::engine
