#pragma once
// A 30 ft cantilever sheet-pile wall in medium dense sand, English units, per foot of wall:
// the wall the engine tests and benchmarks analyse.

#include "project/ProgramData.h"
#include "project/Workspace.h"

namespace torvex::testing {

inline void SetUpSandWall(TWorkspace& w, int increments, long double freeHeight = 120) {
    TProgramData& p = CreateDefaultProject(w);
    p.Title = "Sand wall";
    p.NumIncrements = increments;
    p.IncrementLength = 360.0L / increments;
    p.MaxDeflection = 24;
    p.FreeHeight = freeHeight;
    p.ActiveWidth = p.ResistanceWidth = 12;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 600;
    p.EarthPressureOption = 2;
    TGridTable& sect = w.Table("PileSect");
    sect.Cell(1, 0).SetInteger(increments);
    sect.Cell(3, 0).SetFloat(29e6L * 184.2L);
    TGridTable& soil = w.Table("NewSoil");
    soil.Cell(0, 0).SetInteger(4);
    soil.Cell(1, 0).SetFloat(40);
    TGridTable& par = soil.Cell(2, 0).AsTable();
    for (int r = 0; r < 2; ++r) {
        par.Cell(0, r).SetFloat(115);
        par.Cell(1, r).SetFloat(32);
        par.Cell(2, r).SetFloat(90);
    }
}

}  // namespace torvex::testing
