// The graph window's small dialogs through their widgets: the bitmap of Save Attributes, the
// Legend's refusal of an empty name, and Active Curves' toggling of a multiple selection.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "dataentry/DataEdit.h"
#include "plot/PlotDialogs.h"

using namespace torvex;

class PlotDialogsTest : public QObject {
    Q_OBJECT
private:
    testing::TRecordingInterface ui_;

private slots:
    void initTestCase() { SetUserInterface(&ui_); }
    void cleanupTestCase() { SetUserInterface(nullptr); }
    void init() { ui_.Clear(); }

    void saveAttributesSizesTheBitmap() {
        QImage bitmap(10, 10, QImage::Format_RGB32);
        TdlgFormat dialog(bitmap);
        QCOMPARE(dialog.windowTitle(), QString("Save Attributes"));
        QVERIFY(dialog.rb16->isChecked());
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(bitmap.size(), QSize(432, 288));
        // A size no memory holds ends with the abort result and leaves the bitmap alone.
        TdlgFormat huge(bitmap);
        huge.dePPI->SetNumber(2000000000);
        QTest::mouseClick(huge.btnOK, Qt::LeftButton);
        QCOMPARE(huge.result(), TdlgFormat::kAbortResult);
        QCOMPARE(bitmap.size(), QSize(432, 288));
    }

    void legendRefusesAnEmptyNameAndRenamesOnOK() {
        QStringList labels{"Stage 1", "Stage 2", "Stage 3", "Stage 4"};
        TfrmLineNames dialog(labels, [](int k) { return k == 2 ? QColor(Qt::red) : QColor(Qt::blue); });
        dialog.show();
        QCOMPARE(dialog.edLine->text(), QString("Stage 1"));
        dialog.lbLines->setCurrentRow(2);
        QCOMPARE(dialog.edLine->text(), QString("Stage 3"));
        QCOMPARE(dialog.edLine->palette().color(QPalette::Text), QColor(Qt::red));
        dialog.edLine->setFocus();
        dialog.edLine->selectAll();
        QTest::keyClick(dialog.edLine, Qt::Key_Backspace);
        QTest::keyClick(dialog.edLine, Qt::Key_Return);
        QCOMPARE(ui_.shown, QStringList{"The line must have a name!"});
        QCOMPARE(dialog.edLine->text(), QString("Stage 3"));
        dialog.edLine->selectAll();
        QTest::keyClicks(dialog.edLine, "Excavated");
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(labels, QStringList({"Stage 1", "Stage 2", "Excavated", "Stage 4"}));
    }

    // The Legend dialog stands in the middle of the screen, not over the window that opened
    // it, with the system menu and close box alone; Graph Caption cannot be resized.
    void legendCentredOnTheScreenAndCaptionOfFixedSize() {
        QWidget owner;
        owner.setGeometry(10, 10, 200, 150);
        owner.show();
        QStringList labels{"Stage 1", "Stage 2"};
        TfrmLineNames legend(labels, {}, &owner);
        legend.show();
        QVERIFY(QTest::qWaitForWindowExposed(&legend));
        const QPoint offCentre = legend.frameGeometry().center() - legend.screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(QString("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
        const Qt::WindowFlags flags = legend.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        for (Qt::WindowType button : {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
                                      Qt::WindowContextHelpButtonHint})
            QVERIFY(!flags.testFlag(button));

        TfrmGraphCaption caption;
        caption.show();
        QVERIFY(QTest::qWaitForWindowExposed(&caption));
        const QSize size = caption.size();
        QCOMPARE(caption.minimumSize(), size);
        QCOMPARE(caption.maximumSize(), size);
        caption.resize(size + QSize(120, 80));
        QCOMPARE(caption.size(), size);
        QVERIFY(caption.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
    }

    void activeCurvesToggleTheSelection() {
        const QStringList labels{"a", "b", "c", "d"};
        QStringList states{" yes : ", " no  : ", " yes : ", " yes : "};
        TfrmActiveLines dialog(labels, states);
        dialog.show();
        QCOMPARE(dialog.lbLines->item(1)->text(), QString(" no  :    b"));
        for (int row : {0, 1, 2}) dialog.lbLines->item(row)->setSelected(true);
        QTest::mouseClick(dialog.ActivateDesactivateButton, Qt::LeftButton);
        QCOMPARE(states, QStringList({" no  : ", " yes : ", " no  : ", " yes : "}));
        QCOMPARE(dialog.lbLines->item(0)->text(), QString(" no  :    a"));
        QTest::mouseClick(dialog.DesactivateButton, Qt::LeftButton);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(states, QStringList(4, " no  : "));
        QVERIFY(dialog.grab().save(QCoreApplication::applicationDirPath() + "/screenshot-active-curves.png"));
    }
};

QTEST_MAIN(PlotDialogsTest)
#include "PlotDialogsTest.moc"
