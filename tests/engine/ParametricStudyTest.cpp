// The parametric study: each variant against the data file edited by hand to the same value
// and analysed alone, in English and SI files and a staged one; the keys and the values they
// reach in file units; failing and cancelled variants; torvex-run --vary's table and status.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "parametric/ParametricStudy.h"
#include "parametric/StudyKey.h"
#include "project/DataFileReader.h"
#include "project/Workspace.h"
#include "run/StudyCommand.h"

using namespace torvex;
using namespace torvex::engine;

namespace {

std::string Example(const std::string& name) {
    std::ifstream in(std::string(TORVEX_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with its 0-based lines `lines` replaced by `replacement` (CR LF kept).
std::string WithLines(std::string text, std::initializer_list<int> lines, const std::string& replacement) {
    for (const int wanted : lines) {
        size_t start = 0;
        for (int line = 0; line < wanted; ++line) start = text.find('\n', start) + 1;
        const size_t end = text.find('\r', start);
        text.replace(start, end - start, replacement);
    }
    return text;
}

std::string WithOption(const std::string& text, const std::string& line) {
    return text + "TORVEX-OPTIONS 1\r\n" + line + "\r\nEND\r\n";
}

TStudyRequest Request(const std::string& text, const std::string& key, double from, double to, int count, int stage = 0) {
    TStudyRequest request;
    request.text = text;
    request.dataFile = "wall.tx4d";
    request.key = key;
    request.from = from;
    request.to = to;
    request.count = count;
    request.stage = stage;
    return request;
}

struct TEditedCase {
    const char* example;
    const char* key;
    double from, to;  // three variants: the middle one is `value`
    double value;
    std::string (*edit)(const std::string&);
    int stage;
    bool changesMoment = true;  // kh does nothing in clay (phi = 0)
};

// Each edit writes what a user would type into the data file for the middle value.
const TEditedCase kEditedCases[] = {
    // English: inches, pounds, pci as the file holds them.
    {"cantilever-sand.tx4d", "FreeHeight", 120, 144, 132,
     [](const std::string& t) {
         return WithLines(WithLines(t, {2}, "100 3.6 24 1E-5 132"), {6}, "132 12 12 600 600 1 1 0");
     }, 0},
    {"cantilever-sand.tx4d", "PileSect[1].Flexural Stiffness (EI)", 5e9, 7e9, 6e9,
     [](const std::string& t) { return WithLines(t, {3}, "0 100 1 6E9"); }, 0},
    {"cantilever-sand.tx4d", "NewSoil[1].Friction Angle", 28, 32, 30,
     [](const std::string& t) { return WithLines(t, {11, 12}, "0.066550926 0.0  30 0.0  90 0.0"); }, 0},
    {"cantilever-sand.tx4d", "NewSoil[1].total unit weight", 0.06, 0.08, 0.07,
     [](const std::string& t) { return WithLines(t, {11, 12}, "0.07 0.0  32 0.0  90 0.0"); }, 0},
    {"cantilever-sand.tx4d", "NewSoil[1].Depth at Bottom", 432, 528, 480,
     [](const std::string& t) { return t; }, 0},
    {"cantilever-sand.tx4d", "SeismicKh", 0, 0.2, 0.1,
     [](const std::string& t) { return WithOption(t, "SeismicKh 0.1"); }, 0},
    {"cantilever-sand.tx4d", "NumIncrements", 100, 140, 120,
     [](const std::string& t) { return WithLines(WithLines(t, {2}, "120 3.6 24 1E-5 120"), {3}, "0 120 1 5.3418E9"); }, 0},
    // SI: m and kN.
    {"anchored-soft-clay.tx4d", "FreeHeight", 5.5, 7.5, 6.5,
     [](const std::string& t) {
         return WithLines(WithLines(t, {2}, "240 0.05 1 1E-6 6.5"), {7}, "6.5 1 1 20 20 1 1 0");
     }, 0},
    {"anchored-soft-clay.tx4d", "SoilStrength[1].Lateral Spring Stiffness", 40000, 80000, 60000,
     [](const std::string& t) { return WithLines(t, {6}, "20 20 1 60000 0"); }, 0},
    {"anchored-soft-clay.tx4d", "NewSoil[2].Cohesive Strength", 25, 45, 35,
     [](const std::string& t) { return WithLines(t, {15, 16}, "17.5 35 0.0  0.01 0 0.0"); }, 0},
    {"anchored-soft-clay.tx4d", "SeismicKh", 0, 0.1, 0.05,
     [](const std::string& t) { return WithOption(t, "SeismicKh 0.05"); }, 0, false},
    // A staged file: the value goes into stage 2, whose results the row shows.
    {"three-stage-excavation.tx4d", "FreeHeight", 140, 160, 150,
     [](const std::string& t) {
         return WithLines(WithLines(t, {16}, "120 3.6 24 1E-5 150"), {21}, "150 12 12 900 900 1 1 0");
     }, 2},
    {"three-stage-excavation.tx4d", "SoilStrength[1].Lateral Spring Stiffness", 30000, 50000, 40000,
     [](const std::string& t) { return WithLines(t, {20}, "7 7 1 40000 0"); }, 2},
};

}  // namespace

TEST(ParametricStudy, EachVariantEqualsTheEditedFileAnalysedAlone) {
    for (const TEditedCase& c : kEditedCases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.key);
        const std::string text = Example(c.example);
        const TStudyResult study = RunStudy(Request(text, c.key, c.from, c.to, 3, c.stage));
        ASSERT_EQ(study.rows.size(), 3u);
        const TStudyRow& row = study.rows[1];
        EXPECT_EQ(row.value, c.value);
        const size_t caseIndex = c.stage > 0 ? static_cast<size_t>(c.stage - 1) : 0;
        const TStudyRow alone = StudyRowOf(AnalyzeDataText(c.edit(text), "edited.tx4d"), caseIndex, c.value);
        ASSERT_EQ(row.outcome, TOutcome::Converged) << row.message;
        EXPECT_EQ(alone.outcome, TOutcome::Converged) << alone.message;
        EXPECT_EQ(row.topDeflection, alone.topDeflection);
        EXPECT_EQ(row.maxDeflection, alone.maxDeflection);
        EXPECT_EQ(row.maxMoment, alone.maxMoment);
        EXPECT_EQ(row.maxShear, alone.maxShear);
        EXPECT_EQ(row.supportForces, alone.supportForces);
        EXPECT_EQ(row.leF, alone.leF);
        // The ends differ from the middle: the value did reach the analysis.
        if (c.changesMoment) {
            EXPECT_NE(study.rows[0].maxMoment, study.rows[2].maxMoment);
        }
    }
}

TEST(ParametricStudy, KeysReadTheValuesTheDataFileHolds) {
    struct TCase {
        const char* example;
        const char* key;
        double expected;  // as written in the file
    };
    const TCase cases[] = {
        {"cantilever-sand.tx4d", "FreeHeight", 120},
        {"cantilever-sand.tx4d", "numincrements", 100},
        {"cantilever-sand.tx4d", "NewSoil[1].Depth at Bottom", 480},  // ft in the table
        {"cantilever-sand.tx4d", "NewSoil[1].Total Unit Weight", 0.066550926},  // pcf in the table
        {"cantilever-sand.tx4d", "NewSoil[1].Friction", 32},
        {"cantilever-sand.tx4d", "PileSect[1].To Node No. (End)", 100},
        {"anchored-soft-clay.tx4d", "NewSoil[2].Cohesive Strength,", 30},
        {"anchored-soft-clay.tx4d", "SoilStrength[1].lateral spring  stiffness", 80000},
        {"anchored-soft-clay.tx4d", "TargetSafetyFactor", 1.5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.key);
        TWorkspace workspace;
        ReadDataFileText(workspace, Example(c.example), "x.tx4d", 1);
        EXPECT_NEAR(StudyKeyValue(workspace, ParseStudyKey(c.key)), c.expected, 1e-12 * c.expected);
    }
}

TEST(ParametricStudy, WrongKeysNameTheAcceptedForms) {
    struct TCase {
        std::string key;
        std::string says;
    };
    const TCase cases[] = {
        {"FreeHieght", "is not an input a study can vary"},
        {"", "is not an input a study can vary"},
        {"PileSect[0].Flexural Stiffness (EI)", "has no row number from 1"},
        {"PileSect[x].EI", "has no row number from 1"},
        {"PileSect[1]", "is not of the form Table[row].column"},
        {"[1].EI", "is not of the form Table[row].column"},
        {"NoTable[1].EI", "names no input table"},
        {"PileSect[2].Flexural Stiffness (EI)", "the table PileSect has 1 rows"},
        {"PileSect[1].Colour", "row 1 of PileSect has no column \"Colour\""},
        {"NewSoil[1].Cohesive Strength", "row 1 of NewSoil has no column"},  // a sand layer
        {"PileSect[1].F", "\"PileSect[1].F\": the column start \"F\" could mean any of \"From Node No. (Start)\", "
                          "\"Flexural Stiffness (EI)\"; give more of the column's name."},
        {"NewSoil[1].Friction Angle \x1b[2J", "row 1 of NewSoil has no column \"Friction Angle \\x1B[2J\"."},
    };
    const std::string text = Example("cantilever-sand.tx4d");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.key);
        try {
            RunStudy(Request(text, c.key, 1, 2, 2));
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
    // A staged file is checked in the stage studied.
    const std::string staged = Example("three-stage-excavation.tx4d");
    EXPECT_EQ(RunStudy(Request(staged, "SoilStrength[1].Lateral Spring Stiffness", 1, 2, 2, 2)).rows.size(), 2u);
    for (const TCase& c : {TCase{"SoilStrength[2].Lateral Spring Stiffness", "the table SoilStrength has 1 rows"}}) {
        try {
            RunStudy(Request(staged, c.key, 1, 2, 2, 2));
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
    // The message of a key that is no input at all lists the forms.
    std::ostringstream out, err;
    EXPECT_EQ(RunStudyCommand({"Height=1:2:3", ""}, {std::string(TORVEX_SOURCE_DIR) + "/examples/cantilever-sand.tx4d"}, false,
                              out, err),
              2);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Table[row].column with the row from 1"), std::string::npos) << err.str();
}

TEST(ParametricStudy, AFailingVariantStaysInItsPlaceWithItsOutcome) {
    // The maximum allowable deflection falls to 0 in the middle: an input error there and
    // beyond, the variants before it converge, none is dropped.
    const TStudyResult study = RunStudy(Request(Example("cantilever-sand.tx4d"), "MaxDeflection", 24, -24, 5));
    ASSERT_EQ(study.rows.size(), 5u);
    const double values[] = {24, 12, 0, -12, -24};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(study.rows[i].value, values[i]);
        EXPECT_EQ(study.rows[i].outcome, i < 2 ? TOutcome::Converged : TOutcome::InputError);
    }
    EXPECT_EQ(study.rows[2].message, "The maximum allowable deflection must be greater than zero.");
    EXPECT_FALSE(study.AllConverged());
    const std::string csv = StudyCsvText(study);
    // No supports, no F, and the reason at the end.
    EXPECT_NE(csv.find("\n0,input error,,,,,,\"The maximum allowable deflection must be greater than zero.\"\n"),
              std::string::npos)
        << csv;
    // A tiny allowable deflection is exceeded, and says so in the table's words.
    const TStudyResult tight = RunStudy(Request(Example("cantilever-sand.tx4d"), "MaxDeflection", 0.001, 0.001, 1));
    EXPECT_EQ(StudyCsvText(tight).substr(StudyCsvText(tight).find('\n') + 1), "0.001,deflection exceeded,,,,,,\n");
}

TEST(ParametricStudy, CsvTableOfAnAnchoredWallAndTheExitStatus) {
    const std::string file = std::string(TORVEX_SOURCE_DIR) + "/examples/anchored-soft-clay.tx4d";
    std::ostringstream out, err;
    ASSERT_EQ(RunStudyCommand({"FreeHeight=5.5:7.5:3", ""}, {file}, false, out, err), 0) << err.str();
    std::istringstream lines(out.str());
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, "value,outcome,top_deflection,max_deflection,max_moment,max_shear,support_1_force,le_F,reason");
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 8) << line;
        EXPECT_NE(line.find(",converged,"), std::string::npos) << line;
    }
    EXPECT_EQ(rows, 3);
    // The table is the engine's, whatever the number of threads.
    TStudyRequest one = Request(Example("anchored-soft-clay.tx4d"), "FreeHeight", 5.5, 7.5, 3);
    one.threads = 1;
    EXPECT_EQ(StudyCsvText(RunStudy(one)), out.str());

    struct TCase {
        TStudyCommand command;
        std::vector<std::string> files;
        const char* csv;
        int status;
        std::string says;
    };
    const std::string staged = std::string(TORVEX_SOURCE_DIR) + "/examples/three-stage-excavation.tx4d";
    // A folder and a pipe with no writer are refused, not read as empty or waited on.
    const std::string folder = ::testing::TempDir() + "study-folder-" + std::to_string(::getpid()) + ".tx4d";
    const std::string fifo = ::testing::TempDir() + "study-fifo-" + std::to_string(::getpid()) + ".tx4d";
    ::mkdir(folder.c_str(), 0700);
    ::mkfifo(fifo.c_str(), 0600);
    const TCase cases[] = {
        {{"MaxDeflection=1:-1:3", ""}, {file}, "", 1, ""},
        {{"FreeHeight=5:6", ""}, {file}, "", 2, "the range must be FROM:TO:COUNT"},
        {{"FreeHeight=5:6:1001", ""}, {file}, "", 2, "COUNT must be a whole number from 1 to 1000"},
        {{"FreeHeight=5:x:3", ""}, {file}, "", 2, "\"x\" is not a number"},
        {{"FreeHeight=5:6:1e20", ""}, {file}, "", 2, "COUNT must be a whole number from 1 to 1000"},
        {{"FreeHeight=5:6:2.5", ""}, {file}, "", 2, "COUNT must be a whole number from 1 to 1000"},
        {{"FreeHeight=5:6:3", "2"}, {file}, "", 2, "has no stages; stage 2 cannot be studied"},
        {{"FreeHeight=5:6:3", ""}, {file + ".missing"}, "", 2, "the data file cannot be opened"},
        {{"FreeHeight=5:6:3", ""}, {folder}, "", 2, "cannot be opened: Cannot read file \"" + folder + "\": it is a folder"},
        {{"FreeHeight=5:6:3", ""}, {fifo}, "", 2, "it is not a regular file (a device, a pipe or a socket)"},
        {{"FreeHeight=5:6:3", "4"}, {staged}, "", 2, "has 3 stages; stage 4 cannot be studied"},
        {{"FreeHeight=5:6:3", "two"}, {staged}, "", 2, "--stage two: the stage is a whole number from 1"},
        {{"FreeHeight=5:6:3", "1e20"}, {staged}, "", 2, "--stage 1e20: the stage is a whole number from 1"},
        {{"", "2"}, {staged}, "", 2, "--stage goes with --vary"},
        {{"FreeHeight=5:6:3", ""}, {file, staged}, "", 2, "--vary takes one data file"},
        {{"FreeHeight=5:6:3", ""}, {file}, "csv", 2, "without --csv or --pdf"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.command.vary + " " + c.command.stage);
        std::ostringstream o, e;
        EXPECT_EQ(RunStudyCommand(c.command, c.files, *c.csv != '\0', o, e), c.status);
        EXPECT_NE(e.str().find(c.says), std::string::npos) << e.str();
    }
    ::rmdir(folder.c_str());
    ::unlink(fifo.c_str());
}

// An option's value goes in as typed (not rounded to 8 digits), and one a hair outside its
// range is an input error whose reason the table and standard error give.
TEST(ParametricStudy, AnOptionValueIsAppliedExactlyAsTypedAndWithinItsRange) {
    const std::string text = Example("cantilever-sand.tx4d");
    const auto alone = [&](const std::string& kh) {
        return StudyRowOf(AnalyzeDataText(WithOption(text, "SeismicKh " + kh), "edited.tx4d"), 0, 0).maxMoment;
    };
    const double moment = RunStudy(Request(text, "SeismicKh", 0.123456789, 0.123456789, 1)).rows[0].maxMoment;
    EXPECT_EQ(moment, alone("0.123456789"));
    EXPECT_NE(moment, alone("0.12345679"));
    const std::string reason = "The value 0.4999999999 of TargetSafetyFactor must be from 0.5 to 20.";
    std::ostringstream out, err;
    EXPECT_EQ(RunStudyCommand({"TargetSafetyFactor=0.4999999999:0.5:2", ""},
                              {std::string(TORVEX_SOURCE_DIR) + "/examples/cantilever-sand.tx4d"}, false, out, err),
              1);
    EXPECT_NE(out.str().find("\n0.4999999999,input error,,,,,,\"" + reason + "\"\n0.5,converged,"), std::string::npos);
    EXPECT_EQ(err.str(), "torvex-run: TargetSafetyFactor=0.4999999999: input error: " + reason + "\n");
}

TEST(ParametricStudy, TheRowsShowTheCaseTheValueChanges) {
    struct TCase {
        const char* example;
        const char* key;
        double from, to;
        int stage;
        const char* label;
    };
    const TCase cases[] = {
        {"three-stage-excavation.tx4d", "FreeHeight", 180, 200, 0, "Stage 3"},  // the last stage
        {"three-stage-excavation.tx4d", "FreeHeight", 60, 80, 1, "Stage 1"},
        {"three-stage-excavation.tx4d", "SoilStrength[1].Lateral Spring Stiffness", 30000, 70000, 3, "Stage 3"},
        {"stiff-clay-long-term.tx4d", "NewSoil[1].Cohesive Strength", 3, 4, 0, "Short-Term"},
        {"stiff-clay-long-term.tx4d", "LongSoil[1].Cohesive Strength", 0.8, 1.2, 0, "Long-Term"},
        {"stiff-clay-long-term.tx4d", "FreeHeight", 110, 130, 0, "Short-Term"},
        {"cantilever-sand.tx4d", "FreeHeight", 110, 130, 0, "Analysis"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.key);
        const TStudyResult study = RunStudy(Request(Example(c.example), c.key, c.from, c.to, 2, c.stage));
        EXPECT_EQ(study.caseLabel, c.label);
        ASSERT_TRUE(study.AllConverged());
        EXPECT_NE(study.rows[0].maxMoment, study.rows[1].maxMoment);  // the case shown moved
    }
    // A staged study has one column per support of the stage: the strut of stages 2 and 3.
    EXPECT_EQ(RunStudy(Request(Example("three-stage-excavation.tx4d"), "FreeHeight", 180, 200, 2)).supportCount, 1u);
    // A number of increments is whole: 100.5 is analysed, and shown, as 101 (half away from 0).
    const TStudyResult whole = RunStudy(Request(Example("cantilever-sand.tx4d"), "NumIncrements", 100, 101, 3));
    EXPECT_EQ(whole.rows[1].value, 101);
    EXPECT_EQ(whole.rows[1].maxMoment, whole.rows[2].maxMoment);
}

TEST(ParametricStudy, CancelStopsBetweenVariantsWithinATenthOfASecond) {
    std::atomic<bool> cancel{false};
    std::atomic<int> seen{0};
    TStudyRequest request = Request(Example("three-stage-excavation.tx4d"), "FreeHeight", 150, 200, 1000);
    request.cancel = &cancel;
    request.progress = [&](int done, int) { seen = done; };
    std::chrono::steady_clock::time_point cancelledAt;
    std::thread canceller([&] {
        while (seen < 20) std::this_thread::yield();
        cancelledAt = std::chrono::steady_clock::now();
        cancel = true;
    });
    const TStudyResult result = RunStudy(request);
    const auto stopped = std::chrono::steady_clock::now();
    canceller.join();
    EXPECT_LT(std::chrono::duration<double>(stopped - cancelledAt).count(), 0.1);
    EXPECT_TRUE(result.cancelled);
    const auto done = std::count_if(result.rows.begin(), result.rows.end(), [](const TStudyRow& r) { return r.done; });
    EXPECT_GE(done, 20);
    EXPECT_LT(done, 1000);
    // The table holds the variants analysed, in order.
    const std::string csv = StudyCsvText(result);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), done + 1);
}
