// Computation > Parametric Study: the study window analyses variants of the data file as saved,
// in memory; the study itself writes no file. Unsaved changes are saved first only when the
// user says so. Its graphs open in the graph window as the result graphs do, with their Plot
// menu, printing and saving.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/UserInterface.h"
#include "plot/PlotForm.h"
#include "study/StudyWindow.h"

namespace torvex {

void TMainForm::CompStudyClick() {
    if (!CommitActiveChild()) return;
    const std::string& dataFile = workspace_.Project().FileName;
    if (dataFile == kNewProjectFileName || FormatKindOf(QString::fromStdString(dataFile)) == 2) {
        UserInterface().Information(this, "A parametric study analyses the project as saved in the current format: "
                                          "save it first (File, Save As).");
        return;
    }
    if (IsModified()) {
        const TAnswer answer = UserInterface().Confirm(
            this, "The study analyses the project as saved. Save your changes first?", true);
        if (answer == TAnswer::Cancel) return;
        if (answer == TAnswer::Yes && Save() != TSaveOutcome::Written) return;
    }
    const QString file = QFile::decodeName(QByteArray::fromStdString(dataFile));
    // A study of another file than the open window's starts afresh.
    if (QMdiSubWindow* open = SingleChild("ParametricStudy"))
        if (auto* view = qobject_cast<TStudyWindow*>(open->widget()); view && view->DataFile() != file) delete open;
    ShowSingleChild("ParametricStudy", [this, file] {
        auto* view = new TStudyWindow(file);
        view->ShowGraph = [this](TGraphPlot& graph) -> QWidget* {
            const QString name = "Graph " + QString::fromStdString(graph.Name);
            if (QMdiSubWindow* open = SingleChild(name)) {
                auto* plot = qobject_cast<TPlotForm*>(open->widget());
                // The window of an earlier study's graph makes way for this one's.
                if (!plot || &plot->Graph() != &graph) {
                    delete open;
                } else {
                    plot->Refit();
                    open->showMaximized();
                    Desk()->setActiveSubWindow(open);
                    return plot;
                }
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
}

}  // namespace torvex
