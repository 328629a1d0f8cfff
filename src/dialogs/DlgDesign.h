#pragma once
// "Design Criteria": what the run checks the wall against — the moment and shear capacities
// of the wall unit, the allowable deflection (each 0 when not checked) and the target factor
// of safety of the required embedment; the code the design is shown to (EN 1997-1's Design
// Approaches) with its unplanned excavation, minimum surcharge, loads on the wall taken as
// variable and partial factors; and how the earth pressure is found (method, wall friction,
// the driving pressure below the excavation). The values are the project's, in the file's
// units, the same for every stage.

#include "dialogs/InputDialog.h"
#include "project/OptionBlock.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

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
    // Design to a code.
    QGroupBox* GbCode;
    QComboBox* CbDesignCode;       // in the order of TDesignCode
    TDataEdit* deUnplanned;
    QCheckBox* ChkUnplannedAuto;
    TDataEdit* deMinSurcharge;
    QCheckBox* ChkLoadsVariable;
    QPushButton* btnPartialFactors;
    // Earth pressure, with or without a code.
    QGroupBox* GbPressure;
    QComboBox* CbPressureMethod;   // in the order of TEarthPressureMethod
    TDataEdit* deFrictionActive;
    TDataEdit* deFrictionPassive;
    QCheckBox* ChkNetPressure;

protected:
    void FormActivate() override;
    void CopyOut() override;

private:
    // The settings that count only under a code are enabled with one; they keep their values.
    void EnableCodeFields();
    void EditFactors();

    // The partial factors as the Partial Factors dialog left them, stored with the rest.
    TProjectOptions factors_;
};

}  // namespace torvex
