#include "run/BatchRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include <unistd.h>

#include "ResultFiles.h"
#include "output/CodeFiles.h"
#include "output/DesignFiles.h"
#include "output/ResultSave.h"
#include "output/TextBuffer.h"
#include "project/StageFiles.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

struct TCsvUnits {
    const char *length, *force, *moment, *lineLoad;
};

TCsvUnits CsvUnits(int unitCode) {
    if (unitCode == 1) return {"in", "lbs", "lbs-in", "lbs/in"};
    return {"m", "kN", "kN-m", "kN/m"};
}

// One file of the batch: analysed, its result files and CSV files written, its summary kept.
struct TFileOutcome {
    std::string summary;
    int status = 0;
};

// Every CSV file a data file can have in `folder`: those of its cases under any label a run
// gives them, and its design answers.
std::vector<std::string> AllCsvPaths(const std::string& folder, const std::string& file) {
    std::vector<std::string> paths;
    for (const char* label : {"Analysis", "Short-Term", "Long-Term"}) paths.push_back(CaseCsvPath(folder, file, label));
    for (int stage = 1; stage <= kMaxStages; ++stage)
        paths.push_back(CaseCsvPath(folder, file, "Stage " + std::to_string(stage)));
    for (const char* kind : {"design", "supports", "code"}) paths.push_back(DesignCsvPath(folder, file, kind));
    return paths;
}

void RemoveFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) ::unlink(path.c_str());  // a folder of that name stays
}

// The CSV files of this run replace all the file's CSV files of earlier runs: a case or stage
// that is gone, or answers this run has none of, leave no file of other input behind.
void WriteCsvFiles(const TFileAnalysis& analysis, const std::string& folder, const std::string& file) {
    TStagedFiles files;
    std::vector<std::string> written;
    const auto add = [&](const std::string& path, const std::string& text) {
        files.Add(path, text);
        written.push_back(path);
    };
    for (const TCaseResult& c : analysis.cases)
        if (!c.nodes.empty()) add(CaseCsvPath(folder, file, c.label), CaseCsvText(c));
    // The design answers of every case, one file each for the checks and the supports.
    if (analysis.error.empty()) {
        add(DesignCsvPath(folder, file, "design"), DesignCsvText(analysis));
        add(DesignCsvPath(folder, file, "supports"), SupportsCsvText(analysis));
        if (!analysis.code.empty()) add(DesignCsvPath(folder, file, "code"), CodeCsvText(analysis));
    }
    std::vector<std::string> stale = AllCsvPaths(folder, file);
    std::erase_if(stale, [&](const std::string& path) { return std::ranges::count(written, path) > 0; });
    RemoveFiles(stale);
    files.Commit();
}

TFileOutcome RunOne(const std::string& file, const std::string& csvFolder) {
    TFileOutcome outcome;
    // A run that fails leaves none of the file's CSV files: they would be taken for its results.
    const auto failed = [&](const std::string& message) {
        if (!csvFolder.empty()) RemoveFiles(AllCsvPaths(csvFolder, file));
        return TFileOutcome{file + message, 2};
    };
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return failed(fs::exists(file, error) ? ": not a data file (a folder or a device)\n" : ": no such file\n");
    const TFileAnalysis analysis = AnalyzeDataFile(file);
    try {
        WriteResultFiles(analysis, ResultPathsFor(file));
        if (!csvFolder.empty()) WriteCsvFiles(analysis, csvFolder, file);
    } catch (const std::exception& e) {
        return failed(std::string(": cannot write the results: ") + e.what() + "\n");
    }
    outcome.summary = SummaryLines(analysis);
    outcome.status = !analysis.error.empty() ? 2 : analysis.AllConverged() ? 0 : 1;
    return outcome;
}

void DrawProgress(std::ostream& err, size_t done, size_t total) {
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(kWidth * done / std::max<size_t>(total, 1));
    TTextBuffer line(96);
    line << "\r[" << std::string(static_cast<size_t>(filled), '#') << std::string(static_cast<size_t>(kWidth - filled), ' ')
         << "] ";
    line.Int(static_cast<long long>(done)) << '/';
    line.Int(static_cast<long long>(total)) << " files";
    err << line.Text() << std::flush;
}

}  // namespace

std::string CaseCsvText(const TCaseResult& result) {
    const TCsvUnits u = CsvUnits(result.unitCode);
    TTextBuffer out(64 * result.nodes.size() + 128);
    out << "depth (" << u.length << "),deflection (" << u.length << "),slope (rad),moment (" << u.moment
        << "),shear (" << u.force << "),soil reaction (" << u.lineLoad << ")\r\n";
    for (const TNodeResult& n : result.nodes) {
        out.G(n.depth) << ',';
        out.G(n.y) << ',';
        out.G(n.slope) << ',';
        out.G(n.moment) << ',';
        out.G(n.shear) << ',';
        out.G(n.reaction) << "\r\n";
    }
    return out.Take();
}

namespace {

// The part of a CSV file's name that comes from its data file.
std::string CsvStem(const std::string& dataFile) {
    std::string stem = fs::path(dataFile).stem().string();
    std::replace(stem.begin(), stem.end(), ' ', '-');
    return stem;
}

// Two different data files whose CSV files would take the same names, one overwriting the
// other's: the message that stops the batch before anything is analysed, or "".
std::string CsvNameClash(const std::vector<std::string>& files, const std::string& folder) {
    std::map<std::string, std::string> owners;  // CSV stem -> the first data file with it
    for (const std::string& file : files) {
        const auto [owner, added] = owners.emplace(CsvStem(file), file);
        std::error_code error;
        if (!added && fs::absolute(owner->second, error).lexically_normal() != fs::absolute(file, error).lexically_normal())
            return "torvex-run: \"" + owner->second + "\" and \"" + file + "\" would write the same CSV files (" +
                   (fs::path(folder) / (owner->first + "-*.csv")).string() +
                   "); rename one of them or give each its own --csv folder.\n";
    }
    return "";
}

}  // namespace

std::string DesignCsvPath(const std::string& folder, const std::string& dataFile, const std::string& kind) {
    return (fs::path(folder) / (CsvStem(dataFile) + "." + kind + ".csv")).string();
}

std::string CaseCsvPath(const std::string& folder, const std::string& dataFile, const std::string& label) {
    std::string name = label + ".csv";
    std::replace(name.begin(), name.end(), ' ', '-');
    return (fs::path(folder) / (CsvStem(dataFile) + "-" + name)).string();
}

int RunBatch(const TBatchOptions& options, std::ostream& out, std::ostream& err, std::vector<int>* fileStatus) {
    const auto started = std::chrono::steady_clock::now();
    const std::vector<std::string>& files = options.files;
    if (!options.csvFolder.empty()) {
        if (const std::string clash = CsvNameClash(files, options.csvFolder); !clash.empty()) {
            err << clash;
            return 2;
        }
        std::error_code error;
        fs::create_directories(options.csvFolder, error);
        if (!fs::is_directory(options.csvFolder)) {
            err << "torvex-run: cannot make the CSV folder \"" << options.csvFolder << "\""
                << (error ? ": " + error.message() : std::string()) << ".\n";
            return 2;
        }
        RemoveLeftoverTemporaries(options.csvFolder);
    }
    std::vector<TFileOutcome> outcomes(files.size());
    // The work queue: each thread takes the next file until none is left, so both cores stay
    // busy whatever each file costs.
    std::atomic<size_t> next{0}, done{0};
    std::mutex mutex;
    std::condition_variable finished;
    auto worker = [&] {
        for (size_t i = next++; i < files.size(); i = next++) {
            outcomes[i] = RunOne(files[i], options.csvFolder);
            if (++done == files.size()) {
                const std::lock_guard<std::mutex> lock(mutex);
                finished.notify_all();
            }
        }
    };
    const unsigned cores = options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    const size_t threadCount = std::min<size_t>(cores, std::max<size_t>(files.size(), 1));
    std::vector<std::thread> threads;
    for (size_t t = 0; t < threadCount; ++t) threads.emplace_back(worker);
    const bool bar = options.progress && files.size() > 1;
    if (bar) {
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return done == files.size(); }))
            DrawProgress(err, done, files.size());
        DrawProgress(err, done, files.size());
        err << "\r" << std::string(60, ' ') << "\r" << std::flush;
    }
    for (auto& thread : threads) thread.join();
    int status = 0;
    if (fileStatus) fileStatus->clear();
    for (const TFileOutcome& outcome : outcomes) {
        out << outcome.summary;
        status = std::max(status, outcome.status);
        if (fileStatus) fileStatus->push_back(outcome.status);
    }
    out.flush();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    TTextBuffer note(128);
    note << "torvex-run: ";
    note.Int(static_cast<long long>(files.size())) << (files.size() == 1 ? " file in " : " files in ");
    note.G(seconds, 3) << " s on ";
    note.Int(static_cast<long long>(threadCount)) << (threadCount == 1 ? " thread, " : " threads, ");
    note.G(seconds > 0 ? static_cast<double>(files.size()) / seconds : 0.0, 4) << " files per second\n";
    err << note.Text() << std::flush;
    return status;
}

}  // namespace torvex::engine
