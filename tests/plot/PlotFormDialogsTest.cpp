// The graph window's Graph Title, Edit Legend and Active Curves items, through the menu and
// the dialogs they open.

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QPageLayout>
#include <QRegularExpression>
#include <QPrinter>
#include <optional>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "PlotWindowSupport.h"
#include "dataentry/DataEdit.h"
#include "plot/PlotDialogs.h"
#include "plot/PlotExport.h"
#include "plot/PlotForm.h"
#include "plot/PlotLegend.h"
#include "plot/PltData.h"
#include "app/MainWindow.h"
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

using namespace torvex;
using torvex::testing::Content;
using torvex::testing::ThreeCurves;
using torvex::testing::TPrintingInterface;
using torvex::testing::WithDialog;

class PlotFormDialogsTest : public QObject {
    Q_OBJECT
private:
    TPrintingInterface ui_;
    QTemporaryDir settingsDir_;

private slots:
    // The windows keep their recent files in settings of the test's own, never the user's.
    void initTestCase() { torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_); }
    void cleanupTestCase() { SetUserInterface(nullptr); }

    void marginsAndPageLegendEntries() {
        // A page-setup margin in thousandths of an inch, raised to the unprintable border.
        QCOMPARE(MarginPixels(1000, 600, 0), 600);
        QCOMPARE(MarginPixels(1000, 600, 700), 700);
        QCOMPARE(MarginPixels(333, 300, 0), 100);
        QCOMPARE(MarginPixels(0, 300, 25), 25);
        // Only drawn curves, each at its place among the active ones.
        TGraphPlot graph("pltDef");
        graph.Lines.SetCount(4);
        graph.Lines.SetPointCount(2);
        for (int i = 0; i < 4; ++i) graph.Lines[i].Name = "c" + std::to_string(i);
        graph.Lines[1].Active = false;
        graph.Lines[2].Visible = false;
        const std::vector<std::pair<int, std::string>> expected{{0, "c0"}, {2, "c3"}};
        QVERIFY(PageLegendEntries(graph) == expected);
    }

    void everyGraphOfARunPrintedAndSaved() {
        QTemporaryDir folder;
        const QString data = folder.filePath("stages.tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d", data));
        TMainForm main;
        main.resize(1000, 700);
        main.show();
        main.SetProgramFolder(folder.path());
        main.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        QVERIFY(main.OpenFileName(data));
        main.CompRunClick();
        QVERIFY(main.PlotLoaded());
        emit main.Menu("GraphicsMenu")->aboutToShow();
        for (const char* command : {"Comppy", "CompDef", "CompMom", "CompShear", "CompSoil",
                                    "DefMomShear", "CompLD", "CompCombine"}) {
            if (!main.Action(command)->isEnabled()) continue;
            main.Action(command)->trigger();
            auto* form = qobject_cast<TPlotForm*>(main.Desk()->activeSubWindow()->widget());
            QVERIFY2(form, command);
            const QString base = folder.filePath(command);
            ui_.printTo = base + "-printed.pdf";
            form->MenuItem("PlotPrint")->trigger();
            QVERIFY2(Content(ui_.printTo).startsWith("%PDF"), command);
            for (const char* extension : {".png", ".svg"}) {
                ui_.savePath = base + extension;
                WithDialog<TdlgFormat>(*form, "PlotSave", [](TdlgFormat& dialog) {
                    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
                });
                QVERIFY2(QFileInfo(ui_.savePath).size() > 1000, qPrintable(ui_.savePath));
            }
            // The values read back are the plot file's, as the graph holds them.
            ui_.savePath = base + ".csv";
            form->MenuItem("PlotSave")->trigger();
            const QList<QByteArray> rows = Content(ui_.savePath).split('\n');
            QVERIFY2(rows.size() > 2, command);
            const QList<QByteArray> first = rows[1].trimmed().split(',');
            const TGraphPlot& graph = form->Graph();
            int column = 0;
            for (int i = 0; i < graph.Lines.Count(); ++i) {
                if (!graph.Lines[i].Active || !graph.Lines[i].Visible) continue;
                QCOMPARE(first[column].toDouble(), static_cast<double>(graph.Lines[i].Point(0).X));
                QCOMPARE(first[column + 1].toDouble(), static_cast<double>(graph.Lines[i].Point(0).Y));
                column += 2;
            }
            QVERIFY(column > 0);
            if (qEnvironmentVariableIsSet("TORVEX_GRAPH_FILES"))
                for (const QString& name : {base + "-printed.pdf", base + ".png", base + ".svg"})
                    QFile::copy(name, qEnvironmentVariable("TORVEX_GRAPH_FILES") + "/" + QFileInfo(name).fileName());
        }
        main.SetModified(false);
    }

    void savedAndPrinted() {
        QTemporaryDir folder;
        TGraphPlot graph("pltDef");
        ThreeCurves(graph);
        graph.Caption = "Deflection";
        graph.Lines[2].Visible = false;
        TPlotForm form(graph);
        form.resize(700, 500);
        form.show();
        auto attributesOK = [](TdlgFormat& dialog) { QTest::mouseClick(dialog.btnOK, Qt::LeftButton); };

        // A bare name is a bitmap, of the default 6 x 4 inches at 72 pixels per inch.
        ui_.savePath = folder.filePath("graph");
        WithDialog<TdlgFormat>(form, "PlotSave", attributesOK);
        QCOMPARE(QImage(folder.filePath("graph.bmp")).size(), QSize(432, 288));
        for (const char* name : {"graph.png", "graph.svg", "graph.pdf"}) {
            ui_.savePath = folder.filePath(name);
            WithDialog<TdlgFormat>(form, "PlotSave", attributesOK);
            QVERIFY2(Content(folder.filePath(name)).size() > 500, name);
        }
        QVERIFY(Content(folder.filePath("graph.pdf")).startsWith("%PDF"));
        QVERIFY(Content(folder.filePath("graph.svg")).contains("<svg"));
        // The values of the drawn curves, two columns a curve.
        ui_.savePath = folder.filePath("graph.csv");
        form.MenuItem("PlotSave")->trigger();
        const QByteArray csv = Content(folder.filePath("graph.csv"));
        QCOMPARE(csv.count("\r\n"), 5);
        QVERIFY2(csv.endsWith("\r\n3,3,4,3\r\n"), csv.constData());
        // Too large a bitmap: the message, no file.
        ui_.Clear();
        ui_.savePath = folder.filePath("huge.bmp");
        WithDialog<TdlgFormat>(form, "PlotSave", [](TdlgFormat& dialog) {
            dialog.dePPI->SetNumber(2000000000);
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        });
        QCOMPARE(ui_.shown, QStringList{kNotEnoughMemory});
        QVERIFY(!QFile::exists(folder.filePath("huge.bmp")));

        // Printed into a PDF: one page, titled with the caption.
        ui_.printTo = folder.filePath("printed.pdf");
        form.MenuItem("PlotPrint")->trigger();
        const QByteArray printed = Content(ui_.printTo);
        QVERIFY(printed.startsWith("%PDF"));
        QCOMPARE(printed.count("/Type /Page\n") + printed.count("/Type /Page\r") + printed.count("/Type /Page "), 1);
        QCOMPARE(form.PageLayout().margins(QPageLayout::Inch), QMarginsF(1, 1, 1, 1));

        // Page Setup: landscape A4 with 2 cm margins is kept for the next print; a cancelled
        // setup changes nothing.
        const QPageLayout landscape(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(20, 20, 20, 20),
                                    QPageLayout::Millimeter);
        ui_.chosen = landscape;
        form.MenuItem("PlotPageSetup")->trigger();
        QCOMPARE(ui_.offered.margins(QPageLayout::Inch), QMarginsF(1, 1, 1, 1));
        ui_.chosen.reset();
        form.MenuItem("PlotPageSetup")->trigger();
        QCOMPARE(ui_.offered.orientation(), QPageLayout::Landscape);
        QCOMPARE(form.PageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(form.PageLayout().margins(QPageLayout::Millimeter), QMarginsF(20, 20, 20, 20));
        ui_.printTo = folder.filePath("landscape.pdf");
        form.MenuItem("PlotPrint")->trigger();
        // A4 landscape is 842 x 595 points.
        const QByteArray sideways = Content(ui_.printTo);
        const QRegularExpressionMatch box =
            QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(QString::fromLatin1(sideways));
        QVERIFY(box.hasMatch());
        QCOMPARE(qRound(box.captured(1).toDouble()), 842);
        QCOMPARE(qRound(box.captured(2).toDouble()), 595);
    }

    // Printed through the Plot menu on a Letter sheet with one-inch margins, at the 1200 dpi of
    // a PDF (10200 x 13200 pixels): the page is 1200..9000 by 1200..12000, H is 14 x 1200 / 96
    // = 175, and the axis side keeps 2H + dpiX/8 + H/8 = 350 + 150 + 21 = 521.
    void printedPageLaidOutByThePageRules() {
        QTemporaryDir folder;
        TGraphPlot graph("pltDef");
        ThreeCurves(graph);
        graph.Lines[2].Visible = false;  // the page legend lists two curves
        TPlotForm form(graph);
        form.resize(700, 500);
        form.show();
        ui_.chosen = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1),
                                 QPageLayout::Inch);
        form.MenuItem("PlotPageSetup")->trigger();
        ui_.chosen.reset();
        struct Case { bool xOnTop; const char* title; bool titleOnTop; QRect plot; };
        const Case cases[] = {
            {true, "", false, QRect(QPoint(1721, 1721), QPoint(9000, 12000))},
            {true, "Wall A", true, QRect(QPoint(1721, 2021), QPoint(9000, 12000))},     // + dpiY/4
            {true, "Wall A", false, QRect(QPoint(1721, 1721), QPoint(9000, 11400))},    // - dpiY/2
            {false, "", false, QRect(QPoint(1721, 1200), QPoint(9000, 11479))},         // 12000 - 521
            {false, "Wall A", false, QRect(QPoint(1721, 1200), QPoint(9000, 10879))},
        };
        QFont legendFont("Times New Roman");
        legendFont.setPixelSize(175);
        const int t = QFontMetrics(legendFont).height();
        const QRegularExpression rectangle(R"((-?[\d.]+) (-?[\d.]+) (-?[\d.]+) (-?[\d.]+) re\b)");
        for (const Case& c : cases) {
            graph.XOnTop = c.xOnTop;
            graph.Title = c.title;
            graph.TitleOnTop = c.titleOnTop;
            ui_.printTo = folder.filePath("page.pdf");
            QFile::remove(ui_.printTo);
            form.MenuItem("PlotPrint")->trigger();
            const QString content = QString::fromLatin1(torvex::testing::PdfContent(Content(ui_.printTo)));
            // The frame, the last rectangle drawn; QRect's right and bottom are one short.
            const QString frame = QString("%1 %2 %3 %4 re").arg(c.plot.left()).arg(c.plot.top())
                                      .arg(c.plot.width() - 1).arg(c.plot.height() - 1);
            const qsizetype frameAt = content.lastIndexOf(frame);
            QVERIFY2(frameAt > 0, qPrintable(frame));
            // The page legend: after the curves (drawn 5 pixels wide at 1200 dpi) and under the
            // frame, in the plot's bottom-right corner, two rows of dpiY/32 + t with dpiY/32 more.
            const qsizetype curvesAt = content.lastIndexOf("\n5 w ");
            QVERIFY(curvesAt > 0);
            bool legend = false;
            for (const QRegularExpressionMatch& m : rectangle.globalMatch(content.mid(curvesAt, frameAt - curvesAt))) {
                const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
                const double w = m.captured(3).toDouble(), h = m.captured(4).toDouble();
                legend |= x + w == 9000 && y + h == c.plot.bottom() && h == 2 * (37 + t) + 37;
            }
            QVERIFY2(legend, qPrintable(frame));
            // The grid: a thin cosmetic pen, dots of 1200/96 = 12 pixels, gaps of 24.
            QVERIFY(content.contains(QRegularExpression(R"(\b0 w [^\n]*\[12 24 ?\])")));
        }
    }

    void titleLegendAndActiveCurves() {
        TGraphPlot graph("pltDef");
        ThreeCurves(graph);
        TPlotForm form(graph);
        form.resize(700, 500);
        form.show();
        QCOMPARE(static_cast<int>(form.CurveItems().size()), 3);

        WithDialog<TfrmGraphCaption>(form, "PlotTitle", [](TfrmGraphCaption& dialog) {
            dialog.edtCaption->setText("Wall A, stage 2");
            dialog.rbBottom->setChecked(true);
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        });
        QCOMPARE(QString::fromStdString(graph.Title), QString("Wall A, stage 2"));
        QVERIFY(!graph.TitleOnTop);

        WithDialog<TfrmLineNames>(form, "PlotEditLegend", [](TfrmLineNames& dialog) {
            dialog.lbLines->setCurrentRow(1);
            dialog.edLine->setText("With strut");
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        });
        QCOMPARE(QString::fromStdString(graph.Lines[1].Name), QString("With strut"));
        QCOMPARE(form.CurveItems()[1]->text(), QString("With strut"));

        // Cancel changes nothing; Desactivate All and OK leave no curve in the legend or menu.
        WithDialog<TfrmActiveLines>(form, "PlotActiveCurves", [](TfrmActiveLines& dialog) {
            QTest::mouseClick(dialog.DesactivateButton, Qt::LeftButton);
            QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        });
        QCOMPARE(static_cast<int>(form.CurveItems().size()), 3);
        WithDialog<TfrmActiveLines>(form, "PlotActiveCurves", [](TfrmActiveLines& dialog) {
            QTest::mouseClick(dialog.DesactivateButton, Qt::LeftButton);
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        });
        QVERIFY(form.CurveItems().empty());
        QCOMPARE(form.Legend()->Count(), 0);
        for (int i = 0; i < 3; ++i) QVERIFY(!graph.Lines[i].Active);
    }
};

QTEST_MAIN(PlotFormDialogsTest)
#include "PlotFormDialogsTest.moc"
