#pragma once
// The editor window of one table: a grid with the column captions as header, the row
// numbers as row labels, Add / Insert / Delete Row buttons, the table's comments and its help
// picture. Choice cells are drop-down lists and sub-table cells are buttons, both made
// through the table's control host (this window). A typed cell is read through its column's
// SetText when the user leaves it; a bad entry is reported and the user stays in the cell.

#include <QPointer>
#include <QTableWidget>
#include <QWidget>
#include <memory>
#include <string>

#include "dataentry/Table.h"
#include "desktop/ChildWindow.h"

class QAbstractButton;
class QEventLoop;
class QLineEdit;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace torvex {

class TWorkspace;
class TTableForm;

// The grid of the editor: tells the window about every move of the current cell, so that
// the window can commit the cell it left and take the move back when the entry is bad.
class TTableGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TTableGrid(TTableForm& form);
    // Brings the scroll bar ranges up to date with the rows and columns now.
    void UpdateScrollRanges() { updateGeometries(); }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TTableForm& form_;
};

class TTableForm : public QWidget, public TTableEditor, public TControlHost, public TCommitsEdits {
    Q_OBJECT
public:
    // The window of `table`; shown inside `desk` (when not null and the table has no
    // FormParent), else as a window of its own.
    TTableForm(TGridTable& table, QMdiArea* desk);
    ~TTableForm() override;

    // TTableEditor
    void ShowEditor(bool modal) override;
    bool IsModal() const override { return modal_; }
    void ResetCaption() override;
    void HelpPictureChanged() override;
    void FocusCell(int column, int row) override;
    void CloseAndFree() override;
    void TableDestroyed() override;

    // TCommitsEdits: the typed cell, before a command of the main window reads the table.
    bool CommitEdits() override;

    // TControlHost
    std::unique_ptr<TComboBoxControl> CreateComboBox() override;
    std::unique_ptr<TButtonControl> CreateButton() override;

    // The caption of a table's window: its Caption, a blank and the number path (every
    // level, outermost first, whose Number is not 0 adds a blank and the Number).
    static QString CaptionOf(const TGridTable& table);

    TGridTable* Table() const { return table_; }
    QTableWidget* Grid() const { return grid_; }
    // The window the user sees: the MDI child window, or this widget.
    QWidget* Frame() const;
    int ShownRows() const { return shownRows_; }
    int ShownColumns() const { return shownColumns_; }
    int HeaderRows() const { return headerRows_; }
    // Hands the current cell's text to its column; false (after the message) when the
    // entry was refused.
    bool CommitCell();
    // The same for a given cell and text (a cell the user only passed through is left alone).
    bool CommitCellAt(int row, int column, const QString& text);
    // The size the window lays itself out to.
    QSize sizeHint() const override;
    // The Enter key: one row down, or to the first row of the next text column.
    void MoveOnEnter();
    // The open editor of the current cell, or nullptr.
    QLineEdit* CellEditor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TTableGrid;
    void FormShow();
    void Bind();
    void Detach();
    void Refresh();
    void RefreshCell(int column, int row);
    void RewriteTextCells();
    void LayOut();
    void PlaceControls();
    void Snap();
    void LoadPicture();
    void GridCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void FocusChanged(QWidget* old, QWidget* now);
    // After a refused entry: the window in front, the grid focused, the bad cell in edit.
    void ReturnToCell();
    // The grid focused and the current cell's editor open with the focus, for typing.
    void FocusCurrentCell();
    // The same once the child window's own activation is over, when the focus is not on a
    // control of this window.
    void FocusCurrentCellLater();
    void TakeTypingInCell();
    bool InGridText(QWidget* widget) const;
    int FirstTextColumn(int from) const;
    int TopDataRow() const;
    int LeftDataColumn() const;
    void Information(const QString& text);
    void GoAway();

    void AddRow();
    void InsertRow();
    void DeleteRow();

    TGridTable* table_;
    QMdiArea* desk_;
    QPointer<QMdiSubWindow> sub_;
    TTableGrid* grid_;
    QPushButton* btnAdd_;
    QPushButton* btnIns_;
    QPushButton* btnDel_;
    QLabel* lblComments_;
    QLabel* imgHelp_;
    QAbstractButton* corner_ = nullptr;
    class TCellDelegate* delegate_;
    QEventLoop* modalLoop_ = nullptr;

    int headerRows_ = 0;
    int shownColumns_ = 0;
    int shownRows_ = 0;
    int margin_ = 4;
    bool modal_ = false;
    bool shown_ = false;
    bool layingOut_ = false;
    bool reverting_ = false;
    bool refreshing_ = false;
    int rowHeight_ = 24;
    bool committing_ = false;
    bool allowControlCell_ = false;
    bool scrollAttached_ = true;
    QSize contentSize_;
    QRect lastFrame_;  // the window's place after the last layout, to tell dragged sides
    QMetaObject::Connection focusConnection_;  // QApplication::focusChanged
};

// Makes the registry of the workspace open TTableForm windows inside `desk`.
void InstallTableEditors(TWorkspace& workspace, QMdiArea* desk);

}  // namespace torvex
