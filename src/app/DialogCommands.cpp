// The Data and Options commands that open the input dialogs. Each dialog is a
// single-instance child of the desk; after a change of unit system every open dialog copies
// the converted project in again.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include "app/MainWindow.h"
#include "dialogs/DlgDesign.h"
#include "dialogs/DlgJob.h"
#include "dialogs/DlgModels.h"
#include "dialogs/LoadDialogs.h"
#include "dialogs/WallDialogs.h"

namespace torvex {
namespace {

// Fixed: no resizing, no minimise button. Single: with a minimise button. Sizeable: a
// window whose pictures scale with it, first no larger than the desk.
enum class TBorder { Fixed, Single, Sizeable };

void RefreshDialogs(QMdiArea* desk) {
    for (QMdiSubWindow* child : desk->subWindowList())
        if (auto* dialog = qobject_cast<TInputDialog*>(child->widget())) dialog->Refresh();
}

void ShowDialog(TMainForm& form, const QString& name, TBorder border,
                const std::function<QWidget*()>& create) {
    QPointer<QMdiArea> desk = form.Desk();
    // After the command that changed the project has ended: a project being read is
    // complete only then.
    form.Workspace().RefreshOpenDialogs = [desk] {
        QTimer::singleShot(0, desk, [desk] {
            if (desk) RefreshDialogs(desk);
        });
    };
    const bool created = form.SingleChild(name) == nullptr;
    QMdiSubWindow* child = form.ShowSingleChild(name, [&]() -> QWidget* {
        // The frame gets its border before it is shown: changing it later would hide the
        // window and hand the activation around.
        Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (border != TBorder::Fixed) flags |= Qt::WindowMinimizeButtonHint;
        if (border == TBorder::Sizeable) flags |= Qt::WindowMaximizeButtonHint;
        auto* frame = new QMdiSubWindow(nullptr, flags);
        frame->setWidget(create());
        return frame;
    });
    if (!created) return;
    child->adjustSize();
    if (border == TBorder::Fixed) child->setFixedSize(child->size());
    if (border == TBorder::Sizeable && desk)
        child->resize(child->size().boundedTo(desk->viewport()->size()));
}

}  // namespace

void TMainForm::OptionofTexeEditor1Click() {
    ShowDialog(*this, "DlgOptions", TBorder::Single, [this] {
        return new TDlgOptions(
            workspace_, desk_, [this] { return wordProcessor_; },
            [this](const QString& path) { wordProcessor_ = path; });
    });
}

// The design criteria are the project's: one dialog whatever the stage.
void TMainForm::OptionsModelsClick() {
    ShowDialog(*this, "DlgModels", TBorder::Fixed, [this] { return new TDlgModels(workspace_, desk_); });
}

void TMainForm::OptionsDesignClick() {
    ShowDialog(*this, "DlgDesign", TBorder::Fixed, [this] { return new TDlgDesign(workspace_, desk_); });
}

void TMainForm::DataTitleClick() {
    ShowDialog(*this, "dlgTitle", TBorder::Single,
               [this] { return new TdlgTitle(workspace_, desk_); });
}

void TMainForm::DataJobClick() {
    ShowDialog(*this, "DlgJob", TBorder::Fixed, [this] { return new TDlgJob(workspace_, desk_); });
}

void TMainForm::DataPropClick() {
    ShowDialog(*this, "DlgProp", TBorder::Fixed, [this] { return new TDlgProp(workspace_, desk_); });
}

void TMainForm::DataCSDClick() {
    ShowDialog(*this, "dlgCSD", TBorder::Sizeable,
               [this] { return new TdlgCSD(workspace_, desk_); });
}

void TMainForm::DataRebarClick() {
    ShowDialog(*this, "DlgRebar", TBorder::Fixed,
               [this] { return new TDlgRebar(workspace_, desk_); });
}

void TMainForm::DataBoundCondClick() {
    ShowDialog(*this, "DlgConLoads", TBorder::Fixed,
               [this] { return NewDlgConLoads(workspace_, desk_); });
}

void TMainForm::DataSoilSpringClick() {
    ShowDialog(*this, "DlgSpring", TBorder::Fixed,
               [this] { return NewDlgSpring(workspace_, desk_); });
}

}  // namespace torvex
