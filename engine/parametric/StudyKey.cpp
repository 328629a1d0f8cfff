#include "parametric/StudyKey.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "dataentry/NumberText.h"
#include "dataentry/Table.h"
#include "dataentry/Units.h"
#include "project/EchoText.h"
#include "project/OptionBlock.h"
#include "project/Workspace.h"

namespace torvex::engine {

const char* const kStudyKeyForms =
    "a project field (FreeHeight, NumIncrements, IncrementLength, BackfillSurcharge, "
    "WaterDepthBackfill, WaterDepthExcavation, PressureFactor, BackfillSlope, ActiveWidth, "
    "ResistanceWidth, MaxDeflection), an option-block key (SeismicKh, SeismicKv, MomentCapacity, "
    "ShearCapacity, AllowableDeflection, TargetSafetyFactor) or a table cell as Table[row].column "
    "with the row from 1 (e.g. PileSect[1].Flexural Stiffness (EI), NewSoil[1].Friction Angle)";

namespace {

struct TFieldEntry {
    const char* name;
    long double TProgramData::*field;
};

constexpr TFieldEntry kFields[] = {
    {"FreeHeight", &TProgramData::FreeHeight},
    {"IncrementLength", &TProgramData::IncrementLength},
    {"BackfillSurcharge", &TProgramData::BackfillSurcharge},
    {"WaterDepthBackfill", &TProgramData::WaterDepthBackfill},
    {"WaterDepthExcavation", &TProgramData::WaterDepthExcavation},
    {"PressureFactor", &TProgramData::PressureFactor},
    {"BackfillSlope", &TProgramData::BackfillSlope},
    {"ActiveWidth", &TProgramData::ActiveWidth},
    {"ResistanceWidth", &TProgramData::ResistanceWidth},
    {"MaxDeflection", &TProgramData::MaxDeflection},
};

struct TOptionEntry {
    const char* name;
    long double TProjectOptions::*field;
};

constexpr TOptionEntry kOptions[] = {
    {"SeismicKh", &TProjectOptions::SeismicKh},
    {"SeismicKv", &TProjectOptions::SeismicKv},
    {"MomentCapacity", &TProjectOptions::MomentCapacity},
    {"ShearCapacity", &TProjectOptions::ShearCapacity},
    {"AllowableDeflection", &TProjectOptions::AllowableDeflection},
    {"TargetSafetyFactor", &TProjectOptions::TargetSafetyFactor},
};

constexpr const char* kNumIncrements = "NumIncrements";

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

template <class Entry, size_t N>
const Entry* Find(const Entry (&entries)[N], const std::string& name) {
    for (const Entry& entry : entries)
        if (SameName(entry.name, name)) return &entry;
    return nullptr;
}

[[noreturn]] void BadKey(const std::string& text, const std::string& why) {
    throw std::invalid_argument("\"" + EchoText(text) + "\" " + why + "; the input to vary is " + kStudyKeyForms + ".");
}

// A caption or a key's column name in one form: one blank between words, no trailing commas
// or blanks; lower case unless `keepCase`.
std::string Normalized(const std::string& text, bool keepCase = false) {
    std::string out;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += keepCase ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ',')) out.pop_back();
    return out;
}

std::string Caption(const TColumn& column, bool keepCase = false) {
    std::string joined;
    for (const std::string& line : column.Captions()) joined += line + " ";
    return Normalized(joined, keepCase);
}

// The column of a table named as the key names it, or -1. A start that several captions
// share is refused with the columns it could mean.
int FindColumn(const TGridTable& table, const TStudyKey& key) {
    const std::string wanted = Normalized(key.column);
    std::vector<int> starts;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const std::string caption = Caption(table.Columns(c));
        if (caption == wanted) return c;
        if (!wanted.empty() && caption.rfind(wanted, 0) == 0) starts.push_back(c);
    }
    if (starts.size() == 1) return starts.front();
    if (starts.empty()) return -1;
    std::string list;
    for (const int c : starts) list += (list.empty() ? "\"" : ", \"") + Caption(table.Columns(c), true) + "\"";
    throw std::invalid_argument("\"" + EchoText(key.text) + "\": the column start \"" + EchoText(key.column) +
                                "\" could mean any of " + list + "; give more of the column's name.");
}

// The power of 12 from file value to table value in an English project: the tables hold the
// large length (ft) where the unit string says L2, the file the small one (in).
int EnglishTablePower(const std::string& unitString) {
    const auto exponent = [](const std::string& part) {
        const size_t at = part.find("L2");
        if (at == std::string::npos) return 0;
        if (at + 3 < part.size() && part[at + 2] == '^') return part[at + 3] - '0';
        return 1;
    };
    const size_t slash = unitString.find('/');
    const int up = exponent(unitString.substr(0, slash));
    const int down = slash == std::string::npos ? 0 : exponent(unitString.substr(slash + 1));
    return down - up;
}

// The cells a key names: the cell itself, or the top and bottom rows of a layer's parameters.
struct TCellTarget {
    std::vector<std::pair<TColumn*, int>> cells;
    int power = 0;  // table value = file value * 12^power
    // As the reader converts: a product for a positive power, a quotient for a negative one.
    long double ToTable(long double value) const {
        const long double scale = std::pow(12.0L, std::abs(power));
        return power >= 0 ? value * scale : value / scale;
    }
    long double ToFile(long double value) const {
        const long double scale = std::pow(12.0L, std::abs(power));
        return power >= 0 ? value / scale : value * scale;
    }
};

TCellTarget FindCells(const TWorkspace& workspace, const TStudyKey& key) {
    TGridTable* table = workspace.FindTable(key.name);
    if (!table) BadKey(key.text, "names no input table");
    if (key.row < 1 || key.row > table->RowCount())
        throw std::invalid_argument("\"" + EchoText(key.text) + "\": the table " + table->Name + " has " +
                                    std::to_string(table->RowCount()) + " rows (counted from 1).");
    const int row = key.row - 1;
    const bool english = workspace.Project().UnitSystem == kUnitsEnglish;
    TCellTarget target;
    const auto floatColumn = [&](TColumn& column, const std::vector<int>& rows) {
        if (column.Kind() != TColumnKind::Float && column.Kind() != TColumnKind::Integer)
            BadKey(key.text, "names a column that holds no number");
        for (const int r : rows) target.cells.emplace_back(&column, r);
        if (english && column.Kind() == TColumnKind::Float) target.power = EnglishTablePower(column.Declaration().UnitString);
    };
    if (const int c = FindColumn(*table, key); c >= 0) {
        floatColumn(table->Columns(c), {row});
        return target;
    }
    for (int c = 0; c < table->ColumnCount(); ++c)
        if (table->Columns(c).Kind() == TColumnKind::SubTable) {
            TGridTable& parameters = table->Columns(c).GetTable(row);
            if (const int p = FindColumn(parameters, key); p >= 0) {
                std::vector<int> rows;
                for (int r = 0; r < parameters.RowCount(); ++r) rows.push_back(r);
                floatColumn(parameters.Columns(p), rows);
                return target;
            }
        }
    throw std::invalid_argument("\"" + EchoText(key.text) + "\": row " + std::to_string(key.row) + " of " +
                                table->Name + " has no column \"" + EchoText(key.column) + "\".");
}

// The value as the reader takes it from a file that holds its shortest exact text ("0.07", as
// the study's table shows it): a variant then equals the data file edited to that value.
long double AsFileReads(double value) {
    char text[64];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    return ParseDecimal(std::string_view(text, static_cast<size_t>(end - text))).value_or(value);
}

// The rows that ended at the old tip node end at the new one.
void MoveTipNode(TWorkspace& workspace, int oldTip, int newTip) {
    for (int t = 0; t < workspace.TableCount(); ++t) {
        TGridTable& table = workspace.TableAt(t);
        for (int c = 0; c < table.ColumnCount(); ++c) {
            TColumn& column = table.Columns(c);
            if (column.Kind() != TColumnKind::Integer || Caption(column).rfind("to node", 0) != 0) continue;
            for (int r = 0; r < table.RowCount(); ++r)
                if (column.GetInteger(r) == oldTip) column.SetInteger(r, newTip);
        }
    }
}

}  // namespace

TStudyKey ParseStudyKey(const std::string& text) {
    TStudyKey key;
    key.text = text;
    const size_t open = text.find('[');
    if (open == std::string::npos) {
        key.name = text;
        if (Find(kOptions, text)) {
            key.kind = TStudyKey::TKind::Option;
        } else if (!Find(kFields, text) && !SameName(text, kNumIncrements)) {
            BadKey(text, "is not an input a study can vary");
        }
        return key;
    }
    key.kind = TStudyKey::TKind::Cell;
    key.name = text.substr(0, open);
    const size_t close = text.find(']', open);
    if (key.name.empty() || close == std::string::npos || close + 1 >= text.size() || text[close + 1] != '.')
        BadKey(text, "is not of the form Table[row].column");
    const std::string row = text.substr(open + 1, close - open - 1);
    if (row.empty() || row.size() > 6 || !std::all_of(row.begin(), row.end(), [](char c) { return c >= '0' && c <= '9'; }))
        BadKey(text, "has no row number from 1");
    key.row = std::stoi(row);
    key.column = text.substr(close + 2);
    if (key.row < 1 || Normalized(key.column).empty()) BadKey(text, "has no row number from 1 or no column");
    return key;
}

bool IsProjectWide(const TStudyKey& key) { return key.kind == TStudyKey::TKind::Option; }

double ApplyStudyKey(TWorkspace& workspace, const TStudyKey& key, double value) {
    if (!std::isfinite(value))
        throw std::invalid_argument("The value of " + EchoText(key.text) + " is not a finite number.");
    TProgramData& project = workspace.Project();
    switch (key.kind) {
        case TStudyKey::TKind::Field:
            if (SameName(key.name, kNumIncrements)) {
                const double rounded = std::round(value);
                if (!(std::fabs(rounded) < 1e9)) throw std::invalid_argument("The number of increments is out of range.");
                const int oldTip = project.NumIncrements, newTip = static_cast<int>(rounded);
                MoveTipNode(workspace, oldTip, newTip);
                project.NumIncrements = newTip;
                return rounded;
            }
            project.*(Find(kFields, key.name)->field) = AsFileReads(value);
            return value;
        case TStudyKey::TKind::Option: {
            // The value as typed, within the range the block's reader keeps it in: the
            // variant is the data file with that value in its option block.
            const TOptionEntry& option = *Find(kOptions, key.name);
            const long double exact = AsFileReads(value);
            if (const std::string fault = OptionValueFault(option.name, exact); !fault.empty())
                throw std::invalid_argument(fault);
            project.Options.*option.field = exact;
            return value;
        }
        case TStudyKey::TKind::Cell: {
            const TCellTarget target = FindCells(workspace, key);
            for (const auto& [column, row] : target.cells) {
                if (column->Kind() == TColumnKind::Integer) {
                    value = std::round(value);
                    column->SetInteger(row, static_cast<int32_t>(std::clamp(value, -2e9, 2e9)));
                } else {
                    column->SetFloat(row, target.ToTable(AsFileReads(value)));
                }
            }
            return value;
        }
    }
    return value;
}

double StudyKeyValue(const TWorkspace& workspace, const TStudyKey& key) {
    const TProgramData& project = workspace.Project();
    switch (key.kind) {
        case TStudyKey::TKind::Field:
            if (SameName(key.name, kNumIncrements)) return project.NumIncrements;
            return static_cast<double>(project.*(Find(kFields, key.name)->field));
        case TStudyKey::TKind::Option:
            return static_cast<double>(project.Options.*(Find(kOptions, key.name)->field));
        case TStudyKey::TKind::Cell: {
            const TCellTarget target = FindCells(workspace, key);
            const auto& [column, row] = target.cells.front();
            if (column->Kind() == TColumnKind::Integer) return column->GetInteger(row);
            return static_cast<double>(target.ToFile(column->GetFloat(row)));
        }
    }
    return 0;
}

}  // namespace torvex::engine
