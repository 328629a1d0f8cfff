#include "dialogs/DlgPartialFactors.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dataentry/DataEditRules.h"
#include "desktop/UserInterface.h"

namespace torvex {

const std::vector<TPartialFactor>& PartialFactors() {
    using O = TProjectOptions;
    static const std::vector<TPartialFactor> factors = {
        {"GammaG", "A1", "permanent actions, unfavourable", &O::GammaG},
        {"GammaQ", "A1", "variable actions", &O::GammaQ},
        {"GammaQ2", "A2", "variable actions", &O::GammaQ2},
        {"GammaTanPhi", "M2", "tan \u03C6' (angle of shearing resistance)", &O::GammaTanPhi},
        {"GammaCohesion", "M2", "effective cohesion c'", &O::GammaCohesion},
        {"GammaUndrained", "M2", "undrained shear strength cu", &O::GammaUndrained},
        {"GammaUnconfined", "M2", "unconfined compressive strength qu (rock)", &O::GammaUnconfined},
        {"GammaUnitWeight", "M2", "unit weight \u03B3", &O::GammaUnitWeight},
        {"GammaEarthResistance", "R2", "earth resistance (DA2)", &O::GammaEarthResistance},
        {"GammaHydDst", "HYD", "destabilising: pore pressure at the toe", &O::GammaHydDst},
        {"GammaHydStb", "HYD", "stabilising: total vertical stress at the toe in front", &O::GammaHydStb},
        {"GammaAnchor", "", "anchor pull-out resistance", &O::GammaAnchor},
    };
    return factors;
}

namespace {

// The text of a value as the numeric fields show it.
QString ValueText(long double value) {
    TDataEditRules rules;
    return QString::fromStdString(rules.NumberText(value));
}

}  // namespace

TDlgPartialFactors::TDlgPartialFactors(const TProjectOptions& options, QWidget* parent)
    : QDialog(parent) {
    setObjectName("DlgPartialFactors");
    setWindowTitle("Partial Factors");
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel("The factors of a design to EN 1997-1. Select a value and type to change it.", this);
    layout->addWidget(note);

    const std::vector<TPartialFactor>& factors = PartialFactors();
    table = new QTableWidget(static_cast<int>(factors.size()), 4, this);
    table->setObjectName("tblFactors");
    table->setHorizontalHeaderLabels({"Factor", "Set", "Applies to", "Value"});
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    table->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
    for (size_t i = 0; i < factors.size(); ++i) {
        const int row = static_cast<int>(i);
        const TPartialFactor& factor = factors[i];
        const QString cells[] = {factor.name, *factor.set ? factor.set : "\u2014", QString::fromUtf8(factor.meaning)};
        for (int column = kName; column <= kMeaning; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table->setItem(row, column, item);
        }
        auto* value = new QTableWidgetItem;
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, kValue, value);
        values_.push_back(options.*factor.value);
        ShowValue(row);
    }
    table->resizeColumnsToContents();
    // Room for a value typed with all its digits.
    table->setColumnWidth(kValue, std::max(table->columnWidth(kValue), fontMetrics().horizontalAdvance(QString(10, '0'))));
    table->horizontalHeader()->setStretchLastSection(true);
    // Every row in sight: the table is as large as its contents.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setCurrentCell(0, kValue);
    layout->addWidget(table);
    connect(table, &QTableWidget::itemChanged, this, &TDlgPartialFactors::ValueEdited);

    auto* buttons = new QHBoxLayout;
    btnRecommended = new QPushButton("&Recommended Values", this);
    btnRecommended->setObjectName("btnRecommended");
    btnRecommended->setToolTip("Puts back the values EN 1997-1 Annex A recommends");
    connect(btnRecommended, &QPushButton::clicked, this, &TDlgPartialFactors::Recommend);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOk = box->button(QDialogButtonBox::Ok);
    btnCancel = box->button(QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addWidget(btnRecommended);
    buttons->addStretch(1);
    buttons->addWidget(box);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    table->setFocus();
}

void TDlgPartialFactors::ShowValue(int row) {
    showing_ = true;
    table->item(row, kValue)->setText(ValueText(values_[static_cast<size_t>(row)]));
    showing_ = false;
}

void TDlgPartialFactors::ValueEdited(QTableWidgetItem* item) {
    if (showing_ || item->column() != kValue) return;
    const int row = item->row();
    const TPartialFactor& factor = PartialFactors()[static_cast<size_t>(row)];
    // Any expression the numeric fields take, within the range the option block holds.
    TDataEditRules rules;
    rules.SetText(item->text().toStdString());
    const TDataEditRules::TCheck check = rules.ExitCheck();
    QString fault;
    if (!check.valid) {
        fault = QString("%1: %2").arg(factor.name, QString::fromStdString(check.message));
        if (!fault.endsWith('.')) fault += '.';
    } else {
        fault = QString::fromStdString(OptionValueFault(factor.name, rules.Number()));
    }
    const QString old = ValueText(values_[static_cast<size_t>(row)]);
    if (fault.isEmpty()) values_[static_cast<size_t>(row)] = rules.Number();
    ShowValue(row);
    if (!fault.isEmpty()) UserInterface().Information(this, QString("%1 %2 keeps its value %3.").arg(fault, factor.name, old));
}

void TDlgPartialFactors::Recommend() {
    const TProjectOptions recommended;  // the option block's defaults are Annex A's values
    const std::vector<TPartialFactor>& factors = PartialFactors();
    for (size_t i = 0; i < factors.size(); ++i) {
        values_[i] = recommended.*factors[i].value;
        ShowValue(static_cast<int>(i));
    }
}

void TDlgPartialFactors::CopyFactors(TProjectOptions& options) const {
    const std::vector<TPartialFactor>& factors = PartialFactors();
    for (size_t i = 0; i < factors.size(); ++i) options.*factors[i].value = values_[i];
}

}  // namespace torvex
