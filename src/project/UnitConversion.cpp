#include "project/UnitConversion.h"

#include "dataentry/Units.h"
#include "project/Workspace.h"

namespace torvex {

void ChangeUnitSystem(TWorkspace& workspace, int target) {
    target = ClampUnitSystem(target);
    TProgramData& p = workspace.Project();
    long double a = 0;  // length factor
    long double b = 0;  // force factor
    if (p.UnitSystem == kUnitsEnglish && target == kUnitsSI) {
        a = 0.0254L;
        b = 0.004448222468060651L;
    } else if (p.UnitSystem == kUnitsSI && target == kUnitsEnglish) {
        // The program's rounded factors: English -> SI -> English changes the 7th digit.
        a = 39.3701L;
        b = 224.8089L;
    }
    if (a != 0) {
        for (long double* length : {&p.MaxDeflection, &p.ClosureTolerance, &p.IncrementLength,
                                    &p.FreeHeight, &p.WaterDepthBackfill, &p.WaterDepthExcavation,
                                    &p.ActiveWidth, &p.ResistanceWidth})
            *length *= a;
        p.BackfillSurcharge *= b / (a * a);
        p.LegacySurcharge[0] *= a;
        p.LegacySurcharge[1] *= b;
        p.LegacySurcharge[2] *= b / a;
        p.LegacySurcharge[3] *= b / (a * a);
        p.LegacySurcharge[4] *= a;
    }
    p.UnitSystem = target;
    workspace.SetUnits(target);
    if (workspace.RefreshOpenDialogs) workspace.RefreshOpenDialogs();
}

}  // namespace torvex
