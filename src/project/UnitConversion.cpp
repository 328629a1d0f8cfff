#include "project/UnitConversion.h"

#include "dataentry/Units.h"
#include "project/Workspace.h"

namespace torvex {

namespace {

// The length and force factors from one system to another; 0 when only the labels change.
struct TFactors {
    long double a = 0;  // length
    long double b = 0;  // force
};

TFactors Factors(int from, int to) {
    if (from == kUnitsEnglish && to == kUnitsSI) return {0.0254L, 0.004448222468060651L};
    // The program's rounded factors: English -> SI -> English changes the 7th digit.
    if (from == kUnitsSI && to == kUnitsEnglish) return {39.3701L, 224.8089L};
    return {};
}

}  // namespace

TProjectOptions ConvertedOptions(TProjectOptions options, int from, int to) {
    const TFactors f = Factors(ClampUnitSystem(from), ClampUnitSystem(to));
    if (f.a != 0) ScaleOptionUnits(options, f.a, f.b);
    return options;
}

void ChangeUnitSystem(TWorkspace& workspace, int target) {
    target = ClampUnitSystem(target);
    TProgramData& p = workspace.Project();
    const TFactors f = Factors(p.UnitSystem, target);
    const long double a = f.a;
    const long double b = f.b;
    if (a != 0) {
        ScaleOptionUnits(p.Options, a, b);
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
