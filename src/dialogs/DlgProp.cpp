#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "dataentry/DataEdit.h"
#include "dataentry/Evaluator.h"
#include "dialogs/DialogParts.h"
#include "dialogs/WallDialogs.h"
#include "project/Workspace.h"

namespace torvex {

TDlgProp::TDlgProp(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgProp");
    setWindowTitle("Wall Properties");
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);

    deNI = AddField(grid, "deNI", "&Increments (nodes)", "");
    deNI->SetIntegerOnly(true);
    deNI->SetLimits(1, 300);

    const int sectionRow = grid->rowCount();
    grid->addWidget(new QLabel("Wall Stiffness (EI)", this), sectionRow, 0);
    btnSect = new QPushButton("Enter Section Data", this);
    btnSect->setObjectName("btnSect");
    grid->addWidget(btnSect, sectionRow, 1);
    connect(btnSect, &QPushButton::clicked, this, [this] {
        if (!EntryRefused()) Workspace().Table("PileSect").ShowEditor();
    });

    deXGS = AddField(grid, "deXGS", "Increment Length", "L");
    DeFH = AddField(grid, "DeFH", "Free Height of Wall", "L2");
    deXLN = AddField(grid, "deXLN", "Maximum Allowable Deflection for computation iteration", "L");
    AddNote(grid, "(Approx.10% of the wall height)  ");
    deSlope = AddField(grid, "deSlope", "Deflection Closure Tolerance", "L");

    // The analysis divides by these: zero or less is refused at entry, not after a run.
    for (TDataEdit* field : {deXGS, deXLN, deSlope}) field->SetPositiveOnly(true);
    for (TDataEdit* field : {deNI, deXGS, DeFH, deXLN, deSlope}) WatchChanges(field);
}

void TDlgProp::FormActivate() {
    const TProgramData& project = Project();
    const int units = project.UnitSystem;
    for (TDataEdit* field : {deXGS, deXLN, DeFH, deSlope}) field->SetUnits(units);
    deNI->SetNumber(project.NumIncrements);
    deXGS->SetNumber(project.IncrementLength);
    DeFH->SetNumber(Shown(project.FreeHeight, TDisplay::Feet, units));
    deXLN->SetNumber(project.MaxDeflection);
    deSlope->SetNumber(project.ClosureTolerance);
}

void TDlgProp::CopyOut() {
    TProgramData& project = Project();
    const int units = project.UnitSystem;
    // Every value is read before any is stored: a field that cannot be read stores nothing.
    long double increments, length, height, deflection, tolerance;
    try {
        increments = deNI->Number();
        length = deXGS->Number();
        height = Stored(DeFH->Number(), TDisplay::Feet, units);
        deflection = deXLN->Number();
        tolerance = deSlope->Number();
    } catch (const EAssignError&) {
        return;
    }
    project.NumIncrements = static_cast<int32_t>(std::lround(increments));
    project.IncrementLength = length;
    project.FreeHeight = height;
    project.MaxDeflection = deflection;
    project.ClosureTolerance = tolerance;
}

}  // namespace torvex
