#pragma once
// The graph window's four small modal dialogs: Save Attributes (the size of a saved bitmap),
// Graph Caption, Legend (the curves' names) and Active Curves. The two list dialogs work on
// the labels list (one label per curve, in curve order) and the states list (" yes : " or
// " no  : " per curve) that the window hands them.

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace torvex {

class TDataEdit;

// Save Attributes. OK makes the bitmap `pixels per inch x height` by `pixels per inch x width`
// pixels and closes with Accepted; when that bitmap cannot be had, the dialog closes with
// kAbortResult, which the caller reports.
class TdlgFormat : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAbortResult = 3;
    TdlgFormat(QImage& bitmap, QWidget* parent = nullptr);

    TDataEdit* deHeight;
    TDataEdit* deWidth;
    TDataEdit* dePPI;
    QRadioButton* rbBW;
    QRadioButton* rb256;
    QRadioButton* rbHigh;
    QRadioButton* rbTrue;
    QRadioButton* rb16;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    void OKClick();
    QImage& bitmap_;
};

// Graph Caption: the title and whether it stands on top.
class TfrmGraphCaption : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGraphCaption(QWidget* parent = nullptr);
    QLineEdit* edtCaption;
    QRadioButton* rbTop;
    QRadioButton* rbBottom;
    QPushButton* btnOK;
};

// Legend: renames curves. `colour` gives the colour of curve k's text.
class TfrmLineNames : public QDialog {
    Q_OBJECT
public:
    TfrmLineNames(QStringList& labels, std::function<QColor(int)> colour, QWidget* parent = nullptr);
    QLabel* lblSelect;
    QListWidget* lbLines;
    QLabel* lblType;
    QLineEdit* edLine;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void ShowSelected();
    bool TakeText();
    void CopyBack();
    QStringList& labels_;
    std::function<QColor(int)> colour_;
    bool refusing_ = false;
};

// Active Curves: switches curves on and off.
class TfrmActiveLines : public QDialog {
    Q_OBJECT
public:
    TfrmActiveLines(const QStringList& labels, QStringList& states, QWidget* parent = nullptr);
    QLabel* lblSelect;
    QLabel* lblCurve;
    QLabel* lblActive;
    QListWidget* lbLines;
    QPushButton* ActivateDesactivateButton;
    QPushButton* ActivateButton;
    QPushButton* DesactivateButton;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Toggle(int row);
    void SetAll(const char* state);
    void Rebuild(int row);
    const QStringList& labels_;
    QStringList& states_;
};

}  // namespace torvex
