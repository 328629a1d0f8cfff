#include "profile/ProfileScene.h"

#include "dataentry/NumberText.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

constexpr int32_t kEnglish = 1;
constexpr long double kInchesPerFoot = 12;
// The parameter tables hold the top of the layer in row 0 and the bottom in row 1; the
// label shows the bottom row.
constexpr int kLabelRow = 1;

// The value in its shortest general text form, every digit it holds (32.123456789 stays
// so; the table's 8 digits would show 32.123457).
std::string Number(const std::vector<long double>& values, size_t column) {
    return column < values.size() ? ShortestNumberText(static_cast<double>(values[column])) : "";
}

std::vector<long double> NodeDepths(const TWorkspace& workspace, const char* tableName,
                                    int nodeColumn, long double wallTop) {
    const TProgramData& project = workspace.Project();
    const TGridTable& table = workspace.Table(tableName);
    std::vector<long double> depths;
    for (int row = 0; row < table.RowCount(); ++row)
        depths.push_back(table.Cell(nodeColumn, row).AsInteger() * project.IncrementLength +
                         wallTop);
    return depths;
}

}  // namespace

std::string SoilTypeName(int32_t typeCode) {
    switch (typeCode) {
        case 1: return "Soft clay";
        case 2: return "Stiff clay w/free water";
        case 3: return "Stiff clay w/o free water";
        case 4: return "Sand";
        case 5: return "Silt";
        case 6: return "Rock";
        case 7: return "Weak Rock";
        default: return "";
    }
}

std::string SoilParameterText(int32_t typeCode, const std::vector<long double>& values) {
    const std::string gamma = "; gamma= " + Number(values, 0);
    switch (typeCode) {
        case 1:
        case 2:
        case 3: return "c= " + Number(values, 1) + gamma;
        case 4: return "\u00f8= " + Number(values, 1) + gamma;
        case 5: return "\u00f8= " + Number(values, 1) + "; c= " + Number(values, 2) + gamma;
        case 6:
        case 7: return "compressive strength= " + Number(values, 1) + gamma;
        default: return "";
    }
}

TProfileScene ReadProfileScene(const TWorkspace& workspace) {
    const TProgramData& project = workspace.Project();
    TProfileScene scene;
    scene.WallLength = project.NumIncrements * project.IncrementLength;
    scene.WallTop = 0.1L * scene.WallLength;
    scene.FreeHeight = project.FreeHeight;
    scene.Excavation = scene.WallTop + project.FreeHeight;
    scene.HasWall = workspace.Table("PileSect").RowCount() > 0;
    scene.BackfillSlope = project.BackfillSlope;
    scene.ActiveWidth = project.ActiveWidth;
    scene.ResistanceWidth = project.ResistanceWidth;

    scene.DrawLayers = project.PressureMode == 2 || project.ResistanceMode == 2;
    if (scene.DrawLayers) {
        // The layer table shows depths in feet in English units, where the project keeps
        // inches: the layers are drawn in the project's unit, as the data file carries them.
        const long double toProject = project.UnitSystem == kEnglish ? kInchesPerFoot : 1;
        const TGridTable& soil = workspace.Table("NewSoil");
        long double previousBottom = 0;
        for (int row = 0; row < soil.RowCount(); ++row) {
            TSoilLayerMark layer;
            layer.TypeCode = soil.Cell(0, row).AsInteger();
            const long double bottom = soil.Cell(1, row).AsFloat() * toProject;
            layer.Top = previousBottom + scene.WallTop;
            layer.Bottom = bottom + scene.WallTop;
            previousBottom = bottom;
            layer.Name = SoilTypeName(layer.TypeCode);
            if (!layer.Name.empty()) {
                const TGridTable& parameters = soil.Cell(2, row).AsTable();
                std::vector<long double> values;
                if (parameters.RowCount() > kLabelRow)
                    for (int column = 0; column < parameters.ColumnCount(); ++column)
                        values.push_back(parameters.Cell(column, kLabelRow).AsFloat());
                layer.Parameters = SoilParameterText(layer.TypeCode, values);
            }
            scene.Layers.push_back(std::move(layer));
        }
    }
    if (project.UseRestraints) scene.Restraints = NodeDepths(workspace, "Soillayer", 1, scene.WallTop);
    if (project.UsePYCurves) scene.PYCurves = NodeDepths(workspace, "PYCurves", 0, scene.WallTop);
    if (project.UseSprings) scene.Springs = NodeDepths(workspace, "SoilStrength", 1, scene.WallTop);
    return scene;
}

}  // namespace torvex
