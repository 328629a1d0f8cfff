#pragma once
// What every input dialog does the same way. A dialog is a single-instance child window of
// the main window's desk. It copies the project into its controls when it becomes the active
// child and back when another child becomes active, when the main window commits the active
// child (a menu drops down, Save, Run Analysis, New, Open, closing) and when it is closed.
// A numeric field that holds a refused entry keeps the dialog in front with that field
// focused; nothing is copied then, so the project never takes half of the dialog's values.

#include <QPointer>
#include <QWidget>

#include "desktop/ChildWindow.h"

class QMdiArea;
class QMdiSubWindow;

namespace torvex {

class TDataEdit;
class TProgramData;
class TWorkspace;

class TInputDialog : public QWidget, public TCommitsEdits {
    Q_OBJECT
public:
    TInputDialog(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);
    ~TInputDialog() override;

    // TCommitsEdits: the deactivation step, keeping the dialog where it is.
    bool CommitEdits() override;
    // Copies the project in again (after the unit system changed).
    void Refresh() { FormActivate(); }
    // The window frame: fixed dialog border (no resizing, no minimise or maximise) or the
    // single border with a minimise button.
    enum class TBorder { Fixed, Single };
    // The child window that shows this dialog, or nullptr before it is placed in the desk.
    QMdiSubWindow* SubWindow() const;

protected:
    // Project into the controls.
    virtual void FormActivate() = 0;
    // Controls into the project; runs only after the focused field was accepted.
    virtual void CopyOut() = 0;

    TProgramData& Project();
    TWorkspace& Workspace() { return workspace_; }
    // Any change made by the user in a control marks the project modified.
    void Changed();
    // Makes every change of the field mark the project modified.
    void WatchChanges(TDataEdit* field);
    // True while a field of this dialog holds the focus with a refused entry: a button
    // clicked just as the entry was refused must then not act.
    bool EntryRefused() const;

    void closeEvent(QCloseEvent* event) override;

private:
    void SubWindowActivated(QMdiSubWindow* window);
    void FocusChanged(QWidget* old, QWidget* now);
    // The focused control when it is a numeric field, else nullptr.
    TDataEdit* FocusedField() const;
    // The focused field's entry is accepted (or there is none); else the dialog is brought
    // back to the front with the field focused, once the other window's activation is over
    // when the dialog is being left.
    bool FocusedEntryAccepted(bool leaving);
    void BringBack(TDataEdit* field, bool leaving);
    // Leaving the dialog: its values are copied out unless the focused entry is refused.
    void Deactivate();

    TWorkspace& workspace_;
    QPointer<QMdiArea> desk_;
    QPointer<QWidget> focused_;
    QMetaObject::Connection focusConnection_;  // QApplication::focusChanged
    bool active_ = false;
    bool refusing_ = false;
};

}  // namespace torvex
