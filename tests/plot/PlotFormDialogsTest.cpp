// The graph window's Graph Title, Edit Legend and Active Curves items, through the menu and
// the dialogs they open.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "plot/PlotDialogs.h"
#include "plot/PlotForm.h"
#include "plot/PlotLegend.h"
#include "plot/PltData.h"

using namespace torvex;

namespace {

// Three straight curves of four points.
void ThreeCurves(TGraphPlot& graph) {
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

}  // namespace

class PlotFormDialogsTest : public QObject {
    Q_OBJECT
private slots:
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
