#include "dialogs/InputDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "dataentry/DataEdit.h"
#include "project/Workspace.h"

namespace torvex {

TInputDialog::TInputDialog(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : QWidget(parent), workspace_(workspace), desk_(desk) {
    if (desk) connect(desk, &QMdiArea::subWindowActivated, this, &TInputDialog::SubWindowActivated);
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this, &TInputDialog::FocusChanged);
}

// Its focused field gives up the focus while QWidget destroys the dialog, after this object's
// own part is gone: stop listening first.
TInputDialog::~TInputDialog() { disconnect(focusConnection_); }

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

bool TInputDialog::EntryRefused() const {
    auto* field = qobject_cast<TDataEdit*>(QApplication::focusWidget());
    return field && isAncestorOf(field) && !field->Valid();
}

TDataEdit* TInputDialog::FocusedField() const { return qobject_cast<TDataEdit*>(focused_.data()); }

bool TInputDialog::FocusedEntryAccepted(bool leaving) {
    TDataEdit* field = FocusedField();
    if (!field || field->ExitCheck(!leaving)) return true;
    BringBack(field, leaving);
    return false;
}

void TInputDialog::BringBack(TDataEdit* field, bool leaving) {
    if (leaving && desk_ && SubWindow()) {
        // After the activation of the other window has ended, else it would win over this.
        // Until then no activation copies the project in over the refused entry.
        QPointer<TDataEdit> bad = field;
        refusing_ = true;
        QTimer::singleShot(0, this, [this, bad] {
            QMdiSubWindow* mine = SubWindow();
            if (desk_ && mine) {
                if (mine->isMinimized()) mine->showNormal();
                desk_->setActiveSubWindow(mine);
                if (bad) bad->setFocus(Qt::OtherFocusReason);
            }
            refusing_ = false;
        });
        return;
    }
    field->setFocus(Qt::OtherFocusReason);
}

void TInputDialog::Deactivate() {
    if (!active_) return;
    active_ = false;
    if (FocusedEntryAccepted(true)) CopyOut();
}

void TInputDialog::SubWindowActivated(QMdiSubWindow* window) {
    QMdiSubWindow* mine = SubWindow();
    if (!mine) return;
    if (window == mine) {
        if (active_) return;
        // The dialog left before must store its values first: this one may show them too.
        if (desk_)
            for (QMdiSubWindow* other : desk_->subWindowList())
                if (auto* dialog = qobject_cast<TInputDialog*>(other->widget()); dialog && dialog != this)
                    dialog->Deactivate();
        active_ = true;
        if (!refusing_) FormActivate();
        return;
    }
    // No child active means the main window itself lost the activation (another program,
    // a message box): the dialog stays as it is.
    if (window) Deactivate();
}

bool TInputDialog::CommitEdits() {
    if (!FocusedEntryAccepted(false)) return false;
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
