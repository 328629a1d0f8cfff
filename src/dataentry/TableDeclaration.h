#pragma once
// Declarations of input tables: what a table and its columns are, without any rows.
// The program's tables are declared with these records (see TableCatalogue.h); a table is
// built from its declaration and can give its declaration back (TGridTable::Declaration).

#include <cstdint>
#include <string>
#include <vector>

namespace torvex {

// Column kinds; the numbers are the type codes of the column-type registry.
enum class TColumnKind : int {
    Choice = 0,    // TEnumColumn
    Integer = 1,   // TIntColumn
    Float = 2,     // TFloatColumn
    SubTable = 3,  // TTableColumn
    Text = 4,      // TStringColumn
};

struct TColumnDeclaration {
    TColumnKind Kind = TColumnKind::Float;
    std::vector<std::string> Captions;  // one line per header row
    bool Visible = true;
    bool SharedByGroup = false;
    // Choice: the choices, choice 1 first.
    std::vector<std::string> Choices;
    // Integer: default and limits.
    int32_t IntDefault = 0;
    int32_t IntMin = 0;
    int32_t IntMax = 0;
    // Float: depth continuity, unit string and default.
    bool TopDepth = false;
    std::string UnitString;
    long double FloatDefault = 0;
    // Sub-table: one template table identifier per choice of the first column (-1 for none).
    std::vector<int> Templates;
    // Text: default and width in inches.
    std::string TextDefault;
    long double Width = 0;

    bool operator==(const TColumnDeclaration&) const = default;
};

struct TTableDeclaration {
    std::string Name;  // component name, e.g. "PileSect"
    int Identifier = 0;
    std::string Caption;
    int MinRows = 1;
    int MaxRows = 0;
    std::string TopLeft;
    bool HardwiredButton = false;
    int RowGroup = 1;
    std::vector<TColumnDeclaration> Columns;

    bool operator==(const TTableDeclaration&) const = default;
};

// Readable builders for column declarations.
TColumnDeclaration ChoiceColumn(std::vector<std::string> captions,
                                std::vector<std::string> choices);
TColumnDeclaration IntColumn(std::vector<std::string> captions, int32_t defaultValue,
                             int32_t minValue, int32_t maxValue);
TColumnDeclaration FloatColumn(std::vector<std::string> captions, std::string unitString,
                               long double defaultValue, bool topDepth = false);
TColumnDeclaration SubTableColumn(std::vector<std::string> captions, std::vector<int> templates);
TColumnDeclaration TextColumn(std::vector<std::string> captions, std::string defaultValue,
                              long double widthInches);

}  // namespace torvex
