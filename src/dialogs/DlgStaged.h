#pragma once
// The Staged Construction Options dialog: staged construction on or off and the number of
// stages (2 to 5). OK applies the count to the project and its stage files; Cancel changes
// nothing. It opens over the main window, modal from the Options menu and without blocking
// from the tool bar.

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace torvex {

class TDataEdit;
class TWorkspace;

class TDlgStaged : public QDialog {
    Q_OBJECT
public:
    // `applied` runs after OK changed the stage count (status bar, Stage menu, buttons).
    TDlgStaged(TWorkspace& workspace, std::function<void()> applied, QWidget* parent);

    QCheckBox* StageAnalysis;
    TDataEdit* deStage;
    QToolButton* UpDown1Up;
    QToolButton* UpDown1Down;
    QPlainTextEdit* Memo2;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

protected:
    bool event(QEvent* event) override;

private:
    void FormActivate();
    void StageAnalysisClick(bool checked);
    void Step(int delta);
    void OKClick();

    TWorkspace& workspace_;
    std::function<void()> applied_;
    int shownCount_ = -1;  // the project's stage count when the entry was last set from it
};

}  // namespace torvex
