#pragma once
// Small helpers shared by the table-model tests: a fake editor window and a fake control host
// that record what the model asks of them.

#include <memory>
#include <string>
#include <vector>

#include "dataentry/ColumnTypes.h"
#include "dataentry/Table.h"

namespace torvex::testing {

class FakeEditor : public TTableEditor {
public:
    explicit FakeEditor(TGridTable& table) : table_(&table) {}
    void ShowEditor(bool modal) override {
        modal_ = modal;
        ++shows;
    }
    bool IsModal() const override { return modal_; }
    void ResetCaption() override { ++captionResets; }
    void HelpPictureChanged() override { ++pictureChanges; }
    void FocusCell(int column, int row) override { focused = {column, row}; }
    void CloseAndFree() override {
        if (table_) table_->DetachEditor();
        delete this;
    }
    void TableDestroyed() override { delete this; }

    int shows = 0;
    int captionResets = 0;
    int pictureChanges = 0;
    std::pair<int, int> focused{-1, -1};

private:
    TGridTable* table_;
    bool modal_ = false;
};

// Installs FakeEditor as the editor window of every table of a registry.
inline void UseFakeEditors(TTableRegistry& registry) {
    registry.EditorFactory = [](TGridTable& table) -> TTableEditor* {
        return new FakeEditor(table);
    };
}

inline FakeEditor& EditorOf(const TGridTable& table) {
    return *static_cast<FakeEditor*>(table.Editor());
}

class FakeHost : public TControlHost {
public:
    std::unique_ptr<TComboBoxControl> CreateComboBox() override {
        ++combosMade;
        return std::make_unique<TComboBoxControl>();
    }
    std::unique_ptr<TButtonControl> CreateButton() override {
        ++buttonsMade;
        return std::make_unique<TButtonControl>();
    }
    int combosMade = 0;
    int buttonsMade = 0;
};

// The message of the exception an action raises, or "(no error)".
template <typename Action>
std::string MessageOf(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace torvex::testing
