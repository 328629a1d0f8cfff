#pragma once
// The Parametric Study window: the user picks an input, its range and the number of variants
// (and the stage of a staged project); Run analyses every variant in memory on all cores off
// the window's thread, with a progress bar and Cancel; the table shows each variant's answers
// and outcome, a graph draws one answer against the input, and Save CSV writes the table as
// torvex-run --vary prints it.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "parametric/ParametricStudy.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace torvex {

class TGraphPlot;

class TStudyWindow : public QWidget {
    Q_OBJECT
public:
    // Studies the data file `dataFile` as saved on disk.
    explicit TStudyWindow(const QString& dataFile, QWidget* parent = nullptr);
    ~TStudyWindow() override;

    // Opens (or refits) the graph window on a graph; the window that shows it is returned, so
    // that it goes with this one. Set by the main window.
    std::function<QWidget*(TGraphPlot&)> ShowGraph;

    const engine::TStudyResult& Result() const { return result_; }
    const QString& DataFile() const { return dataFile_; }
    bool Running() const { return worker_.joinable(); }
    TGraphPlot& Graph() { return *graph_; }

    QComboBox* input;
    QSpinBox* row;
    QLineEdit* from;
    QLineEdit* to;
    QSpinBox* count;
    QSpinBox* stage;
    QLabel* note;
    QPushButton* btnRun;
    QPushButton* btnCancel;
    QProgressBar* progress;
    QTableWidget* table;
    QComboBox* quantity;
    QPushButton* btnGraph;
    QPushButton* btnSaveCsv;

signals:
    // The study stopped: finished, cancelled or refused.
    void Finished();

private:
    void InputChanged();
    void RunClick();
    void CancelClick();
    void GraphClick();
    void SaveCsvClick();
    void Done(engine::TStudyResult result);
    void Failed(const QString& message);
    void FillTable();
    std::string ReadText(QString* error) const;
    void StopWorker();

    QString dataFile_;
    std::string studiedLabel_, studiedUnits_;  // the input of the answers shown
    int stages_ = 1;
    int units_ = 1;
    engine::TStudyResult result_;
    std::unique_ptr<TGraphPlot> graph_;
    QPointer<QWidget> graphWindow_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};

}  // namespace torvex
