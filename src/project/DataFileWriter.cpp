#include "project/DataFileWriter.h"

#include <cstdint>
#include <initializer_list>
#include <string>

#include "dataentry/NumberText.h"
#include "dataentry/Table.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

constexpr const char* kLineEnd = "\r\n";
// Written in place of a soil parameter that the layer's type does not have; the next item
// follows it directly, so every parameter line carries six items.
constexpr const char* kFill = "0.0  ";

// English units: depths entered in ft go to the file in in, unit weights in lbs/ft³ in
// lbs/in³, strengths in lbs/ft² in lbs/in², line loads in lbs/ft in lbs/in.
constexpr int kEnglish = 1;
constexpr long double kInchesPerFoot = 12;
constexpr long double kSquareInchesPerSquareFoot = 144;
constexpr long double kCubicInchesPerCubicFoot = 1728;

// Soil type codes of the layer tables; 1 to 3 are the clays.
constexpr int32_t kLastClay = 3;
constexpr int32_t kSand = 4;
constexpr int32_t kSilt = 5;
constexpr int32_t kStrongRock = 6;
constexpr int32_t kWeakRock = 7;
constexpr int kParameterLines = 2;  // top and bottom of the layer

// Where the earth-pressure mode comes from when no distributed load is in use: the chosen
// earth-pressure item (short-term block), or always the generated mode 2 (long-term block
// and stage files).
enum class TPressureSource { EarthPressureOption, Generated };

// The tables a block takes its distributed load and its soil layers from; the other tables
// are shared by the short-term and the long-term block.
struct TBlockTables {
    const char* DistributedLoad;
    const char* SoilLayers;
};
constexpr TBlockTables kShortTermTables{"DistLoad", "NewSoil"};
constexpr TBlockTables kLongTermTables{"LongDist", "LongSoil"};

std::string Int(int32_t value) { return std::to_string(value); }
std::string Real(long double value) { return DataNumberText(value); }

// A cell as the file carries it: the 1-based code of a choice, the integer of an integer
// column, the 8-digit real of a real column.
std::string CellText(const TGridTable& table, int column, int row) {
    const TData& cell = table.Cell(column, row);
    switch (table.Columns(column).Kind()) {
        case TColumnKind::Choice:
        case TColumnKind::Integer:
            return Int(cell.AsInteger());
        case TColumnKind::Float:
            return Real(cell.AsFloat());
        default:
            return cell.AsText();
    }
}

// The given cells of one row, separated by tabs.
std::string TabbedCells(const TGridTable& table, int row, std::initializer_list<int> columns) {
    std::string text;
    for (int column : columns) {
        if (!text.empty()) text += '\t';
        text += CellText(table, column, row);
    }
    return text;
}

void AddLine(std::string& out, const std::string& line) {
    out += line;
    out += kLineEnd;
}

// The title is one line of the file, read back as one line: a line break inside it would
// shift every number after it and make the file unreadable, so breaks are written as blanks.
void WriteTitle(std::string& out, std::string title) {
    for (char& c : title)
        if (c == '\r' || c == '\n') c = ' ';
    AddLine(out, title);
}

// Derives the modes from the option switches and empties the tables whose option is off.
void PrepareModes(TWorkspace& workspace, TPressureSource source) {
    TProgramData& project = workspace.Project();
    const int32_t generatedMode =
        source == TPressureSource::EarthPressureOption ? project.EarthPressureOption : 2;

    if (!project.UseConcentratedLoads) workspace.Table("BoundCond").SetRowCount(0);
    if (!project.UseRestraints) workspace.Table("Soillayer").SetRowCount(0);
    if (!project.UsePYCurves) workspace.Table("PYCurves").SetRowCount(0);

    if (!project.UseDistributedLoad) {
        project.PressureMode = generatedMode;
        if (project.GenerateCurves == 0) project.PressureMode = 0;
    } else {
        project.PressureMode = 1;
        project.GeneratedPressure = 0;
    }
    if (!project.UseDistributedLoad && project.GeneratedPressure == 1)
        project.PressureMode = generatedMode;

    if (project.GenerateCurves == 1)
        project.ResistanceMode = 2;
    else
        project.ResistanceMode = project.UsePYCurves ? 1 : 0;

    project.MEICurveCount = project.UseMEICurves ? workspace.Table("MEICurves").RowCount() : 0;
    if (!project.UsePYModifiers) workspace.Table("PYMod").SetRowCount(0);
}

// Line 2: unit system, row counts, modes, stage count, moment-EI set count.
void WriteHeader(std::string& out, TWorkspace& workspace) {
    const TProgramData& project = workspace.Project();
    AddLine(out, Int(project.UnitSystem) + ' ' + Int(workspace.Table("Soillayer").RowCount()) +
                     '\t' + Int(workspace.Table("PileSect").RowCount()) + '\t' +
                     Int(workspace.Table("PYMod").RowCount()) + '\t' +
                     Int(project.PressureMode) + '\t' + Int(project.ResistanceMode) + ' ' +
                     Int(workspace.Table("PYCurves").RowCount()) + ' ' +
                     Int(project.StageCount) + ' ' + Int(project.MEICurveCount));
}

// Line 3: increments and the iteration limits of the wall.
void WriteWall(std::string& out, const TProgramData& project) {
    AddLine(out, Int(project.NumIncrements) + ' ' + Real(project.IncrementLength) + '\t' +
                     Real(project.MaxDeflection) + '\t' + Real(project.ClosureTolerance) +
                     '\t' + Real(project.FreeHeight));
}

// Line 4: prescribed deflections and slopes.
void WriteRestraints(std::string& out, TWorkspace& workspace) {
    if (!workspace.Project().UseRestraints) return;
    const TGridTable& table = workspace.Table("Soillayer");
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, TabbedCells(table, row, {0, 1, 2, 3}));
}

// Line 5: wall stiffness. The last segment has no next line to interpolate to, so it is made
// constant, and stays so in the table. A table without rows has no last segment.
void WriteWallStiffness(std::string& out, TWorkspace& workspace) {
    const TGridTable& table = workspace.Table("PileSect");
    if (table.RowCount() > 0) table.Cell(2, table.RowCount() - 1).SetInteger(1);
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, TabbedCells(table, row, {0, 1, 2, 3}));
}

// Lines 6 and 7: concentrated loads.
void WriteConcentratedLoads(std::string& out, TWorkspace& workspace) {
    const TGridTable& table = workspace.Table("BoundCond");
    AddLine(out, Int(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, TabbedCells(table, row, {0, 1, 2, 3, 4, 5}));
}

// Lines 8 and 9: springs; the file puts the nodes before the constant-or-interpolate code.
void WriteSprings(std::string& out, TWorkspace& workspace) {
    TGridTable& table = workspace.Table("SoilStrength");
    if (!workspace.Project().UseSprings) table.SetRowCount(0);
    AddLine(out, Int(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, TabbedCells(table, row, {1, 2, 0, 3, 4}));
}

// Line 10: p-y modification factors against depth.
void WritePYModifiers(std::string& out, TWorkspace& workspace) {
    const TGridTable& table = workspace.Table("PYMod");
    if (!workspace.Project().UsePYModifiers) return;
    const long double depthFactor = table.Units() == kEnglish ? kInchesPerFoot : 1;
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, Real(table.Cell(0, row).AsFloat() * depthFactor) + '\t' +
                         TabbedCells(table, row, {1, 2}));
}

// Lines 11 and 12: the user's distributed load against depth. Like the p-y modifiers, the
// English factors follow the units of the table itself.
void WriteDistributedLoad(std::string& out, TWorkspace& workspace, const char* tableName) {
    if (workspace.Project().PressureMode != 1) return;
    const TGridTable& table = workspace.Table(tableName);
    const bool english = table.Units() == kEnglish;
    AddLine(out, Int(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row) {
        long double depth = table.Cell(0, row).AsFloat();
        long double load = table.Cell(1, row).AsFloat();
        if (english) {
            depth *= kInchesPerFoot;
            load /= kInchesPerFoot;
        }
        AddLine(out, Real(depth) + '\t' + Real(load));
    }
}

// The configuration, surcharge and soil blocks go with a generated earth pressure or with
// generated p-y curves. The reader expects them whenever either mode is above 1, and a
// trapezoidal earth pressure (mode 3) cannot be generated without its soil layers, so the
// writer uses the same test.
bool HasConfiguration(const TProgramData& project) {
    return project.PressureMode > 1 || project.ResistanceMode > 1;
}

// Lines 13 and 14: wall configuration, water tables, backfill and the older surcharge.
void WriteConfiguration(std::string& out, const TProgramData& project) {
    AddLine(out, Real(project.FreeHeight) + '\t' + Real(project.ActiveWidth) + '\t' +
                     Real(project.ResistanceWidth) + '\t' + Real(project.WaterDepthBackfill) +
                     '\t' + Real(project.WaterDepthExcavation) + '\t' +
                     Real(project.PressureFactor) + '\t' + Int(project.ConfigOption) + '\t' +
                     Real(project.BackfillSlope));
    std::string line = Real(project.BackfillSurcharge);
    for (long double value : project.LegacySurcharge) line += '\t' + Real(value);
    AddLine(out, line);
}

// Lines 15 and 16: point, line and strip surcharges.
void WriteSurcharges(std::string& out, const TGridTable& table) {
    AddLine(out, Int(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row)
        AddLine(out, TabbedCells(table, row, {0, 1, 2, 3}));
}

// One parameter line of a soil layer: six items, each a number followed by a blank or a
// FILL. In English units γ (P[0]) goes to lbs/in³ and the cohesive strength c to lbs/in².
std::string SoilParameterLine(int32_t typeCode, const TGridTable& parameters, int row,
                              bool english) {
    auto item = [&](int column) { return CellText(parameters, column, row) + ' '; };
    auto unitWeight = [&] {
        const long double value = parameters.Cell(0, row).AsFloat();
        return Real(english ? value / kCubicInchesPerCubicFoot : value) + ' ';
    };
    auto strength = [&](int column) {
        const long double value = parameters.Cell(column, row).AsFloat();
        return Real(english ? value / kSquareInchesPerSquareFoot : value) + ' ';
    };
    if (typeCode <= kLastClay)  // γ, c, E50, k
        return unitWeight() + strength(1) + kFill + item(2) + item(3) + kFill;
    if (typeCode == kSand)  // γ, friction angle, k
        return unitWeight() + kFill + item(1) + kFill + item(2) + kFill;
    if (typeCode == kSilt)  // γ, friction angle, c, E50, k
        return unitWeight() + strength(2) + item(1) + item(3) + item(4) + kFill;
    if (typeCode == kStrongRock)  // γ, uniaxial compressive strength
        return unitWeight() + item(1) + kFill + kFill + kFill + kFill;
    // Weak rock: γ, uniaxial compressive strength, krm, elastic modulus, RQD.
    return unitWeight() + item(1) + kFill + item(2) + item(3) + item(4);
}

// Lines 17 and 18: soil layers, each a layer line (type code and bottom depth) and the two
// rows of its parameter table. A type code above 7 has no parameter lines.
void WriteSoilLayers(std::string& out, TWorkspace& workspace, const char* tableName) {
    const bool english = workspace.Project().UnitSystem == kEnglish;
    const TGridTable& table = workspace.Table(tableName);
    AddLine(out, Int(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row) {
        const int32_t typeCode = table.Cell(0, row).AsInteger();
        const long double depth = table.Cell(1, row).AsFloat();
        AddLine(out, Int(typeCode) + ' ' + Real(english ? depth * kInchesPerFoot : depth) + ' ');
        if (typeCode > kWeakRock) continue;
        const TGridTable& parameters = table.Cell(2, row).AsTable();
        for (int line = 0; line < kParameterLines; ++line)
            AddLine(out, SoilParameterLine(typeCode, parameters, line, english));
    }
}

// Line 19: external p-y curves, each set a node with its multipliers and its curve points.
void WritePYCurves(std::string& out, TWorkspace& workspace) {
    const TGridTable& table = workspace.Table("PYCurves");
    if (!workspace.Project().UsePYCurves) return;
    for (int row = 0; row < table.RowCount(); ++row) {
        const TGridTable& curve = table.Cell(1, row).AsTable();
        AddLine(out, CellText(table, 0, row) + '\t' + Int(curve.RowCount()) + '\t' +
                         TabbedCells(table, row, {2, 3}));
        for (int point = 0; point < curve.RowCount(); ++point)
            AddLine(out, TabbedCells(curve, point, {0, 1}));
    }
}

// Line 20: nonlinear moment-EI curves, each set a range of nodes and its curve points.
void WriteMomentEICurves(std::string& out, TWorkspace& workspace) {
    const TGridTable& table = workspace.Table("MEICurves");
    if (!workspace.Project().UseMEICurves) return;
    for (int row = 0; row < table.RowCount(); ++row) {
        const TGridTable& curve = table.Cell(2, row).AsTable();
        AddLine(out, TabbedCells(table, row, {0, 1}) + '\t' + Int(curve.RowCount()));
        for (int point = 0; point < curve.RowCount(); ++point)
            AddLine(out, TabbedCells(curve, point, {0, 1}));
    }
}

// Lines 2 to 20 of a block: prepares the modes, then writes the header, the wall line and
// the body.
void WriteBlock(std::string& out, TWorkspace& workspace, TPressureSource source,
                const TBlockTables& tables) {
    PrepareModes(workspace, source);
    const TProgramData& project = workspace.Project();
    WriteHeader(out, workspace);
    WriteWall(out, project);
    WriteRestraints(out, workspace);
    WriteWallStiffness(out, workspace);
    WriteConcentratedLoads(out, workspace);
    WriteSprings(out, workspace);
    WritePYModifiers(out, workspace);
    WriteDistributedLoad(out, workspace, tables.DistributedLoad);
    TGridTable& surcharges = workspace.Table("SurchargeTable");
    if (!project.UseSurcharges) surcharges.SetRowCount(0);
    if (HasConfiguration(project)) {
        WriteConfiguration(out, project);
        WriteSurcharges(out, surcharges);
        WriteSoilLayers(out, workspace, tables.SoilLayers);
    }
    WritePYCurves(out, workspace);
    WriteMomentEICurves(out, workspace);
}

}  // namespace

std::string WriteDataFileText(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    std::string out;
    WriteTitle(out, project.Title);
    WriteBlock(out, workspace, TPressureSource::EarthPressureOption, kShortTermTables);
    project.LongTermMarker = project.UseLongTerm ? 9 : 0;
    AddLine(out, Int(project.LongTermMarker));
    if (project.LongTermMarker == 9) {
        WriteTitle(out, project.Title);
        WriteBlock(out, workspace, TPressureSource::Generated, kLongTermTables);
        AddLine(out, "0");
    }
    // The settings the layout has no place for follow its last line; none, no block.
    out += OptionBlockText(project.Options);
    return out;
}

void WriteDataFile(TWorkspace& workspace) {
    CheckOptionRanges(workspace.Project().Options);
    const std::string text = WriteDataFileText(workspace);
    SaveTextFile(workspace.Project().FileName, text);
    workspace.MarkSaved();
}

std::string WriteStageFileText(TWorkspace& workspace) {
    const TProgramData& project = workspace.Project();
    std::string out;
    if (project.CurrentStage > 1)
        AddLine(out, " Stage No : " + Int(project.CurrentStage));
    else
        WriteTitle(out, project.Title);
    WriteBlock(out, workspace, TPressureSource::Generated, kShortTermTables);
    AddLine(out, Int(project.CurrentStage));
    return out;
}

}  // namespace torvex
