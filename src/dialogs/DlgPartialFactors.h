#pragma once
// "Partial Factors": the partial factors of a design to EN 1997-1 as a table, one row per
// factor with its set and what it applies to, the values editable. A value outside the range
// the option block holds (above 0, at most 10) is refused with a message naming the factor,
// and the old value stays. "Recommended Values" puts back the
// values EN 1997-1 Annex A recommends. OK keeps the table's values, Cancel drops them.

#include <QDialog>
#include <vector>

#include "project/OptionBlock.h"

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace torvex {

// One factor of the table.
struct TPartialFactor {
    const char* name;     // as the option block names it
    const char* set;      // A1, A2, M2, R2, HYD; "" for none
    const char* meaning;  // what it applies to
    long double TProjectOptions::*value;
};
// The factors in the table's order.
const std::vector<TPartialFactor>& PartialFactors();

class TDlgPartialFactors : public QDialog {
    Q_OBJECT
public:
    // Shows the factors of `options`.
    explicit TDlgPartialFactors(const TProjectOptions& options, QWidget* parent = nullptr);

    // The table's factors put into `options`; its other settings are left as they are.
    void CopyFactors(TProjectOptions& options) const;

    enum TColumn { kName, kSet, kMeaning, kValue };
    QTableWidget* table;
    QPushButton* btnRecommended;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private:
    void ValueEdited(QTableWidgetItem* item);
    void ShowValue(int row);
    void Recommend();

    std::vector<long double> values_;  // one per row of PartialFactors()
    bool showing_ = false;             // the table's text is being set, not typed
};

}  // namespace torvex
