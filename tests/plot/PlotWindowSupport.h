#pragma once
// What the graph-window tests share: a modal dialog worked from a Plot menu item, an
// interface that answers the print dialog with a PDF file, a file's bytes and graphs of
// straight curves.

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "../app/AppTestSupport.h"
#include "plot/PlotForm.h"
#include "plot/PltData.h"

namespace torvex::testing {

// Three straight curves of four points.
inline void ThreeCurves(TGraphPlot& graph) {
    graph.Lines.SetCount(3);
    graph.Lines.SetPointCount(4);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) graph.Lines.Point(i, j) = {static_cast<long double>(i + j), static_cast<long double>(j)};
}

// Chooses a Plot menu item and works the modal dialog it opens.
template <typename Dialog>
void WithDialog(TPlotForm& form, const char* item, const std::function<void(Dialog&)>& work) {
    bool reached = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        reached = true;
        work(*dialog);
    });
    form.MenuItem(item)->trigger();
    QVERIFY(reached);
}

// Answers the print dialog by printing into a PDF file.
class TPrintingInterface : public TRecordingInterface {
public:
    bool Print(QWidget*, QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return !printTo.isEmpty();
    }
    // Page Setup: the layout the dialog opened with, and the user's choice (none: Cancel).
    bool PageSetup(QWidget*, QPrinter& printer) override {
        offered = printer.pageLayout();
        if (!chosen) return false;
        printer.setPageLayout(*chosen);
        return true;
    }
    QString printTo;
    QPageLayout offered;
    std::optional<QPageLayout> chosen;
};

inline QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace torvex::testing
