#include "dialogs/DlgModels.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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

    // The water under the wall and the excavation's base, in a group of its own.
    GbWaterBase = new QGroupBox("Water and the Excavation's Base", this);
    GbWaterBase->setObjectName("GbWaterBase");
    auto* base = new QGridLayout(GbWaterBase);
    base->setColumnStretch(1, 1);
    grid->addWidget(GbWaterBase, grid->rowCount(), 0, 1, 2);
    ChkSeepage = new QCheckBox("Steady see&page round the toe where the water levels differ", GbWaterBase);
    ChkSeepage->setObjectName("ChkSeepage");
    ChkSeepage->setToolTip("The pore pressures follow steady seepage down behind the wall, round its toe and "
                           "up in front, instead of the two hydrostatic levels.");
    base->addWidget(ChkSeepage, base->rowCount(), 0, 1, 2);
    deWidth = AddField(base, "deWidth", "Excavation &Width, B (0: not checked)", "L");
    deLength = AddField(base, "deLength", "Excavation Len&gth, L (0: a long excavation)", "L");
    deHeaveFactor = AddField(base, "deHeaveFactor", "Least Basal-Heave &Factor", "");
    AddNote(base, "Basal heave in clay: F = Nc cu / (\u03B3 H + q), Nc of Bjerrum and Eide");
    deWidth->setToolTip("The width of the excavation in plan (the shorter side); 0: basal heave is not checked");
    deLength->setToolTip("The length of the excavation in plan; 0: a long excavation (B/L = 0)");
    deHeaveFactor->setToolTip("The least acceptable factor against basal heave");
    for (TDataEdit* length : {deWidth, deLength}) length->SetMinVal(0);
    // The data file holds a factor above 0 and at most 10.
    deHeaveFactor->SetPositiveOnly(true);
    deHeaveFactor->SetMaxVal(10);
    for (TDataEdit* field : {deWidth, deLength, deHeaveFactor}) {
        // Wide enough for a value converted to other units with all its digits.
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(22, '0')));
        field->SetNamedMessages(true);  // several fields of a kind: the message says which
    }

    for (TDataEdit* field : {deKh, deKv, deCycles, deWidth, deLength, deHeaveFactor}) WatchChanges(field);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{ChkLayered, RbStatic, RbCyclic, ChkSeepage})
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
    for (TDataEdit* length : {deWidth, deLength}) length->SetUnits(Project().UnitSystem);
    ChkSeepage->setChecked(options.Seepage == 1);
    deWidth->SetNumber(options.ExcavationWidth);
    deLength->SetNumber(options.ExcavationLength);
    deHeaveFactor->SetNumber(options.BasalHeaveFactor);
}

void TDlgModels::CopyOut() {
    // Every value is read before any is stored: a field that cannot be read stores nothing.
    long double kh, kv, cycles, width, length, heave;
    try {
        kh = deKh->Number();
        kv = deKv->Number();
        cycles = deCycles->Number();
        width = deWidth->Number();
        length = deLength->Number();
        heave = deHeaveFactor->Number();
    } catch (const EAssignError&) {
        return;
    }
    TProjectOptions& options = Project().Options;
    options.SeismicKh = kh;
    options.SeismicKv = kv;
    options.LayeredSoil = ChkLayered->isChecked() ? 1 : 0;
    options.CyclicLoading = RbCyclic->isChecked() ? 1 : 0;
    options.CyclicCycles = static_cast<int32_t>(std::lround(static_cast<double>(cycles)));
    options.Seepage = ChkSeepage->isChecked() ? 1 : 0;
    options.ExcavationWidth = width;
    options.ExcavationLength = length;
    options.BasalHeaveFactor = heave;
}

}  // namespace torvex
