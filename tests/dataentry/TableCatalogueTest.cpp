// The declared input tables, checked against the catalogue the program is meant to have:
// every table, every column, every caption line (blanks included), every limit, choice,
// unit string, default and template, plus the start-up comments and help pictures.
// The expected data below is written out by hand; it never calls the column builders.

#include "dataentry/TableCatalogue.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace torvex {
namespace {

constexpr int32_t kIntLowest = std::numeric_limits<int32_t>::min();  // -2147483648
constexpr int32_t kIntHighest = std::numeric_limits<int32_t>::max();  // 2147483647
constexpr int32_t kNodeLimit = 2147483600;

using Lines = std::vector<std::string>;

// Text followed by a run of blanks; keeps long padded captions countable.
std::string Padded(const std::string& text, std::size_t blanks) {
    return text + std::string(blanks, ' ');
}

// ----- Expected column records, filled field by field -----

TColumnDeclaration ExpectChoice(Lines captions, Lines choices) {
    TColumnDeclaration c;
    c.Kind = TColumnKind::Choice;
    c.Captions = std::move(captions);
    c.Choices = std::move(choices);
    return c;
}

TColumnDeclaration ExpectInt(Lines captions, int32_t def, int32_t lo, int32_t hi) {
    TColumnDeclaration c;
    c.Kind = TColumnKind::Integer;
    c.Captions = std::move(captions);
    c.IntDefault = def;
    c.IntMin = lo;
    c.IntMax = hi;
    return c;
}

TColumnDeclaration ExpectFloat(Lines captions, std::string unit, long double def = 0.0L) {
    TColumnDeclaration c;
    c.Kind = TColumnKind::Float;
    c.Captions = std::move(captions);
    c.TopDepth = false;
    c.UnitString = std::move(unit);
    c.FloatDefault = def;
    return c;
}

TColumnDeclaration ExpectSub(Lines captions, std::vector<int> templates) {
    TColumnDeclaration c;
    c.Kind = TColumnKind::SubTable;
    c.Captions = std::move(captions);
    c.Templates = std::move(templates);
    return c;
}

TTableDeclaration ExpectTable(std::string name, int id, std::string caption, int minRows,
                              int maxRows, std::string topLeft, bool hardwired,
                              std::vector<TColumnDeclaration> columns) {
    TTableDeclaration t;
    t.Name = std::move(name);
    t.Identifier = id;
    t.Caption = std::move(caption);
    t.MinRows = minRows;
    t.MaxRows = maxRows;
    t.TopLeft = std::move(topLeft);
    t.HardwiredButton = hardwired;
    t.RowGroup = 1;
    t.Columns = std::move(columns);
    return t;
}

const Lines kSoilTypesNew = {"Soft Clay",   "Stiff Clay with Fee Water", "Stiff Clay w/o Free Water",
                             "Sand",        "Silt (c-phi soil)",         "Strong Rock",
                             "Weak Rock"};
const Lines kSoilTypesLong = {"Soft Clay",   "Stiff Clay with Free water", "Stiff Clay w/o Free Water",
                              "Sand",        "Silt (c-phi soil)",          "Strong Rock",
                              "Weak Rock"};
const std::vector<int> kSoilTemplates = {18, 18, 18, 17, 29, 30, 31};

// The whole expected catalogue, in declaration order.
const std::vector<TTableDeclaration>& Expected() {
    static const std::vector<TTableDeclaration> tables = {
        ExpectTable("PileSect", 15, "Wall Stiffness", 1, 10, "Section", true,
                    {
                        ExpectInt({"From Node No. (Start)"}, 0, 0, kNodeLimit),
                        ExpectInt({"To Node No. (End)"}, 1, 0, kIntHighest),
                        ExpectChoice({Padded("Constant or Interpolate?", 34)},
                                     {"Use Constant Value for all Nodes on this Line",
                                      "Linear Interpolate to End Node of Next Line"}),
                        ExpectFloat({"Flexural Stiffness (EI)"}, "F-L^2"),
                    }),
        ExpectTable("SoilLayers", 2, "Specify Deflection & Slope Restrains", 1, 10, "Layer", true,
                    {
                        ExpectChoice({Padded("Case", 41)},
                                     {"Specify Deflection", "Specify Slope", ""}),
                        ExpectInt({"Nodal No."}, 0, 0, kNodeLimit),
                        ExpectFloat({"Deflection"}, "L"),
                        ExpectFloat({"Slope"}, ""),
                    }),
        ExpectTable("SoilWeight", 3, "Soil Weight", 2, 20, "Point", true,
                    {
                        ExpectFloat({"Depth"}, "L2"),
                        ExpectFloat({"Unit Weight"}, "F/L2^3"),
                    }),
        ExpectTable("SoilStrength", 4, "Lateral Spring and Rotation Spring", 1, 20, "Point", true,
                    {
                        ExpectChoice({Padded("Constant or Interpolate?", 38)},
                                     {"Use Constant Values for all Nodes on this Line  ",
                                      "Linear Interpolate to End Node of Next Line"}),
                        ExpectInt({"From Node No.", "     (Start)"}, 0, 0, kIntHighest),
                        ExpectInt({"To Node No.", "   (End)"}, 0, kIntLowest, kIntHighest),
                        ExpectFloat({"Lateral Spring", "Stiffness"}, "F/L"),
                        ExpectFloat({"Rotational Spr.", "Stiff."}, "F-L/RAD."),
                    }),
        ExpectTable("PYMod", 16, "p-y Modification Factors", 2, 30, "", true,
                    {
                        ExpectFloat({"Depth"}, "L2"),
                        ExpectFloat({"p-Multiplier"}, "", 1.0L),
                        ExpectFloat({"y-Multiplier"}, "", 1.0L),
                    }),
        ExpectTable("PYCurves", 20, "Sets of Ext. p-y Curves", 1, 30, "", true,
                    {
                        ExpectInt({"Nodal # "}, 0, kIntLowest, kIntHighest),
                        ExpectSub({"Curve Sets"}, {21}),
                        ExpectFloat({"Multiplier for", "p-value"}, ""),
                        ExpectFloat({"Multiplier for", "y-value"}, ""),
                    }),
        ExpectTable("PYCurve", 21, "External p-y Curve", 2, 17, "Point", true,
                    {
                        ExpectFloat({"Deflection (use negative value for the deflection moving ",
                                     "to the left and positive for the right side ), "},
                                    "L"),
                        ExpectFloat({"Soil Resistance"}, "F/L"),
                    }),
        ExpectTable("DistLoad", 22, "Distributed Loads", 2, 100, "", true,
                    {
                        ExpectFloat({"Depth measured from the top of the wall,"}, "L2"),
                        ExpectFloat({"Lateral distributed line load, "}, "F/L2"),
                    }),
        ExpectTable("BoundCond", 123, "Concentrated Loads on Wall", 1, 20, "", true,
                    {
                        ExpectChoice({Padded("Constant or Interpolate?", 34)},
                                     {"Use Constant Values for all Nodes on this Line",
                                      "Linear Interpolate to End Node of Next Line"}),
                        ExpectInt({"From Node No.", "(Start)"}, 0, 0, kNodeLimit),
                        ExpectInt({"To Node No.", "(End)"}, 1, 0, kIntHighest),
                        ExpectFloat({"Lateral Load"}, "F"),
                        ExpectFloat({"Moment"}, "F-L"),
                        ExpectFloat({"Axial Load"}, "F"),
                    }),
        ExpectTable("TipRes", 124, "User-Specified Earth Pressure", 2, 15, "Point", true,
                    {
                        ExpectFloat({"Depth"}, "L2"),
                        ExpectFloat({"tip load"}, "F/L"),
                    }),
        ExpectTable("PYOutpt", 25, "Printing Depths", 1, 10, "Curve No", true,
                    {
                        ExpectFloat({"Depth"}, "L2"),
                    }),
        ExpectTable("AxLoads", 26, "Soil Layer Data", 1, 10, "Number", true,
                    {
                        ExpectChoice({"Soil Type"},
                                     {"Soft clay", "Stiff clay w/ free water",
                                      "Stiff clay w/o free water", "Sand", "Silt", "Rock"}),
                        ExpectFloat({"Layer", "Thick.,"}, "L2"),
                        ExpectFloat({"Total Unit", "Wt,"}, "F/L2^3"),
                        ExpectFloat({"Cohesion,", " "}, "F/L2^2"),
                        ExpectFloat({"Friction", "Angle (deg.)"}, ""),
                        ExpectFloat({"E50"}, ""),
                        ExpectFloat({"K,", ""}, "F/L^3"),
                    }),
        ExpectTable("Rows", 27, "Moment and EI data", 1, 100, "Point", true,
                    {
                        ExpectFloat({"Bending moment", ""}, "F-L"),
                        ExpectFloat({"Flexural rigidity", ""}, "F-L^2"),
                    }),
        ExpectTable("Soillayer", 0, "Specify Deflection and Slope on Wall", 1, 10, "Layer", true,
                    {
                        ExpectChoice({Padded("Case", 43)}, {"Specify Deflection", "Specify Slope"}),
                        ExpectInt({"Nodal No."}, 0, 0, kNodeLimit),
                        ExpectFloat({"Deflection"}, "L"),
                        ExpectFloat({"Slope"}, ""),
                    }),
        ExpectTable("LongDist", 104, "Distributed Load (Long-Term)", 1, 0, "", false,
                    {
                        ExpectFloat({"Depth measured from the top of the wall,"}, "L2"),
                        ExpectFloat({"Lateral distributed line load,"}, "F/L2"),
                    }),
        ExpectTable("LongSoilOld", 105, "Soil Layers (Long-Term)", 1, 10, "", false,
                    {
                        ExpectInt({"Soil type"}, 0, 0, kIntHighest),
                        ExpectFloat({"Layer", "thick.,"}, "L2"),
                        ExpectFloat({"Total Unit", "Wt,"}, "F/L2^3"),
                        ExpectFloat({"Cohesion,", ""}, "F/L2^2"),
                        ExpectFloat({"Friction", "Angle (deg.)"}, ""),
                        ExpectFloat({"E50"}, ""),
                        ExpectFloat({"K,", ""}, "F/L^3"),
                    }),
        ExpectTable("TblSand1", 17, "Sand", 2, 2, "", false,
                    {
                        ExpectFloat({"Total Unit", "Weight,"}, "F/L2^3"),
                        ExpectFloat({"Friction", "Angle, deg."}, ""),
                        ExpectFloat({"k(py)"}, "F/L^3"),
                    }),
        ExpectTable("TblClay1", 18, "Clay", 2, 2, "", false,
                    {
                        ExpectFloat({"Total Unit", "Weight,"}, "F/L2^3"),
                        ExpectFloat({"Cohesive", "Strength,"}, "F/L2^2"),
                        ExpectFloat({"E50", ""}, ""),
                        ExpectFloat({"k(py)"}, "F/L^3"),
                    }),
        ExpectTable("NewSoil", 19, "Soil Layers", 1, 10, "", false,
                    {
                        ExpectChoice({"Soil ", "Type"}, kSoilTypesNew),
                        ExpectFloat({"Depth at Bottom", "of the Layer,"}, "L2"),
                        ExpectSub({"Edit Soil", "Parameters"}, kSoilTemplates),
                    }),
        ExpectTable("TblSilt1", 29, "Silt", 2, 2, "", false,
                    {
                        ExpectFloat({"Total Unit ", "Weight,"}, "F/L2^3"),
                        ExpectFloat({"Friction", "Angle, deg."}, ""),
                        ExpectFloat({"Cohesive", "Strength,"}, "F/L2^2"),
                        ExpectFloat({"E50", ""}, ""),
                        ExpectFloat({"K(py)"}, "F/L^3"),
                    }),
        ExpectTable("TblRock1", 30, "Strong Rock", 2, 2, "", false,
                    {
                        ExpectFloat({"Total Unit", "Weight,"}, "F/L2^3"),
                        ExpectFloat({"Uniaxial Compressive", "Strength,"}, "F/L^2"),
                    }),
        ExpectTable("TblRock2", 31, "Weak Rock", 2, 2, "", false,
                    {
                        ExpectFloat({"Total Unit", "Weight,"}, "F/L2^3"),
                        ExpectFloat({"Uniaxial Compressive", "Strength,"}, "F/L^2"),
                        ExpectFloat({"krm *"}, ""),
                        ExpectFloat({"Elastic", "Modulus,"}, "F/L^2"),
                        ExpectFloat({"RQD", "%"}, ""),
                    }),
        ExpectTable("LongSoil", 44, "Soil Layers (Long-Term)", 1, 10, "", false,
                    {
                        ExpectChoice({"Soil", "Type"}, kSoilTypesLong),
                        ExpectFloat({"Depth at Bottom", "of the Layer,"}, "L2"),
                        ExpectSub({"Edit Soil", "Parameters"}, kSoilTemplates),
                    }),
        ExpectTable("SurchargeTable", 23, "Surcharge Loads", 1, 20, "", false,
                    {
                        ExpectChoice({"Load Types"}, {"Point Load", "Line Load", "Strip Load"}),
                        ExpectFloat({"Load Magbnitude"}, "SEE NOTES"),
                        ExpectFloat({"Distance, X"}, "L1"),
                        ExpectFloat({"Width of Strip Load, W"}, "L1"),
                    }),
        ExpectTable("MEICurves", 24, "Nonlinear Moment vs EI Curves", 1, 20, "Section", false,
                    {
                        ExpectInt({"From Node No.", "(Start)"}, 0, 0, kIntHighest),
                        ExpectInt({"To Node No.", "(End)"}, 0, 0, kIntHighest),
                        ExpectSub({}, {27}),
                    }),
    };
    return tables;
}

// ----- Readable renderings for failure messages -----

std::string Br(const std::string& s) {
    std::string out = "[";
    for (char ch : s) {
        if (ch == '\r')
            out += "\\r";
        else
            out += ch;
    }
    return out + "]";
}

std::string Br(const Lines& lines) {
    std::ostringstream out;
    out << lines.size() << " line(s):";
    for (const auto& line : lines) out << ' ' << Br(line);
    return out.str();
}

std::string Br(const std::vector<int>& values) {
    std::ostringstream out;
    out << values.size() << " value(s): {";
    for (std::size_t i = 0; i < values.size(); ++i) out << (i ? ", " : "") << values[i];
    return out.str() + "}";
}

const char* KindName(TColumnKind kind) {
    switch (kind) {
        case TColumnKind::Choice: return "Choice";
        case TColumnKind::Integer: return "Integer";
        case TColumnKind::Float: return "Float";
        case TColumnKind::SubTable: return "SubTable";
        case TColumnKind::Text: return "Text";
    }
    return "?";
}

const TTableDeclaration* FindByName(const std::vector<TTableDeclaration>& tables,
                                    const std::string& name) {
    for (const auto& t : tables)
        if (t.Name == name) return &t;
    return nullptr;
}

// ----- 1. The list of tables -----

TEST(TableCatalogue, HasTheTwentyFiveTablesInDeclarationOrder) {
    const Lines order = {"PileSect",    "SoilLayers", "SoilWeight", "SoilStrength", "PYMod",
                         "PYCurves",    "PYCurve",    "DistLoad",   "BoundCond",    "TipRes",
                         "PYOutpt",     "AxLoads",    "Rows",       "Soillayer",    "LongDist",
                         "LongSoilOld", "TblSand1",   "TblClay1",   "NewSoil",      "TblSilt1",
                         "TblRock1",    "TblRock2",   "LongSoil",   "SurchargeTable",
                         "MEICurves"};
    const auto& tables = TableCatalogue();
    ASSERT_EQ(tables.size(), 25u);
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(tables[i].Name, order[i]) << "table at position " << i << " is " << Br(tables[i].Name);
}

TEST(TableCatalogue, ReturnsTheSameListOnEveryCall) {
    EXPECT_EQ(&TableCatalogue(), &TableCatalogue());
}

// ----- 2. Each table, field by field -----

class CatalogueTable : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CatalogueTable, MatchesTheExpectedDeclaration) {
    const TTableDeclaration& want = Expected()[GetParam()];
    const auto& tables = TableCatalogue();
    const TTableDeclaration* found = FindByName(tables, want.Name);
    ASSERT_NE(found, nullptr) << "table " << want.Name << " is not declared";
    const TTableDeclaration& got = *found;
    const std::string t = "table " + want.Name;

    EXPECT_EQ(got.Identifier, want.Identifier) << t << ": Identifier";
    EXPECT_EQ(got.Caption, want.Caption)
        << t << ": Caption is " << Br(got.Caption) << ", expected " << Br(want.Caption);
    EXPECT_EQ(got.MinRows, want.MinRows) << t << ": MinRows";
    EXPECT_EQ(got.MaxRows, want.MaxRows) << t << ": MaxRows";
    EXPECT_EQ(got.TopLeft, want.TopLeft)
        << t << ": TopLeft is " << Br(got.TopLeft) << ", expected " << Br(want.TopLeft);
    EXPECT_EQ(got.HardwiredButton, want.HardwiredButton) << t << ": HardwiredButton";
    EXPECT_EQ(got.RowGroup, 1) << t << ": RowGroup";
    ASSERT_EQ(got.Columns.size(), want.Columns.size()) << t << ": number of columns";

    for (std::size_t i = 0; i < want.Columns.size(); ++i) {
        const TColumnDeclaration& w = want.Columns[i];
        const TColumnDeclaration& g = got.Columns[i];
        std::ostringstream where;
        where << t << ", column " << (i + 1) << " (captions " << Br(w.Captions) << ")";
        const std::string c = where.str();

        EXPECT_EQ(g.Kind, w.Kind) << c << ": Kind is " << KindName(g.Kind) << ", expected "
                                  << KindName(w.Kind);
        EXPECT_EQ(g.Captions, w.Captions)
            << c << ": Captions are " << Br(g.Captions) << ", expected " << Br(w.Captions);
        EXPECT_TRUE(g.Visible) << c << ": Visible";
        EXPECT_FALSE(g.SharedByGroup) << c << ": SharedByGroup";
        EXPECT_EQ(g.Choices, w.Choices)
            << c << ": Choices are " << Br(g.Choices) << ", expected " << Br(w.Choices);
        EXPECT_EQ(g.IntDefault, w.IntDefault) << c << ": IntDefault";
        EXPECT_EQ(g.IntMin, w.IntMin) << c << ": IntMin";
        EXPECT_EQ(g.IntMax, w.IntMax) << c << ": IntMax";
        EXPECT_EQ(g.TopDepth, w.TopDepth) << c << ": TopDepth";
        EXPECT_EQ(g.UnitString, w.UnitString)
            << c << ": UnitString is " << Br(g.UnitString) << ", expected " << Br(w.UnitString);
        EXPECT_EQ(g.FloatDefault, w.FloatDefault)
            << c << ": FloatDefault is " << static_cast<double>(g.FloatDefault) << ", expected "
            << static_cast<double>(w.FloatDefault);
        EXPECT_EQ(g.Templates, w.Templates)
            << c << ": Templates are " << Br(g.Templates) << ", expected " << Br(w.Templates);
        EXPECT_EQ(g.TextDefault, w.TextDefault)
            << c << ": TextDefault is " << Br(g.TextDefault) << ", expected " << Br(w.TextDefault);
        EXPECT_EQ(g.Width, w.Width) << c << ": Width";
        EXPECT_TRUE(g == w) << c << ": the whole column record differs";
    }
    EXPECT_TRUE(got == want) << t << ": the whole table record differs";
}

INSTANTIATE_TEST_SUITE_P(AllTables, CatalogueTable, ::testing::Range<std::size_t>(0, 25),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return Expected()[info.param].Name;
                         });

TEST(TableCatalogue, EqualsTheExpectedListAsAWhole) {
    EXPECT_TRUE(TableCatalogue() == Expected());
}

// A few facts spelled out separately so that a regression names them directly.
TEST(TableCatalogue, DistinctiveDetails) {
    const auto& tables = TableCatalogue();
    const auto* soilLayers = FindByName(tables, "SoilLayers");
    ASSERT_NE(soilLayers, nullptr);
    ASSERT_FALSE(soilLayers->Columns.empty());
    ASSERT_EQ(soilLayers->Columns[0].Choices.size(), 3u);
    EXPECT_EQ(soilLayers->Columns[0].Choices[2], "");

    const auto* longDist = FindByName(tables, "LongDist");
    ASSERT_NE(longDist, nullptr);
    EXPECT_EQ(longDist->MaxRows, 0);
    EXPECT_EQ(longDist->MinRows, 1);

    const auto* mei = FindByName(tables, "MEICurves");
    ASSERT_NE(mei, nullptr);
    ASSERT_EQ(mei->Columns.size(), 3u);
    EXPECT_TRUE(mei->Columns[2].Captions.empty());

    const auto* axLoads = FindByName(tables, "AxLoads");
    ASSERT_NE(axLoads, nullptr);
    ASSERT_EQ(axLoads->Columns.size(), 7u);
    EXPECT_EQ(axLoads->Columns[3].Captions, (Lines{"Cohesion,", " "}));
    EXPECT_EQ(axLoads->Columns[6].Captions, (Lines{"K,", ""}));

    for (const char* name : {"TblSand1", "TblClay1", "TblSilt1", "TblRock1", "TblRock2"}) {
        const auto* t = FindByName(tables, name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->MinRows, 2) << name;
        EXPECT_EQ(t->MaxRows, 2) << name;
    }
}

// ----- 3. Identifiers and templates -----

TEST(TableCatalogue, IdentifiersAreUnique) {
    std::map<int, std::string> seen;
    for (const auto& t : TableCatalogue()) {
        auto [it, inserted] = seen.emplace(t.Identifier, t.Name);
        EXPECT_TRUE(inserted) << "identifier " << t.Identifier << " is used by " << it->second
                              << " and " << t.Name;
    }
    EXPECT_EQ(seen.size(), 25u);
}

TEST(TableCatalogue, EveryTemplateNamesADeclaredTable) {
    std::set<int> ids;
    for (const auto& t : TableCatalogue()) ids.insert(t.Identifier);

    std::set<int> used;
    for (const auto& t : TableCatalogue())
        for (std::size_t i = 0; i < t.Columns.size(); ++i)
            for (int id : t.Columns[i].Templates) {
                used.insert(id);
                EXPECT_TRUE(ids.count(id)) << "table " << t.Name << ", column " << (i + 1)
                                           << ": template " << id << " is not a declared table";
            }
    EXPECT_EQ(used, (std::set<int>{17, 18, 21, 27, 29, 30, 31}));

    const std::map<int, std::string> templateNames = {
        {21, "PYCurve"},  {18, "TblClay1"}, {17, "TblSand1"}, {29, "TblSilt1"},
        {30, "TblRock1"}, {31, "TblRock2"}, {27, "Rows"}};
    for (const auto& [id, name] : templateNames) {
        const auto* t = FindByName(TableCatalogue(), name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->Identifier, id) << name;
    }
}

TEST(TableCatalogue, OnlyTheFourSubTableColumnsHaveTemplates) {
    std::vector<std::string> holders;
    for (const auto& t : TableCatalogue())
        for (std::size_t i = 0; i < t.Columns.size(); ++i) {
            const auto& col = t.Columns[i];
            if (col.Kind == TColumnKind::SubTable || !col.Templates.empty())
                holders.push_back(t.Name + ":" + std::to_string(i + 1));
        }
    EXPECT_EQ(holders,
              (std::vector<std::string>{"PYCurves:2", "NewSoil:3", "LongSoil:3", "MEICurves:3"}));
}

// ----- 4. Start-up comments and help pictures -----

TEST(TableStartupComments, AreTheSixExpectedTexts) {
    const std::map<std::string, std::string> expected = {
        {"PileSect",
         "The nodal number at the top of the wall is set to be 0.\r"
         "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r"
         "Linear interpolation (when selected) is performed from START node of previous line to "
         "END node of the following line."},
        {"BoundCond",
         "The concentrated loads are applied at nodal points only (including the specified START "
         "and END nodes).\r"
         "Linear interpolation (when selected) is performed from START node of previous line to "
         "END node of the following line."},
        {"SoilStrength",
         "The spring stiffnesses are applied at nodal points only (including the specified START "
         "and END nodes).\r"
         "Linear interpolation (when selected) is performed from START node of previous line to "
         "END node of the following line."},
        {"TblRock2",
         "* krm is a strain constant that seve to establish the overall stiffness of the curves"},
        {"SurchargeTable",
         "The unit for point load is lbs or kN \r"
         "The unit for line load is lbs/in. or kN/m \r"
         "The unit for strip load is lbs/in^2 or kN/m^2 \r"
         "The distance X of a strip load is from the wall to the strip's near edge "},
        {"PYCurve",
         "Lateral movement (y) should start from negative deflection and\r"
         " gradually increases to positive deflection for the range of the response.\r"
         "Positive soil resistance (p) should correspond to the negative soil movement (y)\r"
         "and negative soil resistance (p) should correspond to the positive soil movement (y)."},
    };

    const auto& comments = TableStartupComments();
    EXPECT_EQ(comments.size(), 6u);
    std::set<std::string> seen;
    for (const auto& entry : comments) {
        EXPECT_TRUE(seen.insert(entry.Table).second) << "comments given twice to " << entry.Table;
        auto it = expected.find(entry.Table);
        if (it == expected.end()) {
            ADD_FAILURE() << "unexpected comments for table " << Br(entry.Table) << ": "
                          << Br(entry.Comments);
            continue;
        }
        EXPECT_EQ(entry.Comments, it->second) << "comments of " << entry.Table << " are\n  "
                                              << Br(entry.Comments) << "\nexpected\n  "
                                              << Br(it->second);
        EXPECT_NE(FindByName(TableCatalogue(), entry.Table), nullptr) << entry.Table;
    }
    for (const auto& [table, text] : expected)
        EXPECT_TRUE(seen.count(table)) << "no start-up comments for " << table;
}

TEST(TableHelpPictures, AreThePressureAndTieBackPictures) {
    const std::map<std::string, std::string> expected = {
        {"DistLoad", "ImagePressure"},
        {"LongDist", "ImagePressure"},
        {"SoilStrength", "ImageTieBack"},
    };
    const auto& pictures = TableHelpPictures();
    EXPECT_EQ(pictures.size(), 3u);
    std::set<std::string> seen;
    for (const auto& entry : pictures) {
        EXPECT_TRUE(seen.insert(entry.Table).second) << "picture given twice to " << entry.Table;
        auto it = expected.find(entry.Table);
        if (it == expected.end()) {
            ADD_FAILURE() << "unexpected help picture for " << Br(entry.Table) << ": "
                          << Br(entry.Picture);
            continue;
        }
        EXPECT_EQ(entry.Picture, it->second)
            << "picture of " << entry.Table << " is " << Br(entry.Picture);
    }
    for (const auto& [table, picture] : expected)
        EXPECT_TRUE(seen.count(table)) << "no help picture for " << table;
}

}  // namespace
}  // namespace torvex
