#pragma once
// What the graph-window tests share: a modal dialog worked from a Plot menu item, an
// interface that answers the print dialog with a PDF file, a file's bytes, the drawing
// instructions of a PDF file and graphs of straight curves.

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

// The drawing instructions of a PDF file: its compressed streams inflated and joined.
inline QByteArray PdfContent(const QByteArray& pdf) {
    QByteArray content;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at + 6)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") continue;
        const qsizetype dictionary = pdf.lastIndexOf("<<", at);
        if (dictionary < 0 || !pdf.mid(dictionary, at - dictionary).contains("/FlateDecode")) continue;
        qsizetype begin = at + 6;
        if (pdf.mid(begin, 2) == "\r\n") begin += 2;
        else if (pdf.mid(begin, 1) == "\n") begin += 1;
        else continue;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0) break;
        // qUncompress wants the length first; it grows a buffer that is too small.
        const QByteArray length("\x00\x10\x00\x00", 4);
        content += qUncompress(length + pdf.mid(begin, end - begin));
    }
    return content;
}

}  // namespace torvex::testing
