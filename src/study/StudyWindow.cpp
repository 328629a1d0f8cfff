#include "study/StudyWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "dataentry/NumberText.h"
#include "dataentry/Units.h"
#include "desktop/SafeOutput.h"
#include "desktop/UserInterface.h"
#include "plot/PltData.h"
#include "project/DataFileReader.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"
#include "project/Workspace.h"
#include "study/StudyChoices.h"
#include "study/StudyGraph.h"

namespace torvex {

namespace {

QString Number(double value) { return QString::number(value, 'g', 6); }

}  // namespace

TStudyWindow::TStudyWindow(const QString& dataFile, QWidget* parent)
    : QWidget(parent), dataFile_(dataFile), graph_(std::make_unique<TGraphPlot>("pltStudy")) {
    setObjectName("StudyWindow");
    setWindowTitle("Parametric Study - " + QFileInfo(dataFile).fileName());

    input = new QComboBox(this);
    input->setObjectName("StudyInput");
    for (const TStudyChoice& choice : StudyChoices()) input->addItem(QString::fromStdString(choice.label));
    row = new QSpinBox(this);
    row->setObjectName("StudyRow");
    row->setRange(1, 100);
    from = new QLineEdit(this);
    from->setObjectName("StudyFrom");
    to = new QLineEdit(this);
    to->setObjectName("StudyTo");
    count = new QSpinBox(this);
    count->setObjectName("StudyCount");
    count->setRange(1, engine::kMaxStudyVariants);
    count->setValue(21);
    stage = new QSpinBox(this);
    stage->setObjectName("StudyStage");
    note = new QLabel(this);
    note->setObjectName("StudyNote");
    note->setWordWrap(true);
    btnRun = new QPushButton("&Run", this);
    btnRun->setObjectName("StudyRun");
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("StudyCancel");
    btnCancel->setEnabled(false);
    progress = new QProgressBar(this);
    progress->setObjectName("StudyProgress");
    table = new QTableWidget(this);
    table->setObjectName("StudyTable");
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    quantity = new QComboBox(this);
    quantity->setObjectName("StudyQuantity");
    for (int q = 0; q < kStudyQuantityCount; ++q)
        quantity->addItem(StudyQuantityName(static_cast<TStudyQuantity>(q)));
    quantity->setCurrentIndex(static_cast<int>(TStudyQuantity::MaxMoment));
    btnGraph = new QPushButton("&Graph", this);
    btnGraph->setObjectName("StudyGraph");
    btnSaveCsv = new QPushButton("&Save CSV...", this);
    btnSaveCsv->setObjectName("StudySaveCsv");

    auto* form = new QFormLayout;
    form->addRow("&Input to vary:", input);
    form->addRow("&Row or layer (from 1):", row);
    form->addRow("&From:", from);
    form->addRow("&To:", to);
    form->addRow("&Number of variants:", count);
    form->addRow("S&tage:", stage);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(btnRun);
    runRow->addWidget(btnCancel);
    runRow->addWidget(progress, 1);
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(new QLabel("Graph of:", this));
    answerRow->addWidget(quantity, 1);
    answerRow->addWidget(btnGraph);
    answerRow->addWidget(btnSaveCsv);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(runRow);
    layout->addWidget(table, 1);
    layout->addLayout(answerRow);

    // The file's stages and units, for the stage box and the units of the range.
    TWorkspace workspace;
    QString error;
    const std::string text = ReadText(&error);
    if (error.isEmpty()) {
        try {
            ReadDataFileText(workspace, text, dataFile.toStdString(), 1);
            stages_ = std::max(1, workspace.Project().StageCount);
            units_ = workspace.Project().UnitSystem;
        } catch (const std::exception&) {
            // Run says why the file cannot be read.
        }
    }
    stage->setSpecialValueText("none");  // a project without stages
    stage->setRange(stages_ > 1 ? 1 : 0, stages_ > 1 ? stages_ : 0);
    stage->setValue(stages_ > 1 ? stages_ : 0);
    stage->setEnabled(stages_ > 1);
    connect(input, &QComboBox::currentIndexChanged, this, &TStudyWindow::InputChanged);
    connect(row, &QSpinBox::valueChanged, this, &TStudyWindow::InputChanged);
    connect(btnRun, &QPushButton::clicked, this, &TStudyWindow::RunClick);
    connect(btnCancel, &QPushButton::clicked, this, &TStudyWindow::CancelClick);
    connect(btnGraph, &QPushButton::clicked, this, &TStudyWindow::GraphClick);
    connect(btnSaveCsv, &QPushButton::clicked, this, &TStudyWindow::SaveCsvClick);
    InputChanged();
    FillTable();
}

TStudyWindow::~TStudyWindow() {
    StopWorker();
    // An open graph window still draws this window's graph: the graph goes with it.
    if (graphWindow_) {
        TGraphPlot* graph = graph_.release();
        connect(graphWindow_.data(), &QObject::destroyed, [graph] { delete graph; });
    }
}

void TStudyWindow::StopWorker() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

std::string TStudyWindow::ReadText(QString* error) const {
    try {
        return LoadTextFile(QFile::encodeName(dataFile_).toStdString());
    } catch (const EInOutError& failure) {
        *error = QString::fromStdString(failure.what()) + " The study analyses the project as saved: save it first.";
        return {};
    }
}

void TStudyWindow::InputChanged() {
    const TStudyChoice& choice = StudyChoices().at(static_cast<size_t>(std::max(0, input->currentIndex())));
    row->setEnabled(choice.NeedsRow());
    const std::string units = AxisUnitsLabel(choice.unitString, units_);
    QString text = "Values in the data file's units" + (units.empty() ? QString() : " (" + QString::fromStdString(units) + ")") +
                   "; the study analyses " + QFileInfo(dataFile_).fileName() + " as saved.";
    // The present value gives the range a start.
    TWorkspace workspace;
    QString error;
    const std::string fileText = ReadText(&error);
    try {
        if (!error.isEmpty()) throw std::runtime_error(error.toStdString());
        ReadDataFileText(workspace, fileText, dataFile_.toStdString(), 1);
        const double now = engine::StudyKeyValue(workspace, engine::ParseStudyKey(choice.KeyFor(row->value())));
        text += " Now " + Number(now) + ".";
        const bool whole = choice.key == "NumIncrements";
        const double low = now == 0 ? 0 : now * 0.8, high = now == 0 ? 1 : now * 1.2;
        from->setText(Number(whole ? std::round(low) : low));
        to->setText(Number(whole ? std::round(high) : high));
    } catch (const std::exception& e) {
        text += " " + QString::fromStdString(e.what());
    }
    note->setText(text);
}

namespace {

// A typed bound: "." as the decimal point, as everywhere in the program, or the locale's own.
std::optional<long double> TypedNumber(const QString& typed) {
    const std::string text = typed.trimmed().toStdString();
    if (const auto value = ParseDecimal(text, '.')) return value;
    return ParseDecimal(text, DecimalSeparator());
}

}  // namespace

void TStudyWindow::RunClick() {
    if (Running()) return;
    const TStudyChoice& choice = StudyChoices().at(static_cast<size_t>(std::max(0, input->currentIndex())));
    engine::TStudyRequest request;
    const auto low = TypedNumber(from->text());
    const auto high = TypedNumber(to->text());
    if (!low || !high) {
        UserInterface().Information(this, "Type the range as two numbers, e.g. 96 and 168.");
        return;
    }
    QString error;
    request.text = ReadText(&error);
    if (!error.isEmpty()) {
        UserInterface().Information(this, error);
        return;
    }
    request.dataFile = QFileInfo(dataFile_).fileName().toStdString();
    request.key = choice.KeyFor(row->value());
    studiedLabel_ = choice.label + (choice.NeedsRow() ? " " + std::to_string(row->value()) : std::string());
    studiedUnits_ = choice.unitString;
    request.from = static_cast<double>(*low);
    request.to = static_cast<double>(*high);
    request.count = count->value();
    request.stage = stages_ > 1 ? stage->value() : 0;
    cancel_ = false;
    request.cancel = &cancel_;
    request.progress = [this](int done, int total) {
        QMetaObject::invokeMethod(this, [this, done, total] {
            progress->setMaximum(total);
            progress->setValue(std::max(progress->value(), done));
        }, Qt::QueuedConnection);
    };
    progress->setRange(0, request.count);
    progress->setValue(0);
    btnRun->setEnabled(false);
    btnCancel->setEnabled(true);
    // The study runs off the window's thread; its answers come back queued to this window,
    // and a window that closes first stops and waits for it.
    worker_ = std::thread([this, request = std::move(request)] {
        try {
            engine::TStudyResult result = engine::RunStudy(request);
            QMetaObject::invokeMethod(this, [this, result = std::move(result)]() mutable { Done(std::move(result)); },
                                      Qt::QueuedConnection);
        } catch (const std::exception& e) {
            const QString message = QString::fromStdString(e.what());
            QMetaObject::invokeMethod(this, [this, message] { Failed(message); }, Qt::QueuedConnection);
        }
    });
}

void TStudyWindow::CancelClick() { cancel_ = true; }

void TStudyWindow::Done(engine::TStudyResult result) {
    if (worker_.joinable()) worker_.join();
    result_ = std::move(result);
    btnRun->setEnabled(true);
    btnCancel->setEnabled(false);
    FillTable();
    if (graphWindow_) GraphClick();  // an open graph follows the new answers
    emit Finished();
}

void TStudyWindow::Failed(const QString& message) {
    if (worker_.joinable()) worker_.join();
    btnRun->setEnabled(true);
    btnCancel->setEnabled(false);
    emit Finished();
    UserInterface().Information(this, message);
}

void TStudyWindow::FillTable() {
    const QString length = QString::fromStdString(AxisUnitsLabel("L", units_));
    const QString force = QString::fromStdString(AxisUnitsLabel("F", units_));
    const QString moment = QString::fromStdString(AxisUnitsLabel("F-L", units_));
    QStringList headers = {"Value", "Outcome", "Top deflection (" + length + ")", "Largest deflection (" + length + ")",
                           "Largest moment (" + moment + ")", "Largest shear (" + force + ")"};
    for (size_t s = 1; s <= result_.supportCount; ++s) headers << "Support " + QString::number(s) + " (" + force + ")";
    headers << "LE F";
    table->clear();
    table->setColumnCount(static_cast<int>(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    int shown = 0;
    for (const engine::TStudyRow& r : result_.rows) shown += r.done ? 1 : 0;
    table->setRowCount(shown);
    int line = 0;
    for (const engine::TStudyRow& r : result_.rows) {
        if (!r.done) continue;
        const bool answers = r.outcome == engine::TOutcome::Converged;
        QStringList cells = {Number(r.value), engine::StudyOutcomeText(r.outcome)};
        for (const double v : {r.topDeflection, r.maxDeflection, r.maxMoment, r.maxShear}) cells << (answers ? Number(v) : "");
        for (size_t s = 0; s < result_.supportCount; ++s)
            cells << (answers && s < r.supportForces.size() ? Number(r.supportForces[s]) : "");
        cells << (r.leF ? Number(*r.leF) : "");
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 1 && !answers) {
                item->setForeground(Qt::red);
                item->setToolTip(QString::fromStdString(r.message));
            }
            table->setItem(line, c, item);
        }
        ++line;
    }
    table->resizeColumnsToContents();
    if (result_.cancelled) note->setText("Cancelled: " + QString::number(shown) + " of " +
                                         QString::number(result_.rows.size()) + " variants were analysed.");
}

void TStudyWindow::GraphClick() {
    if (result_.rows.empty()) {
        UserInterface().Information(this, "Run the study first.");
        return;
    }
    FillStudyGraph(*graph_, result_, static_cast<TStudyQuantity>(quantity->currentIndex()), studiedLabel_,
                   studiedUnits_);
    if (ShowGraph) graphWindow_ = ShowGraph(*graph_);
}

void TStudyWindow::SaveCsvClick() {
    if (result_.rows.empty()) {
        UserInterface().Information(this, "Run the study first.");
        return;
    }
    // Beside the data file, not in whatever folder the program was started from.
    const QFileInfo data(dataFile_);
    const QString suggested = QDir(data.absolutePath()).filePath(data.completeBaseName() + ".study.csv");
    const QString name =
        UserInterface().SaveFileName(this, "Save As", suggested, {"CSV file (*.csv)", "All Files (*)"}, "csv");
    if (name.isEmpty()) return;
    try {
        SaveBytes(name, QByteArray::fromStdString(engine::StudyCsvText(result_)));
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
}

}  // namespace torvex
