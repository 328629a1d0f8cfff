// The whole engine: data files in, results out, through the C++ API, the engine library's one
// entry and the example projects.

#include <dlfcn.h>
#include <sys/resource.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Analysis.h"
#include "ResultFiles.h"
#include "output/ResultSave.h"
#include "output/TextBuffer.h"
#include "run/BatchRun.h"
#include "SandWall.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

std::string SandWall(int increments) {
    TWorkspace w;
    testing::SetUpSandWall(w, increments);
    return WriteDataFileText(w);
}

TEST(EngineAnalysis, SandCantileverConvergesInEquilibrium) {
    const TFileAnalysis result = AnalyzeDataText(SandWall(100), "sand.tx4d");
    ASSERT_EQ(result.cases.size(), 1u);
    const TCaseResult& c = result.cases[0];
    ASSERT_EQ(c.outcome, TOutcome::Converged) << c.message;
    ASSERT_EQ(c.nodes.size(), 101u);
    // The wall leans toward the excavation, most at the top; the soil holds it below.
    EXPECT_GT(c.nodes[0].y, 0);
    EXPECT_EQ(c.MaxBy(&TNodeResult::y), &c.nodes[0]);
    EXPECT_NEAR(c.nodes[0].moment, 0, 1e-6 * std::fabs(c.MaxBy(&TNodeResult::moment)->moment));
    EXPECT_TRUE(c.equilibriumChecked);
    EXPECT_LT(std::fabs(c.forceResidual), 1e-3 * c.largestLoad);
    // Above the excavation there is no soil reaction.
    for (const TNodeResult& node : c.nodes)
        if (node.depth < 120 - 1e-9) {
            EXPECT_EQ(node.reaction, 0.0);
        }
}

TEST(EngineAnalysis, DoublingTheIncrementsChangesTheMomentByLessThanOnePercent) {
    const TFileAnalysis coarse = AnalyzeDataText(SandWall(100), "a.tx4d");
    const TFileAnalysis fine = AnalyzeDataText(SandWall(200), "b.tx4d");
    ASSERT_EQ(coarse.cases[0].outcome, TOutcome::Converged);
    ASSERT_EQ(fine.cases[0].outcome, TOutcome::Converged);
    const double a = std::fabs(coarse.cases[0].MaxBy(&TNodeResult::moment)->moment);
    const double b = std::fabs(fine.cases[0].MaxBy(&TNodeResult::moment)->moment);
    EXPECT_LT(std::fabs(a - b), 0.01 * b);
}

TEST(EngineAnalysis, InputErrorsAreReportedNotThrown) {
    // No soil and no supports: the wall is not held.
    TWorkspace w;
    TProgramData& p = CreateDefaultProject(w);
    p.NumIncrements = 20;
    p.IncrementLength = 12;
    p.GenerateCurves = 0;
    w.Table("PileSect").Cell(1, 0).SetInteger(20);
    w.Table("PileSect").Cell(3, 0).SetFloat(1e9);
    const TFileAnalysis unsupported = AnalyzeDataText(WriteDataFileText(w), "u.tx4d");
    ASSERT_EQ(unsupported.cases.size(), 1u);
    EXPECT_EQ(unsupported.cases[0].outcome, TOutcome::InputError);
    EXPECT_NE(unsupported.cases[0].message.find("not supported"), std::string::npos);

    // Nodes without EI.
    w.Table("PileSect").Cell(1, 0).SetInteger(10);
    const TFileAnalysis noEI = AnalyzeDataText(WriteDataFileText(w), "e.tx4d");
    EXPECT_NE(noEI.cases[0].message.find("Flexural Stiffness (EI) must be specified"), std::string::npos);

    const TFileAnalysis garbage = AnalyzeDataText("Title\r\n1 x\r\n", "g.tx4d");
    EXPECT_NE(garbage.error.find("An integer was expected"), std::string::npos);
    EXPECT_FALSE(garbage.AllConverged());
}

TEST(EngineAnalysis, PlotFileHoldsOneSectionPerCase) {
    const TFileAnalysis result = AnalyzeDataText(SandWall(40), "s.tx4d");
    const std::string plot = PlotFileText(result);
    // 41 pressure records, unit code 1, p-y curves, 1 case, 41 nodes, case number 1.
    EXPECT_EQ(plot.rfind("41\r\n0 ", 0), 0u);
    EXPECT_NE(plot.find("\r\n1\r\n41\r\n1\r\n0 "), std::string::npos);
    EXPECT_EQ(plot.find("\r\n\r\n"), std::string::npos);  // no blank lines
}

class EngineLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-engine-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        previous = fs::current_path();
        fs::current_path(folder);
        library = ::dlopen((fs::path(TORVEX_ENGINE_LIBRARY)).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        entry = reinterpret_cast<void (*)(int32_t)>(::dlsym(library, "_ITORVEX"));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override {
        if (library) ::dlclose(library);
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    void Names(const std::string& data) {
        const auto paths = ResultPathsFor(data);
        SaveTextFile("names.dat", paths.data + "\r\n" + paths.output + "\r\n" + paths.plot + "\r\n" +
                                      paths.notes + "\r\n");
    }
    fs::path folder, previous;
    void* library = nullptr;
    void (*entry)(int32_t) = nullptr;
};

TEST_F(EngineLibraryTest, RunsFromTheNamesFileAndWritesThreeFiles) {
    const std::string data = (folder / "My Wall.tx4d").string();
    SaveTextFile(data, SandWall(50));
    Names(data);
    entry(13);
    EXPECT_TRUE(fs::exists(folder / "My Wall.tx4o"));
    EXPECT_TRUE(fs::exists(folder / "My Wall.tx4p"));
    const std::string notes = LoadTextFile((folder / "My Wall.tx4r").string());
    EXPECT_NE(notes.find("Analysis: converged"), std::string::npos) << notes;
}

TEST_F(EngineLibraryTest, FailuresGoToTheFilesAndRemoveAStalePlot) {
    const std::string data = (folder / "Bad.tx4d").string();
    SaveTextFile(data, "Title\r\n1 2\r\n");
    SaveTextFile((folder / "Bad.tx4p").string(), "stale");
    Names(data);
    entry(13);
    EXPECT_FALSE(fs::exists(folder / "Bad.tx4p"));
    EXPECT_NE(LoadTextFile((folder / "Bad.tx4o").string()).find("ERROR: The data file cannot be read"),
              std::string::npos);
    entry(12);  // another interface version
    EXPECT_NE(LoadTextFile((folder / "Bad.tx4r").string()).find("interface version 12"), std::string::npos);
    fs::remove("names.dat");
    entry(13);  // no names file: nothing to do, and no crash
}

TEST_F(EngineLibraryTest, ExportsOnlyItsEntry) {
    EXPECT_EQ(::dlsym(library, "_ZN6torvex11TWordReader8NextWordEv"), nullptr);
}

}  // namespace
}  // namespace torvex::engine

namespace torvex::engine {
namespace {

// The engine follows the modes the file states, not the menu switches the reader derives:
// a new project writes PressureMode 0 and ResistanceMode 2 and is analysed with generated
// p-y curves (the reader reads it back with GenerateCurves off).
TEST(EngineAnalysis, ModesComeFromTheFileNotFromTheMenuSwitches) {
    TWorkspace w;
    testing::SetUpSandWall(w, 60, 60);
    TProgramData& p = w.Project();
    p.EarthPressureOption = 0;  // no earth-pressure item chosen
    p.UseConcentratedLoads = 1;
    TGridTable& loads = w.Table("BoundCond");
    loads.Cell(1, 0).SetInteger(0);
    loads.Cell(2, 0).SetInteger(0);
    loads.Cell(3, 0).SetFloat(2000);  // 2 kips at the top
    const std::string text = WriteDataFileText(w);
    ASSERT_NE(text.find("\t0\t2 0 1 0\r\n"), std::string::npos) << text;
    const TFileAnalysis analysis = AnalyzeDataText(text, "modes.tx4d");
    ASSERT_EQ(analysis.cases.size(), 1u);
    const TCaseResult& c = analysis.cases[0];
    ASSERT_EQ(c.outcome, TOutcome::Converged) << c.message;
    EXPECT_EQ(c.input.resistanceMode, 2);
    EXPECT_EQ(c.input.pressureMode, 0);
    double soilForce = 0;
    for (const TNodeResult& node : c.nodes) soilForce += node.reaction;
    EXPECT_GT(std::fabs(soilForce), 0.0);
    EXPECT_NEAR(c.nodes[0].shear, 2000, 1e-6 * 2000);  // V(0) = P at the top
    EXPECT_NE(ReportText(analysis).find("Driving line loads"), std::string::npos);
}

}  // namespace
}  // namespace torvex::engine

namespace torvex::engine {
namespace {

// Numbers of the result files as printf's "%.8g" and "%13.6g" write them in the C locale, also
// while the program runs in a locale with a decimal comma.
TEST(ResultFileText, NumbersAreTheCLocaleFormsInAnyLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.utf8") != nullptr;
    struct {
        double value;
        const char* g8;
        const char* fixed13;
    } const cases[] = {
        {1.0 / 3, "0.33333333", "     0.333333"},
        {-2.5, "-2.5", "         -2.5"},
        {1e-5, "1e-05", "        1e-05"},
        {123456789, "1.2345679e+08", "  1.23457e+08"},
        {0, "0", "            0"},
        {-1234567.0, "-1234567", " -1.23457e+06"},
        {29000000.0 * 184.2, "5.3418e+09", "   5.3418e+09"},
    };
    TTextBuffer out;
    std::string expected;
    for (const auto& c : cases) {
        out.G(c.value) << ' ';
        out.Fixed(c.value, 13, 6) << '|';
        expected += std::string(c.g8) + " " + c.fixed13 + "|";
    }
    out.Fixed(-1.0 / 3, 3, 6).Int(-42);  // wider than its field: written whole
    expected += "-0.333333-42";
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(german) << "no de_DE.utf8 locale to test with";
    EXPECT_EQ(out.Text(), expected);
}

// Result files replace the old file in one step and keep its permissions; a file that cannot be
// written leaves the old one and no temporary file.
TEST(ResultFileSave, ReplacesAtomicallyAndFailsCleanly) {
    const fs::path folder = fs::temp_directory_path() / ("torvex-save-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "wall.tx4o").string();
    SaveResultFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    SaveResultFile(path, std::string(100000, 'x') + "\r\n");
    EXPECT_EQ(LoadTextFile(path), std::string(100000, 'x') + "\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A folder in the place of the file: the rename fails, the folder and its content stay.
    fs::create_directories(folder / "taken.tx4p" / "inside");
    EXPECT_THROW(SaveResultFile((folder / "taken.tx4p").string(), "new"), EInOutError);
    EXPECT_THROW(SaveResultFile((folder / "missing" / "wall.tx4r").string(), "new"), EInOutError);
    EXPECT_TRUE(fs::is_directory(folder / "taken.tx4p" / "inside"));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u);  // wall.tx4o alone: no temporary left

    // A disk that fills up while a run writes: none of its three files stays, nor those of
    // the run before, which would be taken for results of the changed input.
    const TResultPaths paths = ResultPathsFor((folder / "full.tx4d").string());
    for (const std::string* file : {&paths.output, &paths.notes, &paths.plot, &paths.summary})
        SaveResultFile(*file, "earlier run");
    const TFileAnalysis analysis = AnalyzeDataFile(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d");
    ASSERT_TRUE(analysis.AllConverged());
    // Nothing fits; or the report and notes are written and the plot file's name is taken
    // by a folder, which stays.
    for (const bool folderInTheWay : {false, true}) {
        if (folderInTheWay) fs::create_directories(paths.plot);
        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit full = saved;
        if (!folderInTheWay) full.rlim_cur = 100;
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_THROW(WriteResultFiles(analysis, paths), EInOutError);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(fs::exists(paths.output)) << folderInTheWay;
        EXPECT_FALSE(fs::exists(paths.notes)) << folderInTheWay;
        EXPECT_FALSE(fs::exists(paths.summary)) << folderInTheWay;
        EXPECT_EQ(fs::exists(paths.plot), folderInTheWay);
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace torvex::engine

namespace torvex::engine {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-batch-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        for (const char* name : {"three-stage-excavation.tx4d", "cantilever-sand.tx4d"}) {
            fs::copy_file(fs::path(TORVEX_SOURCE_DIR) / "examples" / name, folder / name);
            options.files.push_back((folder / name).string());
        }
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
    TBatchOptions options;
};

// Each case's CSV holds the plot file's node records of the same run, number for number, with
// the slope beside them; "." as the decimal point in a decimal-comma locale.
TEST_F(BatchRunTest, CsvFilesHoldThePlotFilesNodeRecords) {
    options.csvFolder = (folder / "csv").string();
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.utf8");
    std::ostringstream out, err;
    const int status = RunBatch(options, out, err);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(status, 0) << out.str() << err.str();
    const struct {
        const char *plot, *csv, *header;
        int cases;
    } files[] = {
        {"three-stage-excavation.tx4p", "three-stage-excavation-Stage-", "depth (in),deflection (in),slope (rad),moment (lbs-in),shear (lbs),soil reaction (lbs/in)", 3},
        {"cantilever-sand.tx4p", "cantilever-sand-Analysis", "depth (in),deflection (in),slope (rad),moment (lbs-in),shear (lbs),soil reaction (lbs/in)", 1},
    };
    for (const auto& f : files) {
        // The node records are the lines of five numbers; each case's follow its case number.
        std::vector<std::string> records;
        for (const std::string& line : Lines(LoadTextFile((folder / f.plot).string())))
            if (std::count(line.begin(), line.end(), ' ') == 4) records.push_back(line);
        size_t next = 0;
        for (int k = 1; k <= f.cases; ++k) {
            const std::string name = std::string(f.csv) + (f.cases > 1 ? std::to_string(k) : "") + ".csv";
            const std::vector<std::string> csv = Lines(LoadTextFile((folder / "csv" / name).string()));
            ASSERT_GT(csv.size(), 100u) << name;  // a header and the nodes
            EXPECT_EQ(csv[0], f.header);
            for (size_t i = 1; i < csv.size(); ++i, ++next) {
                std::string fields[6];
                std::istringstream row(csv[i]);
                for (std::string& field : fields) std::getline(row, field, ',');
                ASSERT_LT(next, records.size());
                EXPECT_EQ(fields[0] + " " + fields[1] + " " + fields[3] + " " + fields[4] + " " + fields[5],
                          records[next]) << name << " node " << i - 1;
                EXPECT_EQ(fields[2].find(','), std::string::npos);
            }
        }
        EXPECT_EQ(next, records.size()) << f.plot;
    }
}

// A run's CSV files replace all the file's CSV files of earlier runs: a stage or term the file
// no longer has leaves no file, and a run that fails leaves none. Another file's stay.
TEST_F(BatchRunTest, CsvFilesOfEarlierRunsAndFailedRunsDoNotStay) {
    options.csvFolder = (folder / "csv").string();
    options.files.resize(1);  // three-stage-excavation
    fs::create_directories(folder / "csv");
    const std::vector<std::string> gone = {"three-stage-excavation-Stage-4.csv", "three-stage-excavation-Long-Term.csv",
                                           "three-stage-excavation-Analysis.csv"};
    const std::vector<std::string> kept = {"three-stage-excavation-2-Stage-1.csv", "three-stage-excavation.other.csv"};
    for (const auto* names : {&gone, &kept})
        for (const std::string& name : *names) SaveResultFile((folder / "csv" / name).string(), "earlier run");
    std::ostringstream out, err;
    ASSERT_EQ(RunBatch(options, out, err), 0) << err.str();
    const auto listed = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder / "csv")) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    std::vector<std::string> expected = {"three-stage-excavation-2-Stage-1.csv", "three-stage-excavation-Stage-1.csv",
                                         "three-stage-excavation-Stage-2.csv", "three-stage-excavation-Stage-3.csv",
                                         "three-stage-excavation.design.csv", "three-stage-excavation.other.csv",
                                         "three-stage-excavation.supports.csv"};
    EXPECT_EQ(listed(), expected);
    // The file spoilt, then gone: no CSV file of it stays, the others' do.
    for (const bool spoilt : {true, false}) {
        if (spoilt) SaveResultFile(options.files[0], "not a data file\r\n");
        else fs::remove(options.files[0]);
        for (const std::string& name : expected) SaveResultFile((folder / "csv" / name).string(), "earlier run");
        std::ostringstream out2, err2;
        EXPECT_EQ(RunBatch(options, out2, err2), 2) << spoilt;
        EXPECT_EQ(listed(), kept) << spoilt;
    }
}

// Two data files of one name in different folders would write the same CSV files, the second
// over the first: the batch stops before it analyses anything. The same file twice is no clash.
TEST_F(BatchRunTest, DataFilesThatWouldShareCsvNamesStopTheBatch) {
    options.csvFolder = (folder / "csv").string();
    fs::create_directories(folder / "other");
    const std::string twin = (folder / "other" / "cantilever sand.tx4d").string();
    fs::copy_file(options.files[1], twin);
    options.files.push_back(options.files[0]);
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(options, out, err), 0) << err.str();
    options.files.push_back(twin);
    std::ostringstream out2, err2;
    EXPECT_EQ(RunBatch(options, out2, err2), 2);
    EXPECT_EQ(err2.str(), "torvex-run: \"" + options.files[1] + "\" and \"" + twin +
                              "\" would write the same CSV files (" + (folder / "csv" / "cantilever-sand-*.csv").string() +
                              "); rename one of them or give each its own --csv folder.\n");
    EXPECT_EQ(out2.str(), "");
    EXPECT_FALSE(fs::exists(folder / "other" / "cantilever sand.tx4o"));
}

// The progress bar is drawn only when asked for (a terminal); otherwise the error stream holds
// the closing note alone. Summaries come in the order of the files; a missing file, or a
// folder named like a data file, gives 2.
TEST_F(BatchRunTest, ProgressOnATerminalQuietOtherwiseAndTheClosingNote) {
    options.files.push_back((folder / "missing.tx4d").string());
    fs::create_directory(folder / "folder.tx4d");
    options.files.push_back((folder / "folder.tx4d").string());
    options.threads = 2;
    for (const bool terminal : {false, true}) {
        options.progress = terminal;
        std::ostringstream out, err;
        EXPECT_EQ(RunBatch(options, out, err), 2);
        const std::string summary = out.str();
        const size_t stage = summary.find("three-stage-excavation.tx4d [Stage 3]: converged");
        const size_t sand = summary.find("cantilever-sand.tx4d [Analysis]: converged");
        const size_t missing = summary.find("missing.tx4d: no such file");
        const size_t folderLine = summary.find("folder.tx4d: not a data file (a folder or a device)\n");
        EXPECT_TRUE(stage < sand && sand < missing && missing < folderLine && folderLine != std::string::npos)
            << summary;
        const std::string note = err.str().substr(err.str().rfind('\r') + 1);
        EXPECT_EQ(note.rfind("torvex-run: 4 files in ", 0), 0u) << note;
        EXPECT_NE(note.find(" s on 2 threads, "), std::string::npos);
        EXPECT_EQ(note.substr(note.size() - 18), " files per second\n");
        EXPECT_EQ(err.str().find('\r') != std::string::npos, terminal);
        if (terminal) EXPECT_NE(err.str().find("] 4/4 files"), std::string::npos);
        else EXPECT_EQ(err.str(), note);
    }
}

}  // namespace
}  // namespace torvex::engine
