// The child windows of the main window as the keyboard reaches them: the Plot menu of the
// graph in front under Alt+P however many graphs are open, typing into a table window that
// was brought back to the front, Ctrl+A in a cell after its error message; and how the
// Window menu lists and cascades graphs, the side view and tables.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/TableForm.h"
#include "plot/PlotForm.h"
#include "profile/SideView.h"

using torvex::TMainForm;
using torvex::TPlotForm;
using torvex::TTableForm;

namespace {

TPlotForm* ActivePlot(TMainForm& form) {
    QMdiSubWindow* child = form.Desk()->activeSubWindow();
    return child ? qobject_cast<TPlotForm*>(child->widget()) : nullptr;
}

// The menu bar's menus with that caption.
int MenusCalled(TMainForm& form, const QString& caption) {
    int count = 0;
    for (QAction* action : form.menuBar()->actions())
        if (action->text() == caption) ++count;
    return count;
}

// Presses a key where the keyboard focus is, as the user's keyboard would.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
}

void Type(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClicks(target, QString(c));
    }
}

// The main window active again once a menu or a message box has gone, as the window manager
// makes it; the offscreen platform leaves no window active then.
void BackToMainWindow() {
    QTRY_VERIFY(!QApplication::activePopupWidget() && !QApplication::activeModalWidget());
    // The platform's own activation events of the closed window come first.
    QTest::qWait(20);
    QWidget* main = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<TMainForm*>(window) && window->isVisible()) main = window;
    QVERIFY(main);
    if (QApplication::activeWindow() != main) QApplication::setActiveWindow(main);
    QTRY_VERIFY(main->isActiveWindow());
}

// Closes every open menu with Escape, as the user would.
void CloseMenus() {
    for (int i = 0; i < 4 && QApplication::activePopupWidget(); ++i)
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    BackToMainWindow();
}

// Chooses a menu item through its menu's mnemonic and the item's.
void ChooseFromMenu(Qt::Key menuKey, Qt::Key itemKey) {
    Press(menuKey, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    Press(itemKey);
    BackToMainWindow();
}

}  // namespace

class ChildWindowsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    torvex::testing::TRecordingInterface ui_;
    QString startDir_;

    static bool RunExample(TMainForm& form, QTemporaryDir& jobs, QTemporaryDir& run) {
        const QString example = TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d";
        const QString data = jobs.filePath(QFileInfo(example).fileName());
        if (!QFile::copy(example, data) || !form.OpenFileName(data)) return false;
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.CompRunClick();
        form.GraphicsMenuClick();  // the Graphics menu's items are enabled as it drops down
        return form.PlotLoaded();
    }
    static void ShowActive(TMainForm& form) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        QTRY_VERIFY(form.isActiveWindow());
    }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void cleanup() {
        QDir::setCurrent(startDir_);
        torvex::SetUserInterface(&ui_);
        ui_.Clear();
    }

    void altPOpensThePlotMenuOfTheGraphInFrontAtEveryPress() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 750);
        ShowActive(form);
        QVERIFY(RunExample(form, jobs, run));
        for (const char* button : {"SpeedButton8", "SpeedButton11", "SpeedButton10"})
            form.Action(button)->trigger();
        QCOMPARE(form.Desk()->subWindowList().size(), 3);
        QCOMPARE(MenusCalled(form, "&Plot"), 1);
        TPlotForm* shear = ActivePlot(form);
        QVERIFY(shear);
        QCOMPARE(&shear->Graph(), &form.Graphs().pltShear);
        for (int press = 0; press < 4; ++press) {
            Press(Qt::Key_P, Qt::AltModifier);
            QTRY_COMPARE(QApplication::activePopupWidget(), shear->PlotMenu());
            CloseMenus();
        }

        // Another graph brought up from the Window menu: its menu, and only its, answers.
        Press(Qt::Key_W, Qt::AltModifier);  // the Window menu lists the children
        CloseMenus();
        form.Action("WindowItem1")->trigger();
        TPlotForm* deflection = ActivePlot(form);
        QVERIFY(deflection && deflection != shear);
        QCOMPARE(MenusCalled(form, "&Plot"), 1);
        QVERIFY(form.menuBar()->actions().contains(deflection->PlotMenu()->menuAction()));
        QVERIFY(!form.menuBar()->actions().contains(shear->PlotMenu()->menuAction()));
        for (int press = 0; press < 3; ++press) {
            Press(Qt::Key_P, Qt::AltModifier);
            QTRY_COMPARE(QApplication::activePopupWidget(), deflection->PlotMenu());
            CloseMenus();
        }

        // All eight graphs open: still one Plot menu, the one of the last opened.
        for (const char* item : {"Comppy", "CompSoil", "DefMomShear", "CompLD", "CompCombine"}) {
            QVERIFY2(form.Action(item)->isEnabled(), item);
            form.Action(item)->trigger();
        }
        QCOMPARE(form.Desk()->subWindowList().size(), 8);
        QCOMPARE(MenusCalled(form, "&Plot"), 1);
        TPlotForm* combined = ActivePlot(form);
        QCOMPARE(&combined->Graph(), &form.Graphs().PltCombine);
        for (int press = 0; press < 3; ++press) {
            Press(Qt::Key_P, Qt::AltModifier);
            QTRY_COMPARE(QApplication::activePopupWidget(), combined->PlotMenu());
            CloseMenus();
        }
        // The Plot menu stands where it did: after Options.
        QCOMPARE(form.menuBar()->actions().indexOf(combined->PlotMenu()->menuAction()), 3);

        // A table in front: no Plot menu at all, and Alt+P opens nothing.
        form.ShowTableEditor("PYMod");
        QVERIFY(qobject_cast<TTableForm*>(form.Desk()->activeSubWindow()->widget()));
        QCOMPARE(MenusCalled(form, "&Plot"), 0);
        Press(Qt::Key_P, Qt::AltModifier);
        QTest::qWait(50);
        QVERIFY(!QApplication::activePopupWidget());
        CloseMenus();
        // Closing the table brings a graph, and its menu, back.
        form.Desk()->activeSubWindow()->close();
        QTRY_COMPARE(MenusCalled(form, "&Plot"), 1);
        QVERIFY(ActivePlot(form));
        QVERIFY(form.menuBar()->actions().contains(ActivePlot(form)->PlotMenu()->menuAction()));
    }

    void theCombinedGraphIsListedByItsCaption() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 750);
        ShowActive(form);
        QVERIFY(RunExample(form, jobs, run));
        form.Action("CompLD")->trigger();
        form.Action("CompCombine")->trigger();
        Press(Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        CloseMenus();
        QCOMPARE(form.Action("WindowItem1")->text(), QString("Load vs Top Deflection"));
        QCOMPARE(form.Action("WindowItem2")->text(), QString("Combined Earth Pressure vs Depth"));
        QVERIFY(form.Action("WindowItem2")->isChecked());
        QVERIFY(!form.Action("WindowItem3")->isVisible());
        // The entry brings the window up.
        form.Action("WindowItem1")->trigger();
        form.Action("WindowItem2")->trigger();
        QCOMPARE(&ActivePlot(form)->Graph(), &form.Graphs().PltCombine);
    }

    void aTableBroughtBackToTheFrontTakesTyping() {
        TMainForm form;
        form.resize(1000, 750);
        ShowActive(form);
        // Data, Soil Layer Data, by the keyboard.
        ChooseFromMenu(Qt::Key_T, Qt::Key_S);
        QTRY_VERIFY(form.Desk()->activeSubWindow());
        QMdiSubWindow* tableWindow = form.Desk()->activeSubWindow();
        auto* editor = qobject_cast<TTableForm*>(tableWindow->widget());
        QVERIFY(editor);
        QCOMPARE(editor->Table()->Name, std::string("NewSoil"));
        QTRY_VERIFY(editor->CellEditor() && editor->CellEditor()->hasFocus());
        Type("12");
        Press(Qt::Key_Return);
        QCOMPARE(editor->Grid()->item(0, 1)->text(), QString("12"));

        // Other windows in front: the side view and the wall configuration.
        form.Action("SpeedButton6")->trigger();
        QTRY_VERIFY(form.Desk()->activeSubWindow() != tableWindow);
        ChooseFromMenu(Qt::Key_T, Qt::Key_W);
        QTRY_VERIFY(form.Desk()->activeSubWindow() != tableWindow);
        QVERIFY(!editor->Grid()->isAncestorOf(QApplication::focusWidget()));

        // Soil Layer Data again: the table comes up, and the next keys go into its cell (Ctrl+A
        // selects the cell's text; in the grid it would select the cells).
        ChooseFromMenu(Qt::Key_T, Qt::Key_S);
        QTRY_COMPARE(form.Desk()->activeSubWindow(), tableWindow);
        QTRY_VERIFY(editor->CellEditor() && editor->CellEditor()->hasFocus());
        QCOMPARE(editor->Grid()->currentRow(), 0);  // one row: Enter came back to it
        QCOMPARE(editor->Grid()->currentColumn(), 1);
        Press(Qt::Key_A, Qt::ControlModifier);
        Type("30");
        Press(Qt::Key_Return);
        QCOMPARE(editor->Grid()->item(0, 1)->text(), QString("30"));
        QCOMPARE(editor->Table()->Columns(1).GetText(0), std::string("30"));

        // Brought up from the Window menu (its first child) after another window came up.
        form.Desk()->setActiveSubWindow(form.Desk()->subWindowList(QMdiArea::CreationOrder)[1]);
        QTRY_VERIFY(!editor->Grid()->isAncestorOf(QApplication::focusWidget()));
        Press(Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(form.Action("WindowItem1")->text(), editor->windowTitle());
        for (int i = 0; i < 2; ++i) Press(Qt::Key_Down);  // from Cascade past Arrange Icons
        Press(Qt::Key_Return);
        BackToMainWindow();
        QTRY_COMPARE(form.Desk()->activeSubWindow(), tableWindow);
        QTRY_VERIFY(editor->CellEditor() && editor->CellEditor()->hasFocus());
        Press(Qt::Key_A, Qt::ControlModifier);
        Type("7");
        Press(Qt::Key_Return);
        QCOMPARE(editor->Table()->Columns(1).GetText(0), std::string("7"));
    }

    void ctrlAAfterAnErrorMessageSelectsTheCellText() {
        TMainForm form;
        form.resize(1000, 750);
        ShowActive(form);
        // The real message box, answered with Enter as the user would.
        torvex::SetUserInterface(nullptr);
        QStringList shown;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            shown << box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        answer.start(20);

        form.ShowTableEditor("PYMod");
        auto* editor = qobject_cast<TTableForm*>(form.Desk()->activeSubWindow()->widget());
        QVERIFY(editor);
        QTRY_VERIFY(editor->CellEditor() && editor->CellEditor()->hasFocus());
        const int row = editor->Grid()->currentRow(), column = editor->Grid()->currentColumn();
        Press(Qt::Key_A, Qt::ControlModifier);
        Type("2+");
        Press(Qt::Key_Return);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown.front(), QString("Entry could not be evaluated:\ninvalid expression"));
        BackToMainWindow();
        QCOMPARE(editor->Grid()->currentRow(), row);
        QCOMPARE(editor->Grid()->currentColumn(), column);

        // The focus is in the cell: Ctrl+A selects its text, not the grid.
        QLineEdit* cell = editor->CellEditor();
        QVERIFY(cell);
        QTRY_VERIFY(cell->hasFocus());
        Press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(cell->selectedText(), QString("2+"));
        QCOMPARE(editor->Grid()->selectionModel()->selectedIndexes().size(), 1);
        // And typing replaces it.
        Type("3*2");
        Press(Qt::Key_Return);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(editor->Grid()->item(row, column)->text(), QString("6"));
        QCOMPARE(editor->Table()->VisibleColumn(column).GetText(row), std::string("6"));

        answer.stop();
    }

    void cascadeKeepsGraphsAndTheSideViewAtTheirNormalSize() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1200, 900);
        ShowActive(form);
        QVERIFY(RunExample(form, jobs, run));
        for (const char* button : {"SpeedButton8", "SpeedButton11", "SpeedButton10"})
            form.Action(button)->trigger();
        QMdiSubWindow* graph = form.Desk()->activeSubWindow();
        QVERIFY(graph->isMaximized());

        // The side view over a maximised graph opens maximised, and draws in the whole area.
        form.Action("SpeedButton6")->trigger();
        QMdiSubWindow* side = form.Desk()->activeSubWindow();
        auto* view = qobject_cast<torvex::TDlgSideView*>(side->widget());
        QVERIFY(view);
        QVERIFY(side->isMaximized());
        const QRect area = form.Desk()->viewport()->rect();
        QCOMPARE(side->geometry(), area);
        QTRY_COMPARE(view->size(), side->contentsRect().size());
        QVERIFY(view->width() > 1000 && view->height() > 600);
        QCOMPARE(view->Geometry().Width(), view->width());
        QCOMPARE(view->Geometry().Height(), view->height());

        // A table too.
        form.ShowTableEditor("PYMod");
        QMdiSubWindow* table = form.Desk()->activeSubWindow();
        const QSize tableSize = table->widget()->sizeHint();

        // Window, Cascade by the keyboard.
        ChooseFromMenu(Qt::Key_W, Qt::Key_C);
        QTRY_VERIFY(!side->isMaximized());
        const QList<QMdiSubWindow*> children = form.Desk()->subWindowList();
        QCOMPARE(children.size(), 5);
        for (QMdiSubWindow* child : children) {
            QVERIFY(!child->isMaximized());
            QVERIFY2(area.contains(child->geometry()), qPrintable(child->windowTitle()));
            if (auto* plot = qobject_cast<TPlotForm*>(child->widget())) QCOMPARE(plot->size(), QSize(640, 480));
        }
        QCOMPARE(side->size(), QSize(torvex::TDlgSideView::kOpeningWidth, torvex::TDlgSideView::kOpeningHeight));
        QCOMPARE(table->widget()->size(), tableSize);
        // Each one a step down and to the right of the one before, the active one last.
        for (qsizetype i = 1; i < children.size(); ++i)
            QVERIFY(children[i]->y() != children[i - 1]->y());
        QCOMPARE(form.Desk()->activeSubWindow(), table);

        // In a small work area they are cut to the area, but never to a bare title bar.
        form.resize(700, 520);
        QTRY_VERIFY(form.Desk()->viewport()->height() < 480);
        form.WindowCascadeClick();
        const QRect small = form.Desk()->viewport()->rect();
        for (QMdiSubWindow* child : form.Desk()->subWindowList()) {
            const QSize least = child->minimumSizeHint();
            QVERIFY(child->width() >= least.width() && child->height() >= least.height());
            if (!qobject_cast<TTableForm*>(child->widget()))
                QVERIFY(child->width() >= 300 && child->height() >= 200);
            QVERIFY(child->geometry().right() <= small.right() || child->width() == least.width());
            QVERIFY(child->geometry().bottom() <= small.bottom() || child->height() == least.height());
        }
        QVERIFY(form.grab().save(QCoreApplication::applicationDirPath() + "/screenshot-cascade.png"));
    }
};

QTEST_MAIN(ChildWindowsTest)
#include "ChildWindowsTest.moc"
