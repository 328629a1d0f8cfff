// The graph window's title, legend and active-curve commands, through the plot dialogs, and
// its printing.

#include <QCheckBox>
#include <QPrinter>
#include <algorithm>
#include <exception>
#include <new>
#include <QLineEdit>
#include <QRadioButton>

#include "desktop/UserInterface.h"
#include "plot/PlotDialogRules.h"
#include "plot/PlotDialogs.h"
#include "plot/PlotExport.h"
#include "plot/PlotForm.h"
#include "plot/PlotLegend.h"
#include "plot/PlotPainter.h"
#include "plot/PltData.h"

namespace torvex {

void TPlotForm::GraphTitleClick() {
    TfrmGraphCaption dialog(this);
    dialog.edtCaption->setText(QString::fromStdString(graph_.Title));
    (graph_.TitleOnTop ? dialog.rbTop : dialog.rbBottom)->setChecked(true);
    dialog.exec();
    // Taken however the dialog was closed.
    graph_.Title = dialog.edtCaption->text().toStdString();
    graph_.TitleOnTop = dialog.rbTop->isChecked();
    LayOut();
    update();
}

void TPlotForm::EditLegendClick() {
    QStringList labels;
    for (int i = 0; i < graph_.Lines.Count(); ++i) labels << QString::fromStdString(graph_.CurveLabel(i));
    TfrmLineNames dialog(labels, &CurveColour, this);
    if (dialog.exec() != QDialog::Accepted) return;
    for (int i = 0; i < graph_.Lines.Count() && i < labels.size(); ++i)
        graph_.Lines[i].Name = labels[i].toStdString();
    RebuildCurveItems();
    legend_->Rebuild();
    update();
}

void TPlotForm::ActiveCurvesClick() {
    QStringList labels, states;
    for (int i = 0; i < graph_.Lines.Count(); ++i) {
        labels << QString::fromStdString(graph_.CurveLabel(i));
        states << (graph_.Lines[i].Active ? kCurveActive : kCurveInactive);
    }
    TfrmActiveLines dialog(labels, states, this);
    if (dialog.exec() != QDialog::Accepted) return;
    for (int i = 0; i < graph_.Lines.Count() && i < states.size(); ++i)
        graph_.Lines[i].Active = states[i] == kCurveActive;
    RebuildCurveItems();
    legend_->Rebuild();
    update();
}

void TPlotForm::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    if (!UserInterface().Print(this, printer)) return;
    try {
        if (!PrintGraph(printer, state_, FontHeight() * 96 / std::max(1, logicalDpiY())))
            UserInterface().Information(this, "The graph could not be printed.");
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
    update();
}

void TPlotForm::PageSetupClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    if (UserInterface().PageSetup(this, printer)) pageLayout_ = printer.pageLayout();
}

}  // namespace torvex
