#pragma once
// "Soil and Loading Models": the seismic coefficients of the active pressure (Mononobe-Okabe),
// the layered-soil switch (p-y curves of the layers below the first at equivalent depths) and
// static or cyclic loading with its number of cycles; and, for the water and the excavation's
// base, steady seepage round the toe, the excavation's width and length in plan and the least
// factor against basal heave. The values are the project's, in the file's units, the same for
// every stage.

#include "dialogs/InputDialog.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace torvex {

class TDataEdit;

class TDlgModels : public TInputDialog {
    Q_OBJECT
public:
    TDlgModels(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);

    TDataEdit* deKh;
    TDataEdit* deKv;
    QCheckBox* ChkLayered;
    QRadioButton* RbStatic;
    QRadioButton* RbCyclic;
    TDataEdit* deCycles;
    // Water and the excavation's base.
    QGroupBox* GbWaterBase;
    QCheckBox* ChkSeepage;
    TDataEdit* deWidth;        // B (L); 0: basal heave not checked
    TDataEdit* deLength;       // L (L); 0: a long excavation
    TDataEdit* deHeaveFactor;  // the least basal-heave factor

protected:
    void FormActivate() override;
    void CopyOut() override;
};

}  // namespace torvex
