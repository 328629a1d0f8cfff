#include "dataentry/ColumnTypes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "dataentry/Evaluator.h"
#include "dataentry/NumberText.h"
#include "dataentry/Units.h"

namespace torvex {
namespace {

[[noreturn]] void IndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

template <typename Storage>
Storage& StorageAt(const TColumn& column, int row) {
    return static_cast<Storage&>(column.Data(row));
}

bool IsIntegral32(long double value) {
    return std::isfinite(value) && value == std::trunc(value) && value >= -2147483648.0L &&
           value <= 2147483647.0L;
}

std::string BetweenMessage(int32_t low, int32_t high) {
    return "Entry must be between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

// Nearest integer, halves to even, for values already known to lie in the 32-bit range.
int32_t RoundToInt32(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

// ---- Column-type registry ----

TColumnTypeRegistry& TColumnTypeRegistry::Instance() {
    static TColumnTypeRegistry registry = [] {
        TColumnTypeRegistry filled;
        filled.Register("TEnumColumn", 0,
                        [](TGridTable& t) { return std::make_unique<TEnumColumn>(&t); });
        filled.Register("TIntColumn", 1,
                        [](TGridTable& t) { return std::make_unique<TIntColumn>(&t); });
        filled.Register("TFloatColumn", 2,
                        [](TGridTable& t) { return std::make_unique<TFloatColumn>(&t); });
        filled.Register("TTableColumn", 3,
                        [](TGridTable& t) { return std::make_unique<TTableColumn>(&t); });
        filled.Register("TStringColumn", 4,
                        [](TGridTable& t) { return std::make_unique<TStringColumn>(&t); });
        return filled;
    }();
    return registry;
}

void TColumnTypeRegistry::Register(const std::string& className, int code, Factory factory) {
    entries_.push_back({className, code, std::move(factory)});
}

void TColumnTypeRegistry::Unregister(const std::string& className) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.className == className; }),
                   entries_.end());
}

int TColumnTypeRegistry::CodeOf(const std::string& className) const {
    for (const Entry& entry : entries_)
        if (entry.className == className) return entry.code;
    return -1;
}

std::string TColumnTypeRegistry::ClassOf(int code) const {
    for (const Entry& entry : entries_)
        if (entry.code == code) return entry.className;
    return {};
}

std::unique_ptr<TColumn> TColumnTypeRegistry::Create(int code, TGridTable& table) const {
    for (const Entry& entry : entries_)
        if (entry.code == code) return entry.factory(table);
    throw ETableError("Error Column Class not defined");
}

void TColumnTypeRegistry::Shutdown() {
    for (const char* name :
         {"TEnumColumn", "TIntColumn", "TFloatColumn", "TTableColumn", "TStringColumn"})
        Unregister(name);
    if (!entries_.empty()) throw ETableError("Column Type list not empty");
}

const char* ColumnClassName(TColumnKind kind) {
    switch (kind) {
        case TColumnKind::Choice: return "TEnumColumn";
        case TColumnKind::Integer: return "TIntColumn";
        case TColumnKind::Float: return "TFloatColumn";
        case TColumnKind::SubTable: return "TTableColumn";
        case TColumnKind::Text: return "TStringColumn";
    }
    return "";
}

std::unique_ptr<TColumn> CreateColumn(const TColumnDeclaration& declaration, TGridTable& table) {
    auto column = TColumnTypeRegistry::Instance().Create(static_cast<int>(declaration.Kind), table);
    column->ApplyDeclaration(declaration);
    return column;
}

// ---- TGridTableList ----

const TGridTableList::Entry& TGridTableList::At(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return entries_[static_cast<size_t>(index)];
}

TGridTable* TGridTableList::Resolve(int index, const TTableRegistry& registry) const {
    const Entry& entry = At(index);
    if (entry.ByPosition) return registry.TableAt(entry.Value);
    if (entry.Value < 0) return nullptr;
    return registry.FindTable(entry.Value);
}

// ---- TEnumColumn ----

int32_t TEnumColumn::GetInteger(int row) const { return StorageAt<TIntStorage>(*this, row).Value; }

void TEnumColumn::SetInteger(int row, int32_t value) {
    StorageAt<TIntStorage>(*this, row);  // range check before anything changes
    const auto [first, last] = SharedRows(row);
    for (int r = first; r < last; ++r) {
        auto& storage = StorageAt<TIntStorage>(*this, r);
        if (storage.Value == value) continue;
        storage.Value = value;
        for (const auto& combo : controls_)
            if (combo->Tag() == r) combo->SetItemIndex(value - 1);
        CellChanged(r);
    }
}

std::string TEnumColumn::GetText(int row) const { return std::to_string(GetInteger(row)); }

void TEnumColumn::SetText(int row, const std::string& text) {
    const long double value = Evaluate(text);
    if (!IsIntegral32(value)) throw EAssignError("Value must be an integer.");
    SetInteger(row, RoundToInt32(value));
}

int TEnumColumn::MinWidth(const std::function<int(const std::string&)>& textWidth,
                          int pixelsPerInch) const {
    return std::max(TColumn::MinWidth(textWidth, pixelsPerInch), pixelsPerInch * 3 / 2);
}

TCellControl* TEnumColumn::GetControl(int index) const {
    if (index < 0 || index >= ControlCount()) IndexError(index);
    return controls_[static_cast<size_t>(index)].get();
}

void TEnumColumn::AllocateControls(TControlHost* host, int topRow, int count) {
    if (!controls_.empty() && host != host_)
        throw ETableError("Error attempt to change parent with controls already allocated");
    if (!host) throw ETableError("null parent");
    host_ = host;
    count = std::max(count, 0);
    while (ControlCount() > count) controls_.pop_back();
    while (ControlCount() < count) {
        auto combo = host->CreateComboBox();
        combo->SetItems(Choices);
        combo->SetDropDownCount(11);
        combo->SetVisible(false);  // shown when the editor positions it
        combo->OnChange = [this](TComboBoxControl& c) { ComboChanged(c); };
        combo->OnEnter = [this](TComboBoxControl& c) { ComboEntered(c); };
        controls_.push_back(std::move(combo));
    }
    for (int i = 0; i < count; ++i) {
        TComboBoxControl& combo = *controls_[static_cast<size_t>(i)];
        const int row = topRow + i;
        combo.SetTag(row);
        combo.SetItemIndex(row >= 0 && row < RowDataCount() ? GetInteger(row) - 1 : -1);
    }
}

void TEnumColumn::FreeControls() {
    controls_.clear();
    host_ = nullptr;
}

void TEnumColumn::ComboChanged(TComboBoxControl& combo) {
    if (combo.Tag() < 0) throw ETableError("Unexpected row for combobox");
    SetInteger(combo.Tag(), combo.ItemIndex() + 1);
}

void TEnumColumn::ComboEntered(TComboBoxControl& combo) {
    if (combo.Tag() < 0) throw ETableError("Unexpected row for combobox");
    FocusCell(combo.Tag());
}

TColumnDeclaration TEnumColumn::Declaration() const {
    TColumnDeclaration declaration = TColumn::Declaration();
    declaration.Choices = Choices;
    return declaration;
}

void TEnumColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    TColumn::ApplyDeclaration(declaration);
    Choices = declaration.Choices;
}

// ---- TIntColumn ----

int32_t TIntColumn::GetInteger(int row) const { return StorageAt<TIntStorage>(*this, row).Value; }

void TIntColumn::SetInteger(int row, int32_t value) {
    StorageAt<TIntStorage>(*this, row);
    const auto [first, last] = SharedRows(row);
    for (int r = first; r < last; ++r) {
        StorageAt<TIntStorage>(*this, r).Value = value;
        CellChanged(r);
    }
}

std::string TIntColumn::GetText(int row) const { return std::to_string(GetInteger(row)); }

void TIntColumn::SetText(int row, const std::string& text) {
    const long double value = Evaluate(text);
    if (table_ && table_->EditorOpen()) {
        // The fraction is tested by magnitude, so -2.5 is refused as 2.5 is.
        if (std::fabs(value - std::trunc(value)) > 1e-10L)
            throw EAssignError("Entry must be an integer.");
        if (value < Min || value > Max) throw EAssignError(BetweenMessage(Min, Max));
    } else if (!std::isfinite(value) || value < -2147483648.0L || value > 2147483647.0L) {
        // No entry checks without an editor, but the value must still fit the cell.
        throw EAssignError(BetweenMessage(INT32_MIN, INT32_MAX));
    }
    SetInteger(row, RoundToInt32(value));
}

int TIntColumn::MinWidth(const std::function<int(const std::string&)>& textWidth,
                         int pixelsPerInch) const {
    return std::max(TColumn::MinWidth(textWidth, pixelsPerInch), pixelsPerInch * 3 / 2 / 2);
}

TColumnDeclaration TIntColumn::Declaration() const {
    TColumnDeclaration declaration = TColumn::Declaration();
    declaration.IntDefault = Default;
    declaration.IntMin = Min;
    declaration.IntMax = Max;
    return declaration;
}

void TIntColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    TColumn::ApplyDeclaration(declaration);
    Default = declaration.IntDefault;
    Min = declaration.IntMin;
    Max = declaration.IntMax;
}

// ---- TFloatColumn ----

std::string TFloatColumn::GetCaption(int line) const {
    std::string caption = TColumn::GetCaption(line);
    if (line == CaptionCount() - 1 && !UnitString.empty())
        caption += " (" + UnitsLabel(UnitString, table_ ? table_->Units() : 1) + ")  ";
    return caption;
}

long double& TFloatColumn::ValueAt(int row) const {
    return StorageAt<TFloatStorage>(*this, row).Value;
}

TFloatColumn* TFloatColumn::Neighbour(int offset) const {
    if (!table_) return nullptr;
    const int index = Index() + offset;
    if (index < 0 || index >= table_->ColumnCount()) return nullptr;
    TColumn& column = table_->Columns(index);
    return column.Kind() == TColumnKind::Float ? static_cast<TFloatColumn*>(&column) : nullptr;
}

void TFloatColumn::InsertRows(TGridTable& table, int at, int count) {
    at = std::clamp(at, 0, RowDataCount());
    TFloatColumn* next = nullptr;
    if (TopDepth && Index() + 1 < table.ColumnCount()) {
        next = Neighbour(+1);
        if (!next)
            throw ETableError("If column if a topdepth then the next column must be a float column");
    }
    TFloatColumn* previous = Neighbour(-1);
    if (previous && !previous->TopDepth) previous = nullptr;
    for (int i = 0; i < count; ++i) {
        const int d = at + i;
        long double value = Default;
        // A new row's top is the row above's bottom, and its bottom the row below's top.
        if (next && d >= 1 && d <= next->RowDataCount() - 1)
            value = next->ValueAt(d - 1);
        else if (previous && d + 1 < previous->RowDataCount())
            value = previous->ValueAt(d + 1);
        rows_.insert(rows_.begin() + d, std::make_unique<TFloatStorage>(*this, value));
    }
}

void TFloatColumn::DeleteRow(int row) {
    if (TopDepth && row > 0 && row < RowDataCount() - 1) {
        // Close the gap: the next row's top becomes the bottom of the row above.
        if (TFloatColumn* next = Neighbour(+1); next && row - 1 < next->RowDataCount())
            ValueAt(row + 1) = next->ValueAt(row - 1);
    }
    TColumn::DeleteRow(row);
}

long double TFloatColumn::GetFloat(int row) const { return ValueAt(row); }

void TFloatColumn::SetFloat(int row, long double value) {
    ValueAt(row);
    if (SharedByGroup) {
        const auto [first, last] = SharedRows(row);
        for (int r = first; r < last; ++r) {
            ValueAt(r) = value;
            CellChanged(r);
        }
        return;
    }
    ValueAt(row) = value;
    // Keep depths continuous between a top-depth column and the bottom column after it.
    TFloatColumn* next = TopDepth ? Neighbour(+1) : nullptr;
    TFloatColumn* previous = Neighbour(-1);
    if (next && row >= 1 && row - 1 < next->RowDataCount()) {
        next->ValueAt(row - 1) = value;
        next->CellChanged(row - 1);
    } else if (previous && previous->TopDepth && row + 1 < previous->RowDataCount()) {
        previous->ValueAt(row + 1) = value;
        previous->CellChanged(row + 1);
    }
    CellChanged(row);
}

std::string TFloatColumn::GetText(int row) const { return DataNumberText(ValueAt(row)); }

void TFloatColumn::SetText(int row, const std::string& text) {
    ValueAt(row);
    const long double value = Evaluate(text);
    // Cells are written to data files as doubles: a value beyond their range would be lost.
    if (!std::isfinite(static_cast<double>(value))) {
        const long double largest = std::numeric_limits<double>::max();
        throw EAssignError("Entry must be between " + DataNumberText(-largest) + " and " +
                           DataNumberText(largest) + ".");
    }
    SetFloat(row, value);
}

void TFloatColumn::SetUnits(int system) {
    if (RowDataCount() == 0) return;  // nothing to convert
    const long double factor = UnitsFactor(table_ ? table_->Units() : 1, system);
    for (int row = 0; row < RowDataCount(); ++row) {
        ValueAt(row) *= factor;
        CellChanged(row);
    }
}

long double TFloatColumn::UnitsFactor(int from, int to) const {
    // A table switches units on every file read: the unit text is parsed once per column.
    if (!(factorUnit_ && *factorUnit_ == UnitString)) {
        englishPerSI_ = torvex::UnitsFactor(kUnitsSI, kUnitsEnglish, UnitString);
        factorUnit_ = UnitString;
    }
    if (from == kUnitsSI && to == kUnitsEnglish) return englishPerSI_;
    if (from == kUnitsEnglish && to == kUnitsSI) return 1.0L / englishPerSI_;
    return 1.0L;
}

int TFloatColumn::MinWidth(const std::function<int(const std::string&)>& textWidth,
                           int pixelsPerInch) const {
    return std::max(TColumn::MinWidth(textWidth, pixelsPerInch), pixelsPerInch * 3 / 2 / 2);
}

TColumnDeclaration TFloatColumn::Declaration() const {
    TColumnDeclaration declaration = TColumn::Declaration();
    declaration.TopDepth = TopDepth;
    declaration.UnitString = UnitString;
    declaration.FloatDefault = Default;
    return declaration;
}

void TFloatColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    TColumn::ApplyDeclaration(declaration);
    TopDepth = declaration.TopDepth;
    UnitString = declaration.UnitString;
    Default = declaration.FloatDefault;
}

// ---- TTableColumn ----

TTableColumn::~TTableColumn() {
    buttons_.clear();
    objects_.clear();
}

void TTableColumn::InsertRows(TGridTable& table, int at, int count) {
    at = std::clamp(at, 0, RowDataCount());
    for (int i = 0; i < count; ++i) {
        rows_.insert(rows_.begin() + at + i, NewData());
        objects_.insert(objects_.begin() + at + i, nullptr);
        CreateRowObject(at + i);
    }
    (void)table;
    Renumber(at + count);
}

void TTableColumn::DeleteRow(int row) {
    TColumn::DeleteRow(row);
    objects_.erase(objects_.begin() + row);
    Renumber(row);
}

void TTableColumn::Renumber(int from) {
    for (int row = std::max(from, 0); row < static_cast<int>(objects_.size()); ++row) {
        TObject* object = objects_[static_cast<size_t>(row)].get();
        if (auto* table = dynamic_cast<TGridTable*>(object))
            table->SetNumber(row + 1);
        else if (object && table_ && table_->OnSetRow)
            table_->OnSetRow(*table_, Index(), object, row);
    }
}

void TTableColumn::CreateRowObject(int row) {
    if (row < 0 || row >= static_cast<int>(objects_.size())) IndexError(row);
    int choice = 1;
    if (table_ && table_->ColumnCount() > 0 && &table_->Columns(0) != this &&
        table_->Columns(0).Kind() == TColumnKind::Choice && row < table_->Columns(0).RowDataCount())
        choice = table_->Columns(0).GetInteger(row);
    if (choice < 1 || choice > templates_.Count()) IndexError(choice - 1);
    TGridTable* source = table_ ? templates_.Resolve(choice - 1, table_->Registry()) : nullptr;
    if (source) {
        auto copy = std::make_unique<TGridTable>(*table_);
        copy->Caption = source->Caption;
        copy->Comments = source->Comments;
        copy->TopLeft = source->TopLeft;
        copy->SetMinRows(source->MinRows());
        copy->MaxRows = source->MaxRows;
        for (int c = 0; c < source->ColumnCount(); ++c)
            copy->AddColumn(source->Columns(c).Clone(*copy));
        copy->SetNumber(row + 1);
        copy->SetRowCount(copy->MinRows());
        copy->StructureChanged();
        objects_[static_cast<size_t>(row)] = std::move(copy);
    } else if (table_ && table_->OnInitRow) {
        std::unique_ptr<TObject> object;
        table_->OnInitRow(*table_, Index(), row, choice, object);
        if (table_->OnSetRow) table_->OnSetRow(*table_, Index(), object.get(), row);
        objects_[static_cast<size_t>(row)] = std::move(object);
    } else {
        objects_[static_cast<size_t>(row)].reset();
    }
    RenewButtonCaption(row);
}

TGridTable& TTableColumn::GetTable(int row) const {
    auto* table = dynamic_cast<TGridTable*>(GetObject(row));
    if (!table) throw EInvalidCast("Data of wrong type");
    return *table;
}

TObject* TTableColumn::GetObject(int row) const {
    if (row < 0 || row >= static_cast<int>(objects_.size())) IndexError(row);
    return objects_[static_cast<size_t>(row)].get();
}

std::string TTableColumn::ButtonText(int row) const {
    TObject* object = GetObject(row);
    if (auto* table = dynamic_cast<TGridTable*>(object))
        return std::to_string(row + 1) + ": " + table->Caption;
    std::string caption;
    if (table_ && table_->OnGetButtonCaption)
        table_->OnGetButtonCaption(*table_, Index(), row, object, caption);
    return caption;
}

void TTableColumn::ButtonClick(int row) {
    TObject* object = GetObject(row);
    if (auto* table = dynamic_cast<TGridTable*>(object)) {
        if (table_ && table_->Editor() && table_->Editor()->IsModal())
            table->ShowEditorModal();
        else
            table->ShowEditor();
    } else if (table_ && table_->OnButtonClick) {
        table_->OnButtonClick(*table_, Index(), row, object);
    }
}

void TTableColumn::RenewButtonCaption(int row) {
    for (const auto& button : buttons_)
        if (button->Tag() == row) button->SetCaption(ButtonText(row));
}

bool TTableColumn::IsChanged() const {
    for (size_t row = 0; row < objects_.size(); ++row) {
        TObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<TGridTable*>(object)) {
            if (table->IsChanged()) return true;
        } else if (object && table_ && table_->OnGetChanged) {
            bool changed = false;
            table_->OnGetChanged(*table_, Index(), static_cast<int>(row), object, changed);
            if (changed) return true;
        }
    }
    return false;
}

void TTableColumn::ResetChanged() {
    for (size_t row = 0; row < objects_.size(); ++row) {
        TObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<TGridTable*>(object))
            table->SetChanged(false);
        else if (object && table_ && table_->OnResetChanged)
            table_->OnResetChanged(*table_, Index(), static_cast<int>(row), object);
    }
}

void TTableColumn::CloseEditors() {
    for (size_t row = 0; row < objects_.size(); ++row) {
        TObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<TGridTable*>(object))
            table->CloseEditor();
        else if (object && table_ && table_->OnHide)
            table_->OnHide(*table_, Index(), static_cast<int>(row), object);
    }
}

void TTableColumn::SetUnits(int system) {
    for (size_t row = 0; row < objects_.size(); ++row) {
        TObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<TGridTable*>(object))
            table->SetUnits(system);
        else if (table_ && table_->OnSetUnits)
            table_->OnSetUnits(*table_, Index(), static_cast<int>(row), object, system);
    }
}

int TTableColumn::MinWidth(const std::function<int(const std::string&)>& textWidth,
                           int pixelsPerInch) const {
    return std::max(TColumn::MinWidth(textWidth, pixelsPerInch), 2 * pixelsPerInch);
}

TCellControl* TTableColumn::GetControl(int index) const {
    if (index < 0 || index >= ControlCount()) IndexError(index);
    return buttons_[static_cast<size_t>(index)].get();
}

void TTableColumn::AllocateControls(TControlHost* host, int topRow, int count) {
    if (!buttons_.empty() && host != host_)
        throw ETableError("Attempt to change parent with controls already allocated");
    if (!host) throw ETableError("null parent");
    const int rows = table_ ? table_->RowCount() : RowDataCount();
    if (topRow < 0 || topRow >= rows) throw ETableError("ATopRow " + std::to_string(topRow));
    if (count <= 0 || topRow + count > rows) throw ETableError("ACount " + std::to_string(count));
    host_ = host;
    while (ControlCount() > count) buttons_.pop_back();
    while (ControlCount() < count) {
        auto button = host->CreateButton();
        button->SetVisible(false);  // shown when the editor positions it
        button->OnClick = [this](TButtonControl& b) { ButtonClick(b.Tag()); };
        buttons_.push_back(std::move(button));
    }
    for (int i = 0; i < count; ++i) {
        TButtonControl& button = *buttons_[static_cast<size_t>(i)];
        button.SetTag(topRow + i);
        button.SetCaption(ButtonText(topRow + i));
    }
}

void TTableColumn::FreeControls() {
    buttons_.clear();
    host_ = nullptr;
}

std::unique_ptr<TColumn> TTableColumn::Clone(TGridTable& table) const {
    auto column = std::make_unique<TTableColumn>(&table);
    column->TColumn::ApplyDeclaration(TColumn::Declaration());
    column->templates_ = templates_;
    return column;
}

TColumnDeclaration TTableColumn::Declaration() const {
    TColumnDeclaration declaration = TColumn::Declaration();
    // Identifiers are kept as they are (their table may be declared later); positions of
    // older declarations are written as the identifier of the table they refer to now.
    for (int i = 0; i < templates_.Count(); ++i) {
        const TGridTableList::Entry& entry = templates_.At(i);
        int identifier = entry.Value;
        if (entry.ByPosition) {
            const TGridTable* source = table_ ? templates_.Resolve(i, table_->Registry()) : nullptr;
            identifier = source ? source->Identifier() : -1;
        }
        declaration.Templates.push_back(identifier);
    }
    return declaration;
}

void TTableColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    TColumn::ApplyDeclaration(declaration);
    templates_ = TGridTableList();
    for (int identifier : declaration.Templates) templates_.AddIdentifier(identifier);
}

// ---- TStringColumn ----

std::string TStringColumn::GetText(int row) const {
    return StorageAt<TStringStorage>(*this, row).Value;
}

void TStringColumn::SetText(int row, const std::string& text) {
    StorageAt<TStringStorage>(*this, row);
    const auto [first, last] = SharedRows(row);
    for (int r = first; r < last; ++r) {
        StorageAt<TStringStorage>(*this, r).Value = text;
        CellChanged(r);
    }
}

int TStringColumn::MinWidth(const std::function<int(const std::string&)>& textWidth,
                            int pixelsPerInch) const {
    return std::max(TColumn::MinWidth(textWidth, pixelsPerInch),
                    static_cast<int>(std::lround(Width * pixelsPerInch)));
}

TColumnDeclaration TStringColumn::Declaration() const {
    TColumnDeclaration declaration = TColumn::Declaration();
    declaration.TextDefault = Default;
    declaration.Width = Width;
    return declaration;
}

void TStringColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    TColumn::ApplyDeclaration(declaration);
    Default = declaration.TextDefault;
    Width = declaration.Width;
}

}  // namespace torvex
