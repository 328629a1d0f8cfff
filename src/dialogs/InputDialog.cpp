#include "dialogs/InputDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "dataentry/DataEdit.h"
#include "project/Workspace.h"

namespace torvex {

TInputDialog::TInputDialog(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : QWidget(parent), workspace_(workspace), desk_(desk) {
    if (desk) connect(desk, &QMdiArea::subWindowActivated, this, &TInputDialog::SubWindowActivated);
    connect(qApp, &QApplication::focusChanged, this, &TInputDialog::FocusChanged);
}

QMdiSubWindow* TInputDialog::SubWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

TProgramData& TInputDialog::Project() { return workspace_.Project(); }

void TInputDialog::Changed() { workspace_.SetModified(true); }

void TInputDialog::WatchChanges(TDataEdit* field) {
    // Only the user's edits: copying the project in is no change.
    connect(field, &QLineEdit::textEdited, this, &TInputDialog::Changed);
}

// The dialog's own record of its focused control: the platform's may be cleared when
// another child window takes the focus.
void TInputDialog::FocusChanged(QWidget*, QWidget* now) {
    if (now && isAncestorOf(now)) focused_ = now;
}

TDataEdit* TInputDialog::FocusedField() const { return qobject_cast<TDataEdit*>(focused_.data()); }

bool TInputDialog::FocusedEntryAccepted() {
    TDataEdit* field = FocusedField();
    if (!field || field->ExitCheck()) return true;
    // Back to the front, without copying the project in over the refused entry.
    QMdiSubWindow* window = SubWindow();
    if (desk_ && window) {
        refusing_ = true;
        if (window->isMinimized()) window->showNormal();
        desk_->setActiveSubWindow(window);
        refusing_ = false;
    }
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

void TInputDialog::SubWindowActivated(QMdiSubWindow* window) {
    QMdiSubWindow* mine = SubWindow();
    if (!mine) return;
    if (window == mine) {
        if (!active_) {
            active_ = true;
            if (!refusing_) FormActivate();
        }
        return;
    }
    // No child active means the main window itself lost the activation (another program,
    // a message box): the dialog stays as it is.
    if (!window || !active_) return;
    active_ = false;
    if (FocusedEntryAccepted()) CopyOut();
}

bool TInputDialog::CommitEdits() {
    if (!FocusedEntryAccepted()) return false;
    CopyOut();
    return true;
}

void TInputDialog::closeEvent(QCloseEvent* event) {
    TDataEdit* field = FocusedField();
    if (field && !field->ExitCheck()) {
        event->ignore();
        return;
    }
    // A dialog that is not the active child copied its values out when it was left; copying
    // them again now would undo what other windows changed since.
    if (active_) CopyOut();
    active_ = false;
    event->accept();
}

}  // namespace torvex
