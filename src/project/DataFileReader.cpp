#include "project/DataFileReader.h"

#include <optional>
#include <string>
#include <vector>

#include "dataentry/Table.h"
#include "dataentry/Units.h"
#include "project/OptionBlock.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/UnitConversion.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

// The long-term block follows the short-term block when the marker after it is 9.
constexpr int kLongTermMarker = 9;
constexpr int kSoilTypeCount = 7;
constexpr int kMaxStageCount = 5;

// Which block is read; the blocks differ in how the header derives the option flags.
enum class TBlock { ShortTerm, LongTerm, Stage };

// Soil types by code: 1..3 clays, 4 sand, 5 silt, 6 strong rock, 7 weak rock.
constexpr int kSand = 4;
constexpr int kSilt = 5;
constexpr int kStrongRock = 6;
constexpr int kWeakRock = 7;

// Unit factors of English files: depths in the file are in inches, the tables hold feet;
// unit weights are in lbs/in^3 and strengths in lbs/in^2 against lbs/ft^3 and lbs/ft^2.
constexpr long double kInchesPerFoot = 12;
constexpr long double kSquareInchesPerFoot = 144;
constexpr long double kCubicInchesPerFoot = 1728;
constexpr long double kMillimetresPerMetre = 1000;

// One parameter item of a soil line: the parameter-table column it goes to, or a FILL item
// (a placeholder the layer's type does not have), which is skipped.
struct TSoilItem {
    int Column;         // -1: skip the item
    long double Scale;  // English factor applied to the value read
};

// Reads one block (header, wall line, body) of a data or stage file into the workspace.
class TBlockReader {
public:
    // layout: 1 current, 2 older, 3 oldest format.
    TBlockReader(TWorkspace& workspace, TWordReader& in, int layout, TBlock block)
        : workspace_(workspace), p_(workspace.Project()), in_(in), layout_(layout),
          block_(block) {}

    void Read() {
        ReadHeader();
        ReadWallLine();
        ReadBody();
    }

private:
    TGridTable& Table(const char* name) const { return workspace_.Table(name); }
    static bool English(const TGridTable& table) { return table.Units() == kUnitsEnglish; }

    [[noreturn]] void Fail(const std::string& what) const {
        // The word just taken: its 1-based line and position.
        throw EInOutError("Error on Line " + std::to_string(in_.LineNumber()) + " Item " +
                          std::to_string(in_.WordIndex()) + "\r" + what);
    }

    // A row count from the file. Negative or absurd counts end the read before anything is
    // allocated for them.
    int ReadRowCount() {
        const int32_t count = in_.NextInteger();
        if (count < 0 || count > kMaxFileRowCount)
            Fail("A row count from 0 to " + std::to_string(kMaxFileRowCount) +
                 " was expected but not found.");
        return count;
    }

    void ReadRowCountInto(TGridTable& table) { table.SetRowCount(ReadRowCount()); }

    void ReadTitle() {
        // In the long-term block the marker line is passed first.
        if (block_ == TBlock::LongTerm) in_.NextLine();
        p_.Title = in_.NextLine();
    }

    void ReadHeader();
    void DeriveModeFlags();
    void ReadStageCount();
    void ReadMomentEICount();
    void ReadWallLine();
    void ReadBody();
    void ReadRestraints();
    void ReadWallStiffness();
    void ReadConcentratedLoads();
    void ReadSprings();
    void ReadPYModifiers();
    void ReadDistributedLoad();
    void ReadConfiguration();
    void ReadSurcharges();
    void ExpandLegacySurcharge();
    void ReadSoilLayers();
    int ReadSoilType();
    void ReadSoilParameters(TGridTable& parameters, int type, bool english);
    void ReadOldestSoilParameters(TGridTable& parameters, int type);
    void ReadSoilItems(TGridTable& parameters, int firstRow, int lastRow,
                       const std::vector<TSoilItem>& items);
    void ReadPYCurves();
    void ReadMomentEICurves();

    TWorkspace& workspace_;
    TProgramData& p_;
    TWordReader& in_;
    int layout_;
    TBlock block_;
};

void TBlockReader::ReadHeader() {
    ReadTitle();
    if (block_ == TBlock::Stage) {
        p_.UseRestraints = 0;
        p_.UseConcentratedLoads = 0;
    }
    // Converts the values in memory and switches every table to the file's units.
    ChangeUnitSystem(workspace_, in_.NextInteger());
    TGridTable& restraints = Table("Soillayer");
    ReadRowCountInto(restraints);
    if (restraints.RowCount() > 0) p_.UseRestraints = 1;
    ReadRowCountInto(Table("PileSect"));
    TGridTable& modifiers = Table("PYMod");
    ReadRowCountInto(modifiers);
    p_.PressureMode = in_.NextInteger();
    if (block_ != TBlock::LongTerm) p_.EarthPressureOption = p_.PressureMode;
    p_.ResistanceMode = in_.NextInteger();
    DeriveModeFlags();
    TGridTable& curves = Table("PYCurves");
    ReadRowCountInto(curves);
    if (curves.RowCount() > 0) p_.UsePYCurves = 1;
    if (modifiers.RowCount() > 0) p_.UsePYModifiers = 1;
    if (layout_ < 3) ReadStageCount();
    ReadMomentEICount();
}

void TBlockReader::DeriveModeFlags() {
    const int pressure = p_.PressureMode;
    const int resistance = p_.ResistanceMode;
    if (block_ == TBlock::ShortTerm) {
        if (pressure > 1) p_.GeneratedPressure = 1;
    } else {
        if (pressure == 2) p_.GeneratedPressure = 1;
        if (block_ == TBlock::LongTerm && pressure == 0) p_.GeneratedPressure = 0;
    }
    if (resistance == 2) p_.GenerateCurves = 1;
    if (block_ == TBlock::ShortTerm && pressure == 0) p_.GenerateCurves = 0;
    // The long-term block is read because the marker was 9: clearing the option here would
    // lose it on the next save.
    if (block_ != TBlock::LongTerm) {
        p_.LongTermMarker = 0;
        p_.UseLongTerm = 0;
    }
    if (resistance < 2) p_.GenerateCurves = 0;
    if (pressure == 1) p_.GeneratedPressure = 0;
    if (block_ != TBlock::LongTerm)
        p_.UseDistributedLoad = pressure == 1 ? 1 : 0;
    else if (pressure == 1)
        p_.UseDistributedLoad = 1;
    else if (pressure >= 2)
        p_.UseDistributedLoad = 0;
    if (resistance == 1) p_.UsePYCurves = 1;
    if (resistance == 0) p_.UsePYCurves = 0;
    if (block_ == TBlock::LongTerm && Table("BoundCond").RowCount() > 0)
        p_.UseConcentratedLoads = 1;
}

void TBlockReader::ReadStageCount() {
    // The stage menu, the stage buttons and the stage files exist for stages 1 to 5 only.
    const int32_t count = in_.NextInteger();
    if (count < 1 || count > kMaxStageCount)
        Fail("A number of stages from 1 to " + std::to_string(kMaxStageCount) +
             " was expected but not found.");
    p_.StageCount = count;
}

void TBlockReader::ReadMomentEICount() {
    // The older layouts have no count; it is taken as 0.
    const int count = layout_ == 1 ? ReadRowCount() : 0;
    p_.MEICurveCount = count;
    TGridTable& sets = Table("MEICurves");
    // The long-term block reads the shared moment-EI sets with the short-term count.
    if (block_ == TBlock::Stage || (block_ == TBlock::ShortTerm && count > 0))
        sets.SetRowCount(count);
    if (sets.RowCount() > 0) p_.UseMEICurves = 1;
    // A stage is read over the previous stage's options: an option whose table is empty
    // here is off, as it is in a project read from a data file.
    if (block_ == TBlock::Stage && sets.RowCount() == 0) p_.UseMEICurves = 0;
}

void TBlockReader::ReadWallLine() {
    p_.NumIncrements = in_.NextInteger();
    p_.IncrementLength = in_.NextReal();
    p_.MaxDeflection = in_.NextReal();
    p_.ClosureTolerance = in_.NextReal();
    p_.FreeHeight = in_.NextReal();
}

void TBlockReader::ReadBody() {
    ReadRestraints();
    ReadWallStiffness();
    ReadConcentratedLoads();
    ReadSprings();
    ReadPYModifiers();
    if (p_.PressureMode == 1) ReadDistributedLoad();
    // The writer writes this part under the same condition.
    if (p_.PressureMode > 1 || p_.ResistanceMode > 1) {
        ReadConfiguration();
        ReadSurcharges();
        ReadSoilLayers();
    }
    ReadPYCurves();
    ReadMomentEICurves();
}

void TBlockReader::ReadRestraints() {
    if (p_.UseRestraints != 1) return;
    TGridTable& t = Table("Soillayer");
    for (int row = 0; row < t.RowCount(); ++row) {
        t.Columns(0).SetInteger(row, in_.NextInteger());
        t.Columns(1).SetInteger(row, in_.NextInteger());
        t.Columns(2).SetFloat(row, in_.NextReal());
        t.Columns(3).SetFloat(row, in_.NextReal());
    }
}

void TBlockReader::ReadWallStiffness() {
    TGridTable& t = Table("PileSect");
    for (int row = 0; row < t.RowCount(); ++row) {
        t.Columns(0).SetInteger(row, in_.NextInteger());
        t.Columns(1).SetInteger(row, in_.NextInteger());
        t.Columns(2).SetInteger(row, in_.NextInteger());
        t.Columns(3).SetFloat(row, in_.NextReal());
    }
}

void TBlockReader::ReadConcentratedLoads() {
    TGridTable& t = Table("BoundCond");
    ReadRowCountInto(t);
    if (t.RowCount() == 0) return;
    p_.UseConcentratedLoads = 1;
    for (int row = 0; row < t.RowCount(); ++row) {
        for (int c = 0; c < 3; ++c) t.Columns(c).SetInteger(row, in_.NextInteger());
        for (int c = 3; c < 6; ++c) t.Columns(c).SetFloat(row, in_.NextReal());
    }
}

void TBlockReader::ReadSprings() {
    TGridTable& t = Table("SoilStrength");
    ReadRowCountInto(t);
    if (t.RowCount() == 0) {
        if (block_ == TBlock::Stage) p_.UseSprings = 0;
        return;
    }
    p_.UseSprings = 1;
    for (int row = 0; row < t.RowCount(); ++row) {
        // The line starts with the node range; the constant-or-interpolate code follows it.
        t.Columns(1).SetInteger(row, in_.NextInteger());
        t.Columns(2).SetInteger(row, in_.NextInteger());
        t.Columns(0).SetInteger(row, in_.NextInteger());
        t.Columns(3).SetFloat(row, in_.NextReal());
        t.Columns(4).SetFloat(row, in_.NextReal());
    }
}

void TBlockReader::ReadPYModifiers() {
    TGridTable& t = Table("PYMod");
    if (t.RowCount() == 0) {
        p_.UsePYModifiers = 0;
        return;
    }
    const long double depthScale = English(t) ? 1 / kInchesPerFoot : 1;
    for (int row = 0; row < t.RowCount(); ++row) {
        t.Columns(0).SetFloat(row, in_.NextReal() * depthScale);
        t.Columns(1).SetFloat(row, in_.NextReal());
        t.Columns(2).SetFloat(row, in_.NextReal());
    }
    p_.UsePYModifiers = 1;
}

void TBlockReader::ReadDistributedLoad() {
    TGridTable& t = Table(block_ == TBlock::LongTerm ? "LongDist" : "DistLoad");
    ReadRowCountInto(t);
    if (block_ == TBlock::ShortTerm) p_.EarthPressureOption = 1;
    if (t.RowCount() < 1) {
        p_.UseDistributedLoad = 0;
        return;
    }
    p_.UseDistributedLoad = 1;
    const bool english = English(t);
    for (int row = 0; row < t.RowCount(); ++row) {
        // Depth in inches and load in lbs/in in an English file; the table holds ft and lbs/ft.
        t.Columns(0).SetFloat(row, in_.NextReal() / (english ? kInchesPerFoot : 1));
        t.Columns(1).SetFloat(row, in_.NextReal() * (english ? kInchesPerFoot : 1));
    }
}

void TBlockReader::ReadConfiguration() {
    p_.FreeHeight = in_.NextReal();
    p_.ActiveWidth = in_.NextReal();
    p_.ResistanceWidth = in_.NextReal();
    p_.WaterDepthBackfill = in_.NextReal();
    p_.WaterDepthExcavation = in_.NextReal();
    p_.PressureFactor = in_.NextReal();
    // Files of an earlier version carry 0.036 where no factor was entered.
    if (p_.PressureFactor == 0.036L) p_.PressureFactor = 1.0L;
    p_.ConfigOption = in_.NextInteger();
    p_.BackfillSlope = in_.NextReal();
    p_.BackfillSurcharge = in_.NextReal();
    for (long double& value : p_.LegacySurcharge) value = in_.NextReal();
}

void TBlockReader::ReadSurcharges() {
    if (layout_ != 1) {
        ExpandLegacySurcharge();
        return;
    }
    TGridTable& t = Table("SurchargeTable");
    ReadRowCountInto(t);
    if (t.RowCount() == 0) {
        if (block_ == TBlock::Stage) p_.UseSurcharges = 0;
        return;
    }
    p_.UseSurcharges = 1;
    for (int row = 0; row < t.RowCount(); ++row) {
        t.Columns(0).SetInteger(row, in_.NextInteger());
        for (int c = 1; c < 4; ++c) t.Columns(c).SetFloat(row, in_.NextReal());
    }
}

void TBlockReader::ExpandLegacySurcharge() {
    // The older formats have one surcharge of each load type, all at the same distance.
    const auto& legacy = p_.LegacySurcharge;
    if (!(legacy[0] > 0)) {
        if (block_ == TBlock::Stage) p_.UseSurcharges = 0;
        return;
    }
    TGridTable& t = Table("SurchargeTable");
    t.SetRowCount(3);
    p_.UseSurcharges = 1;
    // In SI the legacy distance and width are metres, while the table's columns hold
    // millimetres; in the other systems both are the same unit.
    const long double lengthScale = t.Units() == kUnitsSI ? kMillimetresPerMetre : 1;
    // Rows: point, line and strip load with their magnitudes; distance X; strip width W.
    for (int row = 0; row < 3; ++row) {
        t.Columns(0).SetInteger(row, row + 1);
        t.Columns(1).SetFloat(row, legacy[static_cast<size_t>(row) + 1]);
        t.Columns(2).SetFloat(row, legacy[0] * lengthScale);
        t.Columns(3).SetFloat(row, legacy[4] * lengthScale);
    }
}

int TBlockReader::ReadSoilType() {
    // The type code chooses the parameter template; there are seven.
    const int32_t type = in_.NextInteger();
    if (type < 1 || type > kSoilTypeCount)
        Fail("A soil type from 1 to " + std::to_string(kSoilTypeCount) +
             " was expected but not found.");
    return type;
}

void TBlockReader::ReadSoilLayers() {
    TGridTable& layers = Table(block_ == TBlock::LongTerm ? "LongSoil" : "NewSoil");
    // The short-term block follows the project's unit system, the others the table's; the
    // two agree after every unit change.
    const bool english =
        block_ == TBlock::ShortTerm ? p_.UnitSystem == kUnitsEnglish : English(layers);
    ReadRowCountInto(layers);
    for (int row = 0; row < layers.RowCount(); ++row) {
        const int type = ReadSoilType();
        // The type first: a new type gives the row a fresh parameter table of that type.
        layers.Columns(0).SetInteger(row, type);
        if (layout_ == 3) {
            // The oldest format holds thicknesses; the table holds bottom depths.
            const long double thickness = in_.NextReal();
            const long double top = row == 0 ? 0 : layers.Columns(1).GetFloat(row - 1);
            layers.Columns(1).SetFloat(row, top + thickness);
        } else {
            layers.Columns(1).SetFloat(row, in_.NextReal() / (english ? kInchesPerFoot : 1));
        }
        TGridTable& parameters = layers.Columns(2).GetTable(row);
        parameters.SetNumber(row + 1);
        parameters.SetRowCount(parameters.MinRows());
        if (layout_ == 3)
            ReadOldestSoilParameters(parameters, type);
        else
            ReadSoilParameters(parameters, type, english);
    }
}

void TBlockReader::ReadSoilItems(TGridTable& parameters, int firstRow, int lastRow,
                                 const std::vector<TSoilItem>& items) {
    for (const TSoilItem& item : items) {
        if (item.Column < 0) {
            in_.NextWord();  // FILL
            continue;
        }
        const long double value = in_.NextReal() * item.Scale;
        for (int row = firstRow; row <= lastRow; ++row)
            parameters.Columns(item.Column).SetFloat(row, value);
    }
}

void TBlockReader::ReadSoilParameters(TGridTable& parameters, int type, bool english) {
    // Unit weight (g) and cohesion (c) are per cubic and square inch in English files.
    const long double g = english ? kCubicInchesPerFoot : 1;
    const long double c = english ? kSquareInchesPerFoot : 1;
    constexpr TSoilItem fill{-1, 1};
    std::vector<TSoilItem> items;
    if (type < kSand)
        items = {{0, g}, {1, c}, fill, {2, 1}, {3, 1}, fill};
    else if (type == kSand)
        items = {{0, g}, fill, {1, 1}, fill, {2, 1}, fill};
    else if (type == kSilt)
        items = {{0, g}, {2, c}, {1, 1}, {3, 1}, {4, 1}, fill};
    else if (type == kStrongRock)
        items = {{0, g}, {1, 1}, fill, fill, fill, fill};
    else
        items = {{0, g}, {1, 1}, fill, {2, 1}, {3, 1}, {4, 1}};
    // One line for the top and one for the bottom of the layer.
    for (int row = 0; row < parameters.RowCount(); ++row)
        ReadSoilItems(parameters, row, row, items);
}

void TBlockReader::ReadOldestSoilParameters(TGridTable& parameters, int type) {
    // One line of five numbers without unit factors, stored into both rows; weak rock has none.
    if (type == kWeakRock) return;
    constexpr TSoilItem fill{-1, 1};
    std::vector<TSoilItem> items;
    if (type < kSand)
        items = {{0, 1}, {1, 1}, fill, {2, 1}, {3, 1}};
    else if (type == kSand)
        items = {{0, 1}, fill, {1, 1}, fill, {2, 1}};
    else if (type == kSilt)
        items = {{0, 1}, {2, 1}, {1, 1}, {3, 1}, {4, 1}};
    else
        items = {{0, 1}, {1, 1}, fill, fill, fill};
    ReadSoilItems(parameters, 0, parameters.RowCount() - 1, items);
}

void TBlockReader::ReadPYCurves() {
    TGridTable& sets = Table("PYCurves");
    if (sets.RowCount() == 0) {
        p_.UsePYCurves = 0;
        return;
    }
    p_.UsePYCurves = 1;
    for (int row = 0; row < sets.RowCount(); ++row) {
        sets.Columns(0).SetInteger(row, in_.NextInteger());
        TGridTable& curve = sets.Columns(1).GetTable(row);
        curve.SetRowCount(ReadRowCount());
        // The older layouts have no multipliers.
        sets.Columns(2).SetFloat(row, layout_ == 1 ? in_.NextReal() : 1.0L);
        sets.Columns(3).SetFloat(row, layout_ == 1 ? in_.NextReal() : 1.0L);
        for (int point = 0; point < curve.RowCount(); ++point) {
            curve.Columns(0).SetFloat(point, in_.NextReal());
            curve.Columns(1).SetFloat(point, in_.NextReal());
        }
    }
}

void TBlockReader::ReadMomentEICurves() {
    if (p_.UseMEICurves != 1) return;
    TGridTable& sets = Table("MEICurves");
    for (int row = 0; row < sets.RowCount(); ++row) {
        sets.Columns(0).SetInteger(row, in_.NextInteger());
        sets.Columns(1).SetInteger(row, in_.NextInteger());
        TGridTable& curve = sets.Columns(2).GetTable(row);
        curve.SetRowCount(ReadRowCount());
        for (int point = 0; point < curve.RowCount(); ++point) {
            curve.Columns(0).SetFloat(point, in_.NextReal());
            curve.Columns(1).SetFloat(point, in_.NextReal());
        }
    }
}

void GiveMinimumRows(TWorkspace& workspace) {
    for (int i = 0; i < workspace.TableCount(); ++i) {
        TGridTable& table = workspace.TableAt(i);
        if (table.RowCount() < table.MinRows()) table.SetRowCount(table.MinRows());
    }
}

TProgramData& ReadProject(TWorkspace& workspace, std::string_view text,
                          const std::string& fileName, int kind) {
    const int layout = kind == 1 || kind == 2 ? kind : 3;
    try {
        TProgramData& p = CreateEmptyProject(workspace);
        p.FileName = fileName;
        p.UnitSystem = kUnitsEnglish;

        TWordReader in = TWordReader::FromText(text);
        TBlockReader(workspace, in, layout, TBlock::ShortTerm).Read();
        if (layout < 3) {
            p.LongTermMarker = in.NextInteger();
            if (p.LongTermMarker == kLongTermMarker) {
                p.UseLongTerm = 1;
                TBlockReader(workspace, in, layout, TBlock::LongTerm).Read();
                in.NextInteger();  // the closing 0
            }
        }
        // The option block follows the last line the engine reads (in a staged file, the
        // last stage); the older formats have none.
        if (layout == 1) {
            const std::optional<size_t> block = FindOptionBlock(
                text, in.LineIndex() + 1, p.StageCount > 1 ? kStageMarker : std::string_view());
            if (block) p.Options = ReadOptionBlock(text, *block);
        }
        GiveMinimumRows(workspace);
        workspace.MarkSaved();
        p.FullFormat = 1;
        return p;
    } catch (...) {
        // A failed read leaves a valid default project, never a half-read one; the caller
        // shows the message.
        CreateDefaultProject(workspace);
        throw;
    }
}

template <typename OpenReader>
void ReadStage(TWorkspace& workspace, size_t lineOffset, OpenReader open) {
    TProgramData& p = workspace.Project();
    try {
        TWordReader in = open();
        in.SetLineOffset(lineOffset);
        TBlockReader(workspace, in, p.FullFormat ? 1 : 2, TBlock::Stage).Read();
        // A stage file ends with its stage number, which clears the long-term option.
        p.LongTermMarker = in.NextInteger();
        p.UseLongTerm = p.LongTermMarker == kLongTermMarker ? 1 : 0;
    } catch (const EInOutError& error) {
        // The read stops here and keeps what was read; the message does not end the command.
        if (workspace.ShowInformation) workspace.ShowInformation(error.what());
    }
    GiveMinimumRows(workspace);
    workspace.MarkSaved();
}

}  // namespace

TProgramData& ReadDataFile(TWorkspace& workspace, const std::string& fileName, int kind) {
    std::string text;
    try {
        text = LoadTextFile(fileName);
    } catch (...) {
        CreateDefaultProject(workspace);
        throw;
    }
    return ReadProject(workspace, text, fileName, kind);
}

TProgramData& ReadDataFileText(TWorkspace& workspace, std::string_view text,
                               const std::string& fileName, int kind) {
    return ReadProject(workspace, text, fileName, kind);
}

void ReadStageFile(TWorkspace& workspace, const std::string& fileName, size_t lineOffset) {
    ReadStage(workspace, lineOffset, [&] { return TWordReader(fileName); });
}

void ReadStageFileText(TWorkspace& workspace, std::string_view text,
                       const std::string& /*fileName: the text is read instead*/,
                       size_t lineOffset) {
    ReadStage(workspace, lineOffset, [&] { return TWordReader::FromText(text); });
}

}  // namespace torvex
