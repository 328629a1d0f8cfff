// What the engine keeps from one solve or one file to the next must never show in a result:
// a workspace reused for another file, a beam solver reused for another iteration, and the
// excavation-side stress worked out once for many depths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Analysis.h"
#include "PipePiles.h"
#include "ResultFiles.h"
#include "beam/BeamColumn.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "soil/NodeSoils.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

// The report and plot file of a data text, without the run's date and time.
std::string Results(const std::string& text) {
    const TFileAnalysis analysis = AnalyzeDataText(text, "wall.tx4d");
    std::string report = ReportText(analysis);
    report.erase(report.find("Run: "), report.find('\n', report.find("Run: ")) - report.find("Run: "));
    return report + PlotFileText(analysis);
}

TEST(EngineReuse, AFileReadsTheSameAfterAnyOtherFile) {
    // English and SI walls, one and three stages, long-term, rock, external curves: each read
    // after each of the others.
    std::vector<std::string> texts;
    for (const auto& entry : fs::directory_iterator(fs::path(TORVEX_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".tx4d") texts.push_back(LoadTextFile(entry.path().string()));
    TWorkspace pile;
    testing::SetUpPipePile(pile, testing::TPipePile::SoftClay200);
    texts.push_back(WriteDataFileText(pile));
    ASSERT_GE(texts.size(), 7u);
    std::vector<std::string> alone;
    for (const std::string& text : texts) alone.push_back(Results(text));
    for (size_t after = 0; after < texts.size(); ++after)
        for (size_t file = 0; file < texts.size(); ++file) {
            Results(texts[after]);
            EXPECT_EQ(Results(texts[file]), alone[file]) << "file " << file << " read after file " << after;
        }
}

TEST(EngineReuse, ASolverGivesWhatAFreshSolveGives) {
    // A pile on springs standing for soil, with a strut and a rotational spring inside, solved
    // with moduli that change as the iteration changes them.
    TBeamModel m = TBeamModel::Sized(40, 0.25);
    m.EI.assign(41, 2e5);
    m.P[0] = 100;
    m.kLateral[10] = 5e3;
    m.kRotation[20] = 1e4;
    m.fixedSlope[30] = 0.0;
    TBeamSolver solver(m);
    for (double modulus : {1e3, 4e3, 2.5e2}) {
        for (size_t i = 0; i < m.Es.size(); ++i) m.Es[i] = modulus * static_cast<double>(i) / 40;
        const TBeamResult* reused = solver.Solve(m);
        const auto fresh = SolveBeam(m);
        ASSERT_TRUE(reused && fresh);
        EXPECT_EQ(reused->y, fresh->y) << modulus;
        EXPECT_EQ(reused->moment, fresh->moment) << modulus;
        EXPECT_EQ(reused->restraintMoment, fresh->restraintMoment) << modulus;
    }
    // Another layout of unknowns cannot be solved in this one's matrix.
    m.fixedSlope[30].reset();
    EXPECT_THROW(solver.Solve(m), std::invalid_argument);
    EXPECT_THROW(solver.Solve(TBeamModel::Sized(41, 0.25)), std::invalid_argument);
}

TEST(EngineReuse, ExcavationSideStressByHand) {
    // Excavation at 2; layer 1 to 5 with gamma 18; layer 2 below with gamma 20 at 5 growing to
    // 22 at 10; water at 6 (gamma_w 10).
    TWallInput in;
    in.freeHeight = 2;
    in.waterExcavation = 6;
    in.gammaWater = 10;
    TSoilLayer top, bottom;
    top.top = 0, top.bottom = 5, top.gamma = top.atBottom.gamma = 18;
    bottom.top = 5, bottom.bottom = 10, bottom.gamma = 20, bottom.atBottom.gamma = 22;
    in.layers = {top, bottom};
    const TExcavationSideStress stress(in);
    struct TCase {
        double depth, expected;
    };
    // 0 above the excavation; 18 x 3 to the layer boundary; + (20 + 20.4)/2 to the water
    // table; + ((20.4 + 21.2)/2 - 10) x 2 to 8; 22 - 10 below 10, where the last layer goes on.
    const TCase cases[] = {{1, 0}, {2, 0}, {3.5, 27}, {5, 54}, {6, 74.2}, {8, 95.8}, {12, 95.8 + 11.6 * 2 + 12 * 2}};
    for (const TCase& c : cases) {
        EXPECT_NEAR(stress.At(c.depth), c.expected, 1e-9) << c.depth;
        EXPECT_DOUBLE_EQ(ExcavationSideStress(in, c.depth), stress.At(c.depth)) << c.depth;
    }
}

}  // namespace
}  // namespace torvex::engine
