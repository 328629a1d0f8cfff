// The Graphics commands: each opens its result graph in a graph window, or brings the open
// one to the front. A graph window is a maximised child; its Plot menu stands in the menu
// bar while it is the active child and goes with it.

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/MainWindow.h"
#include "plot/PlotForm.h"

namespace torvex {

namespace {

void OpenGraphWindow(TMainForm& form, TGraphPlot& graph) {
    const QString name = "Graph " + QString::fromStdString(graph.Name);
    const bool open = form.SingleChild(name) != nullptr;
    TPlotForm* plot = nullptr;
    QMdiSubWindow* child = form.ShowSingleChild(name, [&] {
        plot = new TPlotForm(graph);
        return plot;
    });
    if (open) return;
    form.InsertChildMenu(plot->PlotMenu(), child);
    child->showMaximized();
}

void ShowGraph(TMainForm& form, TGraphPlot& graph) {
    if (!graph.OnShow) graph.OnShow = [&form](TGraphPlot& g) { OpenGraphWindow(form, g); };
    graph.Show();
}

}  // namespace

void TMainForm::RefitOpenGraphs() {
    for (QMdiSubWindow* child : Desk()->subWindowList())
        if (auto* plot = qobject_cast<TPlotForm*>(child->widget())) plot->Refit();
}

void TMainForm::ComppyClick() { ShowGraph(*this, graphs_.pltPY); }
void TMainForm::CompDefClick() { ShowGraph(*this, graphs_.pltDef); }
void TMainForm::CompMomClick() { ShowGraph(*this, graphs_.pltMom); }
void TMainForm::CompShearClick() { ShowGraph(*this, graphs_.pltShear); }
void TMainForm::CompSoilClick() { ShowGraph(*this, graphs_.pltSoil); }
void TMainForm::DefMomShearClick() { ShowGraph(*this, graphs_.pltDMS); }
void TMainForm::CompLDClick() { ShowGraph(*this, graphs_.pltLD); }
void TMainForm::CompCombineClick() { ShowGraph(*this, graphs_.PltCombine); }

}  // namespace torvex
