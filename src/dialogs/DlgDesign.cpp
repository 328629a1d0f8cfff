#include "dialogs/DlgDesign.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "dataentry/DataEdit.h"
#include "dataentry/Evaluator.h"
#include "dataentry/Units.h"
#include "dialogs/DialogParts.h"
#include "dialogs/DlgPartialFactors.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

// A group of the dialog with its own two-column grid: captions left, values right.
QGridLayout* AddGroup(QGridLayout* outer, QGroupBox*& box, const char* name, const QString& title) {
    box = new QGroupBox(title, outer->parentWidget());
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    outer->addWidget(box, outer->rowCount(), 0);
    return grid;
}

// A choice with its caption in the next row of `grid`, its items the option block's words;
// each item's tool tip says what it is.
QComboBox* AddChoice(QGridLayout* grid, const char* name, const QString& caption,
                     const std::vector<std::pair<QString, QString>>& items) {
    QWidget* owner = grid->parentWidget();
    auto* choice = new QComboBox(owner);
    choice->setObjectName(name);
    QString tip;
    for (const auto& [text, meaning] : items) {
        choice->addItem(text);
        choice->setItemData(choice->count() - 1, meaning, Qt::ToolTipRole);
        tip += (tip.isEmpty() ? "" : "\n") + text + ": " + meaning;
    }
    choice->setToolTip(tip);
    auto* label = new QLabel(caption, owner);
    label->setObjectName(QString(name) + "Label");
    label->setBuddy(choice);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(choice, row, 1);
    return choice;
}

QCheckBox* AddCheck(QGridLayout* grid, const char* name, const QString& caption, const QString& tip) {
    auto* check = new QCheckBox(caption, grid->parentWidget());
    check->setObjectName(name);
    check->setToolTip(tip);
    grid->addWidget(check, grid->rowCount(), 0, 1, 2);
    return check;
}

// The pressure unit of the file's units: the option block keeps F/L^2 of the small length.
const char* PressureUnits(int system) {
    switch (ClampUnitSystem(system)) {
        case kUnitsEnglish: return "psi";
        case kUnitsSI: return "kPa";
        default: return "F/L^2";
    }
}

// The caption of Auto, its largest value in the file's length unit.
QString AutoCaption(int system) {
    return QString("A&uto: 10 % of the clear height, at most %1").arg(system == kUnitsEnglish ? "19.685 in" : "0.5 m");
}

}  // namespace

TDlgDesign::TDlgDesign(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgDesign");
    setWindowTitle("Design Criteria");
    auto* outer = new QGridLayout(this);
    QGroupBox* checks = nullptr;
    QGridLayout* grid = AddGroup(outer, checks, "GbChecks", "Checks of the Wall");
    deMomentCapacity = AddField(grid, "deMomentCapacity", "&Moment Capacity of the Wall Unit", "F-L");
    deShearCapacity = AddField(grid, "deShearCapacity", "S&hear Capacity of the Wall Unit", "F");
    deAllowableDeflection = AddField(grid, "deAllowableDeflection", "&Allowable Deflection", "L");
    AddNote(grid, "(0: not checked)");
    deTargetF = AddField(grid, "deTargetF", "&Target Factor of Safety (embedment)", "");
    // A capacity or deflection below 0 means nothing. The target F is searched between 0.5
    // and 20, and the data file keeps no other: one outside could be saved but not read back.
    for (TDataEdit* field : {deMomentCapacity, deShearCapacity, deAllowableDeflection}) field->SetMinVal(0);
    deTargetF->SetLimits(0.5L, 20);

    QGridLayout* code = AddGroup(outer, GbCode, "GbCode", "Design to a Code");
    CbDesignCode = AddChoice(code, "CbDesignCode", "&Design Code",
                             {{DesignCodeWord(TDesignCode::None), "one global factor on strength, the target factor of safety above"},
                              {DesignCodeWord(TDesignCode::EC7_DA1), "EN 1997-1 Design Approach 1: runs SLS, DA1-C1 and DA1-C2"},
                              {DesignCodeWord(TDesignCode::EC7_DA2), "EN 1997-1 Design Approach 2: runs SLS and DA2"},
                              {DesignCodeWord(TDesignCode::EC7_DA3), "EN 1997-1 Design Approach 3: runs SLS and DA3"}});
    deUnplanned = AddField(code, "deUnplanned", "Unplanned E&xcavation, \u0394a", "L");
    const QString unplannedTip =
        "In every ultimate-limit-state combination the excavation is taken this much deeper "
        "(EN 1997-1 9.3.2.2); 0: none.\nAuto: 10 % of the clear height (the retained height of a "
        "cantilever; from the lowest support down to the excavation of a supported wall), at most 0.5 m.";
    deUnplanned->setToolTip(unplannedTip);
    // Its caption follows the units; room for the longest, the English one.
    ChkUnplannedAuto = new QCheckBox(AutoCaption(kUnitsEnglish), GbCode);
    ChkUnplannedAuto->setMinimumWidth(ChkUnplannedAuto->sizeHint().width());
    ChkUnplannedAuto->setObjectName("ChkUnplannedAuto");
    ChkUnplannedAuto->setToolTip(unplannedTip);
    code->addWidget(ChkUnplannedAuto, code->rowCount(), 1);
    deMinSurcharge = AddField(code, "deMinSurcharge", "M&inimum Surcharge", "kPa");
    deMinSurcharge->setToolTip("The uniform backfill surcharge is raised to this where it is smaller "
                               "(10 kPa in UK practice); 0: none.");
    ChkLoadsVariable = AddCheck(code, "ChkLoadsVariable", "Loads on the wall are &variable actions",
                                "The loads of the Concentrated Loads table are variable actions "
                                "(factored as such) instead of permanent ones.");
    btnPartialFactors = new QPushButton("&Partial Factors...", GbCode);
    btnPartialFactors->setObjectName("btnPartialFactors");
    btnPartialFactors->setToolTip("The partial factors on actions, strengths and resistances, editable");
    code->addWidget(btnPartialFactors, code->rowCount(), 0, Qt::AlignLeft);

    QGridLayout* pressure = AddGroup(outer, GbPressure, "GbPressure", "Earth Pressure");
    CbPressureMethod = AddChoice(pressure, "CbPressureMethod", "&Earth-Pressure Method",
                                 {{EarthPressureMethodWord(TEarthPressureMethod::Rankine), "no wall friction (any given is ignored)"},
                                  {EarthPressureMethodWord(TEarthPressureMethod::Coulomb), "plane wedges with wall friction"},
                                  {EarthPressureMethodWord(TEarthPressureMethod::EC7AnnexC), "EN 1997-1 Annex C: curved surfaces with wall friction"}});
    deFrictionActive = AddField(pressure, "deFrictionActive", "Wall Friction, &Retained Side, \u03B4/\u03C6 (active)", "");
    deFrictionPassive = AddField(pressure, "deFrictionPassive", "Wall Friction, Resisti&ng Side, \u03B4/\u03C6 (passive)", "");
    for (TDataEdit* ratio : {deFrictionActive, deFrictionPassive}) {
        ratio->SetLimits(0, 1);
        ratio->setToolTip("The wall friction angle as a part of the friction angle, 0 to 1 (Rankine ignores it)");
    }
    ChkNetPressure = AddCheck(pressure, "ChkNetPressure",
                              "&Below the excavation, drive with the active pressure less the front's own",
                              "Below the excavation level the driving pressure is the retained side's active "
                              "pressure less the excavation side's own (never below 0); otherwise the "
                              "retained side's active pressure acts down to the toe.");
    for (TDataEdit* length : {deUnplanned, deMinSurcharge}) length->SetMinVal(0);

    const std::initializer_list<TDataEdit*> fields = {deMomentCapacity, deShearCapacity, deAllowableDeflection,
                                                      deTargetF,        deUnplanned,     deMinSurcharge,
                                                      deFrictionActive, deFrictionPassive};
    int captions = 0;
    for (TDataEdit* field : fields) {
        // Wide enough for a value converted to other units with all its digits.
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(22, '0')));
        field->SetNamedMessages(true);  // several fields of a kind: the message says which
        WatchChanges(field);
        captions = std::max(captions, field->EditLabel()->sizeHint().width());
    }
    // The values of the three groups in one column.
    for (QGroupBox* box : {checks, GbCode, GbPressure})
        static_cast<QGridLayout*>(box->layout())->setColumnMinimumWidth(0, captions);

    for (QComboBox* choice : {CbDesignCode, CbPressureMethod})
        connect(choice, &QComboBox::activated, this, [this] { Changed(); });
    for (QCheckBox* check : {ChkUnplannedAuto, ChkLoadsVariable, ChkNetPressure})
        connect(check, &QCheckBox::clicked, this, [this] { Changed(); });
    connect(CbDesignCode, &QComboBox::currentIndexChanged, this, &TDlgDesign::EnableCodeFields);
    connect(ChkUnplannedAuto, &QCheckBox::toggled, this, &TDlgDesign::EnableCodeFields);
    connect(btnPartialFactors, &QPushButton::clicked, this, &TDlgDesign::EditFactors);
}

void TDlgDesign::EnableCodeFields() {
    const bool code = CbDesignCode->currentIndex() > 0;
    for (QWidget* field : std::initializer_list<QWidget*>{ChkUnplannedAuto, deMinSurcharge, ChkLoadsVariable, btnPartialFactors})
        field->setEnabled(code);
    deUnplanned->setEnabled(code && !ChkUnplannedAuto->isChecked());
}

void TDlgDesign::EditFactors() {
    if (EntryRefused()) return;
    TDlgPartialFactors dialog(factors_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    TProjectOptions edited = factors_;
    dialog.CopyFactors(edited);
    if (edited == factors_) return;
    factors_ = edited;
    Changed();
}

void TDlgDesign::FormActivate() {
    const TProgramData& project = Project();
    for (TDataEdit* field : {deMomentCapacity, deShearCapacity, deAllowableDeflection, deUnplanned, deMinSurcharge})
        field->SetUnits(project.UnitSystem);
    deMinSurcharge->SetUnitsString(PressureUnits(project.UnitSystem));
    ChkUnplannedAuto->setText(AutoCaption(project.UnitSystem));
    const TProjectOptions& options = project.Options;
    deMomentCapacity->SetNumber(options.MomentCapacity);
    deShearCapacity->SetNumber(options.ShearCapacity);
    deAllowableDeflection->SetNumber(options.AllowableDeflection);
    deTargetF->SetNumber(options.TargetSafetyFactor);
    CbDesignCode->setCurrentIndex(static_cast<int>(options.DesignCode));
    ChkUnplannedAuto->setChecked(options.UnplannedExcavationAuto);
    deUnplanned->SetNumber(options.UnplannedExcavation);
    deMinSurcharge->SetNumber(options.MinimumSurcharge);
    ChkLoadsVariable->setChecked(options.WallLoadsVariable == 1);
    CbPressureMethod->setCurrentIndex(static_cast<int>(options.EarthPressureMethod));
    deFrictionActive->SetNumber(options.WallFrictionActive);
    deFrictionPassive->SetNumber(options.WallFrictionPassive);
    ChkNetPressure->setChecked(options.NetPressureBelowExcavation == 1);
    factors_ = options;
    EnableCodeFields();
}

void TDlgDesign::CopyOut() {
    // Every value is read before any is stored: a field that cannot be read stores nothing.
    long double moment, shear, deflection, target, unplanned, surcharge, active, passive;
    try {
        moment = deMomentCapacity->Number();
        shear = deShearCapacity->Number();
        deflection = deAllowableDeflection->Number();
        target = deTargetF->Number();
        unplanned = deUnplanned->Number();
        surcharge = deMinSurcharge->Number();
        active = deFrictionActive->Number();
        passive = deFrictionPassive->Number();
    } catch (const EAssignError&) {
        return;
    }
    TProjectOptions& options = Project().Options;
    options.MomentCapacity = moment;
    options.ShearCapacity = shear;
    options.AllowableDeflection = deflection;
    options.TargetSafetyFactor = target;
    options.DesignCode = static_cast<TDesignCode>(std::max(CbDesignCode->currentIndex(), 0));
    options.UnplannedExcavationAuto = ChkUnplannedAuto->isChecked();
    options.UnplannedExcavation = unplanned;
    options.MinimumSurcharge = surcharge;
    options.WallLoadsVariable = ChkLoadsVariable->isChecked() ? 1 : 0;
    options.EarthPressureMethod = static_cast<TEarthPressureMethod>(std::max(CbPressureMethod->currentIndex(), 0));
    options.WallFrictionActive = active;
    options.WallFrictionPassive = passive;
    options.NetPressureBelowExcavation = ChkNetPressure->isChecked() ? 1 : 0;
    for (const TPartialFactor& factor : PartialFactors()) options.*factor.value = factors_.*factor.value;
}

}  // namespace torvex
