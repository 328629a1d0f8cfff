// The Parametric Study window as a user reaches it: Computation > Parametric Study from the
// main window's menu by its keys, the range typed, Run pressed, the table filled, the graph
// opened; Save CSV against torvex-run --vary on the same file, also on a full disk; Cancel on
// a long study of a staged file.

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QMdiArea>
#include <clocale>
#include <utility>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "plot/PlotForm.h"
#include "plot/PltData.h"
#include "study/StudyWindow.h"

using namespace torvex;

namespace {

// Opens a writable copy of a bundled example in the shown, active main window.
QString OpenExample(TMainForm& form, const QTemporaryDir& jobs, const char* example) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return {};
    QApplication::setActiveWindow(&form);
    const QString data = jobs.filePath(example);
    if (!QFile::copy(QString(TORVEX_SOURCE_DIR "/examples/") + example, data)) return {};
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
    return form.OpenFileName(data) ? data : QString();
}

// Computation (Alt+C), then Parametric S&tudy, as typed on the main window; then the main window
// active again, as a window manager makes it once the menu has gone (the offscreen platform
// does not).
TStudyWindow* OpenStudyByKeys(TMainForm& form) {
    QTest::keyClick(&form, Qt::Key_C, Qt::AltModifier);
    if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; })) return nullptr;
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_T);
    if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; })) return nullptr;
    QTest::qWait(20);
    QApplication::setActiveWindow(&form);
    QMdiSubWindow* child = form.SingleChild("ParametricStudy");
    return child ? qobject_cast<TStudyWindow*>(child->widget()) : nullptr;
}

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void Type(QSpinBox* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

}  // namespace

class StudyWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    testing::TRecordingInterface ui_;

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        testing::UseTestEnvironment(settingsDir_.path(), ui_);
    }
    void cleanupTestCase() { SetUserInterface(nullptr); }
    void cleanup() { ui_.Clear(); }

    void typedRunTableGraphAndCsvAsTorvexRunPrintsIt() {
        QTemporaryDir jobs;
        TMainForm form;
        const QString data = OpenExample(form, jobs, "cantilever-sand.tx4d");
        QVERIFY(!data.isEmpty());
        const QByteArray original = torvex::testing::FileContent(data);
        TStudyWindow* study = OpenStudyByKeys(form);
        QVERIFY(study);
        QCOMPARE(study->input->currentText(), QString("Free height"));
        QVERIFY(!study->stage->isEnabled());  // a file without stages
        QVERIFY(study->note->text().contains("(in)"));
        QVERIFY(study->note->text().contains("Now 120."));
        Type(study->from, "96");
        Type(study->to, "168");
        Type(study->count, "13");
        QCOMPARE(study->count->value(), 13);
        QSignalSpy finished(study, &TStudyWindow::Finished);
        QTest::mouseClick(study->btnRun, Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QCOMPARE(study->table->rowCount(), 13);
        QCOMPARE(study->table->item(0, 0)->text(), QString("96"));
        QCOMPARE(study->table->item(12, 0)->text(), QString("168"));
        QCOMPARE(study->table->item(6, 0)->text(), QString("132"));
        for (int r = 0; r < 13; ++r) QCOMPARE(study->table->item(r, 1)->text(), QString("converged"));
        QCOMPARE(study->table->horizontalHeaderItem(4)->text(), QString("Largest moment (lbs-in)"));
        QCOMPARE(study->progress->value(), 13);
        // A higher cantilever bends more: the largest moment grows with the free height.
        QVERIFY(std::abs(study->Result().rows[12].maxMoment) > std::abs(study->Result().rows[0].maxMoment));

        // The graph of the largest moment in the program's graph window.
        study->quantity->setCurrentText("Largest moment");
        QTest::mouseClick(study->btnGraph, Qt::LeftButton);
        QMdiSubWindow* graphChild = form.SingleChild("Graph pltStudy");
        QVERIFY(graphChild);
        auto* plot = qobject_cast<TPlotForm*>(graphChild->widget());
        QVERIFY(plot);
        const TGraphPlot& graph = plot->Graph();
        QCOMPARE(graph.Lines.Count(), 1);
        QCOMPARE(graph.Lines.PointCount(), 13);
        QCOMPARE(static_cast<double>(graph.Lines.Point(0, 12).X), 168.0);
        QCOMPARE(static_cast<double>(graph.Lines.Point(0, 12).Y), study->Result().rows[12].maxMoment);
        QCOMPARE(QString::fromStdString(graph.XAxisLabel()), QString("Free height (in)"));
        QCOMPARE(QString::fromStdString(graph.YAxisLabel()), QString("Largest moment (lbs-in)"));
        QVERIFY(plot->PlotMenu());

        // Save CSV, byte for byte what torvex-run --vary prints for the same range.
        ui_.savePath = jobs.filePath("study.csv");
        QTest::mouseClick(study->btnSaveCsv, Qt::LeftButton);
        QCOMPARE(ui_.savePresets, QStringList{QDir(jobs.path()).filePath("cantilever-sand.study.csv")});
        const QByteArray saved = torvex::testing::FileContent(ui_.savePath);
        QVERIFY(saved.startsWith("value,outcome,top_deflection,max_deflection,max_moment,max_shear,le_F,reason\n"
                                 "96,converged,"));
        QProcess run;
        run.start(TORVEX_BINARY_DIR "/bin/torvex-run", {"--vary", "FreeHeight=96:168:13", data});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.readAllStandardOutput(), saved);
        // No result or data file was made beside the project by the study, nor the project
        // written again.
        QCOMPARE(testing::FolderEntries(jobs.path()), (QStringList{"cantilever-sand.tx4d", "study.csv"}));
        QCOMPARE(torvex::testing::FileContent(data), original);
        QVERIFY(ui_.asked.isEmpty());

        // On a full disk the save fails with a message and the old file stays whole.
        ui_.shown.clear();
        const QByteArray earlier = "an earlier table\r\n";
        {
            QFile file(ui_.savePath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
        }
        {
            const testing::TFullDisk full(64);
            QVERIFY(full.IsSet());
            QTest::mouseClick(study->btnSaveCsv, Qt::LeftButton);
        }
        QCOMPARE(ui_.shown, QStringList{"Cannot write \"" + ui_.savePath + "\": File too large."});
        QCOMPARE(torvex::testing::FileContent(ui_.savePath), earlier);

        // The study closed, its graph window still draws its graph; a new study's graph then
        // takes that window's place.
        form.SingleChild("ParametricStudy")->close();
        QTRY_VERIFY(!form.SingleChild("ParametricStudy"));
        QCOMPARE(qobject_cast<TPlotForm*>(form.SingleChild("Graph pltStudy")->widget())->Graph().Lines.PointCount(), 13);
        study = OpenStudyByKeys(form);
        QVERIFY(study);
        QTest::mouseClick(study->btnRun, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return study->btnRun->isEnabled() && study->table->rowCount() == 21; }));
        QTest::mouseClick(study->btnGraph, Qt::LeftButton);
        auto* replaced = qobject_cast<TPlotForm*>(form.SingleChild("Graph pltStudy")->widget());
        QCOMPARE(&replaced->Graph(), &study->Graph());
        QCOMPARE(replaced->Graph().Lines.PointCount(), 21);
    }

    // On a main window smaller than the study window's opening size, it opens within the desk.
    void opensWithinASmallDesk() {
        QTemporaryDir jobs;
        TMainForm form;
        QVERIFY(!OpenExample(form, jobs, "cantilever-sand.tx4d").isEmpty());
        form.resize(640, 480);
        QVERIFY(QTest::qWaitFor([&] { return form.Desk()->viewport()->height() < 480; }));
        QVERIFY(OpenStudyByKeys(form));
        const QRect child = form.SingleChild("ParametricStudy")->geometry();
        const QRect desk = form.Desk()->viewport()->rect();
        QVERIFY2(desk.contains(child), qPrintable(QString("%1x%2 at %3,%4 on a %5x%6 desk")
                                                      .arg(child.width()).arg(child.height()).arg(child.x())
                                                      .arg(child.y()).arg(desk.width()).arg(desk.height())));
    }

    void unsavedChangesAreSavedOnlyWhenTheUserSaysSo() {
        QTemporaryDir jobs;
        TMainForm form;
        const QString data = OpenExample(form, jobs, "cantilever-sand.tx4d");
        QVERIFY(!data.isEmpty());
        const QByteArray original = torvex::testing::FileContent(data);
        form.Workspace().Project().FreeHeight = 132;
        form.SetModified(true);
        struct TAnswerCase {
            TAnswer answer;
            bool opens, written;
        };
        for (const TAnswerCase c : {TAnswerCase{TAnswer::Cancel, false, false}, TAnswerCase{TAnswer::No, true, false},
                                    TAnswerCase{TAnswer::Yes, true, true}}) {
            ui_.asked.clear();
            ui_.answer = c.answer;
            TStudyWindow* study = OpenStudyByKeys(form);
            QCOMPARE(ui_.asked, QStringList{"The study analyses the project as saved. Save your changes first?"});
            QCOMPARE(study != nullptr, c.opens);
            QCOMPARE(torvex::testing::FileContent(data) != original, c.written);
            // The window shows the free height of the file as it is on disk.
            if (study) QVERIFY(study->note->text().contains(c.written ? "Now 132." : "Now 120."));
            if (QMdiSubWindow* child = form.SingleChild("ParametricStudy")) delete child;
        }
    }

    // On a decimal-comma desktop the range takes the locale's comma and the program's point
    // alike; the table and the CSV keep the point.
    void aDecimalCommaRangeRunsAsThePointDoes() {
        QTemporaryDir jobs;
        TMainForm form;
        QVERIFY(!OpenExample(form, jobs, "anchored-soft-clay.tx4d").isEmpty());
        QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr,
                 "the locale de_DE.UTF-8 is missing (the install step generates it)");
        TStudyWindow* study = OpenStudyByKeys(form);
        QVERIFY(study);
        ui_.Clear();
        QStringList tables;
        for (const auto& [low, high] : {std::pair{"4,8", "7,2"}, std::pair{"4.8", "7.2"}}) {
            Type(study->from, low);
            Type(study->to, high);
            Type(study->count, "3");
            QSignalSpy finished(study, &TStudyWindow::Finished);
            QTest::mouseClick(study->btnRun, Qt::LeftButton);
            QVERIFY(finished.count() == 1 || finished.wait(10000));
            QVERIFY2(ui_.shown.isEmpty(), qPrintable(ui_.shown.join('|')));
            QCOMPARE(study->table->rowCount(), 3);
            QString table;
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < study->table->columnCount(); ++c) table += study->table->item(r, c)->text() + ';';
            tables << table;
        }
        std::setlocale(LC_ALL, "C");
        QCOMPARE(tables[0], tables[1]);
        QVERIFY2(tables[0].startsWith("4.8;converged;"), qPrintable(tables[0]));
    }

    void failedVariantsStayInTheTableAndOutOfTheGraph() {
        QTemporaryDir jobs;
        TMainForm form;
        QVERIFY(!OpenExample(form, jobs, "cantilever-sand.tx4d").isEmpty());
        TStudyWindow* study = OpenStudyByKeys(form);
        QVERIFY(study);
        study->input->setFocus();
        QTest::keyClick(study->input, Qt::Key_Down);
        QCOMPARE(study->input->currentText(), QString("Wall length (number of increments)"));
        QVERIFY(study->note->text().contains("Now 100."));
        // 100 increments, then 0 and -100: the wall needs at least 2.
        Type(study->from, "100");
        Type(study->to, "-100");
        Type(study->count, "3");
        QSignalSpy finished(study, &TStudyWindow::Finished);
        QTest::mouseClick(study->btnRun, Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QCOMPARE(study->table->rowCount(), 3);
        const QString outcomes[] = {"converged", "input error", "input error"};
        for (int r = 0; r < 3; ++r) QCOMPARE(study->table->item(r, 1)->text(), outcomes[r]);
        QCOMPARE(study->table->item(1, 1)->toolTip(),
                 QString("The number of increments must be between 2 and 10000; the file gives 0."));
        QCOMPARE(study->table->item(1, 4)->text(), QString());  // no moment
        study->quantity->setCurrentText("Limit-equilibrium F");
        QTest::mouseClick(study->btnGraph, Qt::LeftButton);
        const TGraphPlot& graph = study->Graph();
        QCOMPARE(graph.Lines.PointCount(), 1);
        QCOMPARE(QString::fromStdString(graph.Title),
                 QString("Limit-equilibrium F against wall length (number of increments); 2 variants without a value"));
    }

    void cancelStopsALongStudyOfAStagedFileAtOnce() {
        QTemporaryDir jobs;
        TMainForm form;
        QVERIFY(!OpenExample(form, jobs, "three-stage-excavation.tx4d").isEmpty());
        TStudyWindow* study = OpenStudyByKeys(form);
        QVERIFY(study);
        QVERIFY(study->stage->isEnabled());
        QCOMPARE(study->stage->value(), 3);
        Type(study->from, "150");
        Type(study->to, "200");
        Type(study->count, "1000");
        QSignalSpy finished(study, &TStudyWindow::Finished);
        QTest::mouseClick(study->btnRun, Qt::LeftButton);
        QVERIFY(!study->btnRun->isEnabled());
        // The window stays live while the study runs: its progress bar moves.
        QVERIFY(QTest::qWaitFor([&] { return study->progress->value() >= 20; }, 5000));
        QVERIFY(finished.isEmpty());
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(study->btnCancel, Qt::LeftButton);
        QVERIFY(finished.wait(2000));
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QVERIFY(study->Result().cancelled);
        QVERIFY(study->table->rowCount() >= 20 && study->table->rowCount() < 1000);
        QVERIFY(study->note->text().startsWith("Cancelled: "));
        QVERIFY(study->btnRun->isEnabled());
    }
};

QTEST_MAIN(StudyWindowTest)
#include "StudyWindowTest.moc"
