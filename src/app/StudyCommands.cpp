// Computation > Parametric Study: the project is saved as for Run Analysis, then the study
// window analyses variants of the saved data file in memory. Its graphs open in the graph
// window as the result graphs do, with their Plot menu, printing and saving.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/MainWindow.h"
#include "plot/PlotForm.h"
#include "study/StudyWindow.h"

namespace torvex {

void TMainForm::CompStudyClick() {
    if (!CommitActiveChild()) return;
    if (Save() == TSaveOutcome::Failed) return;
    const std::string dataFile = workspace_.Project().FileName;
    if (dataFile == kNewProjectFileName) return;
    const QString file = QFile::decodeName(QByteArray::fromStdString(dataFile));
    // A study of another file than the open window's starts afresh.
    if (QMdiSubWindow* open = SingleChild("ParametricStudy"))
        if (auto* view = qobject_cast<TStudyWindow*>(open->widget()); view && view->DataFile() != file) delete open;
    QMdiSubWindow* child = ShowSingleChild("ParametricStudy", [this, file] {
        auto* view = new TStudyWindow(file);
        view->ShowGraph = [this](TGraphPlot& graph) -> QWidget* {
            const QString name = "Graph " + QString::fromStdString(graph.Name);
            if (QMdiSubWindow* open = SingleChild(name)) {
                auto* plot = qobject_cast<TPlotForm*>(open->widget());
                if (plot) plot->Refit();
                open->showMaximized();
                Desk()->setActiveSubWindow(open);
                return plot;
            }
            TPlotForm* plot = nullptr;
            QMdiSubWindow* frame = ShowSingleChild(name, [&] {
                plot = new TPlotForm(graph);
                return plot;
            });
            InsertChildMenu(plot->PlotMenu(), frame);
            frame->showMaximized();
            return plot;
        };
        return view;
    }, QSize(820, 620));
    (void)child;
}

}  // namespace torvex
