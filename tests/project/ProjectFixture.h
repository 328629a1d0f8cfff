#pragma once
// A project that uses every table, option and soil type, for round trips and benchmarks.

#include <string>

#include "project/ProgramData.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex::testing {

// Fills every table with `rows` rows (at most each table's MaxRows) of distinct values and
// switches every option on. Soil rows cycle through the seven soil types.
inline void FillFullProject(TWorkspace& workspace, int increments, int rows, bool longTerm) {
    TProgramData& p = CreateDefaultProject(workspace);
    p.Title = "Full wall  with blanks ";
    p.NumIncrements = increments;
    p.IncrementLength = 1.5L;
    p.MaxDeflection = 50;
    p.ClosureTolerance = 0.0001L;
    p.FreeHeight = 180;
    p.BackfillSurcharge = 0.75L;
    p.WaterDepthBackfill = 60;
    p.WaterDepthExcavation = 200;
    p.PressureFactor = 0.9L;
    p.LegacySurcharge = {1, 2, 3, 4, 5};
    p.ConfigOption = 2;
    p.BackfillSlope = 10;
    p.ActiveWidth = 24;
    p.ResistanceWidth = 18;
    p.UsePYCurves = p.UseMEICurves = p.UsePYModifiers = 1;
    p.UseConcentratedLoads = p.UseSprings = p.UseSurcharges = p.UseRestraints = 1;
    p.UseLongTerm = longTerm ? 1 : 0;
    p.EarthPressureOption = 2;
    p.GeneratedPressure = 1;
    p.GenerateCurves = 1;

    auto rowsOf = [&](TGridTable& table) {
        const int limit = table.MaxRows > 0 ? table.MaxRows : rows;
        table.SetRowCount(std::max(table.MinRows(), std::min(rows, limit)));
        return table.RowCount();
    };
    auto fill = [&](const char* name, int base) {
        TGridTable& table = workspace.Table(name);
        const int n = rowsOf(table);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < table.ColumnCount(); ++c) {
                TColumn& column = table.Columns(c);
                if (column.Kind() == TColumnKind::Float)
                    table.Cell(c, r).SetFloat(base + r * 10.25L + c * 0.5L);
                else if (column.Kind() == TColumnKind::Integer)
                    table.Cell(c, r).SetInteger(base + r + c);
                else if (column.Kind() == TColumnKind::Choice)
                    table.Cell(c, r).SetInteger(1 + (r % static_cast<int>(
                                                         column.Declaration().Choices.size())));
            }
        return n;
    };
    fill("Soillayer", 1);
    fill("PileSect", 2);
    fill("BoundCond", 3);
    fill("SoilStrength", 4);
    fill("PYMod", 5);
    fill("SurchargeTable", 6);
    fill("DistLoad", 7);
    fill("LongDist", 8);
    for (const char* soilTable : {"NewSoil", "LongSoil"}) {
        TGridTable& soil = workspace.Table(soilTable);
        const int n = rowsOf(soil);
        for (int r = 0; r < n; ++r) {
            soil.Cell(0, r).SetInteger(1 + r % 7);
            soil.Cell(1, r).SetFloat(10 + 5 * r);
            TGridTable& parameters = soil.Cell(2, r).AsTable();
            for (int pr = 0; pr < parameters.RowCount(); ++pr)
                for (int pc = 0; pc < parameters.ColumnCount(); ++pc)
                    parameters.Cell(pc, pr).SetFloat(100 + r + pr * 3 + pc * 7);
        }
    }
    for (const char* setTable : {"PYCurves", "MEICurves"}) {
        TGridTable& sets = workspace.Table(setTable);
        const int n = rowsOf(sets);
        const int curveColumn = std::string(setTable) == "PYCurves" ? 1 : 2;
        for (int r = 0; r < n; ++r) {
            sets.Cell(0, r).SetInteger(r);
            if (curveColumn == 1) {
                sets.Cell(2, r).SetFloat(1.5L);
                sets.Cell(3, r).SetFloat(0.5L);
            } else {
                sets.Cell(1, r).SetInteger(r + 2);
            }
            TGridTable& points = sets.Cell(curveColumn, r).AsTable();
            rowsOf(points);
            for (int pr = 0; pr < points.RowCount(); ++pr) {
                points.Cell(0, pr).SetFloat(-1 + pr * 0.25L);
                points.Cell(1, pr).SetFloat(1000 - pr * 50.5L);
            }
        }
    }
}

}  // namespace torvex::testing
