// The Side View window inside the main window, offscreen: opened through the tool-bar button
// and the Computation menu as a single child, redrawn from the project when it comes to the
// front, the depth under the pointer in its caption, printing to a PDF file, and pictures of
// every bundled example at scale 1 and 2 in the build folder.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "profile/SideView.h"

using torvex::TDlgSideView;
using torvex::TMainForm;

namespace {

// Answers the print dialog: prints to `pdfPath`, or cancels while it is empty.
class TPrintingInterface : public torvex::testing::TRecordingInterface {
public:
    bool Print(QWidget*, QPrinter& printer) override {
        ++dialogs;
        orientation = printer.pageLayout().orientation();
        if (pdfPath.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
    int dialogs = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString pdfPath;
};

QString ShotFolder() {
    const QString folder = TORVEX_BINARY_DIR "/profile-screenshots";
    QDir().mkpath(folder);
    return folder;
}

void ClickViewSoilProfile(TMainForm& form) {
    QWidget* button = form.ToolBar()->widgetForAction(form.Action("SpeedButton6"));
    QVERIFY(button && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

TDlgSideView* SideView(TMainForm& form) {
    QMdiSubWindow* child = form.SingleChild("DlgSideView");
    return child ? qobject_cast<TDlgSideView*>(child->widget()) : nullptr;
}

void MovePointer(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void CloseSideView(TMainForm& form) {
    form.SingleChild("DlgSideView")->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A wall of 100 increments of 1 with free height 40: T = 10, E = 50.
void SmallWall(TMainForm& form) {
    torvex::TProgramData& p = form.Workspace().Project();
    p.NumIncrements = 100;
    p.IncrementLength = 1;
    p.FreeHeight = 40;
}

}  // namespace

class SideViewWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    QTemporaryDir examples_;
    TPrintingInterface ui_;

    // Copies of the examples: opening a staged one writes its stage files beside it.
    QString Example(const QString& name) {
        const QString copy = examples_.filePath(name);
        if (!QFile::exists(copy))
            [&] { QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/" + name, copy)); }();
        return copy;
    }

private slots:
    void initTestCase() {
        torvex::testing::UseTemporarySettings(settingsDir_.path());
        torvex::SetUserInterface(&ui_);
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }

    void toolButtonAndMenuItemOpenOneSideView() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ClickViewSoilProfile(form);
        QMdiSubWindow* child = form.SingleChild("DlgSideView");
        QVERIFY(child);
        QVERIFY(SideView(form));
        QCOMPARE(child->windowTitle(), QString("Side View"));
        QCOMPARE(child->size(), QSize(580, 431));
        QCOMPARE(SideView(form)->findChild<QPushButton*>("Button1")->geometry(),
                 QRect(440, 336, 57, 25));
        ClickViewSoilProfile(form);  // the open one comes to the front
        QCOMPARE(form.SingleChild("DlgSideView"), child);
        QCOMPARE(form.Desk()->subWindowList().size(), 1);
        QCOMPARE(form.Desk()->activeSubWindow(), child);
        CloseSideView(form);
        QVERIFY(!form.SingleChild("DlgSideView"));

        // View Wall Geometry waits for results; with a plot file it opens the same window.
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(!form.Action("CompLayers")->isEnabled());
        const QString data = Example("cantilever-sand.tx4d");
        QVERIFY(form.OpenFileName(data));
        QFile plot(QString(data).replace(".tx4d", ".tx4p"));
        QVERIFY(plot.open(QIODevice::WriteOnly));
        plot.close();
        form.SetPlotLoaded(true);
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form.Action("CompLayers")->isEnabled());
        form.Action("CompLayers")->trigger();
        QVERIFY(SideView(form));
        QVERIFY(!SideView(form)->CurrentMarks().empty());
        QFile::remove(plot.fileName());
    }

    void redrawsFromTheProjectWhenItComesToTheFront() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.OpenFileName(Example("cantilever-sand.tx4d")));
        ClickViewSoilProfile(form);
        TDlgSideView* view = SideView(form);
        // Free height 120 in: a = 3, x-max 3.15.
        QCOMPARE(static_cast<double>(view->Geometry().Extents().XMax), 3.15);
        form.Workspace().Project().FreeHeight = 240;
        QCOMPARE(static_cast<double>(view->Geometry().Extents().XMax), 3.15);
        form.ShowSingleChild("Other", [] { return new QWidget; });
        QVERIFY(form.Desk()->activeSubWindow() != form.SingleChild("DlgSideView"));
        form.Desk()->setActiveSubWindow(form.SingleChild("DlgSideView"));
        QCOMPARE(static_cast<double>(view->Geometry().Extents().XMax), 6.3);
    }

    void depthUnderThePointerInTheCaption() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SmallWall(form);
        ClickViewSoilProfile(form);
        QMdiSubWindow* child = form.SingleChild("DlgSideView");
        TDlgSideView* view = SideView(form);
        // A 400 x 231 drawing: the view is y 0..115.5, so row 20 is the wall top.
        child->resize(child->size() + QSize(400, 231) - view->size());
        QCOMPARE(view->size(), QSize(400, 231));
        MovePointer(view, {50, 20});
        QCOMPARE(child->windowTitle(), QString("  Depth: 0.0"));
        MovePointer(view, {300, 100});
        QCOMPARE(child->windowTitle(), QString("  Depth: 40.0"));
        QTest::qWait(10);  // the caption keeps the value until the pointer moves
        QCOMPARE(child->windowTitle(), QString("  Depth: 40.0"));
    }

    void aNewProjectDrawsNothingUntilTheWallIsEntered() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ClickViewSoilProfile(form);
        TDlgSideView* view = SideView(form);
        QVERIFY(view->Geometry().Degenerate());
        QVERIFY(view->CurrentMarks().empty());
        MovePointer(view, {50, 20});
        QCOMPARE(form.SingleChild("DlgSideView")->windowTitle(), QString("Side View"));
        // The wall entered elsewhere shows when the window comes to the front again.
        form.ShowSingleChild("Other", [] { return new QWidget; });
        SmallWall(form);
        ClickViewSoilProfile(form);
        QVERIFY(!view->Geometry().Degenerate());
        QCOMPARE(view->CurrentMarks().size(), size_t(3));  // wall, backfill, excavation
    }

    void printsALandscapePage() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.OpenFileName(Example("surcharges-water.tx4d")));
        ClickViewSoilProfile(form);
        QPushButton* print = SideView(form)->PrintButton();
        QVERIFY(print->isEnabled());
        ui_.pdfPath = ShotFolder() + "/surcharges-water-page.pdf";
        QFile::remove(ui_.pdfPath);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(ui_.dialogs, 1);
        QCOMPARE(ui_.orientation, QPageLayout::Landscape);
        QFile pdf(ui_.pdfPath);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // The job's name is the document's title, in UTF-16 with its byte-order mark.
        QByteArray title("\xfe\xff");
        for (char c : QByteArray("Soil-Pile Profile")) title.append('\0').append(c);
        QVERIFY(bytes.contains("/Title (" + title + ")"));
        pdf.close();
        // Cancelling the dialog prints nothing.
        QVERIFY(QFile::remove(ui_.pdfPath));
        ui_.pdfPath.clear();
        SideView(form)->PrintMenuClick();
        QCOMPARE(ui_.dialogs, 2);
        QVERIFY(!QFile::exists(ShotFolder() + "/surcharges-water-page.pdf"));
        ui_.pdfPath = ShotFolder() + "/surcharges-water-page.pdf";
        QTest::mouseClick(print, Qt::LeftButton);  // kept for a look at the page
        ui_.pdfPath.clear();
    }

    void picturesOfEveryExample() {
        const QStringList names = QDir(TORVEX_SOURCE_DIR "/examples").entryList({"*.tx4d"});
        QCOMPARE(names.size(), 6);
        for (const QString& name : names) {
            TMainForm form;
            form.resize(900, 700);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QVERIFY2(form.OpenFileName(Example(name)), qPrintable(name));
            ClickViewSoilProfile(form);
            QMdiSubWindow* child = form.SingleChild("DlgSideView");
            TDlgSideView* view = SideView(form);
            QVERIFY(view);
            QVERIFY2(!view->Scene().Layers.empty(), qPrintable(name));
            // The wall's middle is painted in the text colour.
            const torvex::TProfileScene& scene = view->Scene();
            const QPoint wall(view->Geometry().Sx(0),
                              view->Geometry().Sy(scene.WallTop + scene.WallLength / 2));
            QCOMPARE(view->grab().toImage().pixelColor(wall),
                     view->palette().color(QPalette::WindowText));
            for (int scale : {1, 2}) {
                QImage image(child->size() * scale, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(scale);
                image.fill(Qt::white);
                child->render(&image);
                const QString file = QString("%1/%2-x%3.png")
                                         .arg(ShotFolder(), QFileInfo(name).baseName())
                                         .arg(scale);
                QVERIFY(image.save(file));
            }
        }
    }
};

QTEST_MAIN(SideViewWindowTest)
#include "SideViewWindowTest.moc"
