#include "dataentry/DataEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScopeGuard>

#include "desktop/UserInterface.h"

namespace torvex {

QWidget* FormOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w->parentWidget())) return w;
    return nullptr;
}

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(parent) {
    setText(QString::fromStdString(rules_.Text()));
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this, &TDataEdit::FocusChanged);
}

// A field destroyed with the focus gives it up in QWidget's destructor, after this object's own
// part is gone: stop listening first.
TDataEdit::~TDataEdit() { disconnect(focusConnection_); }

void TDataEdit::PullText() { rules_.SetText(text().toStdString()); }

void TDataEdit::PushText() {
    const QString shown = QString::fromStdString(rules_.Text());
    if (shown != text()) setText(shown);
}

void TDataEdit::SetIntegerOnly(bool value) {
    PullText();
    rules_.SetIntegerOnly(value);
    PushText();
}

void TDataEdit::SetMinVal(long double value) {
    PullText();
    rules_.SetMinVal(value);
    PushText();
}

void TDataEdit::SetMaxVal(long double value) {
    PullText();
    rules_.SetMaxVal(value);
    PushText();
}

void TDataEdit::SetLimits(long double minimum, long double maximum) {
    SetMaxVal(maximum);
    SetMinVal(minimum);
}

void TDataEdit::SetUnits(int system) {
    rules_.SetUnits(system);
    Relabel();
}

void TDataEdit::SetUnitsString(const std::string& units) {
    rules_.SetUnitsString(units);
    Relabel();
}

void TDataEdit::SetCaption(const QString& caption) {
    rules_.SetCaption(caption.toStdString());
    Relabel();
}

void TDataEdit::SetEditLabel(QLabel* label) {
    label_ = label;
    if (label) label->setBuddy(this);
    Relabel();
}

void TDataEdit::Relabel() {
    if (!label_) return;
    label_->setEnabled(isEnabled());
    label_->setText(QString::fromStdString(rules_.LabelText()));
}

long double TDataEdit::Number() {
    PullText();
    return rules_.Number();
}

void TDataEdit::SetNumber(long double value) {
    rules_.SetNumber(value);
    PushText();
}

bool TDataEdit::ExitCheck(bool takeFocusBack) {
    if (checking_) return rules_.Valid();
    checking_ = true;
    // Any other exception passes on, and the field still checks its next entry.
    const auto checked = qScopeGuard([this] { checking_ = false; });
    PullText();
    const TDataEditRules::TCheck check = rules_.ExitCheck();
    PushText();
    if (!check.valid) {
        UserInterface().Information(this, QString::fromStdString(check.message));
        if (takeFocusBack && isVisible()) setFocus(Qt::OtherFocusReason);
    }
    return check.valid;
}

// Leaving the field for another control of the same window checks the entry. Leaving the
// window is the window's business: a dialog checks its focused field when it is deactivated.
void TDataEdit::FocusChanged(QWidget* old, QWidget* now) {
    if (old != this || !now || checking_) return;
    if (QApplication::focusWidget() != now) return;  // already moved on or taken back
    if (FormOf(now) != FormOf(this)) return;
    ExitCheck();
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ExitCheck();
        selectAll();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() < 128 &&
        TDataEditRules::IsOperatorKey(static_cast<char>(typed[0].unicode())) && hasSelectedText() &&
        selectedText() == text()) {
        // A shown value followed by an operator is extended, not replaced: 12 then *2 is 12*2.
        deselect();
        end(false);
    }
    QLineEdit::keyPressEvent(event);
}

void TDataEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) Relabel();
}

bool ValidateField(TDataEdit* field) { return field && field->ExitCheck(); }

}  // namespace torvex
