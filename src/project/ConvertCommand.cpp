#include "project/ConvertCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <random>

#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/EchoText.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/UnitConversion.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: torvex-convert IN OUT [--kind N] [--units english|si|other]\n"
    "  Reads the data file IN (kind 1 current, 2 older \".txd\", 3 oldest; by default from\n"
    "  the extension), optionally switches its unit system, and writes OUT in the current\n"
    "  format.\n";

// Messages of the readers separate their lines with a carriage return; a terminal wants one line.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct Options {
    std::string in, out;
    int kind = 0;
    std::optional<int> units;
};

std::optional<Options> ParseArguments(const std::vector<std::string>& arguments,
                                      std::ostream& err) {
    Options options;
    std::vector<std::string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if ((a == "--kind" || a == "--units") && i + 1 >= arguments.size()) {
            err << "torvex-convert: " << a << " needs a value\n" << kUsage;
            return std::nullopt;
        }
        if (a == "--kind") {
            const std::string value = arguments[++i];
            if (value != "1" && value != "2" && value != "3") {
                err << "torvex-convert: --kind must be 1, 2 or 3, not \"" << EchoText(value) << "\"\n";
                return std::nullopt;
            }
            options.kind = value[0] - '0';
        } else if (a == "--units") {
            const std::string value = Lower(arguments[++i]);
            if (value == "english") options.units = 1;
            else if (value == "si") options.units = 2;
            else if (value == "other") options.units = 3;
            else {
                err << "torvex-convert: --units must be english, si or other, not \""
                    << EchoText(arguments[i]) << "\"\n";
                return std::nullopt;
            }
        } else if (a == "-h" || a == "--help") {
            err << kUsage;
            return std::nullopt;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        err << kUsage;
        return std::nullopt;
    }
    options.in = files[0];
    options.out = files[1];
    if (options.kind == 0) options.kind = FormatKindOfFileName(options.in);
    return options;
}

// A stage of a staged file that cannot be read: the file is not converted, since a stage
// that is not read would keep the values of the stage before it.
class EStageReadError : public EInOutError {
public:
    using EInOutError::EInOutError;
};

constexpr const char* kScratchPrefix = "torvex-convert-";

// The process whose scratch folder a name is ("torvex-convert-" PID "-" number, nothing
// else: a folder of the user's that only starts like it is never taken for one).
std::optional<long> ScratchFolderProcess(const std::string& name) {
    const size_t prefix = std::strlen(kScratchPrefix);
    const size_t dash = name.find('-', prefix);
    const auto digits = [&](size_t from, size_t to) {
        return to > from && name.find_first_not_of("0123456789", from) >= to;
    };
    if (name.rfind(kScratchPrefix, 0) != 0 || dash == std::string::npos || !digits(prefix, dash) ||
        !digits(dash + 1, name.size()) || dash - prefix > 9)
        return std::nullopt;
    return std::stol(name.substr(prefix, dash - prefix));
}

// A folder of another process that is gone; a folder of this process may be in use.
bool OthersGone(long pid) { return pid != ::getpid() && ProcessIsGone(pid); }

// A folder of this run's own for the stage files, in the user's runtime folder when there is
// one. Its name carries this process, so that the next run removes what a killed one left.
fs::path MakeScratchFolder() {
    std::error_code error;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    fs::path base = runtime && *runtime && fs::is_directory(runtime, error) ? fs::path(runtime)
                                                                           : fs::temp_directory_path();
    for (fs::directory_iterator entries(base, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::optional<long> pid = ScratchFolderProcess(entries->path().filename().string());
        if (pid && OthersGone(*pid) && entries->is_directory(error)) {
            std::error_code ignored;
            fs::remove_all(entries->path(), ignored);
        }
    }
    const fs::path scratch = base / (kScratchPrefix + std::to_string(::getpid()) + "-" +
                                     std::to_string(std::random_device{}()));
    fs::create_directories(scratch);
    fs::permissions(scratch, fs::perms::owner_all, error);
    return scratch;
}

// A staged file holds every stage: split it in a scratch folder, convert each stage and join
// them again into OUT. `text` is IN's content, read once.
void ConvertStages(TWorkspace& workspace, const Options& options, const std::string& text) {
    TProgramData& project = workspace.Project();
    // Loading each stage switches the units of the project's values back and forth; the
    // option block is converted once, from the values read.
    const TProjectOptions options0 = project.Options;
    const int units0 = project.UnitSystem;
    const std::string missing = MissingStagesMessage(text, project.StageCount);
    if (!missing.empty()) throw EStageReadError(missing);

    const fs::path scratch = MakeScratchFolder();
    struct Cleanup {
        fs::path path;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } cleanup{scratch};
    const std::string work = (scratch / (options.kind == 2 ? "work.txd" : "work.tx4d")).string();
    SaveTextFile(work, text);
    project.FileName = work;
    // The stage reader shows its errors and goes on; here the first one ends the conversion.
    std::string failure;
    workspace.ShowInformation = [&](const std::string& message) {
        if (failure.empty()) failure = message;
    };
    const auto check = [&] {
        if (!failure.empty()) throw EStageReadError(failure);
    };
    SplitStageFiles(workspace, work);
    if (options.kind == 2) ConvertOlderStages(workspace);
    check();
    const int stages = workspace.Project().StageCount;
    for (int k = 1; k <= stages; ++k) {
        workspace.Project().CurrentStage = k;
        LoadCurrentStage(workspace);
        check();
        workspace.Project().StageCount = stages;
        if (options.units) ChangeUnitSystem(workspace, *options.units);
        WriteCurrentStage(workspace);
    }
    workspace.Project().Options =
        options.units ? ConvertedOptions(options0, units0, *options.units) : options0;
    const std::string joined = (scratch / "joined.tx4d").string();
    CombineStageFiles(workspace, joined, work);
    SaveTextFile(options.out, LoadTextFile(joined));
}

}  // namespace

int FormatKindOfFileName(const std::string& fileName) {
    const std::string extension = Lower(fs::path(fileName).extension().string());
    return extension == ".txd" ? 2 : 1;
}

int RunConvertCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err) {
    const auto options = ParseArguments(arguments, err);
    if (!options) return 1;
    TWorkspace workspace;
    const auto cannotRead = [&](const std::exception& error) {
        err << "torvex-convert: cannot read \"" << options->in << "\": " << OneLine(error.what())
            << "\n";
        return 2;
    };
    std::string text;
    try {
        text = LoadTextFile(options->in);
        ReadDataFileText(workspace, text, options->in, options->kind);
    } catch (const std::exception& error) {
        return cannotRead(error);
    }
    try {
        if (workspace.Project().StageCount > 1) {
            ConvertStages(workspace, *options, text);
        } else {
            if (options->units) ChangeUnitSystem(workspace, *options->units);
            workspace.Project().FileName = options->out;
            WriteDataFile(workspace);
        }
    } catch (const EStageReadError& error) {
        return cannotRead(error);
    } catch (const std::exception& error) {
        err << "torvex-convert: cannot write \"" << options->out << "\": "
            << OneLine(error.what()) << "\n";
        return 3;
    }
    out << options->in << " -> " << options->out << "\n";
    return 0;
}

}  // namespace torvex
