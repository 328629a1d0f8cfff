#include "dataentry/TableCatalogue.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace torvex {
namespace {

// Integer limits used by the node and count columns.
constexpr int32_t kIntLowest = INT32_MIN;
constexpr int32_t kIntHighest = INT32_MAX;
// Upper limit of the start-node and nodal-number columns.
constexpr int32_t kNodeStartHighest = 2147483600;

// Template table identifiers used by the sub-table columns.
constexpr int kPYCurveTemplate = 21;
constexpr int kSandTemplate = 17;
constexpr int kClayTemplate = 18;
constexpr int kSiltTemplate = 29;
constexpr int kStrongRockTemplate = 30;
constexpr int kWeakRockTemplate = 31;
constexpr int kMomentEITemplate = 27;

// Soil parameter templates per soil type: soft clay, stiff clay with free water,
// stiff clay without free water, sand, silt, strong rock, weak rock.
std::vector<int> SoilParameterTemplates() {
    return {kClayTemplate, kClayTemplate,       kClayTemplate,    kSandTemplate,
            kSiltTemplate, kStrongRockTemplate, kWeakRockTemplate};
}

// Caption of the first column of PileSect and BoundCond; the trailing blanks widen the column.
const char* const kConstantOrInterpolate =
    "Constant or Interpolate?                                  ";

TTableDeclaration Table(std::string name, int identifier, std::string caption, int minRows,
                        int maxRows, std::string topLeft, bool hardwiredButton,
                        std::vector<TColumnDeclaration> columns) {
    TTableDeclaration table;
    table.Name = std::move(name);
    table.Identifier = identifier;
    table.Caption = std::move(caption);
    table.MinRows = minRows;
    table.MaxRows = maxRows;
    table.TopLeft = std::move(topLeft);
    table.HardwiredButton = hardwiredButton;
    table.RowGroup = 1;
    table.Columns = std::move(columns);
    return table;
}

std::vector<TTableDeclaration> BuildCatalogue() {
    std::vector<TTableDeclaration> tables;
    tables.reserve(25);

    // Flexural stiffness of the wall, given over ranges of nodes.
    tables.push_back(Table(
        "PileSect", 15, "Wall Stiffness", 1, 10, "Section", true,
        {
            IntColumn({"From Node No. (Start)"}, 0, 0, kNodeStartHighest),
            IntColumn({"To Node No. (End)"}, 1, 0, kIntHighest),
            ChoiceColumn({kConstantOrInterpolate},
                         {"Use Constant Value for all Nodes on this Line",
                          "Linear Interpolate to End Node of Next Line"}),
            FloatColumn({"Flexural Stiffness (EI)"}, "F-L^2", 0.0L),
        }));

    // Older form of the deflection and slope restraints; kept so that it follows
    // unit-system changes like every table, but nothing opens it.
    tables.push_back(Table("SoilLayers", 2, "Specify Deflection & Slope Restrains", 1, 10,
                           "Layer", true,
                           {
                               ChoiceColumn({"Case                                         "},
                                            {"Specify Deflection", "Specify Slope", ""}),
                               IntColumn({"Nodal No."}, 0, 0, kNodeStartHighest),
                               FloatColumn({"Deflection"}, "L", 0.0L),
                               FloatColumn({"Slope"}, "", 0.0L),
                           }));

    // Unit weight of the soil against depth.
    tables.push_back(Table("SoilWeight", 3, "Soil Weight", 2, 20, "Point", true,
                           {
                               FloatColumn({"Depth"}, "L2", 0.0L),
                               FloatColumn({"Unit Weight"}, "F/L2^3", 0.0L),
                           }));

    // Lateral and rotational springs (tie-backs, struts) at ranges of nodes.
    tables.push_back(Table(
        "SoilStrength", 4, "Lateral Spring and Rotation Spring", 1, 20, "Point", true,
        {
            ChoiceColumn({"Constant or Interpolate?                                      "},
                         {"Use Constant Values for all Nodes on this Line  ",
                          "Linear Interpolate to End Node of Next Line"}),
            IntColumn({"From Node No.", "     (Start)"}, 0, 0, kIntHighest),
            IntColumn({"To Node No.", "   (End)"}, 0, kIntLowest, kIntHighest),
            FloatColumn({"Lateral Spring", "Stiffness"}, "F/L", 0.0L),
            FloatColumn({"Rotational Spr.", "Stiff."}, "F-L/RAD.", 0.0L),
        }));

    // Multipliers applied to the p-y curves against depth.
    tables.push_back(Table("PYMod", 16, "p-y Modification Factors", 2, 30, "", true,
                           {
                               FloatColumn({"Depth"}, "L2", 0.0L),
                               FloatColumn({"p-Multiplier"}, "", 1.0L),
                               FloatColumn({"y-Multiplier"}, "", 1.0L),
                           }));

    // Nodes that use external p-y curves; each row owns one curve (a PYCurve copy).
    tables.push_back(Table("PYCurves", 20, "Sets of Ext. p-y Curves", 1, 30, "", true,
                           {
                               IntColumn({"Nodal # "}, 0, kIntLowest, kIntHighest),
                               SubTableColumn({"Curve Sets"}, {kPYCurveTemplate}),
                               FloatColumn({"Multiplier for", "p-value"}, "", 0.0L),
                               FloatColumn({"Multiplier for", "y-value"}, "", 0.0L),
                           }));

    // Template of one external p-y curve: soil resistance against deflection.
    tables.push_back(Table(
        "PYCurve", 21, "External p-y Curve", 2, 17, "Point", true,
        {
            FloatColumn({"Deflection (use negative value for the deflection moving ",
                         "to the left and positive for the right side ), "},
                        "L", 0.0L),
            FloatColumn({"Soil Resistance"}, "F/L", 0.0L),
        }));

    // Distributed active earth pressure on the wall against depth.
    tables.push_back(Table("DistLoad", 22, "Distributed Loads", 2, 100, "", true,
                           {
                               FloatColumn({"Depth measured from the top of the wall,"}, "L2",
                                           0.0L),
                               FloatColumn({"Lateral distributed line load, "}, "F/L2", 0.0L),
                           }));

    // Concentrated loads and moments at ranges of nodes.
    tables.push_back(Table("BoundCond", 123, "Concentrated Loads on Wall", 1, 20, "", true,
                           {
                               ChoiceColumn({kConstantOrInterpolate},
                                            {"Use Constant Values for all Nodes on this Line",
                                             "Linear Interpolate to End Node of Next Line"}),
                               IntColumn({"From Node No.", "(Start)"}, 0, 0, kNodeStartHighest),
                               IntColumn({"To Node No.", "(End)"}, 1, 0, kIntHighest),
                               FloatColumn({"Lateral Load"}, "F", 0.0L),
                               FloatColumn({"Moment"}, "F-L", 0.0L),
                               FloatColumn({"Axial Load"}, "F", 0.0L),
                           }));

    // Earth pressure given by the user against depth.
    tables.push_back(Table("TipRes", 124, "User-Specified Earth Pressure", 2, 15, "Point", true,
                           {
                               FloatColumn({"Depth"}, "L2", 0.0L),
                               FloatColumn({"tip load"}, "F/L", 0.0L),
                           }));

    // Depths at which p-y curves are printed.
    tables.push_back(Table("PYOutpt", 25, "Printing Depths", 1, 10, "Curve No", true,
                           {
                               FloatColumn({"Depth"}, "L2", 0.0L),
                           }));

    // Soil layers with all their parameters in one row; no command opens this table.
    tables.push_back(Table(
        "AxLoads", 26, "Soil Layer Data", 1, 10, "Number", true,
        {
            ChoiceColumn({"Soil Type"},
                         {"Soft clay", "Stiff clay w/ free water", "Stiff clay w/o free water",
                          "Sand", "Silt", "Rock"}),
            FloatColumn({"Layer", "Thick.,"}, "L2", 0.0L),
            FloatColumn({"Total Unit", "Wt,"}, "F/L2^3", 0.0L),
            FloatColumn({"Cohesion,", " "}, "F/L2^2", 0.0L),
            FloatColumn({"Friction", "Angle (deg.)"}, "", 0.0L),
            FloatColumn({"E50"}, "", 0.0L),
            FloatColumn({"K,", ""}, "F/L^3", 0.0L),
        }));

    // Template of one moment-EI curve: flexural rigidity against bending moment.
    tables.push_back(Table("Rows", 27, "Moment and EI data", 1, 100, "Point", true,
                           {
                               FloatColumn({"Bending moment", ""}, "F-L", 0.0L),
                               FloatColumn({"Flexural rigidity", ""}, "F-L^2", 0.0L),
                           }));

    // Deflection or slope prescribed at nodes of the wall.
    tables.push_back(Table("Soillayer", 0, "Specify Deflection and Slope on Wall", 1, 10, "Layer",
                           true,
                           {
                               ChoiceColumn({"Case                                           "},
                                            {"Specify Deflection", "Specify Slope"}),
                               IntColumn({"Nodal No."}, 0, 0, kNodeStartHighest),
                               FloatColumn({"Deflection"}, "L", 0.0L),
                               FloatColumn({"Slope"}, "", 0.0L),
                           }));

    // Distributed active earth pressure of the long-term case against depth.
    tables.push_back(Table("LongDist", 104, "Distributed Load (Long-Term)", 1, 0, "", false,
                           {
                               FloatColumn({"Depth measured from the top of the wall,"}, "L2",
                                           0.0L),
                               FloatColumn({"Lateral distributed line load,"}, "F/L2", 0.0L),
                           }));

    // Older form of the long-term soil layers, with the soil type as a number.
    tables.push_back(Table("LongSoilOld", 105, "Soil Layers (Long-Term)", 1, 10, "", false,
                           {
                               IntColumn({"Soil type"}, 0, 0, kIntHighest),
                               FloatColumn({"Layer", "thick.,"}, "L2", 0.0L),
                               FloatColumn({"Total Unit", "Wt,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Cohesion,", ""}, "F/L2^2", 0.0L),
                               FloatColumn({"Friction", "Angle (deg.)"}, "", 0.0L),
                               FloatColumn({"E50"}, "", 0.0L),
                               FloatColumn({"K,", ""}, "F/L^3", 0.0L),
                           }));

    // Template of the parameters of a sand layer (top and bottom of the layer).
    tables.push_back(Table("TblSand1", 17, "Sand", 2, 2, "", false,
                           {
                               FloatColumn({"Total Unit", "Weight,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Friction", "Angle, deg."}, "", 0.0L),
                               FloatColumn({"k(py)"}, "F/L^3", 0.0L),
                           }));

    // Template of the parameters of a clay layer (soil types 1 to 3).
    tables.push_back(Table("TblClay1", 18, "Clay", 2, 2, "", false,
                           {
                               FloatColumn({"Total Unit", "Weight,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Cohesive", "Strength,"}, "F/L2^2", 0.0L),
                               FloatColumn({"E50", ""}, "", 0.0L),
                               FloatColumn({"k(py)"}, "F/L^3", 0.0L),
                           }));

    // Soil layers of the short-term case; each row owns the parameters of its soil type.
    tables.push_back(Table(
        "NewSoil", 19, "Soil Layers", 1, 10, "", false,
        {
            ChoiceColumn({"Soil ", "Type"},
                         {"Soft Clay", "Stiff Clay with Fee Water", "Stiff Clay w/o Free Water",
                          "Sand", "Silt (c-phi soil)", "Strong Rock", "Weak Rock"}),
            FloatColumn({"Depth at Bottom", "of the Layer,"}, "L2", 0.0L),
            SubTableColumn({"Edit Soil", "Parameters"}, SoilParameterTemplates()),
        }));

    // Template of the parameters of a silt (c-phi) layer.
    tables.push_back(Table("TblSilt1", 29, "Silt", 2, 2, "", false,
                           {
                               FloatColumn({"Total Unit ", "Weight,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Friction", "Angle, deg."}, "", 0.0L),
                               FloatColumn({"Cohesive", "Strength,"}, "F/L2^2", 0.0L),
                               FloatColumn({"E50", ""}, "", 0.0L),
                               FloatColumn({"K(py)"}, "F/L^3", 0.0L),
                           }));

    // Template of the parameters of a strong rock layer.
    tables.push_back(Table("TblRock1", 30, "Strong Rock", 2, 2, "", false,
                           {
                               FloatColumn({"Total Unit", "Weight,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Uniaxial Compressive", "Strength,"}, "F/L^2", 0.0L),
                           }));

    // Template of the parameters of a weak rock layer.
    tables.push_back(Table("TblRock2", 31, "Weak Rock", 2, 2, "", false,
                           {
                               FloatColumn({"Total Unit", "Weight,"}, "F/L2^3", 0.0L),
                               FloatColumn({"Uniaxial Compressive", "Strength,"}, "F/L^2", 0.0L),
                               FloatColumn({"krm *"}, "", 0.0L),
                               FloatColumn({"Elastic", "Modulus,"}, "F/L^2", 0.0L),
                               FloatColumn({"RQD", "%"}, "", 0.0L),
                           }));

    // Soil layers of the long-term case; each row owns the parameters of its soil type.
    tables.push_back(Table(
        "LongSoil", 44, "Soil Layers (Long-Term)", 1, 10, "", false,
        {
            ChoiceColumn({"Soil", "Type"},
                         {"Soft Clay", "Stiff Clay with Free water", "Stiff Clay w/o Free Water",
                          "Sand", "Silt (c-phi soil)", "Strong Rock", "Weak Rock"}),
            FloatColumn({"Depth at Bottom", "of the Layer,"}, "L2", 0.0L),
            SubTableColumn({"Edit Soil", "Parameters"}, SoilParameterTemplates()),
        }));

    // Point, line and strip surcharges behind the wall; the load unit depends on the
    // load type, so the magnitude column keeps its numbers when the unit system changes.
    tables.push_back(Table("SurchargeTable", 23, "Surcharge Loads", 1, 20, "", false,
                           {
                               ChoiceColumn({"Load Types"},
                                            {"Point Load", "Line Load", "Strip Load"}),
                               FloatColumn({"Load Magbnitude"}, "SEE NOTES", 0.0L),
                               FloatColumn({"Distance, X"}, "L1", 0.0L),
                               FloatColumn({"Width of Strip Load, W"}, "L1", 0.0L),
                           }));

    // Ranges of nodes that use a nonlinear moment-EI curve; each row owns one curve
    // (a Rows copy).
    tables.push_back(Table("MEICurves", 24, "Nonlinear Moment vs EI Curves", 1, 20, "Section",
                           false,
                           {
                               IntColumn({"From Node No.", "(Start)"}, 0, 0, kIntHighest),
                               IntColumn({"To Node No.", "(End)"}, 0, 0, kIntHighest),
                               SubTableColumn({}, {kMomentEITemplate}),
                           }));

    return tables;
}

}  // namespace

const std::vector<TTableDeclaration>& TableCatalogue() {
    static const std::vector<TTableDeclaration> catalogue = BuildCatalogue();
    return catalogue;
}

const std::vector<TTableComment>& TableStartupComments() {
    static const std::vector<TTableComment> comments = {
        {"PileSect",
         "The nodal number at the top of the wall is set to be 0.\r"
         "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r"
         "Linear interpolation (when selected) is performed from START node of previous line "
         "to END node of the following line."},
        {"BoundCond",
         "The concentrated loads are applied at nodal points only (including the specified "
         "START and END nodes).\r"
         "Linear interpolation (when selected) is performed from START node of previous line "
         "to END node of the following line."},
        {"SoilStrength",
         "The spring stiffnesses are applied at nodal points only (including the specified "
         "START and END nodes).\r"
         "Linear interpolation (when selected) is performed from START node of previous line "
         "to END node of the following line."},
        {"TblRock2",
         "* krm is a strain constant that seve to establish the overall stiffness of the "
         "curves"},
        {"SurchargeTable",
         "The unit for point load is lbs or kN \r"
         "The unit for line load is lbs/in. or kN/m \r"
         "The unit for strip load is lbs/in^2 or kN/m^2 \r"
         "The distance X of a strip load is from the wall to the strip's near edge "},
        {"PYCurve",
         "Lateral movement (y) should start from negative deflection and\r"
         " gradually increases to positive deflection for the range of the response.\r"
         "Positive soil resistance (p) should correspond to the negative soil movement (y)\r"
         "and negative soil resistance (p) should correspond to the positive soil movement "
         "(y)."},
    };
    return comments;
}

const std::vector<TTableHelpPicture>& TableHelpPictures() {
    static const std::vector<TTableHelpPicture> pictures = {
        {"DistLoad", "ImagePressure"},
        {"LongDist", "ImagePressure"},
        {"SoilStrength", "ImageTieBack"},
    };
    return pictures;
}

}  // namespace torvex
