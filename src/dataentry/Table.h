#pragma once
// The table model: every list-like input of a project (soil layers, loads, p-y curves,
// moment-EI curves, ...) lives in a TGridTable of typed columns. The data-file reader and
// writer read and write cells through it, the editor window shows and edits it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataentry/CellControls.h"
#include "dataentry/TableDeclaration.h"
#include "dataentry/TableErrors.h"

namespace torvex {

class TColumn;
class TGridTable;

// Base of every object a table row can own: a sub-table or an object made by OnInitRow.
class TObject {
public:
    virtual ~TObject() = default;
};

// The open editor window of a table, as the model sees it (the Qt window implements it).
class TTableEditor {
public:
    virtual ~TTableEditor() = default;
    virtual void ShowEditor(bool modal) = 0;  // show modelessly or modally
    virtual bool IsModal() const = 0;
    virtual void ResetCaption() = 0;         // the table's Number changed
    virtual void HelpPictureChanged() = 0;   // re-show the picture and lay out again
    virtual void FocusCell(int column, int row) = 0;  // make this cell the current one
    // Detaches from the table exactly as a close by the user does, then frees itself.
    virtual void CloseAndFree() = 0;
    // The table is being destroyed: forget it (and go away with it).
    virtual void TableDestroyed() = 0;
};

// Every table in creation order and the identifier counter. Each workspace owns one, so two
// workspaces (the program's and the engine's, or two tests) never see each other's tables.
class TTableRegistry {
public:
    TTableRegistry() = default;
    TTableRegistry(const TTableRegistry&) = delete;
    TTableRegistry& operator=(const TTableRegistry&) = delete;

    // The registry of tables created without one.
    static TTableRegistry& Default();

    // The first table in creation order with this identifier, or nullptr.
    TGridTable* FindTable(int identifier) const;
    // The table at this position, or nullptr when out of range.
    TGridTable* TableAt(int position) const;
    int Count() const { return static_cast<int>(tables_.size()); }
    std::vector<TGridTable*> Tables() const { return tables_; }

    // Makes the editor window of a table; without one ShowEditor does nothing.
    std::function<TTableEditor*(TGridTable&)> EditorFactory;

private:
    friend class TGridTable;
    int Register(TGridTable* table);  // gives the next identifier
    void Unregister(TGridTable* table);

    std::vector<TGridTable*> tables_;
    int counter_ = 0;
};

// Handle of one cell: its column and its position in the column's row data.
class TData {
public:
    explicit TData(TColumn& column) : column_(&column) {}
    virtual ~TData() = default;

    TColumn& Column() const { return *column_; }
    int Row() const;

    TGridTable& AsTable() const;
    long double AsFloat() const;
    int32_t AsInteger() const;
    std::string AsText() const;
    void SetFloat(long double value) const;
    void SetInteger(int32_t value) const;
    void SetText(const std::string& text) const;

private:
    TColumn* column_;
    mutable int rowHint_ = 0;  // where this cell was last found in its column
};

// A typed column of a table. The five kinds are in ColumnTypes.h.
class TColumn {
public:
    explicit TColumn(TGridTable* table);
    virtual ~TColumn();
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    virtual TColumnKind Kind() const = 0;

    virtual void InsertRows(TGridTable& table, int at, int count);
    virtual void DeleteRow(int row);
    int RowDataCount() const { return static_cast<int>(rows_.size()); }
    TData& Data(int row) const;
    int IndexOfData(const TData* data) const;

    virtual int CaptionCount() const { return static_cast<int>(captions_.size()); }
    virtual std::string GetCaption(int line) const;
    const std::vector<std::string>& Captions() const { return captions_; }
    void SetCaptions(std::vector<std::string> captions) { captions_ = std::move(captions); }

    virtual TGridTable& GetTable(int row) const;
    virtual long double GetFloat(int row) const;
    virtual void SetFloat(int row, long double value);
    virtual int32_t GetInteger(int row) const;
    virtual void SetInteger(int row, int32_t value);
    virtual TObject* GetObject(int row) const;
    virtual std::string GetText(int row) const;
    virtual void SetText(int row, const std::string& text);

    virtual bool IsChanged() const { return false; }
    virtual void ResetChanged() {}
    virtual void CloseEditors() {}
    virtual void SetUnits(int system);

    // Widest caption line plus two blanks, in pixels; kinds raise it to their own minimum.
    virtual int MinWidth(const std::function<int(const std::string&)>& textWidth,
                         int pixelsPerInch) const;
    int RowGroup() const;

    // Embedded controls (choice and sub-table columns).
    virtual bool UsesControls() const { return false; }
    virtual int ControlCount() const { return 0; }
    virtual TCellControl* GetControl(int) const { return nullptr; }
    virtual void AllocateControls(TControlHost* host, int topRow, int count);
    virtual void FreeControls() {}

    // Sub-table columns: keep one template per choice of the first column, and give a row a
    // fresh object after its choice in the first column changed.
    virtual void FitTemplates(size_t) {}
    virtual void FirstColumnChanged(int) {}

    // A column of the same kind and declaration, bound to another table.
    virtual std::unique_ptr<TColumn> Clone(TGridTable& table) const;

    bool Visible = true;
    bool SharedByGroup = false;

    // The declaration of this column; the kinds add their own fields.
    virtual TColumnDeclaration Declaration() const;
    virtual void ApplyDeclaration(const TColumnDeclaration& declaration);

    TGridTable* Table() const { return table_; }
    int Index() const;  // position in the table, -1 when unbound

protected:
    friend class TGridTable;
    virtual std::unique_ptr<TData> NewData() { return std::make_unique<TData>(*this); }
    void CellChanged(int row);
    void FocusCell(int row);
    // The rows of the group that holds row (just row without SharedByGroup).
    std::pair<int, int> SharedRows(int row) const;

    TGridTable* table_;
    std::vector<std::unique_ptr<TData>> rows_;
    std::vector<std::string> captions_;
};

// Makes a column of a kind from its declaration (the column-type registry of the program).
std::unique_ptr<TColumn> CreateColumn(const TColumnDeclaration& declaration, TGridTable& table);

class TGridTable : public TObject {
public:
    // A declared table: registered in `registry`, Units 1.
    explicit TGridTable(TTableRegistry& registry = TTableRegistry::Default());
    // A table owned by another table (a sub-table copy): same registry, the owner's Units.
    explicit TGridTable(TGridTable& owner);
    ~TGridTable() override;
    TGridTable(const TGridTable&) = delete;
    TGridTable& operator=(const TGridTable&) = delete;

    // Builds the table from a declaration (properties and columns), as a declared table is
    // loaded at start-up.
    void LoadDeclaration(const TTableDeclaration& declaration);
    TTableDeclaration Declaration() const;

    // Published properties.
    std::string Name;  // component name
    std::string Comments;
    std::string Caption;
    int MaxRows = 0;
    bool HardwiredButton = false;
    std::string TopLeft;
    void* FormParent = nullptr;  // when set, the editor is placed inside this control

    int Identifier() const { return identifier_; }
    void SetIdentifier(int identifier);
    int MinRows() const { return minRows_; }
    void SetMinRows(int rows);
    int RowGroup() const { return rowGroup_; }
    void SetRowGroup(int group) { rowGroup_ = group < 1 ? 1 : group; }
    const std::string& HelpPicture() const { return helpPicture_; }
    void SetHelpPicture(const std::string& picture);

    // Events for row objects that are not tables (no table of the program assigns them).
    std::function<void(TGridTable&)> OnResize;  // after the editor laid itself out
    std::function<void(TGridTable&, int col, int row, TObject* data)> OnButtonClick;
    std::function<void(TGridTable&, int col, int row, TObject* data, std::string& caption)>
        OnGetButtonCaption;
    std::function<void(TGridTable&, int col, int row, TObject* data, bool& changed)>
        OnGetChanged;
    std::function<void(TGridTable&, int col, int row, TObject* data)> OnHide;
    std::function<void(TGridTable&, int col, int row, int enumType,
                       std::unique_ptr<TObject>& data)>
        OnInitRow;
    std::function<void(TGridTable&, int col, int row, TObject* data)> OnResetChanged;
    std::function<void(TGridTable&, int col, TObject* data, int row)> OnSetRow;
    std::function<void(TGridTable&, int col, int row, TObject* data, int system)> OnSetUnits;

    // State.
    int Number() const { return number_; }
    void SetNumber(int number);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int rows);
    int Units() const { return units_; }
    void SetUnits(int system);
    bool IsChanged() const;
    void SetChanged(bool changed);
    TGridTable* Owner() const { return owner_; }
    TTableRegistry& Registry() const { return *registry_; }

    // Columns.
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TColumn& Columns(int index) const;
    void AddColumn(std::unique_ptr<TColumn> column);
    void ClearColumns();
    TData& Cell(int col, int row) const;

    // Row groups.
    void AddRowGroup();
    void InsertRowGroup(int row);
    void DeleteRowGroup(int row);

    // Visible columns (used by the editor).
    int VisibleColumnCount() const;
    TColumn& VisibleColumn(int index) const;
    int VisibleIndexOf(const TColumn& column) const;
    int HeaderRowCount() const;

    // Editor.
    void ShowEditor();
    void ShowEditorModal();
    void CloseEditor();
    TTableEditor* Editor() const { return editor_; }
    bool EditorOpen() const { return editor_ != nullptr; }
    // Called by the editor window when it binds itself and when it goes (on close).
    void AttachEditor(TTableEditor* editor) { editor_ = editor; }
    void DetachEditor();
    TControlHost* ControlHost() const { return controlHost_; }
    void SetControlHost(TControlHost* host) { controlHost_ = host; }
    // The two notifications, bound to the open editor.
    std::function<void()> OnStructureChanged;
    std::function<void(int col, int row)> OnCellChanged;

    // Registry lookups.
    TGridTable* FindTable(int identifier) const { return registry_->FindTable(identifier); }
    TGridTable* TableAt(int position) const { return registry_->TableAt(position); }

    // True while a declaration is being loaded (MinRows 0 is then taken as 1).
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }

    void StructureChanged();
    void ColumnCellChanged(TColumn& column, int row);
    void FocusCell(TColumn& column, int row);

private:
    void ShowEditorAs(bool modal);

    TTableRegistry* registry_;
    TGridTable* owner_ = nullptr;
    int identifier_ = 0;
    int minRows_ = 1;
    int rowGroup_ = 1;
    std::string helpPicture_;
    int number_ = 0;
    bool changed_ = false;
    int rowCount_ = 0;
    int units_ = 1;
    bool loading_ = false;
    std::vector<std::unique_ptr<TColumn>> columns_;
    TTableEditor* editor_ = nullptr;
    TControlHost* controlHost_ = nullptr;
};

}  // namespace torvex
