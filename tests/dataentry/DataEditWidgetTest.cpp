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

    void refusedEntryIsReportedAndKeepsTheFocus() {
        first_->SetIntegerOnly(true);
        first_->SetLimits(1, 300);
        QCOMPARE(first_->text(), QString("1"));
        const struct {
            const char* typed;
            const char* message;
            const char* shown;
            bool limitShown;  // the field now holds the limit, a valid entry
        } cases[] = {
            {"301", "Entry must be less than or equal to 300", "300", true},
            {"0", "Entry must be greater than or equal to 1", "1", true},
            {"2.5", "Entry must be an integer.", "2.5", false},
            {"abc", "Entry must be a valid integer.", "abc", false},
        };
        for (const auto& c : cases) {
            ui_.Clear();
            first_->setFocus();
            first_->selectAll();
            QTest::keyClicks(first_, c.typed);
            QTest::keyClick(first_, Qt::Key_Tab);
            QCOMPARE(ui_.shown, QStringList({c.message}));
            QCOMPARE(first_->text(), QString(c.shown));
            QCOMPARE(QApplication::focusWidget(), first_);
            QVERIFY(!first_->Valid());
            QCOMPARE(torvex::ValidateField(first_), c.limitShown);
        }
    }

    void labelShowsCaptionAndUnitsAndFollowsTheField() {
        first_->SetCaption("Increment Length");
        first_->SetUnitsString("L");
        first_->SetEditLabel(label_);
        QCOMPARE(label_->text(), QString("Increment Length (in)"));
        QCOMPARE(label_->buddy(), first_);
        first_->SetUnits(2);
        QCOMPARE(label_->text(), QString("Increment Length (m)"));
        first_->SetUnits(7);
        QCOMPARE(first_->Units(), 3);
        QCOMPARE(label_->text(), QString("Increment Length (L)"));
        first_->setEnabled(false);
        QVERIFY(!label_->isEnabled());
        first_->setEnabled(true);
        QVERIFY(label_->isEnabled());
    }
};

QTEST_MAIN(DataEditWidgetTest)
#include "DataEditWidgetTest.moc"
