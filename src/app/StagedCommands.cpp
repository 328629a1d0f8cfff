// The Staged Construction Options dialog: modal from the Options menu, without blocking from
// the tool bar. One at a time; it frees itself when closed and is made anew the next time.

#include "app/MainWindow.h"
#include "dialogs/DlgStaged.h"

namespace torvex {
namespace {

TDlgStaged* StagedDialog(TMainForm& form) {
    if (auto* open = form.findChild<TDlgStaged*>(QString(), Qt::FindDirectChildrenOnly)) return open;
    return new TDlgStaged(
        form.Workspace(),
        [&form] {
            form.UpdateStageControls();
            if (form.Workspace().RefreshOpenDialogs) form.Workspace().RefreshOpenDialogs();
        },
        &form);
}

}  // namespace

void TMainForm::OptionsStagedClick() {
    if (!CommitActiveChild()) return;
    TDlgStaged* dialog = StagedDialog(*this);
    if (dialog->isVisible()) {
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    dialog->exec();
}

void TMainForm::SpeedButton7Click() {
    if (!CommitActiveChild()) return;
    TDlgStaged* dialog = StagedDialog(*this);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace torvex
