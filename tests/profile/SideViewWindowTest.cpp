// The Side View window inside the main window, offscreen: opened through the tool-bar button
// and the Computation menu as one child, redrawn from the project when it comes to the front,
// the depth under the pointer in its caption, printing to a PDF file, and pictures of every
// bundled example at scale 1 and 2 in the build folder's profile-screenshots.

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
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

// Answers the print dialog with a PDF file, printing or cancelling.
class TPrintingInterface : public torvex::testing::TRecordingInterface {
public:
    bool Print(QWidget*, QPrinter& printer) override {
        orientation = printer.pageLayout().orientation();
        printer.setOutputFileName(pdfPath);
        return accept;
    }
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString pdfPath;
    bool accept = true;
};

const QString kShots = TORVEX_BINARY_DIR "/profile-screenshots";

// Clicks View Soil Profile on the tool bar; returns the side view.
TDlgSideView* ClickViewSoilProfile(TMainForm& form) {
    QTest::mouseClick(form.ToolBar()->widgetForAction(form.Action("SpeedButton6")), Qt::LeftButton);
    QMdiSubWindow* child = form.SingleChild("DlgSideView");
    return child ? qobject_cast<TDlgSideView*>(child->widget()) : nullptr;
}

QString Caption(QWidget* view, QPoint pointer) {
    QMouseEvent move(QEvent::MouseMove, pointer, view->mapToGlobal(pointer), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    return view->parentWidget()->windowTitle();
}

}  // namespace

class SideViewWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_, examples_;
    TPrintingInterface ui_;
    std::unique_ptr<TMainForm> form_;

    // Opens a copy of an example: a staged one writes its stage files beside it.
    void Open(const QString& name) {
        const QString copy = examples_.filePath(name);
        QFile::copy(TORVEX_SOURCE_DIR "/examples/" + name, copy);
        QVERIFY(form_->OpenFileName(copy));
        // The windows of the old project go, as they would before the next click.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase() {
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        QDir().mkpath(kShots);
    }
    void init() {
        form_ = std::make_unique<TMainForm>();
        form_->resize(900, 700);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() { form_.reset(); }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }

    void buttonAndMenuOpenOneWindowThatFollowsTheProject() {
        TDlgSideView* view = ClickViewSoilProfile(*form_);
        QVERIFY(view);
        QMdiSubWindow* child = form_->SingleChild("DlgSideView");
        QCOMPARE(child->windowTitle(), QString("Side View"));
        QCOMPARE(child->size(), QSize(580, 431));
        QCOMPARE(view->PrintButton()->geometry(), QRect(440, 336, 57, 25));
        // A new project has no wall: degenerate extents, nothing drawn, no depth.
        QVERIFY(view->CurrentMarks().empty());
        QCOMPARE(Caption(view, {50, 20}), QString("Side View"));
        // 100 increments of 1, free height 40, entered while another window is in front.
        form_->ShowSingleChild("Other", [] { return new QWidget; });
        torvex::TProgramData& p = form_->Workspace().Project();
        p.NumIncrements = 100;
        p.IncrementLength = 1;
        p.FreeHeight = 40;
        QCOMPARE(ClickViewSoilProfile(*form_), view);  // brought to the front, redrawn
        QCOMPARE(form_->Desk()->subWindowList().size(), 2);
        QCOMPARE(view->CurrentMarks().size(), size_t(3));  // wall, backfill, excavation
        // In a 400 x 231 drawing the view is y 0..115.5: row 20 is the wall top.
        child->resize(child->size() + QSize(400, 231) - view->size());
        QCOMPARE(Caption(view, {50, 20}), QString("  Depth: 0.0"));
        QCOMPARE(Caption(view, {300, 100}), QString("  Depth: 40.0"));

        // View Wall Geometry waits for results; with a plot file it shows the same window.
        emit form_->Menu("ComputationMenu")->aboutToShow();
        QVERIFY(!form_->Action("CompLayers")->isEnabled());
        Open("cantilever-sand.tx4d");  // closes the windows of the old project
        QFile plot(examples_.filePath("cantilever-sand.tx4p")), report(examples_.filePath("cantilever-sand.tx4o"));
        QVERIFY(plot.open(QIODevice::WriteOnly) && report.open(QIODevice::WriteOnly));
        plot.close();
        report.close();
        form_->SetPlotLoaded(true);
        emit form_->Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form_->Action("CompLayers")->isEnabled());
        form_->Action("CompLayers")->trigger();
        QVERIFY(form_->SingleChild("DlgSideView"));
        QVERIFY(plot.remove() && report.remove());
    }

    void printsALandscapePageOrNothing() {
        Open("surcharges-water.tx4d");
        QPushButton* print = ClickViewSoilProfile(*form_)->PrintButton();
        ui_.pdfPath = kShots + "/surcharges-water-page.pdf";
        QFile::remove(ui_.pdfPath);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(ui_.orientation, QPageLayout::Landscape);
        QFile pdf(ui_.pdfPath);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        // The job's name is the document's title, in UTF-16 after its byte-order mark.
        QByteArray title("/Title (\xfe\xff");
        for (char c : QByteArray("Soil-Pile Profile")) title.append('\0').append(c);
        QVERIFY(pdf.readAll().contains(title));
        ui_.pdfPath = kShots + "/cancelled.pdf";
        QFile::remove(ui_.pdfPath);
        ui_.accept = false;
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(!QFile::exists(ui_.pdfPath));
    }

    // The disk is full: the page printed last time stays as it was, and the user is told.
    void aFullDiskKeepsTheOldPrintedPage() {
        Open("surcharges-water.tx4d");
        QPushButton* print = ClickViewSoilProfile(*form_)->PrintButton();
        QTemporaryDir folder;
        ui_.pdfPath = folder.filePath("profile.pdf");
        ui_.accept = true;
        const QByteArray old = QByteArray("the profile printed last week\n").repeated(40);
        QFile file(ui_.pdfPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        ui_.Clear();
        {
            torvex::testing::TFullDisk full(16);
            QVERIFY(full.IsSet());
            QTest::mouseClick(print, Qt::LeftButton);
        }
        QCOMPARE(ui_.shown, QStringList{"Cannot write \"" + ui_.pdfPath + "\": File too large."});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        file.close();
        QCOMPARE(torvex::testing::FolderEntries(folder.path()), QStringList{"profile.pdf"});
        // With room again the page replaces it, and nothing else is left beside it.
        ui_.Clear();
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(ui_.shown, QStringList());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF-"));
        QCOMPARE(torvex::testing::FolderEntries(folder.path()), QStringList{"profile.pdf"});
    }

    void pictureOfEveryMark() {
        // Cantilever sand (increments of 3.6 in, E at node 33.3) with a sloped backfill, a
        // restraint at node 20, an external p-y curve at node 60 and springs at nodes 10 and 50.
        Open("cantilever-sand.tx4d");
        torvex::TWorkspace& workspace = form_->Workspace();
        torvex::TProgramData& p = workspace.Project();
        p.BackfillSlope = 10;
        p.UseRestraints = p.UsePYCurves = p.UseSprings = 1;
        workspace.Table("Soillayer").Cell(1, 0).SetInteger(20);
        workspace.Table("PYCurves").Cell(0, 0).SetInteger(60);
        workspace.Table("SoilStrength").SetRowCount(2);
        workspace.Table("SoilStrength").Cell(1, 0).SetInteger(10);
        workspace.Table("SoilStrength").Cell(1, 1).SetInteger(50);
        TDlgSideView* view = ClickViewSoilProfile(*form_);
        QMap<int, int> pens;  // lines by pen width
        for (const torvex::TMark& mark : view->CurrentMarks())
            if (mark.Kind == torvex::TMarkKind::Line) ++pens[mark.Pen];
        QCOMPARE(pens[2], 3 + 4);  // restraint and p-y curve
        QCOMPARE(pens[5], 1);      // the spring below the excavation is left out
        QVERIFY(form_->SingleChild("DlgSideView")->grab().save(kShots + "/every-mark.png"));
    }

    void picturesOfEveryExample() {
        const QStringList names = QDir(TORVEX_SOURCE_DIR "/examples").entryList({"*.tx4d"});
        QCOMPARE(names.size(), 6);
        for (const QString& name : names) {
            Open(name);
            TDlgSideView* view = ClickViewSoilProfile(*form_);
            QVERIFY2(!view->Scene().Layers.empty(), qPrintable(name));
            // The middle of the wall is painted in the text colour.
            const torvex::TProfileScene& scene = view->Scene();
            const QPoint wall(view->Geometry().Sx(0),
                              view->Geometry().Sy(scene.WallTop + scene.WallLength / 2));
            QCOMPARE(view->grab().toImage().pixelColor(wall),
                     view->palette().color(QPalette::WindowText));
            QMdiSubWindow* child = form_->SingleChild("DlgSideView");
            for (int scale : {1, 2}) {
                QImage image(child->size() * scale, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(scale);
                child->render(&image);
                QVERIFY(image.save(QString("%1/%2-x%3.png")
                                       .arg(kShots, QFileInfo(name).baseName())
                                       .arg(scale)));
            }
            child->resize(880, 431);  // wide enough to show the top view of the larger walls
            QApplication::processEvents();  // the frame lays out its drawing
            QVERIFY(child->grab().save(kShots + "/" + QFileInfo(name).baseName() + "-wide.png"));
        }
    }
};

QTEST_MAIN(SideViewWindowTest)
#include "SideViewWindowTest.moc"
