// The numeric entry field as a user meets it: typed keys, Enter, Tab to the next field, the
// companion label, and the message of a refused entry.

#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "dataentry/DataEdit.h"

using torvex::TDataEdit;
using torvex::testing::TRecordingInterface;

class DataEditWidgetTest : public QObject {
    Q_OBJECT
private:
    TRecordingInterface ui_;
    std::unique_ptr<QWidget> form_;
    TDataEdit* first_ = nullptr;
    TDataEdit* second_ = nullptr;
    QLabel* label_ = nullptr;

private slots:
    void init() {
        torvex::SetUserInterface(&ui_);
        ui_.Clear();
        form_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(form_.get());
        label_ = new QLabel(form_.get());
        first_ = new TDataEdit(form_.get());
        second_ = new TDataEdit(form_.get());
        for (QWidget* w : {static_cast<QWidget*>(label_), static_cast<QWidget*>(first_),
                           static_cast<QWidget*>(second_)})
            layout->addWidget(w);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QApplication::setActiveWindow(form_.get());
        first_->setFocus();
    }
    void cleanup() {
        form_.reset();
        torvex::SetUserInterface(nullptr);
    }

    void typedExpressionIsShownAsItsValueOnLeaving() {
        QCOMPARE(first_->text(), QString("0"));
        first_->selectAll();
        QTest::keyClicks(first_, "2*3");
        QTest::keyClick(first_, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), second_);
        QCOMPARE(first_->text(), QString("6"));
        QVERIFY(first_->Valid());
        QVERIFY(ui_.shown.isEmpty());
    }

    void operatorAfterAShownValueExtendsIt() {
        first_->SetNumber(12);
        first_->selectAll();
        QTest::keyClicks(first_, "*2");
        QCOMPARE(first_->text(), QString("12*2"));
        // Enter checks in place and selects the value; a digit then replaces it.
        QTest::keyClick(first_, Qt::Key_Return);
        QCOMPARE(first_->text(), QString("24"));
        QCOMPARE(first_->selectedText(), QString("24"));
        QCOMPARE(QApplication::focusWidget(), first_);
        QTest::keyClicks(first_, "5");
        QCOMPARE(first_->text(), QString("5"));
    }

    // A field destroyed while it holds the focus (its window closing) checks nothing on the
    // way out: its own part is gone by then (the sanitizer build reports a call into it).
    void aFieldDestroyedWithTheFocusChecksNothing() {
        first_->selectAll();
        QTest::keyClicks(first_, "2*");
        QCOMPARE(QApplication::focusWidget(), first_);
        delete first_;
        first_ = nullptr;
        QVERIFY(ui_.shown.isEmpty());
        second_->setFocus();
        QCOMPARE(QApplication::focusWidget(), second_);
    }

    void refusedEntryIsReportedAndKeepsTheFocus() {
        first_->SetIntegerOnly(true);
        first_->SetLimits(1, 300);
        first_->selectAll();
        QTest::keyClicks(first_, "301");
        QTest::keyClick(first_, Qt::Key_Tab);
        QCOMPARE(ui_.shown, QStringList({"Entry must be less than or equal to 300"}));
        QCOMPARE(first_->text(), QString("300"));
        QCOMPARE(QApplication::focusWidget(), first_);
    }

    void labelShowsCaptionAndUnitsAndFollowsTheField() {
        first_->SetCaption("Increment Length");
        first_->SetUnitsString("L");
        first_->SetEditLabel(label_);
        QCOMPARE(label_->text(), QString("Increment Length (in)"));
        QCOMPARE(label_->buddy(), first_);
        first_->SetUnits(7);
        QCOMPARE(label_->text(), QString("Increment Length (L)"));
        first_->setEnabled(false);
        QVERIFY(!label_->isEnabled());
        first_->setEnabled(true);
        QVERIFY(label_->isEnabled());
    }
};

QTEST_MAIN(DataEditWidgetTest)
#include "DataEditWidgetTest.moc"
