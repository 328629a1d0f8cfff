#pragma once
// The two dialogs of single numbers that describe the wall: its properties and
// discretisation, and its configuration with the ground water and the backfill.

#include "dialogs/InputDialog.h"

class QPushButton;

namespace torvex {

class TDataEdit;

// "Wall Properties": increments, increment length, free height, iteration limits, and the
// button that opens the wall stiffness table.
class TDlgProp : public TInputDialog {
    Q_OBJECT
public:
    TDlgProp(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);

    TDataEdit* deNI;
    TDataEdit* deXGS;
    TDataEdit* DeFH;
    TDataEdit* deXLN;
    TDataEdit* deSlope;
    QPushButton* btnSect;

protected:
    void FormActivate() override;
    void CopyOut() override;
};

// "Wall Configuration": free height, widths for active pressure and soil resistance, water
// tables, the active pressure factor, the backfill slope and the uniform backfill load.
class TdlgCSD : public TInputDialog {
    Q_OBJECT
public:
    TdlgCSD(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);

    TDataEdit* deHL;
    TDataEdit* deWidth;
    TDataEdit* dePYW;
    TDataEdit* deHW;
    TDataEdit* DeHW2;
    TDataEdit* deGw;
    TDataEdit* beta;
    TDataEdit* deSP;

protected:
    void FormActivate() override;
    void CopyOut() override;
};

}  // namespace torvex
