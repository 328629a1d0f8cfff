#include "dataentry/TableDeclaration.h"

#include <utility>

namespace torvex {

TColumnDeclaration ChoiceColumn(std::vector<std::string> captions,
                                std::vector<std::string> choices) {
    TColumnDeclaration column;
    column.Kind = TColumnKind::Choice;
    column.Captions = std::move(captions);
    column.Choices = std::move(choices);
    return column;
}

TColumnDeclaration IntColumn(std::vector<std::string> captions, int32_t defaultValue,
                             int32_t minValue, int32_t maxValue) {
    TColumnDeclaration column;
    column.Kind = TColumnKind::Integer;
    column.Captions = std::move(captions);
    column.IntDefault = defaultValue;
    column.IntMin = minValue;
    column.IntMax = maxValue;
    return column;
}

TColumnDeclaration FloatColumn(std::vector<std::string> captions, std::string unitString,
                               long double defaultValue, bool topDepth) {
    TColumnDeclaration column;
    column.Kind = TColumnKind::Float;
    column.Captions = std::move(captions);
    column.UnitString = std::move(unitString);
    column.FloatDefault = defaultValue;
    column.TopDepth = topDepth;
    return column;
}

TColumnDeclaration SubTableColumn(std::vector<std::string> captions, std::vector<int> templates) {
    TColumnDeclaration column;
    column.Kind = TColumnKind::SubTable;
    column.Captions = std::move(captions);
    column.Templates = std::move(templates);
    return column;
}

TColumnDeclaration TextColumn(std::vector<std::string> captions, std::string defaultValue,
                              long double widthInches) {
    TColumnDeclaration column;
    column.Kind = TColumnKind::Text;
    column.Captions = std::move(captions);
    column.TextDefault = std::move(defaultValue);
    column.Width = widthInches;
    return column;
}

}  // namespace torvex
