#include "report/ReportWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "ResultFiles.h"
#include "output/DesignFiles.h"
#include "plot/PlotFileReader.h"
#include "plot/ResultGraphs.h"
#include "project/DataFileReader.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"
#include "project/Workspace.h"
#include "report/ReportAppendix.h"
#include "report/ReportCanvas.h"
#include "report/ReportCode.h"
#include "report/ReportEnvelope.h"
#include "report/ReportGlance.h"
#include "report/ReportGraphs.h"
#include "report/ReportInput.h"
#include "report/ReportNumbers.h"
#include "report/ReportProfile.h"
#include "report/ReportResults.h"
#include "report/ReportTable.h"

namespace torvex {
namespace {

// Vector output; the resolution is that of the coordinates the painter rounds to.
constexpr int kReportDpi = 300;

bool AllCasesHaveResults(const engine::TFileAnalysis& analysis) {
    if (!analysis.error.empty() || analysis.cases.empty()) return false;
    for (const engine::TCaseResult& c : analysis.cases)
        if (c.nodes.empty()) return false;
    return true;
}

int UnitCodeOf(const engine::TFileAnalysis& analysis) {
    return analysis.cases.empty() ? 1 : analysis.cases.front().unitCode;
}

// The job details the report is signed under: the export's correction, else the data file's.
const TProjectOptions& JobOf(const TReportSource& source, const TReportSettings& settings) {
    return settings.job ? *settings.job : source.analysis.options;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The footer's job line: the details given, in the order a drawing's title block has them.
QString FooterJob(const TProjectOptions& job) {
    QStringList parts;
    if (!job.JobNumber.empty()) parts << "Job " + Text(job.JobNumber);
    if (!job.JobTitle.empty()) parts << Text(job.JobTitle);
    if (!job.Revision.empty()) parts << "Rev. " + Text(job.Revision);
    if (!job.Engineer.empty()) parts << "Engineer: " + Text(job.Engineer);
    if (!job.Checker.empty()) parts << "Checker: " + Text(job.Checker);
    return parts.join("  |  ");
}

void DrawTitleBlock(TReportCanvas& canvas, const TReportSource& source, const TReportSettings& settings) {
    const engine::TFileAnalysis& a = source.analysis;
    canvas.Heading("TORVEX 2012 calculation report", 1, false, false);
    TReportTable table;
    table.caption = "Project";
    table.headers = {"Item", "Value"};
    table.textColumns = {0, 1};
    const TProjectOptions& job = JobOf(source, settings);
    table.Add({"Job number", Text(job.JobNumber)});
    table.Add({"Job title", Text(job.JobTitle)});
    table.Add({"Project title", QString::fromStdString(a.title)});
    table.Add({"Data file", QString::fromStdString(a.dataFile)});
    table.Add({"Date", settings.made.toString("yyyy-MM-dd hh:mm")});
    table.Add({"Units", ReportUnits(UnitCodeOf(a)).system});
    table.Add({"Program version", "TORVEX 2012 version " TORVEX_VERSION});
    table.Add({"Engineer", Text(job.Engineer)});
    table.Add({"Checker", Text(job.Checker)});
    table.Add({"Revision", Text(job.Revision)});
    QStringList cases;
    for (const engine::TCaseResult& c : a.cases) cases << QString::fromStdString(c.label);
    table.Add({"Cases", cases.join(", ")});
    DrawTable(canvas, table);
    canvas.Paragraph(
        "Sign conventions: depth x positive down from the wall top; deflection y positive toward the excavation; "
        "M = EI d2y/dx2; V = dM/dx + Q dy/dx; soil reaction p in the sense that resists y; driving line load w "
        "positive toward the excavation. Depths are given from the wall top.");
}

// The contents: every section with its page, subsections indented.
void DrawContents(TReportCanvas& canvas, const std::vector<TContentsEntry>& contents) {
    TReportTable table;
    table.caption = "Contents";
    table.headers = {"Section", "Page"};
    table.textColumns = {0};
    for (const TContentsEntry& entry : contents)
        table.Add({QString(entry.level == 1 ? "" : "      ") + entry.title, QString::number(entry.page)});
    DrawTable(canvas, table);
}

struct TLayout {
    int pages = 0;
    std::vector<TContentsEntry> contents;
};

// The whole report on `writer`; `painter` is null in the counting passes. `before` holds the
// page count and the contents of the pass before (the contents table as tall as it will be).
TLayout LayOutReport(QPdfWriter& writer, QPainter* painter, const TLayout& before, const TReportSource& source,
                     const TReportSettings& settings) {
    const engine::TFileAnalysis& a = source.analysis;
    TReportCanvas canvas(writer, painter, QString::fromStdString(a.title), before.pages,
                         FooterJob(JobOf(source, settings)));
    DrawTitleBlock(canvas, source, settings);
    DrawContents(canvas, before.contents);
    DrawProfilePage(canvas, a);

    canvas.Heading("1 Input", 1, true);
    DrawProjectOptions(canvas, a.options, UnitCodeOf(a));
    for (const engine::TCaseResult& c : a.cases) {
        canvas.Heading("Input: " + QString::fromStdString(c.label), 2);
        if (c.outcome == engine::TOutcome::InputError) {
            canvas.Paragraph("INPUT ERROR: " + QString::fromStdString(c.message));
            continue;
        }
        DrawCaseInput(canvas, c.input, c.warnings);
    }

    canvas.Heading("2 Results", 1, true);
    const std::vector<TSummaryCase> summaries = engine::SummaryCases(a);
    const bool fails = std::any_of(summaries.begin(), summaries.end(), [](const TSummaryCase& s) { return s.AnyFails(); });
    canvas.Paragraph("Verdict: " + QString::fromStdString(DesignVerdictText(summaries)), true,
                     fails ? QColor(0xc0, 0, 0) : QColor(Qt::black));
    for (size_t i = 0; i < a.cases.size(); ++i) {
        canvas.Heading("Results: " + QString::fromStdString(a.cases[i].label), 2);
        DrawCaseResults(canvas, a.cases[i], summaries[i]);
    }
    DrawResultsAtAGlance(canvas, a);
    if (StagedAnalysis(a)) DrawEnvelope(canvas, a);
    DrawCodeDesign(canvas, a);

    if (source.graphsRead) {
        std::vector<TCaseGraph> pyGraphs;
        for (size_t k = 0; k < source.caseGraphs.size(); ++k)
            pyGraphs.push_back({QString::fromStdString(a.cases[k].label), &source.caseGraphs[k]->pltPY});
        DrawGraphPages(canvas, *source.graphs, pyGraphs);
    } else {
        canvas.Heading("Graphs", 2);
        canvas.Paragraph("No graphs: a case without results (see its input error) leaves the graphs empty.");
    }
    if (settings.nodeAppendix) DrawNodeAppendix(canvas, a.cases);
    canvas.Finish();
    return {canvas.Page(), canvas.Contents()};
}

void SetUp(QPdfWriter& writer, const TReportSource& source, const TReportSettings& settings) {
    writer.setResolution(kReportDpi);
    writer.setTitle(QString::fromStdString(source.analysis.title));
    writer.setCreator("TORVEX 2012 version " TORVEX_VERSION);
    writer.setPageLayout(QPageLayout(QPageSize(settings.letter ? QPageSize::Letter : QPageSize::A4),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

}  // namespace

TReportSource::TReportSource() = default;
TReportSource::~TReportSource() = default;

std::unique_ptr<TReportSource> ReadReportSource(const std::string& dataFile) {
    auto source = std::make_unique<TReportSource>();
    source->workspace = std::make_unique<TWorkspace>();
    source->graphs = std::make_unique<TResultGraphs>();
    // One reading of the file for both the analysis and the input tables, so that the two
    // always describe the same bytes.
    std::string text;
    try {
        text = LoadTextFile(dataFile);
    } catch (const std::exception& error) {
        source->analysis.dataFile = dataFile;
        source->analysis.error = error.what();
        return source;
    }
    source->analysis = engine::AnalyzeDataText(text, dataFile);
    if (!source->analysis.error.empty()) return source;
    try {
        const bool older = QFileInfo(QString::fromStdString(dataFile)).suffix().compare("txd", Qt::CaseInsensitive) == 0;
        ReadDataFileText(*source->workspace, text, dataFile, older ? 2 : 1);
    } catch (const std::exception& error) {
        source->analysis.error = error.what();
        return source;
    }
    const engine::TFileAnalysis& a = source->analysis;
    if (!AllCasesHaveResults(a)) return source;
    source->graphsRead = ReadPlotFileText(*source->graphs, *source->workspace, engine::PlotFileText(a), nullptr);
    if (!source->graphsRead) return source;
    // Each curve (one per case) is named after its case, as the report's headings name it; the
    // windows name a single case's curve "Load #1" and the pressure curves not at all.
    TResultGraphs& g = *source->graphs;
    UseReportUnits(g);
    for (TCurveSet* set : {&g.pltDef.Lines, &g.pltMom.Lines, &g.pltShear.Lines, &g.pltSoil.Lines, &g.pltLD.Lines})
        for (size_t k = 0; k < a.cases.size() && static_cast<int>(k) < set->Count(); ++k)
            (*set)[static_cast<int>(k)].Name = a.cases[k].label;
    if (a.cases.size() < 2) return source;
    for (const engine::TCaseResult& c : a.cases) {
        engine::TFileAnalysis one;
        one.cases.push_back(c);
        auto graphs = std::make_unique<TResultGraphs>();
        if (!ReadPlotFileText(*graphs, *source->workspace, engine::PlotFileText(one), nullptr)) {
            source->caseGraphs.clear();
            break;
        }
        UseReportUnits(*graphs);
        source->caseGraphs.push_back(std::move(graphs));
    }
    return source;
}

TReportDocument MakeReport(const TReportSource& source, const TReportSettings& settings_) {
    TReportSettings settings = settings_;
    if (!settings.made.isValid()) settings.made = QDateTime::currentDateTime();
    const auto failed = [](const char* reason) { return EInOutError(std::string("The report cannot be made: ") + reason); };
    // Laid out first without drawing: once for the headings, once more with their contents
    // table in place for the pages, so that the contents and every footer ("of M") are right.
    TLayout layout;
    for (int pass = 0; pass < 2; ++pass) {
        QBuffer scratch;
        scratch.open(QIODevice::WriteOnly);
        QPdfWriter counting(&scratch);
        SetUp(counting, source, settings);
        layout = LayOutReport(counting, nullptr, layout, source, settings);
    }
    TReportDocument document;
    QBuffer buffer(&document.bytes);
    if (!buffer.open(QIODevice::WriteOnly)) throw failed("no memory for the document.");
    TLayout drawn;
    {
        QPdfWriter writer(&buffer);
        SetUp(writer, source, settings);
        QPainter painter;
        if (!painter.begin(&writer)) throw failed("the pages could not be drawn.");
        drawn = LayOutReport(writer, &painter, layout, source, settings);
        if (!painter.end()) throw failed("the pages could not be drawn.");
    }
    if (drawn.pages != layout.pages || drawn.contents != layout.contents)
        throw failed("the pages changed between the passes.");
    document.pages = drawn.pages;
    return document;
}

QString ReportFileName(const QString& folder, const QString& dataFile) {
    return QDir(folder).filePath(QFileInfo(dataFile).completeBaseName() + ".pdf");
}

}  // namespace torvex
