#include "dialogs/DlgDesign.h"

#include <QGridLayout>

#include "dataentry/DataEdit.h"
#include "dataentry/Evaluator.h"
#include "dialogs/DialogParts.h"
#include "project/Workspace.h"

namespace torvex {

TDlgDesign::TDlgDesign(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgDesign");
    setWindowTitle("Design Criteria");
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    deMomentCapacity = AddField(grid, "deMomentCapacity", "&Moment Capacity of the Wall Unit", "F-L");
    deShearCapacity = AddField(grid, "deShearCapacity", "S&hear Capacity of the Wall Unit", "F");
    deAllowableDeflection = AddField(grid, "deAllowableDeflection", "&Allowable Deflection", "L");
    AddNote(grid, "(0: not checked)");
    deTargetF = AddField(grid, "deTargetF", "&Target Factor of Safety (embedment)", "");
    // A capacity or deflection below 0 means nothing. The target F is searched between 0.5
    // and 20, and the data file keeps no other: one outside could be saved but not read back.
    for (TDataEdit* field : {deMomentCapacity, deShearCapacity, deAllowableDeflection}) field->SetMinVal(0);
    deTargetF->SetLimits(0.5L, 20);
    // Wide enough for a value converted to other units with all its digits.
    for (TDataEdit* field : {deMomentCapacity, deShearCapacity, deAllowableDeflection, deTargetF}) {
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(22, '0')));
        WatchChanges(field);
    }
}

void TDlgDesign::FormActivate() {
    const TProgramData& project = Project();
    for (TDataEdit* field : {deMomentCapacity, deShearCapacity, deAllowableDeflection})
        field->SetUnits(project.UnitSystem);
    const TProjectOptions& options = project.Options;
    deMomentCapacity->SetNumber(options.MomentCapacity);
    deShearCapacity->SetNumber(options.ShearCapacity);
    deAllowableDeflection->SetNumber(options.AllowableDeflection);
    deTargetF->SetNumber(options.TargetSafetyFactor);
}

void TDlgDesign::CopyOut() {
    // Every value is read before any is stored: a field that cannot be read stores nothing.
    long double moment, shear, deflection, target;
    try {
        moment = deMomentCapacity->Number();
        shear = deShearCapacity->Number();
        deflection = deAllowableDeflection->Number();
        target = deTargetF->Number();
    } catch (const EAssignError&) {
        return;
    }
    TProjectOptions& options = Project().Options;
    options.MomentCapacity = moment;
    options.ShearCapacity = shear;
    options.AllowableDeflection = deflection;
    options.TargetSafetyFactor = target;
}

}  // namespace torvex
