// What a user of a Linux desktop meets around the main window: where new child windows
// appear, the program's icon, a text editor installed under a path with blanks, and a data
// file whose name is not UTF-8.

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/ChildPlacement.h"
#include "app/MainWindow.h"
#include "AppTestSupport.h"

using torvex::TMainForm;

class DesktopBehaviourTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    torvex::testing::TRecordingInterface ui_;

private slots:
    void initTestCase() {
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }

    void cascadePositions_data() {
        QTest::addColumn<int>("others");
        QTest::addColumn<QSize>("child");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QPoint>("expected");
        // A 300 x 200 child in a 500 x 400 area, 20 per step: 10 steps fit across, 10 down.
        QTest::newRow("first") << 0 << QSize(300, 200) << QSize(500, 400) << QPoint(0, 0);
        QTest::newRow("third") << 2 << QSize(300, 200) << QSize(500, 400) << QPoint(40, 40);
        QTest::newRow("last that fits") << 10 << QSize(300, 200) << QSize(500, 400) << QPoint(200, 200);
        QTest::newRow("starts again") << 11 << QSize(300, 200) << QSize(500, 400) << QPoint(0, 0);
        // The narrower side decides: 2 steps across.
        QTest::newRow("narrow area") << 3 << QSize(300, 100) << QSize(340, 400) << QPoint(0, 0);
        QTest::newRow("larger than the area") << 4 << QSize(900, 700) << QSize(500, 400) << QPoint(0, 0);
    }
    void cascadePositions() {
        QFETCH(int, others);
        QFETCH(QSize, child);
        QFETCH(QSize, area);
        QFETCH(QPoint, expected);
        QCOMPARE(torvex::CascadePosition(others, child, area, 20), expected);
    }

    void cascadeSizes_data() {
        QTest::addColumn<QSize>("normal");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("expected");
        const QSize least(330, 250);
        QTest::newRow("fits") << QSize(650, 510) << QPoint(40, 40) << QSize(1000, 700) << QSize(650, 510);
        QTest::newRow("exactly to the corner") << QSize(650, 510) << QPoint(350, 190) << QSize(1000, 700)
                                               << QSize(650, 510);
        QTest::newRow("cut on the right") << QSize(650, 510) << QPoint(400, 0) << QSize(1000, 700)
                                          << QSize(600, 510);
        QTest::newRow("cut below") << QSize(650, 510) << QPoint(0, 300) << QSize(1000, 700)
                                   << QSize(650, 400);
        QTest::newRow("never below the least") << QSize(650, 510) << QPoint(500, 400) << QSize(700, 480)
                                               << least;
        QTest::newRow("a small child grows to the least")
            << QSize(110, 20) << QPoint(0, 0) << QSize(1000, 700) << least;
    }
    void cascadeSizes() {
        QFETCH(QSize, normal);
        QFETCH(QPoint, at);
        QFETCH(QSize, area);
        QFETCH(QSize, expected);
        QCOMPARE(torvex::CascadeSize(normal, at, area, QSize(330, 250)), expected);
    }

    void newChildWindowsOpenInsideTheWorkAreaWithTheIcon() {
        TMainForm form;
        form.resize(700, 520);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.windowIcon().isNull());
        const QRect area = form.Desk()->viewport()->rect();
        for (const char* table : {"PileSect", "PYOutpt", "SoilWeight", "DistLoad"}) {
            form.ShowTableEditor(table);
            QMdiSubWindow* child = form.Desk()->activeSubWindow();
            QVERIFY(child);
            QVERIFY2(area.contains(child->geometry().topLeft()), table);
            QVERIFY(!child->windowIcon().isNull());
        }
        // Each new one a step further down and to the right.
        const QList<QMdiSubWindow*> children = form.Desk()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(children[0]->pos(), QPoint(0, 0));
        QVERIFY(children[1]->x() > 0 && children[1]->y() > 0);
        // A child pushed beyond the work area is scrolled back into view when brought up.
        children[0]->move(area.width() + 300, 40);
        form.Desk()->setActiveSubWindow(children[1]);
        form.Desk()->setActiveSubWindow(children[0]);
        QVERIFY(area.contains(children[0]->geometry().topLeft()));
    }

    void anEditorUnderAPathWithBlanksOpensTheInput() {
        QTemporaryDir place;
        const QString editorFolder = place.filePath("My Editor");
        QVERIFY(QDir().mkpath(editorFolder));
        const QString editor = editorFolder + "/edit file";
        const QString record = place.filePath("opened.txt");
        {
            QFile script(editor);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(("#!/bin/sh\nprintf '%s' \"$1\" > '" + record + "'\n").toUtf8());
        }
        QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        {
            QSettings settings("Norcel", "TORVEX");
            settings.beginGroup("2012.4.2");
            settings.setValue("Word Processor", editor);
        }
        const QString data = place.filePath("a wall.tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", data));
        TMainForm form;
        QVERIFY(form.OpenFileName(data));
        ui_.Clear();
        form.Action("CompInput")->trigger();
        QVERIFY(ui_.shown.isEmpty());
        QTRY_COMPARE([&] {
            QFile file(record);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        }(), data);
        QSettings("Norcel", "TORVEX").clear();
    }

    void aFileNamedInAnEightBitEncodingOpensAndSavesUnderItsName() {
        QTemporaryDir place;
        // "Wänd.tx4d" in ISO 8859-1: the byte E4 alone is not UTF-8.
        const std::string name = place.path().toStdString() + "/W\xe4nd.tx4d";
        namespace fs = std::filesystem;
        fs::copy_file(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", name);
        std::ofstream(place.path().toStdString() + "/W\xe4nd.tx4o") << "output\n";
        TMainForm form;
        ui_.Clear();
        form.OpenCommandLineBytes({name});
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(form.Workspace().Project().FileName, name);
        QCOMPARE(QString::fromStdString(form.Workspace().Project().Title),
                 QString("Cantilever sheet-pile wall in medium dense sand"));
        QVERIFY(form.Action("SpeedButton5")->isEnabled());
        // Saved back under the same bytes, beside nothing new.
        const auto before = fs::last_write_time(name);
        form.SetModified(true);
        form.FileSaveClick();
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(fs::last_write_time(name) >= before);
        QCOMPARE(std::distance(fs::directory_iterator(place.path().toStdString()), fs::directory_iterator()), 2);
        QVERIFY(!form.IsModified());
    }

    // The save dialog keeps double quotes in a name, which Qt's dialog reads as a list of
    // names: 'it's a "wall" .pdf' was saved as "wall.pdf". It still asks before replacing.
    void theSaveDialogKeepsQuotesInAName() {
        QTemporaryDir folder;
        QVERIFY(QFile(folder.filePath("taken \"B\".pdf")).open(QIODevice::WriteOnly));
        torvex::SetUserInterface(nullptr);  // the program's own dialogs
        struct TCase {
            QString typed, saved;
            bool asksToReplace;
        };
        const TCase cases[] = {
            {"it's a \"wall\" .pdf", "it's a \"wall\" .pdf", false},
            {"\"quoted\" name", "\"quoted\" name.pdf", false},
            {"plain", "plain.pdf", false},
            {"taken \"B\".pdf", "taken \"B\".pdf", true},
        };
        for (const TCase& c : cases) {
            bool asked = false;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(edit);
                edit->setText(c.typed);
                QTimer::singleShot(0, [&] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        asked = box->text().contains("already exists");
                        box->button(QMessageBox::Yes)->click();
                    }
                });
                QTest::keyClick(edit, Qt::Key_Return);
            });
            const QString saved = torvex::UserInterface().SaveFileName(
                nullptr, "Export Report", folder.filePath("suggested.pdf"), {"PDF document (*.pdf)"}, "pdf");
            QCOMPARE(saved, folder.filePath(c.saved));
            QCOMPARE(asked, c.asksToReplace);
        }
        torvex::SetUserInterface(&ui_);
    }
};

QTEST_MAIN(DesktopBehaviourTest)
#include "DesktopBehaviourTest.moc"
