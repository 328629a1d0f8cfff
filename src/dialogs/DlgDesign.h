#pragma once
// "Design Criteria": what the run checks the wall against — the moment and shear capacities
// of the wall unit, the allowable deflection (each 0 when not checked) and the target factor
// of safety of the required embedment. The values are the project's, in the file's units,
// the same for every stage.

#include "dialogs/InputDialog.h"

namespace torvex {

class TDataEdit;

class TDlgDesign : public TInputDialog {
    Q_OBJECT
public:
    TDlgDesign(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);

    TDataEdit* deMomentCapacity;
    TDataEdit* deShearCapacity;
    TDataEdit* deAllowableDeflection;
    TDataEdit* deTargetF;

protected:
    void FormActivate() override;
    void CopyOut() override;
};

}  // namespace torvex
