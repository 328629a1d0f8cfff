// The bundled examples: every case converges in equilibrium of forces and moments, and halving
// the increment length changes the top deflection and the largest moment by less than half a
// percent.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "Analysis.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Examples() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(TORVEX_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".tx4d") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(EngineExamples, EveryCaseConvergesInEquilibrium) {
    const auto files = Examples();
    ASSERT_GE(files.size(), 6u);
    for (const fs::path& file : files) {
        const TFileAnalysis analysis = AnalyzeDataFile(file.string());
        ASSERT_TRUE(analysis.error.empty()) << file << ": " << analysis.error;
        for (const TCaseResult& c : analysis.cases) {
            EXPECT_EQ(c.outcome, TOutcome::Converged) << file << " " << c.label << ": " << c.message;
            EXPECT_TRUE(c.equilibriumChecked) << file << " " << c.label;
            EXPECT_LT(std::fabs(c.forceResidual), 1e-3 * c.largestLoad) << file << " " << c.label;
            EXPECT_LT(std::fabs(c.momentResidual), 1e-3 * c.largestMoment) << file << " " << c.label;
        }
    }
}

// The same wall with twice the increments: node numbers in the tables doubled.
std::string Refined(const std::string& text) {
    TWorkspace w;
    ReadDataFileText(w, text, "refined.tx4d", 1);
    TProgramData& p = w.Project();
    p.NumIncrements *= 2;
    p.IncrementLength /= 2;
    const std::pair<const char*, std::vector<int>> nodeColumns[] = {
        {"PileSect", {0, 1}}, {"BoundCond", {1, 2}}, {"SoilStrength", {1, 2}},
        {"Soillayer", {1}}, {"PYCurves", {0}}, {"MEICurves", {0, 1}}};
    for (const auto& [name, columns] : nodeColumns) {
        TGridTable& table = w.Table(name);
        for (int r = 0; r < table.RowCount(); ++r)
            for (int c : columns) table.Cell(c, r).SetInteger(2 * table.Cell(c, r).AsInteger());
    }
    // Springs act per node: half the spacing, half of a distributed support per node.
    TGridTable& springs = w.Table("SoilStrength");
    for (int r = 0; r < springs.RowCount(); ++r)
        if (springs.Cell(1, r).AsInteger() != springs.Cell(2, r).AsInteger())
            springs.Cell(3, r).SetFloat(springs.Cell(3, r).AsFloat() / 2);
    return WriteDataFileText(w);
}

TEST(EngineExamples, HalvingTheIncrementChangesTheLargestMomentByLessThanOnePercent) {
    for (const fs::path& file : Examples()) {
        const std::string text = LoadTextFile(file.string());
        const TFileAnalysis coarse = AnalyzeDataText(text, file.string());
        if (coarse.cases.size() != 1) continue;  // staged and long-term files hold several blocks
        const TFileAnalysis fine = AnalyzeDataText(Refined(text), file.string());
        ASSERT_EQ(fine.cases.size(), 1u);
        ASSERT_EQ(fine.cases[0].outcome, TOutcome::Converged) << file << ": " << fine.cases[0].message;
        const double a = std::fabs(coarse.cases[0].MaxBy(&TNodeResult::moment)->moment);
        const double b = std::fabs(fine.cases[0].MaxBy(&TNodeResult::moment)->moment);
        EXPECT_LT(std::fabs(a - b), 0.005 * b) << file << " " << a << " " << b;
        const double top = coarse.cases[0].nodes[0].y, fineTop = fine.cases[0].nodes[0].y;
        EXPECT_LT(std::fabs(top - fineTop), 0.005 * std::fabs(fineTop)) << file << " " << top << " " << fineTop;
    }
}

}  // namespace
}  // namespace torvex::engine
