#include "dialogs/DlgStaged.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

#include "dataentry/DataEdit.h"
#include "desktop/UserInterface.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

constexpr const char* kNote =
    "Staged construction is analysed in a simplified way: each stage is a complete analysis of "
    "the wall with its own input (excavation depth, supports, loads and soil), in order from "
    "stage 1. A lateral spring (a strut or tie-back) that first appears in a stage acts on the "
    "deflection gained after it was installed, in that stage and in every later one; nothing "
    "else is carried from one stage to the next. Enter each stage's input after choosing it "
    "with the stage buttons or the Stage Construction menu.";

}  // namespace

TDlgStaged::TDlgStaged(TWorkspace& workspace, std::function<void()> applied, QWidget* parent)
    : QDialog(parent), workspace_(workspace), applied_(std::move(applied)) {
    setObjectName("DlgStaged");
    setWindowTitle("Staged Construction Options");
    setAttribute(Qt::WA_DeleteOnClose);

    StageAnalysis = new QCheckBox("Conduct &Staged-Construction Analysis", this);
    StageAnalysis->setObjectName("StageAnalysis");
    deStage = new TDataEdit(this);
    deStage->setObjectName("deStage");
    deStage->SetIntegerOnly(true);
    deStage->SetLimits(1, 5);
    auto* label = new QLabel(this);
    deStage->SetEditLabel(label);
    deStage->SetCaption("Enter the total number of stages (Max. = 5, Min =2)");
    deStage->setMaximumWidth(deStage->fontMetrics().horizontalAdvance("00000000"));
    UpDown1Up = new QToolButton(this);
    UpDown1Up->setObjectName("UpDown1Up");
    UpDown1Up->setArrowType(Qt::UpArrow);
    UpDown1Down = new QToolButton(this);
    UpDown1Down->setObjectName("UpDown1Down");
    UpDown1Down->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {UpDown1Up, UpDown1Down}) arrow->setFocusPolicy(Qt::NoFocus);
    Memo2 = new QPlainTextEdit(kNote, this);
    Memo2->setObjectName("Memo2");
    Memo2->setReadOnly(true);
    Memo2->setMinimumSize(Memo2->fontMetrics().horizontalAdvance(QString(52, 'n')),
                          Memo2->fontMetrics().lineSpacing() * 7);
    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(UpDown1Up);
    arrows->addWidget(UpDown1Down);
    auto* count = new QHBoxLayout;
    count->addWidget(label, 1);
    count->addWidget(deStage);
    count->addLayout(arrows);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(StageAnalysis);
    column->addLayout(count);
    column->addWidget(Memo2, 1);
    column->addLayout(buttons);

    connect(StageAnalysis, &QCheckBox::clicked, this, &TDlgStaged::StageAnalysisClick);
    connect(UpDown1Up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(UpDown1Down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(BtnOK, &QPushButton::clicked, this, &TDlgStaged::OKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormActivate();
}

bool TDlgStaged::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void TDlgStaged::FormActivate() {
    // Coming back to the dialog (after its own message, or from another window) keeps what
    // the user typed, unless the project's count changed meanwhile.
    const int stages = workspace_.Project().StageCount;
    if (stages == shownCount_) return;
    shownCount_ = stages;
    deStage->SetNumber(stages);
    const bool staged = stages > 1;
    StageAnalysis->setChecked(staged);
    for (QWidget* control : std::initializer_list<QWidget*>{deStage, UpDown1Up, UpDown1Down})
        control->setEnabled(staged);
}

void TDlgStaged::StageAnalysisClick(bool checked) {
    if (checked) {
        if (std::lround(static_cast<double>(deStage->Number())) <= 1) deStage->SetNumber(2);
    } else {
        deStage->SetNumber(1);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{deStage, UpDown1Up, UpDown1Down})
        control->setEnabled(checked);
}

void TDlgStaged::Step(int delta) {
    if (!ValidateField(deStage)) return;
    const long value = std::lround(static_cast<double>(deStage->Number()));
    if ((delta > 0 && value < 5) || (delta < 0 && value > 2)) deStage->SetNumber(value + delta);
}

void TDlgStaged::OKClick() {
    if (!ValidateField(deStage)) return;
    const int count = static_cast<int>(std::lround(static_cast<double>(deStage->Number())));
    try {
        ApplyStageCount(workspace_, count);
    } catch (const std::exception& error) {
        // The stage files could not be written: the project keeps its stages as they were.
        UserInterface().Information(this, QString::fromStdString(error.what()));
        if (applied_) applied_();
        return;
    }
    if (applied_) applied_();
    accept();
}

}  // namespace torvex
