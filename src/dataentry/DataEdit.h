#pragma once
// The numeric entry field of the dialogs: a one-line edit that takes any expression of the
// evaluator, checks it against its limits when the user leaves it for another control of
// the same window (or presses Enter), shows the value in its own format and keeps a
// companion label with the caption and the unit label. The rules live in TDataEditRules.

#include <QLineEdit>
#include <QPointer>
#include <string>

#include "dataentry/DataEditRules.h"

#include <QLabel>

namespace torvex {

class TDataEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDataEdit(QWidget* parent = nullptr);
    ~TDataEdit() override;

    bool IntegerOnly() const { return rules_.IntegerOnly(); }
    void SetIntegerOnly(bool value);
    void SetPositiveOnly(bool value) { rules_.SetPositiveOnly(value); }
    // Refusal messages that start with the field's caption (see TDataEditRules).
    void SetNamedMessages(bool value) { rules_.SetNamedMessages(value); }
    bool Hex() const { return rules_.Hex(); }
    void SetHex(bool value) { rules_.SetHex(value); }
    long double MinVal() const { return rules_.MinVal(); }
    void SetMinVal(long double value);
    long double MaxVal() const { return rules_.MaxVal(); }
    void SetMaxVal(long double value);
    // Limits in one call: the maximum first, so that a raised minimum is not cut back.
    void SetLimits(long double minimum, long double maximum);
    int Units() const { return rules_.Units(); }
    void SetUnits(int system);
    const std::string& UnitsString() const { return rules_.UnitsString(); }
    void SetUnitsString(const std::string& units);
    QString Caption() const { return QString::fromStdString(rules_.Caption()); }
    void SetCaption(const QString& caption);
    QLabel* EditLabel() const { return label_; }
    // The label shows the caption and the unit label, and gives the focus to this field.
    void SetEditLabel(QLabel* label);

    // The value of the text; raises EAssignError when the text cannot be read.
    long double Number();
    // Clamped to the limits and shown.
    void SetNumber(long double value);
    // False while the exit check runs and after it refused the entry.
    bool Valid() const { return rules_.Valid(); }

    // The check made on leaving the field: on a refused entry the message is shown and the
    // field takes the focus back (unless the window it is in is being left, which brings it
    // back itself). Returns whether the entry was accepted.
    bool ExitCheck(bool takeFocusBack = true);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Relabel();
    void PullText();
    void PushText();
    void FocusChanged(QWidget* old, QWidget* now);

    TDataEditRules rules_;
    QPointer<QLabel> label_;
    bool checking_ = false;
    QMetaObject::Connection focusConnection_;  // QApplication::focusChanged
};

// Runs the field's exit check and tells whether its entry is valid.
bool ValidateField(TDataEdit* field);

// The window a control belongs to: its top-level window, or the widget shown in the
// multiple-document child window that holds it.
QWidget* FormOf(QWidget* widget);

}  // namespace torvex
