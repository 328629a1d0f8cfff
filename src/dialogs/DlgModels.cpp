#include "dialogs/DlgModels.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QRadioButton>
#include <cmath>

#include "dataentry/DataEdit.h"
#include "dataentry/Evaluator.h"
#include "dialogs/DialogParts.h"
#include "project/Workspace.h"

namespace torvex {

TDlgModels::TDlgModels(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgModels");
    setWindowTitle("Soil and Loading Models");
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    deKh = AddField(grid, "deKh", "&Horizontal Seismic Coefficient, kh", "");
    deKv = AddField(grid, "deKv", "&Vertical Seismic Coefficient, kv (+ upward)", "");
    AddNote(grid, "Mononobe-Okabe increment on the generated active pressure (0, 0: none)");
    // 1 - kv divides kh in the seismic angle: kv stays below 1. The data file holds kh below
    // 1 and kv between -1 and 1; the fields keep within that.
    deKh->SetLimits(0, 0.99L);
    deKv->SetLimits(-0.99L, 0.99L);
    ChkLayered = new QCheckBox("&Layered soils: p-y curves below the first layer at equivalent depths", this);
    ChkLayered->setObjectName("ChkLayered");
    grid->addWidget(ChkLayered, grid->rowCount(), 0, 1, 2);
    RbStatic = new QRadioButton("&Static loading", this);
    RbStatic->setObjectName("RbStatic");
    RbCyclic = new QRadioButton("&Cyclic loading", this);
    RbCyclic->setObjectName("RbCyclic");
    const int row = grid->rowCount();
    grid->addWidget(RbStatic, row, 0);
    grid->addWidget(RbCyclic, row, 1);
    deCycles = AddField(grid, "deCycles", "&Number of Cycles, N (stiff clay without free water)", "");
    deCycles->SetIntegerOnly(true);
    deCycles->SetLimits(1, 1000000);
    for (TDataEdit* field : {deKh, deKv, deCycles}) WatchChanges(field);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{ChkLayered, RbStatic, RbCyclic})
        connect(button, &QAbstractButton::clicked, this, [this] { Changed(); });
    // The number of cycles counts only for cyclic loading.
    connect(RbCyclic, &QRadioButton::toggled, deCycles, &QWidget::setEnabled);
}

void TDlgModels::FormActivate() {
    const TProjectOptions& options = Project().Options;
    deKh->SetNumber(options.SeismicKh);
    deKv->SetNumber(options.SeismicKv);
    ChkLayered->setChecked(options.LayeredSoil == 1);
    (options.CyclicLoading == 1 ? RbCyclic : RbStatic)->setChecked(true);
    deCycles->SetNumber(options.CyclicCycles);
    deCycles->setEnabled(options.CyclicLoading == 1);
}

void TDlgModels::CopyOut() {
    // Every value is read before any is stored: a field that cannot be read stores nothing.
    long double kh, kv, cycles;
    try {
        kh = deKh->Number();
        kv = deKv->Number();
        cycles = deCycles->Number();
    } catch (const EAssignError&) {
        return;
    }
    TProjectOptions& options = Project().Options;
    options.SeismicKh = kh;
    options.SeismicKv = kv;
    options.LayeredSoil = ChkLayered->isChecked() ? 1 : 0;
    options.CyclicLoading = RbCyclic->isChecked() ? 1 : 0;
    options.CyclicCycles = static_cast<int32_t>(std::lround(static_cast<double>(cycles)));
}

}  // namespace torvex
