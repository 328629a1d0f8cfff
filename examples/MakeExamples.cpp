// Writes the bundled example projects with the program's own writer:
//   torvex-make-examples FOLDER
// Each example is a realistic wall a new user can open, run and change.

#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/StageFiles.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace {

using namespace torvex;

void Section(TWorkspace& w, int toNode, long double ei) {
    TGridTable& t = w.Table("PileSect");
    t.SetRowCount(1);
    t.Cell(0, 0).SetInteger(0);
    t.Cell(1, 0).SetInteger(toNode);
    t.Cell(2, 0).SetInteger(1);
    t.Cell(3, 0).SetFloat(ei);
}

// A soil layer row; parameters in table order, the same in both rows of its table.
void Layer(TGridTable& soil, int row, int type, long double bottom,
           std::initializer_list<long double> parameters) {
    if (soil.RowCount() <= row) soil.SetRowCount(row + 1);
    soil.Cell(0, row).SetInteger(type);
    soil.Cell(1, row).SetFloat(bottom);
    TGridTable& p = soil.Cell(2, row).AsTable();
    for (int r = 0; r < p.RowCount(); ++r) {
        int c = 0;
        for (long double value : parameters) p.Cell(c++, r).SetFloat(value);
    }
}

void Spring(TWorkspace& w, int row, int node, long double lateral) {
    TGridTable& t = w.Table("SoilStrength");
    if (t.RowCount() <= row) t.SetRowCount(row + 1);
    t.Cell(0, row).SetInteger(1);
    t.Cell(1, row).SetInteger(node);
    t.Cell(2, row).SetInteger(node);
    t.Cell(3, row).SetFloat(lateral);
    w.Project().UseSprings = 1;
}

TProgramData& Generated(TWorkspace& w, const char* title, int increments, long double h,
                        long double freeHeight, long double width) {
    TProgramData& p = CreateDefaultProject(w);
    p.Title = title;
    p.NumIncrements = increments;
    p.IncrementLength = h;
    p.FreeHeight = freeHeight;
    p.ActiveWidth = width;
    p.ResistanceWidth = width;
    p.EarthPressureOption = 2;
    p.GenerateCurves = 1;
    return p;
}

// English: 30 ft PZ-type sheet piles, 10 ft retained, medium dense sand, per foot of wall.
void CantileverInSand(TWorkspace& w) {
    TProgramData& p = Generated(w, "Cantilever sheet-pile wall in medium dense sand", 100, 3.6L,
                                120, 12);
    p.MaxDeflection = 24;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 600;
    Section(w, 100, 29e6L * 184.2L);  // E = 29,000 ksi, I = 184.2 in^4 per ft
    Layer(w.Table("NewSoil"), 0, 4, 40, {115, 32, 90});
}

// SI: 12 m sheet piles, 6 m retained in soft clay, one tie-back row 1 m below the top.
void AnchoredInSoftClay(TWorkspace& w) {
    TProgramData& p = Generated(w, "Anchored sheet-pile wall with one tie-back row in soft clay",
                                240, 0.05L, 6, 1);
    ChangeUnitSystem(w, 2);
    p.NumIncrements = 240;
    p.IncrementLength = 0.05L;
    p.FreeHeight = 6;
    p.ActiveWidth = p.ResistanceWidth = 1;
    p.MaxDeflection = 1;
    p.ClosureTolerance = 1e-6L;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 20;
    Section(w, 240, 210e6L * 2.4e-4L);  // E = 210 GPa, I = 24,000 cm^4 per m
    TGridTable& soil = w.Table("NewSoil");
    Layer(soil, 0, 1, 4, {17, 20, 0.02L, 0});
    Layer(soil, 1, 1, 14, {17.5L, 30, 0.01L, 0});
    // Tie-back: AE/L = 200,000 kN/m at 2.5 m spacing gives 80,000 kN/m per metre of wall.
    Spring(w, 0, 20, 80000);
}

// English: surcharges (point, line and strip loads) and water on both sides of the wall.
void SurchargesAndWater(TWorkspace& w) {
    TProgramData& p = Generated(w, "Wall under point, line and strip surcharges with water on both sides",
                                120, 3, 144, 12);
    p.MaxDeflection = 24;
    p.WaterDepthBackfill = 96;
    p.WaterDepthExcavation = 168;
    p.BackfillSurcharge = 250.0L / 144;  // 250 psf
    p.UseSurcharges = 1;
    Section(w, 120, 29e6L * 260.8L);
    Layer(w.Table("NewSoil"), 0, 4, 12, {120, 33, 0});
    Layer(w.Table("NewSoil"), 1, 5, 30, {118, 28, 300, 0.01L, 0});
    TGridTable& s = w.Table("SurchargeTable");
    s.SetRowCount(3);
    const long double loads[3][4] = {{1, 20000, 48, 0}, {2, 1500.0L / 12, 72, 0}, {3, 600.0L / 144, 36, 60}};
    for (int r = 0; r < 3; ++r) {
        s.Cell(0, r).SetInteger(static_cast<int32_t>(loads[r][0]));
        for (int c = 1; c < 4; ++c) s.Cell(c, r).SetFloat(loads[r][c]);
    }
}

// English: short-term (undrained) and long-term (drained) analyses of a wall in stiff clay.
void StiffClayShortAndLongTerm(TWorkspace& w) {
    TProgramData& p = Generated(w, "Short-term and long-term analyses of a wall in stiff clay", 100,
                                3.6L, 120, 12);
    p.MaxDeflection = 24;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 600;
    p.UseLongTerm = 1;
    Section(w, 100, 29e6L * 260.8L);
    Layer(w.Table("NewSoil"), 0, 3, 40, {125, 500, 0.007L, 0});
    // Long term: the clay drains; its strength is that of a c-phi soil.
    Layer(w.Table("LongSoil"), 0, 5, 40, {125, 26, 150, 0.01L, 0});
}

// English: a three-stage excavation; the strut at the top goes in during the second stage.
void ThreeStageExcavation(TWorkspace& w, const std::string& fileName) {
    TProgramData& p = Generated(w, "Three-stage excavation with a strut added in the second stage",
                                120, 3.6L, 72, 12);
    p.MaxDeflection = 24;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 900;
    p.FileName = fileName;
    p.StageCount = 3;
    Section(w, 120, 29e6L * 260.8L);
    Layer(w.Table("NewSoil"), 0, 4, 45, {120, 34, 0});
    const long double excavation[3] = {72, 144, 192};  // 6, 12 and 16 ft
    for (int stage = 1; stage <= 3; ++stage) {
        p.CurrentStage = stage;
        p.FreeHeight = excavation[stage - 1];
        if (stage == 2) Spring(w, 0, 7, 50000);  // strut 2 ft below the top
        WriteCurrentStage(w);
    }
    CombineStageFiles(w, fileName, fileName);
    for (int stage = 1; stage <= 3; ++stage) std::filesystem::remove(StageFileName(fileName, stage));
}

// SI: a wall of 0.9 m bored piles at 1.2 m spacing, socketed into weak rock below sand.
void PileWallInWeakRock(TWorkspace& w) {
    TProgramData& p = Generated(w, "Bored-pile wall socketed into weak rock", 200, 0.06L, 5, 1.2L);
    ChangeUnitSystem(w, 2);
    p.NumIncrements = 200;
    p.IncrementLength = 0.06L;
    p.FreeHeight = 5;
    p.ActiveWidth = 1.2L;
    p.ResistanceWidth = 0.9L;
    p.MaxDeflection = 1;
    p.ClosureTolerance = 1e-6L;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 30;
    Section(w, 200, 30e6L * 0.0322L);  // E = 30 GPa, I = pi 0.9^4 / 64
    Layer(w.Table("NewSoil"), 0, 4, 7, {19, 35, 0});
    Layer(w.Table("NewSoil"), 1, 7, 12, {22, 5000, 0.0005L, 500000, 50});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: torvex-make-examples FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::pair<const char*, std::function<void(TWorkspace&)>> examples[] = {
        {"cantilever-sand.tx4d", CantileverInSand},
        {"anchored-soft-clay.tx4d", AnchoredInSoftClay},
        {"surcharges-water.tx4d", SurchargesAndWater},
        {"stiff-clay-long-term.tx4d", StiffClayShortAndLongTerm},
        {"pile-wall-weak-rock.tx4d", PileWallInWeakRock},
    };
    for (const auto& [name, build] : examples) {
        TWorkspace w;
        build(w);
        w.Project().FileName = (folder / name).string();
        WriteDataFile(w);
        std::cout << w.Project().FileName << "\n";
    }
    TWorkspace staged;
    const std::string stagedName = (folder / "three-stage-excavation.tx4d").string();
    ThreeStageExcavation(staged, stagedName);
    std::cout << stagedName << "\n";
    return 0;
}
