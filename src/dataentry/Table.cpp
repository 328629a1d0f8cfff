#include "dataentry/Table.h"

#include <algorithm>
#include <string>

namespace torvex {
namespace {

[[noreturn]] void IndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

[[noreturn]] void WrongType() { throw EInvalidCast("Data of wrong type"); }

}  // namespace

// ---- TTableRegistry ----

TTableRegistry& TTableRegistry::Default() {
    static TTableRegistry registry;
    return registry;
}

TGridTable* TTableRegistry::FindTable(int identifier) const {
    for (TGridTable* table : tables_)
        if (table->Identifier() == identifier) return table;
    return nullptr;
}

TGridTable* TTableRegistry::TableAt(int position) const {
    if (position < 0 || position >= Count()) return nullptr;
    return tables_[static_cast<size_t>(position)];
}

int TTableRegistry::Register(TGridTable* table) {
    tables_.push_back(table);
    return counter_++;
}

void TTableRegistry::Unregister(TGridTable* table) {
    tables_.erase(std::remove(tables_.begin(), tables_.end(), table), tables_.end());
}

// ---- TData ----

int TData::Row() const {
    // Rows move only on insert and delete, so the last position is nearly always right.
    if (rowHint_ >= 0 && rowHint_ < column_->RowDataCount() && &column_->Data(rowHint_) == this) return rowHint_;
    rowHint_ = column_->IndexOfData(this);
    return rowHint_;
}
TGridTable& TData::AsTable() const { return column_->GetTable(Row()); }
long double TData::AsFloat() const { return column_->GetFloat(Row()); }
int32_t TData::AsInteger() const { return column_->GetInteger(Row()); }
std::string TData::AsText() const { return column_->GetText(Row()); }
void TData::SetFloat(long double value) const { column_->SetFloat(Row(), value); }
void TData::SetInteger(int32_t value) const { column_->SetInteger(Row(), value); }
void TData::SetText(const std::string& text) const { column_->SetText(Row(), text); }

// ---- TColumn ----

TColumn::TColumn(TGridTable* table) : table_(table) {}

TColumn::~TColumn() = default;

void TColumn::InsertRows(TGridTable&, int at, int count) {
    at = std::clamp(at, 0, RowDataCount());
    for (int i = 0; i < count; ++i) rows_.insert(rows_.begin() + at + i, NewData());
}

void TColumn::DeleteRow(int row) {
    if (row < 0 || row >= RowDataCount()) IndexError(row);
    rows_.erase(rows_.begin() + row);
}

TData& TColumn::Data(int row) const {
    if (row < 0 || row >= RowDataCount()) IndexError(row);
    return *rows_[static_cast<size_t>(row)];
}

int TColumn::IndexOfData(const TData* data) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].get() == data) return static_cast<int>(i);
    return -1;
}

std::string TColumn::GetCaption(int line) const {
    if (line < 0 || line >= static_cast<int>(captions_.size())) IndexError(line);
    return captions_[static_cast<size_t>(line)];
}

TGridTable& TColumn::GetTable(int) const { WrongType(); }
long double TColumn::GetFloat(int) const { WrongType(); }
void TColumn::SetFloat(int, long double) { WrongType(); }
int32_t TColumn::GetInteger(int) const { WrongType(); }
void TColumn::SetInteger(int, int32_t) { WrongType(); }
TObject* TColumn::GetObject(int) const { WrongType(); }
std::string TColumn::GetText(int) const { return {}; }
void TColumn::SetText(int, const std::string&) {}
void TColumn::SetUnits(int) {}
void TColumn::AllocateControls(TControlHost*, int, int) {}

int TColumn::MinWidth(const std::function<int(const std::string&)>& textWidth, int) const {
    int width = 0;
    for (int line = 0; line < CaptionCount(); ++line)
        width = std::max(width, textWidth(GetCaption(line) + "  "));
    return width;
}

int TColumn::RowGroup() const { return table_ ? table_->RowGroup() : 1; }

int TColumn::Index() const {
    if (!table_) return -1;
    for (int i = 0; i < table_->ColumnCount(); ++i)
        if (&table_->Columns(i) == this) return i;
    return -1;
}

std::unique_ptr<TColumn> TColumn::Clone(TGridTable& table) const {
    return CreateColumn(Declaration(), table);
}

TColumnDeclaration TColumn::Declaration() const {
    TColumnDeclaration declaration;
    declaration.Kind = Kind();
    declaration.Captions = captions_;
    declaration.Visible = Visible;
    declaration.SharedByGroup = SharedByGroup;
    return declaration;
}

void TColumn::ApplyDeclaration(const TColumnDeclaration& declaration) {
    captions_ = declaration.Captions;
    Visible = declaration.Visible;
    SharedByGroup = declaration.SharedByGroup;
}

void TColumn::CellChanged(int row) {
    if (table_) table_->ColumnCellChanged(*this, row);
}

void TColumn::FocusCell(int row) {
    if (table_) table_->FocusCell(*this, row);
}

std::pair<int, int> TColumn::SharedRows(int row) const {
    if (!SharedByGroup) return {row, row + 1};
    const int group = RowGroup();
    const int first = row / group * group;
    return {first, std::min(first + group, RowDataCount())};
}

// ---- TGridTable ----

TGridTable::TGridTable(TTableRegistry& registry) : registry_(&registry) {
    identifier_ = registry_->Register(this);
}

TGridTable::TGridTable(TGridTable& owner)
    : registry_(owner.registry_), owner_(&owner), units_(owner.units_) {
    identifier_ = registry_->Register(this);
}

TGridTable::~TGridTable() {
    if (editor_) {
        TTableEditor* editor = editor_;
        DetachEditor();
        editor->TableDestroyed();
    }
    columns_.clear();  // frees rows, row objects and sub-tables
    registry_->Unregister(this);
}

void TGridTable::LoadDeclaration(const TTableDeclaration& declaration) {
    loading_ = true;
    try {
        Name = declaration.Name;
        SetIdentifier(declaration.Identifier);
        Caption = declaration.Caption;
        SetMinRows(declaration.MinRows);
        MaxRows = declaration.MaxRows;
        TopLeft = declaration.TopLeft;
        HardwiredButton = declaration.HardwiredButton;
        SetRowGroup(declaration.RowGroup);
        ClearColumns();
        for (size_t i = 0; i < declaration.Columns.size(); ++i) {
            std::unique_ptr<TColumn> column;
            try {
                column = CreateColumn(declaration.Columns[i], *this);
            } catch (const std::exception& error) {
                throw ETableError("Error occured when creating column " + std::to_string(i) +
                                  ": " + error.what());
            }
            AddColumn(std::move(column));
        }
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    StructureChanged();
}

TTableDeclaration TGridTable::Declaration() const {
    TTableDeclaration declaration;
    declaration.Name = Name;
    declaration.Identifier = identifier_;
    declaration.Caption = Caption;
    declaration.MinRows = minRows_;
    declaration.MaxRows = MaxRows;
    declaration.TopLeft = TopLeft;
    declaration.HardwiredButton = HardwiredButton;
    declaration.RowGroup = rowGroup_;
    for (const auto& column : columns_) declaration.Columns.push_back(column->Declaration());
    return declaration;
}

void TGridTable::SetIdentifier(int identifier) {
    if (identifier < 0) return;
    // Identifiers are keys of sub-table templates: whoever holds the new one gets ours.
    for (TGridTable* other : registry_->Tables())
        if (other != this && other->identifier_ == identifier) other->identifier_ = identifier_;
    identifier_ = identifier;
}

void TGridTable::SetMinRows(int rows) {
    if (rows <= 0) {
        if (!loading_) throw ETableError("Value must be greater than 0");
        rows = 1;
    }
    minRows_ = rows;
}

void TGridTable::SetHelpPicture(const std::string& picture) {
    helpPicture_ = picture;
    if (editor_) editor_->HelpPictureChanged();
}

void TGridTable::SetNumber(int number) {
    number_ = number;
    if (editor_) editor_->ResetCaption();
}

void TGridTable::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    for (const auto& column : columns_) {
        while (column->RowDataCount() > rows) column->DeleteRow(column->RowDataCount() - 1);
        while (column->RowDataCount() < rows) {
            const int have = column->RowDataCount();
            column->InsertRows(*this, have, std::min(rowGroup_, rows - have));
        }
    }
    rowCount_ = rows;
}

void TGridTable::SetUnits(int system) {
    if (system == units_) return;
    // The columns convert from the old system, which Units still holds.
    for (const auto& column : columns_) column->SetUnits(system);
    units_ = system;
    StructureChanged();
}

bool TGridTable::IsChanged() const {
    if (changed_) return true;
    return std::any_of(columns_.begin(), columns_.end(),
                       [](const auto& column) { return column->IsChanged(); });
}

void TGridTable::SetChanged(bool changed) {
    changed_ = changed;
    if (!changed)
        for (const auto& column : columns_) column->ResetChanged();
}

TColumn& TGridTable::Columns(int index) const {
    if (index < 0 || index >= ColumnCount()) IndexError(index);
    return *columns_[static_cast<size_t>(index)];
}

void TGridTable::AddColumn(std::unique_ptr<TColumn> column) {
    column->table_ = this;
    while (column->RowDataCount() < rowCount_) {
        const int have = column->RowDataCount();
        column->InsertRows(*this, have, std::min(rowGroup_, rowCount_ - have));
    }
    columns_.push_back(std::move(column));
    // Sub-table columns keep one template per choice of the first column.
    size_t templates = 1;
    if (columns_.front()->Kind() == TColumnKind::Choice)
        templates = columns_.front()->Declaration().Choices.size();
    for (const auto& each : columns_) each->FitTemplates(templates);
}

void TGridTable::ClearColumns() {
    columns_.clear();
}

TData& TGridTable::Cell(int col, int row) const { return Columns(col).Data(row); }

void TGridTable::AddRowGroup() {
    rowCount_ += rowGroup_;
    for (const auto& column : columns_)
        column->InsertRows(*this, column->RowDataCount(), rowGroup_);
    StructureChanged();
}

void TGridTable::InsertRowGroup(int row) {
    const int first = std::max(row, 0) / rowGroup_ * rowGroup_;
    rowCount_ += rowGroup_;
    for (const auto& column : columns_) column->InsertRows(*this, first, rowGroup_);
    StructureChanged();
}

void TGridTable::DeleteRowGroup(int row) {
    if (row < 0 || row >= rowCount_) IndexError(row);
    const int first = row / rowGroup_ * rowGroup_;
    const int count = std::min(rowGroup_, rowCount_ - first);
    rowCount_ -= count;
    for (const auto& column : columns_)
        for (int i = 0; i < count && first < column->RowDataCount(); ++i)
            column->DeleteRow(first);
    StructureChanged();
}

int TGridTable::VisibleColumnCount() const {
    return static_cast<int>(std::count_if(columns_.begin(), columns_.end(),
                                          [](const auto& column) { return column->Visible; }));
}

TColumn& TGridTable::VisibleColumn(int index) const {
    int seen = 0;
    for (const auto& column : columns_)
        if (column->Visible && seen++ == index) return *column;
    throw EListError("Index out of bounds");
}

int TGridTable::VisibleIndexOf(const TColumn& column) const {
    int seen = 0;
    for (const auto& each : columns_) {
        if (!each->Visible) continue;
        if (each.get() == &column) return seen;
        ++seen;
    }
    return -1;
}

int TGridTable::HeaderRowCount() const {
    int rows = 0;
    for (const auto& column : columns_)
        if (column->Visible) rows = std::max(rows, column->CaptionCount());
    return rows;
}

void TGridTable::ShowEditorAs(bool modal) {
    if (VisibleColumnCount() == 0) return;
    if (!editor_) {
        if (!registry_->EditorFactory) return;
        editor_ = registry_->EditorFactory(*this);
        if (!editor_) return;
    }
    editor_->ShowEditor(modal);
}

void TGridTable::ShowEditor() { ShowEditorAs(false); }
void TGridTable::ShowEditorModal() { ShowEditorAs(true); }

void TGridTable::CloseEditor() {
    if (editor_) {
        TTableEditor* editor = editor_;
        editor->CloseAndFree();
        DetachEditor();  // in case the editor did not detach itself
    }
    for (const auto& column : columns_) column->CloseEditors();
}

void TGridTable::DetachEditor() {
    for (const auto& column : columns_)
        if (column->UsesControls()) column->FreeControls();
    controlHost_ = nullptr;
    OnStructureChanged = nullptr;
    OnCellChanged = nullptr;
    editor_ = nullptr;
}

void TGridTable::StructureChanged() {
    if (OnStructureChanged) OnStructureChanged();
}

void TGridTable::ColumnCellChanged(TColumn& column, int row) {
    const int index = column.Index();
    // A new choice in the first column gives the row a fresh object from its template.
    if (index == 0 && column.Kind() == TColumnKind::Choice) {
        for (const auto& each : columns_) {
            if (each->Kind() == TColumnKind::SubTable) {
                each->FirstColumnChanged(row);
                break;
            }
        }
    }
    if (OnCellChanged) OnCellChanged(index, row);
}

void TGridTable::FocusCell(TColumn& column, int row) {
    if (editor_) editor_->FocusCell(column.Index(), row);
}

}  // namespace torvex
