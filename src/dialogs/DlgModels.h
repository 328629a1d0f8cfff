#pragma once
// "Soil and Loading Models": the seismic coefficients of the active pressure (Mononobe-Okabe),
// the layered-soil switch (p-y curves of the layers below the first at equivalent depths) and
// static or cyclic loading with its number of cycles. The values are the project's, the same
// for every stage.

#include "dialogs/InputDialog.h"

class QCheckBox;
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

protected:
    void FormActivate() override;
    void CopyOut() override;
};

}  // namespace torvex
