#pragma once
// A wall in sand, SI units, Wa = Wp = 1 m: gamma above the water table, gamma_sat below (two
// layers with the same phi), the water at the same depth on both sides (60 m or deeper: dry,
// one layer), unless waterFront puts the excavation side's water elsewhere (the layers still
// change at the water behind).

#include <cmath>
#include <string>

#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex::testing {

struct TTextbookWall {
    double phi, gamma, gammaSat, water, H, embedment, anchor;  // anchor 0: none
    int increments;
    double surcharge = 0;  // uniform, on the backfill (kPa)
    double waterFront = -1;  // the excavation side's water depth; negative: at `water`
};

inline std::string TextbookDataFile(const TTextbookWall& t, const TProjectOptions& options) {
    TWorkspace w;
    TProgramData& p = CreateDefaultProject(w);
    ChangeUnitSystem(w, 2);
    p.Title = "Textbook wall";
    p.NumIncrements = t.increments;
    p.IncrementLength = (t.H + t.embedment) / t.increments;
    p.MaxDeflection = 5;
    p.FreeHeight = t.H;
    p.ActiveWidth = p.ResistanceWidth = 1;
    p.WaterDepthBackfill = p.WaterDepthExcavation = t.water;
    if (t.waterFront >= 0) p.WaterDepthExcavation = t.waterFront;
    p.BackfillSurcharge = t.surcharge;
    p.EarthPressureOption = 2;
    p.Options = options;
    w.Table("PileSect").Cell(1, 0).SetInteger(t.increments);
    w.Table("PileSect").Cell(3, 0).SetFloat(2e5L);
    TGridTable& soil = w.Table("NewSoil");
    const bool dry = t.water >= 60;
    const int layers = dry ? 1 : 2;
    soil.SetRowCount(layers);
    const double bottoms[2] = {dry ? 100 : t.water, 60}, gammas[2] = {t.gamma, t.gammaSat};
    for (int layer = 0; layer < layers; ++layer) {
        soil.Cell(0, layer).SetInteger(4);
        soil.Cell(1, layer).SetFloat(bottoms[layer]);
        TGridTable& par = soil.Cell(2, layer).AsTable();
        for (int r = 0; r < 2; ++r) {
            par.Cell(0, r).SetFloat(gammas[layer]);
            par.Cell(1, r).SetFloat(t.phi);
            par.Cell(2, r).SetFloat(20000);
        }
    }
    if (t.anchor > 0) {
        p.UseRestraints = 1;
        TGridTable& restraints = w.Table("Soillayer");
        restraints.SetRowCount(1);
        restraints.Cell(0, 0).SetInteger(1);
        restraints.Cell(1, 0).SetInteger(static_cast<int>(std::lround(t.anchor / p.IncrementLength)));
        restraints.Cell(2, 0).SetFloat(0);
    }
    return WriteDataFileText(w);
}

inline std::string TextbookDataFile(const TTextbookWall& t, double targetF) {
    TProjectOptions options;
    options.TargetSafetyFactor = targetF;
    return TextbookDataFile(t, options);
}

}  // namespace torvex::testing
