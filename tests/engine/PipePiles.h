#pragma once
// Laterally loaded steel pipe piles, SI, free head, 100 increments, the soil from the head
// down and no driving pressure: the piles the benchmarks time and the tests check.
//   soft clay: 0.61 m, EI 212651 kN-m2, 18 m, c 25 kPa, e50 0.02, gamma' 9 kN/m3, 200 kN
//   sand:      0.61 m, EI 161607 kN-m2, 21 m, phi 39 deg, gamma' 10.4 kN/m3, k 33900 kN/m3,
//              89 kN or 300 kN

#include "dataentry/ColumnTypes.h"
#include "project/ProgramData.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex::testing {

enum class TPipePile { SoftClay200, Sand89, Sand300 };

inline void SetUpPipePile(TWorkspace& w, TPipePile pile, int increments = 100) {
    const bool clay = pile == TPipePile::SoftClay200;
    const long double length = clay ? 18 : 21;
    TProgramData& p = CreateDefaultProject(w);
    ChangeUnitSystem(w, 2);
    p.Title = "Pipe pile";
    p.NumIncrements = increments;
    p.IncrementLength = length / increments;
    p.FreeHeight = 0;
    p.ActiveWidth = p.ResistanceWidth = 0.61L;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 100;  // gamma' given as the unit weight
    p.MaxDeflection = 5;
    p.ClosureTolerance = 1e-6L;
    p.EarthPressureOption = 0;
    p.GenerateCurves = 1;
    TGridTable& sect = w.Table("PileSect");
    sect.SetRowCount(1);
    sect.Cell(1, 0).SetInteger(increments);
    sect.Cell(3, 0).SetFloat(clay ? 212651 : 161607);
    TGridTable& soil = w.Table("NewSoil");
    soil.SetRowCount(1);
    soil.Cell(0, 0).SetInteger(clay ? 1 : 4);
    soil.Cell(1, 0).SetFloat(length);
    TGridTable& par = soil.Cell(2, 0).AsTable();
    for (int r = 0; r < 2; ++r) {
        const long double values[2][4] = {{9, 25, 0.02L, 0}, {10.4L, 39, 33900, 0}};
        for (int c = 0; c < (clay ? 4 : 3); ++c) par.Cell(c, r).SetFloat(values[clay ? 0 : 1][c]);
    }
    p.UseConcentratedLoads = 1;
    TGridTable& loads = w.Table("BoundCond");
    loads.SetRowCount(1);
    const long double head = pile == TPipePile::SoftClay200 ? 200 : pile == TPipePile::Sand89 ? 89 : 300;
    const long double row[6] = {1, 0, 0, head, 0, 0};
    for (int c = 0; c < 6; ++c) {
        if (loads.Cell(c, 0).Column().Kind() != TColumnKind::Float) loads.Cell(c, 0).SetInteger(static_cast<int32_t>(row[c]));
        else loads.Cell(c, 0).SetFloat(row[c]);
    }
}

}  // namespace torvex::testing
