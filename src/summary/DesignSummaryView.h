#pragma once
// The design summary window: after a run, one block per case or stage with the largest
// deflection against the allowable, the moment and shear utilisations, each support's force
// with its largest so far, and the limit-equilibrium answer. What fails is shown in red with
// the word "exceeds" or "fails". The window reads the summary file the engine wrote beside
// the report, prints it on one page and saves it as CSV. Figures of other input than the
// project's present one carry a warning above them and are neither printed nor saved.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "project/DesignSummary.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace torvex {

// The window's text as HTML; a failing value's row carries class "fails" and red text.
QString DesignSummaryHtml(const std::vector<TSummaryCase>& cases);

class TDesignSummaryView : public QWidget {
    Q_OBJECT
public:
    explicit TDesignSummaryView(QWidget* parent = nullptr);

    // Reads the file again; a file that cannot be read shows why.
    void Load(const QString& summaryFile);
    const TDesignSummary& Summary() const { return summary_; }
    QString Html() const { return html_; }

    // Whether the figures are of the project's present input; unset: they always are.
    std::function<bool()> IsCurrent;
    // Shows or hides the warning and allows printing and saving by IsCurrent.
    void RefreshCurrency();
    bool Current() const { return current_; }

    QPushButton* btnPrint;
    QPushButton* btnSaveCsv;
    QTextBrowser* text;
    QLabel* lblNotCurrent;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PrintClick();
    void SaveCsvClick();

    QString file_;
    TDesignSummary summary_;
    QString html_;
    bool current_ = true;
};

}  // namespace torvex
