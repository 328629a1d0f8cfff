#pragma once
// The five column kinds of the table model: choice, integer, float, sub-table and text.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataentry/Table.h"

namespace torvex {

// ---- Column-type registry: type code <-> column class ----

class TColumnTypeRegistry {
public:
    using Factory = std::function<std::unique_ptr<TColumn>(TGridTable&)>;

    // The process-wide registry, filled on first use with the five kinds in code order.
    static TColumnTypeRegistry& Instance();

    void Register(const std::string& className, int code, Factory factory);
    void Unregister(const std::string& className);
    int CodeOf(const std::string& className) const;  // -1 when not registered
    std::string ClassOf(int code) const;             // "" when not registered
    // A new, empty column of the class registered under code; ETableError
    // "Error Column Class not defined" when none is.
    std::unique_ptr<TColumn> Create(int code, TGridTable& table) const;
    int Count() const { return static_cast<int>(entries_.size()); }

    // Removes the five kinds again; raises "Column Type list not empty" when others remain.
    void Shutdown();

private:
    struct Entry {
        std::string className;
        int code;
        Factory factory;
    };
    std::vector<Entry> entries_;
};

const char* ColumnClassName(TColumnKind kind);

// ---- Per-row value holders ----

class TIntStorage : public TData {
public:
    TIntStorage(TColumn& column, int32_t value) : TData(column), Value(value) {}
    int32_t Value;
};

class TFloatStorage : public TData {
public:
    TFloatStorage(TColumn& column, long double value) : TData(column), Value(value) {}
    long double Value;
};

class TStringStorage : public TData {
public:
    TStringStorage(TColumn& column, std::string value) : TData(column), Value(std::move(value)) {}
    std::string Value;
};

// ---- Template references of a sub-table column ----

// A list of table references, each a position in the table registry or an identifier,
// resolved on every read, so an entry can be empty.
class TGridTableList {
public:
    struct Entry {
        bool ByPosition = false;
        int Value = -1;  // identifier (-1: none) or registry position
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    void Resize(size_t count) { entries_.resize(count); }
    void AddIdentifier(int identifier) { entries_.push_back({false, identifier}); }
    void AddPosition(int position) { entries_.push_back({true, position}); }
    const Entry& At(int index) const;
    // The table an entry refers to now, or nullptr.
    TGridTable* Resolve(int index, const TTableRegistry& registry) const;

private:
    std::vector<Entry> entries_;
};

// ---- The five kinds ----

class TEnumColumn : public TColumn {
public:
    explicit TEnumColumn(TGridTable* table) : TColumn(table) {}
    TColumnKind Kind() const override { return TColumnKind::Choice; }

    std::vector<std::string> Choices;

    int32_t GetInteger(int row) const override;
    void SetInteger(int row, int32_t value) override;
    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;
    int MinWidth(const std::function<int(const std::string&)>& textWidth,
                 int pixelsPerInch) const override;

    bool UsesControls() const override { return true; }
    int ControlCount() const override { return static_cast<int>(controls_.size()); }
    TCellControl* GetControl(int index) const override;
    void AllocateControls(TControlHost* host, int topRow, int count) override;
    void FreeControls() override;

    TColumnDeclaration Declaration() const override;

protected:
    std::unique_ptr<TData> NewData() override { return std::make_unique<TIntStorage>(*this, 1); }

public:
    void ApplyDeclaration(const TColumnDeclaration& declaration) override;

private:
    void ComboChanged(TComboBoxControl& combo);
    void ComboEntered(TComboBoxControl& combo);

    std::vector<std::unique_ptr<TComboBoxControl>> controls_;
    TControlHost* host_ = nullptr;
};

class TIntColumn : public TColumn {
public:
    explicit TIntColumn(TGridTable* table) : TColumn(table) {}
    TColumnKind Kind() const override { return TColumnKind::Integer; }

    int32_t Default = 0;
    int32_t Min = 0;
    int32_t Max = 0;

    int32_t GetInteger(int row) const override;
    void SetInteger(int row, int32_t value) override;
    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;
    int MinWidth(const std::function<int(const std::string&)>& textWidth,
                 int pixelsPerInch) const override;
    TColumnDeclaration Declaration() const override;

protected:
    std::unique_ptr<TData> NewData() override {
        return std::make_unique<TIntStorage>(*this, Default);
    }

public:
    void ApplyDeclaration(const TColumnDeclaration& declaration) override;
};

class TFloatColumn : public TColumn {
public:
    explicit TFloatColumn(TGridTable* table) : TColumn(table) {}
    TColumnKind Kind() const override { return TColumnKind::Float; }

    bool TopDepth = false;
    std::string UnitString;
    long double Default = 0;

    std::string GetCaption(int line) const override;
    void InsertRows(TGridTable& table, int at, int count) override;
    void DeleteRow(int row) override;
    long double GetFloat(int row) const override;
    void SetFloat(int row, long double value) override;
    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;
    void SetUnits(int system) override;
    int MinWidth(const std::function<int(const std::string&)>& textWidth,
                 int pixelsPerInch) const override;
    TColumnDeclaration Declaration() const override;

protected:
    std::unique_ptr<TData> NewData() override {
        return std::make_unique<TFloatStorage>(*this, Default);
    }

public:
    void ApplyDeclaration(const TColumnDeclaration& declaration) override;

private:
    long double& ValueAt(int row) const;
    TFloatColumn* Neighbour(int offset) const;  // the float column beside this one, if any
    // The factor of torvex::UnitsFactor for UnitString, kept for the unit text it was made of.
    long double UnitsFactor(int from, int to) const;
    mutable std::optional<std::string> factorUnit_;
    mutable long double englishPerSI_ = 1;
};

class TTableColumn : public TColumn {
public:
    explicit TTableColumn(TGridTable* table) : TColumn(table) {}
    ~TTableColumn() override;
    TColumnKind Kind() const override { return TColumnKind::SubTable; }

    const TGridTableList& Templates() const { return templates_; }
    void SetTemplates(TGridTableList templates) { templates_ = std::move(templates); }

    void InsertRows(TGridTable& table, int at, int count) override;
    void DeleteRow(int row) override;
    TGridTable& GetTable(int row) const override;
    TObject* GetObject(int row) const override;

    // Makes (or re-makes) the object of a row from the template its first column chooses.
    void CreateRowObject(int row);
    std::string ButtonText(int row) const;
    void ButtonClick(int row);

    bool IsChanged() const override;
    void ResetChanged() override;
    void CloseEditors() override;
    void SetUnits(int system) override;
    int MinWidth(const std::function<int(const std::string&)>& textWidth,
                 int pixelsPerInch) const override;

    bool UsesControls() const override { return true; }
    int ControlCount() const override { return static_cast<int>(buttons_.size()); }
    TCellControl* GetControl(int index) const override;
    void AllocateControls(TControlHost* host, int topRow, int count) override;
    void FreeControls() override;

    void FitTemplates(size_t count) override { templates_.Resize(count); }
    void FirstColumnChanged(int row) override { CreateRowObject(row); }
    std::unique_ptr<TColumn> Clone(TGridTable& table) const override;
    TColumnDeclaration Declaration() const override;

public:
    void ApplyDeclaration(const TColumnDeclaration& declaration) override;

private:
    void Renumber(int from);
    void RenewButtonCaption(int row);

    TGridTableList templates_;
    std::vector<std::unique_ptr<TObject>> objects_;
    std::vector<std::unique_ptr<TButtonControl>> buttons_;
    TControlHost* host_ = nullptr;
};

class TStringColumn : public TColumn {
public:
    explicit TStringColumn(TGridTable* table) : TColumn(table) {}
    TColumnKind Kind() const override { return TColumnKind::Text; }

    std::string Default;
    long double Width = 0;  // inches

    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;
    int MinWidth(const std::function<int(const std::string&)>& textWidth,
                 int pixelsPerInch) const override;
    TColumnDeclaration Declaration() const override;

protected:
    std::unique_ptr<TData> NewData() override {
        return std::make_unique<TStringStorage>(*this, Default);
    }

public:
    void ApplyDeclaration(const TColumnDeclaration& declaration) override;
};

}  // namespace torvex
