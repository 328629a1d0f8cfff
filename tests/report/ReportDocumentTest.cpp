// The calculation report as the batch programs write it (torvex-run --pdf, torvex-report),
// read back with the poppler tools: its sections, its input values and maxima against the
// text report the engine writes for the same file, its page count and footers, the curves of
// a graph page, the node appendix and the paper, and the command lines that must fail.

#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <QTemporaryDir>
#include <QtTest>

#include "ReportTestSupport.h"
#include "report/ReportEnvelope.h"
#include "report/ReportProfile.h"

using namespace torvex::testing;

namespace {

const QString kExample = "three-stage-excavation";
const QStringList kStages = {"Stage 1", "Stage 2", "Stage 3"};

// The text from `from` to the next of `ends` (or to the end), spaces and line breaks made one.
QString Section(const QString& text, const QString& from, const QStringList& ends) {
    const qsizetype start = text.indexOf(from);
    if (start < 0) return {};
    qsizetype end = text.size();
    for (const QString& e : ends) {
        const qsizetype at = text.indexOf(e, start + from.size());
        if (at >= 0) end = std::min(end, at);
    }
    return text.mid(start, end - start);
}

// The pages' text without the contents table, which names every heading once more.
QString WithoutContents(const QStringList& pages) {
    QString all = pages.join('\n');
    const qsizetype from = all.indexOf("\nContents\n"), to = all.indexOf("\n1 Input\n");
    return from >= 0 && to > from ? all.remove(from, to - from) : all;
}

bool HasRow(const QString& text, const QStringList& cells) {
    QStringList escaped;
    for (const QString& cell : cells) escaped << QRegularExpression::escape(cell);
    return QRegularExpression("(^|\\s)" + escaped.join("\\s+") + "(\\s|$)").match(text).hasMatch();
}

// Pixels of a colour (not black, white or grey) inside a rectangle of the image.
int ColouredPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int spread = std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (spread > 60) ++count;
        }
    return count;
}

// The page (1-based) the contents on page 1 gives for a section, 0 when it is not listed.
int ContentsPage(const QStringList& pages, const QString& title) {
    const QString page = Captured(pages.value(0), "^ *" + QRegularExpression::escape(title) + " +(\\d+)$");
    return page.isEmpty() ? 0 : page.toInt();
}

// The largest value of a quantity over the stages of a text report, by size, as the stage's
// own "Maximum ..." line gives it: {value, depth, stage}.
QStringList LargestOverStages(const std::map<QString, QString>& cases, const QString& what, const QString& unit) {
    QStringList best;
    for (const auto& [stage, text] : cases) {
        const QString pattern = QString("^Maximum %1 (\\S+) %2 at depth (\\S+)$").arg(what, QRegularExpression::escape(unit));
        const QString value = Captured(text, pattern, 1);
        if (!value.isEmpty() && (best.isEmpty() || std::fabs(value.toDouble()) > std::fabs(best[0].toDouble())))
            best = {value, Captured(text, pattern, 2), stage};
    }
    return best;
}

// The rows of the longest run of pixels near `colour` in the column that has most of them
// (text edges elsewhere in the column may take a colour near it),
// and the rows of every pixel row with at least half as many such pixels as the fullest row.
struct TColourRuns {
    int top = -1, bottom = -1;  // of the column
    std::vector<int> fullRows;
};
bool Near(const QColor& c, const QColor& to, int tolerance) {
    return std::abs(c.red() - to.red()) <= tolerance && std::abs(c.green() - to.green()) <= tolerance &&
           std::abs(c.blue() - to.blue()) <= tolerance;
}
TColourRuns ColourRuns(const QImage& image, const QColor& colour, int tolerance) {
    std::vector<int> perColumn(image.width()), perRow(image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), colour, tolerance)) ++perColumn[x], ++perRow[y];
    TColourRuns runs;
    const int column = int(std::max_element(perColumn.begin(), perColumn.end()) - perColumn.begin());
    for (int y = 0, from = -1; y <= image.height(); ++y) {
        const bool near = y < image.height() && Near(image.pixelColor(column, y), colour, tolerance);
        if (near && from < 0) from = y;
        if (!near && from >= 0) {
            if (y - from > runs.bottom + 1 - runs.top) runs.top = from, runs.bottom = y - 1;
            from = -1;
        }
    }
    const int fullest = *std::max_element(perRow.begin(), perRow.end());
    for (int y = 0; y < image.height(); ++y)
        if (fullest > 0 && perRow[y] * 2 >= fullest) runs.fullRows.push_back(y);
    return runs;
}

// How far down its body the text of each page reaches, from 0 (a line at the top) to 1 (down
// to the footer), as pdftotext -bbox places the words: the lowest word above the footer's
// "Page N of M", measured from the highest word of the document (the body's top).
std::vector<double> PageFill(const QString& pdf) {
    const QRegularExpression word("<word xMin=\"[^\"]*\" yMin=\"([^\"]*)\" xMax=\"[^\"]*\" yMax=\"([^\"]*)\">([^<]*)<");
    struct TWord {
        double top, bottom;
        QString text;
    };
    std::vector<std::vector<TWord>> pages;
    double top = 1e9;
    for (const QString& page : RunProgram("pdftotext", {"-bbox", pdf, "-"}).out.split("<page ").mid(1)) {
        pages.emplace_back();
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
            top = std::min(top, pages.back().back().top);
        }
    }
    std::vector<double> fill;
    for (const std::vector<TWord>& words : pages) {
        double footer = -1, lowest = top;
        for (size_t k = 0; k + 2 < words.size(); ++k)
            if (words[k].text == "Page" && words[k + 2].text == "of") footer = words[k].top;
        for (const TWord& w : words)
            if (w.bottom < footer) lowest = std::max(lowest, w.bottom);
        fill.push_back(footer > top ? (lowest - top) / (footer - top) : -1);
    }
    return fill;
}

// The largest size of the numbers in the lines of `text`.
double LargestNumber(const QStringList& lines) {
    double largest = 0;
    for (const QString& line : lines)
        for (const QString& word : line.split(' ', Qt::SkipEmptyParts))
            largest = std::max(largest, std::fabs(word.toDouble()));
    return largest;
}

}  // namespace

class ReportDocumentTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString data_, pdf_, textReport_;
    QStringList pages_;

private slots:
    // One run of torvex-run --pdf serves the tests below: the text report beside the data
    // file is the engine's, read here on its own.
    void initTestCase() {
        QVERIFY(dir_.isValid());
        data_ = dir_.filePath(kExample + ".tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/" + kExample + ".tx4d", data_));
        const TProgramRun run = RunProgram(BuiltProgram("torvex-run"), {"--pdf", dir_.filePath("pdf"), data_});
        QCOMPARE(run.status, 0);
        pdf_ = dir_.filePath("pdf/" + kExample + ".pdf");
        QVERIFY2(run.out.contains(pdf_ + ": "), qPrintable(run.out));
        QVERIFY(FileText(pdf_).startsWith("%PDF-"));
        textReport_ = FileText(dir_.filePath(kExample + ".tx4o"));
        QVERIFY(!textReport_.isEmpty());
        pages_ = PdfPages(pdf_);
        QVERIFY(!pages_.isEmpty());
        // An example of one case, with its text report beside it.
        QVERIFY(QDir(dir_.path()).mkpath("anchored"));
        const QString anchored = dir_.filePath("anchored/anchored-soft-clay.tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/anchored-soft-clay.tx4d", anchored));
        QCOMPARE(RunProgram(BuiltProgram("torvex-run"), {"--pdf", dir_.filePath("anchored"), anchored}).status, 0);
    }

    void theSectionsFollowEachOtherInOrder() {
        const QString all = WithoutContents(pages_);
        QStringList titles = {"TORVEX 2012 calculation report", "1 Input", "Options"};
        for (const QString& stage : kStages) titles << "Input: " + stage;
        titles << "2 Results";
        for (const QString& stage : kStages) titles << "Results: " + stage;
        titles << "Graph 1: Deflection" << "Graph 2: Bending moment" << "Graph 3: Shear" << "Graph 4: Soil reaction"
               << "Graph 5: Earth pressure";
        // The p-y curves of every stage, each on its own page.
        for (int k = 0; k < 3; ++k) titles << QString("Graph %1: p-y curves, %2").arg(6 + k).arg(kStages[k]);
        qsizetype at = 0;
        for (const QString& title : titles) {
            const qsizetype found = all.indexOf(title, at);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + title));
            at = found + title.size();
        }
        QVERIFY(!all.contains("Appendix"));  // only when asked for
        // The title block.
        const QString first = pages_.front();
        QVERIFY(HasRow(first, {"Project title", Captured(textReport_, "^Title: (.*)$")}));
        QVERIFY(HasRow(first, {"Data file", data_}));
        QVERIFY(HasRow(first, {"Units", "English", "(in,", "lbs)"}));
        QVERIFY(HasRow(first, {"Cases", "Stage", "1,", "Stage", "2,", "Stage", "3"}));
        QVERIFY(QRegularExpression("Date\\s+\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d").match(first).hasMatch());
    }

    // Every figure is read from the text report and must stand in the PDF as the text report
    // has it, to five significant figures.
    void theInputOfEachStageIsTheTextReports() {
        const QString all = WithoutContents(pages_);
        const auto cases = TextReportCases(textReport_);
        QCOMPARE(int(cases.size()), 3);
        for (int k = 0; k < 3; ++k) {
            const QString text = cases.at(kStages[k]);
            const QString input = Section(all, "Input: " + kStages[k], {"Input: Stage", "2 Results"});
            QVERIFY(!input.isEmpty());
            const QString wall = "^Wall: (\\d+) increments of (\\S+) in, length (\\S+) in, excavation level (\\S+) in$";
            QVERIFY(HasFigureRow(input, {"Increments", Captured(text, wall, 1)}));
            QVERIFY(HasFigureRow(input, {"Increment length", Captured(text, wall, 2), "in"}));
            QVERIFY(HasFigureRow(input, {"Wall length", Captured(text, wall, 3), "in"}));
            QVERIFY(HasFigureRow(input, {"Excavation level (free height)", Captured(text, wall, 4), "in"}));
            const QString allowable = Captured(text, "^Maximum allowable deflection (\\S+), closure tolerance (\\S+)$");
            QVERIFY(HasFigureRow(input, {"Deflection limit of the iteration (not a design check)", allowable, "in"}));
            QVERIFY(HasFigureRow(input, {"Closure tolerance", Captured(text, "closure tolerance (\\S+)$"), "in"}));
            // "  1: 540  sand  0.069444444  0  34  0  0": bottom, type, gamma, c, phi, e50, k.
            const QStringList layer =
                Captured(text, "^  1: (.*)$").split(' ', Qt::SkipEmptyParts);
            QCOMPARE(layer.size(), 7);
            // Sand's k of 0 takes the published default, which a note under the table gives.
            QCOMPARE(layer[6], QString("0"));
            QVERIFY(HasFigureRow(input,
                                 {"1", layer[1], "0", layer[0], layer[2], layer[3], layer[4], layer[5], "0: default"}));
            QVERIFY(input.contains("Values the engine used in place of an entry of 0:"));
            QVERIFY(input.simplified().contains("k not given; phi = 34 deg"));
        }
    }

    void theMaximaOfEachStageAreTheTextReports() {
        const QString all = WithoutContents(pages_);
        const auto cases = TextReportCases(textReport_);
        for (int k = 0; k < 3; ++k) {
            const QString text = cases.at(kStages[k]);
            const QString results = Section(all, "Results: " + kStages[k], {"Results: Stage", "Graph 1:"});
            QVERIFY(!results.isEmpty());
            const struct {
                const char *report, *pdf, *unit;
            } rows[] = {{"deflection", "Deflection", "in"}, {"moment", "Bending moment", "lbs-in"}, {"shear", "Shear", "lbs"}};
            for (const auto& row : rows) {
                const QString pattern = QString("^Maximum %1 (\\S+) %2 at depth (\\S+)$").arg(row.report, row.unit);
                const QString value = Captured(text, pattern, 1), depth = Captured(text, pattern, 2);
                QVERIFY2(!value.isEmpty(), row.report);
                QVERIFY2(HasFigureRow(results, {row.pdf, value, row.unit, depth}),
                         qPrintable(kStages[k] + ": " + row.pdf + " " + value + " at " + depth));
            }
            // Limit equilibrium and the support forces, as the text report's design sections
            // write them.
            const QString F = Captured(text, "^  F \\(tan phi and c divided on both sides\\) (\\S+)$");
            QVERIFY(HasFigureRow(results, {"F (tan phi and c divided on both sides)", F}));
            const QString Fp = Captured(text, "^  F_p \\(passive resistance alone\\) (\\S+)$");
            QVERIFY(HasFigureRow(results, {"F_p (passive resistance alone)", Fp}));
            const QString required = Captured(text, "^  required embedment for F = (\\S+): (\\S+)$", 2);
            QVERIFY(HasFigureRow(results, {"Required embedment for F = 1.5", required, "in"}));
            const QRegularExpression support(
                "^  node (\\d+), depth (\\S+), ([a-z ]+): (\\S+) per wall unit, (\\S+) per length, largest so far (\\S+)$",
                QRegularExpression::MultilineOption);
            int supports = 0;
            for (auto it = support.globalMatch(text); it.hasNext(); ++supports) {
                const QRegularExpressionMatch m = it.next();
                QVERIFY2(HasFigureRow(results, m.capturedTexts().mid(1)), qPrintable(m.captured(0)));
            }
            QCOMPARE(supports, k == 0 ? 0 : 1);  // the strut goes in with stage 2
            const QString outcome = Captured(text, "^Outcome: (.*)$");
            QVERIFY(results.simplified().contains("Outcome: " + outcome + "."));
            // The warnings, word for word.
            const QString flat = results.simplified();
            int warnings = 0;
            for (const QString& line : text.split('\n'))
                if (line.startsWith("WARNING: ")) {
                    ++warnings;
                    QVERIFY2(flat.contains(line.simplified()), qPrintable(line));
                }
            QVERIFY(warnings > 0);
        }
    }

    // The new sections: listed in the contents with the page they stand on, in their place.
    void theProfileGlanceAndEnvelopePagesAreListed() {
        const QStringList titles = {"Wall and soil profile", "Results at a glance", "Envelope over all stages"};
        int before = 1;
        for (const QString& title : titles) {
            const int page = ContentsPage(pages_, title);
            QVERIFY2(page > before, qPrintable(title));
            QVERIFY2(pages_[page - 1].contains(QRegularExpression("(^|\\n)" + title + "\\n")), qPrintable(title));
            before = page;
        }
        QVERIFY(ContentsPage(pages_, "Wall and soil profile") < ContentsPage(pages_, "1 Input"));
        QVERIFY(ContentsPage(pages_, "Results at a glance") > ContentsPage(pages_, "Results: Stage 3"));
        QVERIFY(ContentsPage(pages_, "Envelope over all stages") < ContentsPage(pages_, "Graph 1: Deflection"));
        // The profile names every stage's excavation level, the strut and the toe.
        const QString profile = pages_[ContentsPage(pages_, "Wall and soil profile") - 1];
        const auto cases = TextReportCases(textReport_);
        for (const QString& stage : kStages) {
            const QString level = Captured(cases.at(stage), "excavation level (\\S+) in$");
            QVERIFY2(HasFigureRow(profile, {"Excavation", "level", level, stage}), qPrintable(stage + " " + level));
            QVERIFY(SameFigure(Captured(profile, QRegularExpression::escape(stage) + ": excavation (\\S+)"), level));
        }
        QVERIFY(HasFigureRow(profile, {"Toe", Captured(textReport_, "length (\\S+) in, excavation"),
                                 Captured(textReport_, "^Wall: (\\d+) increments"), "increments", "of"}));
        const QRegularExpressionMatch strut = QRegularExpression("^  node (\\d+), depth (\\S+), lateral spring: ",
            QRegularExpression::MultilineOption).match(cases.at("Stage 2"));
        QVERIFY(strut.hasMatch());
        QVERIFY(HasFigureRow(profile, {"Support at node " + strut.captured(1), strut.captured(2), "lateral spring,"}));
        QVERIFY(profile.contains(QRegularExpression("lateral spring, \\S+ lbs/in, from Stage 2")));
        QVERIFY(profile.contains("Layer 1: sand, to 540"));
        // Without stages there is no envelope.
        QVERIFY(!PdfPages(dir_.filePath("anchored/anchored-soft-clay.pdf")).join('\n').contains("Envelope"));
    }

    // The largest values at a glance and the extremes of the envelope are the stages' own, as
    // their text reports give them: value, depth and stage.
    void theGlanceAndTheEnvelopeAreTheStagesMaxima() {
        const auto cases = TextReportCases(textReport_);
        const QString glance = Section(pages_.join('\n'), "Largest values", {"Envelope over all stages"});
        const QString envelope = Section(WithoutContents(pages_), "Envelope over all stages", {"Graph 1:"});
        QVERIFY(!glance.isEmpty() && !envelope.isEmpty());
        const struct {
            const char *report, *glance, *envelope, *unit;
        } rows[] = {{"deflection", "Deflection", nullptr, "in"},
                    {"moment", "Bending moment", "moment", "lbs-in"},
                    {"shear", "Shear", "shear", "lbs"}};
        for (const auto& row : rows) {
            const QStringList best = LargestOverStages(cases, row.report, row.unit);
            QCOMPARE(best.size(), 3);
            const QStringList stage = best[2].split(' ');
            QVERIFY2(HasFigureRow(glance, QStringList{row.glance, best[0], row.unit, best[1]} + stage),
                     qPrintable(best.join(' ')));
            if (!row.envelope) continue;
            const QString side = best[0].startsWith('-') ? "Smallest " : "Largest ";
            QVERIFY2(HasFigureRow(envelope, QStringList{side + row.envelope, best[0], row.unit, best[1]} + stage),
                     qPrintable(side + best.join(' ')));
            // The other side is no larger.
            const QString other = (side == "Largest " ? "Smallest " : "Largest ") + QString(row.envelope);
            const QString value = Captured(envelope, "^ *" + other + " +(\\S+) ");
            QVERIFY2(!value.isEmpty() && std::fabs(value.toDouble()) <= std::fabs(best[0].toDouble()), qPrintable(other));
        }
        // The strut: its largest force over the stages, in the stage it occurs, which is the
        // largest so far that the last stage's text report gives.
        const QRegularExpression support("^  node (\\d+), depth (\\S+), ([a-z ]+): (\\S+) per wall unit, (\\S+) per length, "
                                         "largest so far (\\S+)$", QRegularExpression::MultilineOption);
        QStringList strongest;
        QString lastLargest;
        for (const QString& stage : kStages)
            for (auto it = support.globalMatch(cases.at(stage)); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                if (strongest.isEmpty() || std::fabs(m.captured(4).toDouble()) > std::fabs(strongest[3].toDouble()))
                    strongest = m.capturedTexts().mid(1, 5) << stage;
                lastLargest = m.captured(6);
            }
        QCOMPARE(strongest.size(), 6);
        QCOMPARE(strongest[3], lastLargest);
        QStringList cells = strongest.mid(0, 2) + strongest[2].split(' ') + strongest.mid(3, 2) + strongest[5].split(' ');
        QVERIFY2(HasFigureRow(envelope, cells), qPrintable(cells.join(' ')));
    }

    // The profile drawn at 100 dpi: the final excavation level's row below the wall top's,
    // over the toe's, is the ratio of their depths, and the wall is as long as the scale says.
    void theProfileIsDrawnToScale() {
        const struct {
            QString name, unit;
            double inchesPerUnit;
        } examples[] = {{kExample, "in", 1}, {"anchored-soft-clay", "m", 1 / 0.0254}};
        for (const auto& e : examples) {
            const QString pdf = e.name == kExample ? pdf_ : dir_.filePath("anchored/" + e.name + ".pdf");
            const QString text = e.name == kExample ? textReport_ : FileText(dir_.filePath("anchored/" + e.name + ".tx4o"));
            const QStringList pages = PdfPages(pdf);
            const int page = ContentsPage(pages, "Wall and soil profile");
            QVERIFY2(page > 0, qPrintable(e.name));
            const QString prefix = dir_.filePath("profile-" + e.name), p = QString::number(page);
            RunProgram("pdftoppm", {"-png", "-r", "100", "-f", p, "-l", p, "-singlefile", pdf, prefix});
            const QImage image(prefix + ".png");
            QVERIFY(!image.isNull());
            const TColourRuns wall = ColourRuns(image, QColor(60, 60, 60), 12);
            const TColourRuns excavation = ColourRuns(image, QColor(176, 80, 0), 40);
            QVERIFY(wall.top > 0 && wall.bottom > wall.top + 100);
            QVERIFY(!excavation.fullRows.empty());
            // The deepest level is the last stage's.
            double level = 0;
            const QRegularExpression levels("excavation level (\\S+) " + e.unit + "$", QRegularExpression::MultilineOption);
            for (auto it = levels.globalMatch(text); it.hasNext();) level = it.next().captured(1).toDouble();
            const double length = Captured(text, "length (\\S+) " + e.unit + ", excavation").toDouble();
            QVERIFY(level > 0 && length > level);
            // The middle of the deepest line (about two pixels thick), as the wall's edges are
            // taken: a pixel row spans [r, r + 1).
            size_t first = excavation.fullRows.size() - 1;
            while (first > 0 && excavation.fullRows[first - 1] == excavation.fullRows[first] - 1) --first;
            const double row = (excavation.fullRows[first] + excavation.fullRows.back() + 1) / 2.0;
            const double measured = (row - wall.top) / (wall.bottom + 1 - wall.top);
            QVERIFY2(std::fabs(measured - level / length) < 0.01,
                     qPrintable(QString("%1: %2 against %3").arg(e.name).arg(measured).arg(level / length)));
            const double scale = Captured(pages[page - 1], "Drawn to scale 1:([0-9.]+)").toDouble();
            QVERIFY(scale > 0);
            QVERIFY2(std::fabs((wall.bottom + 1 - wall.top) - length * e.inchesPerUnit / scale * 100) < 2.5,
                     qPrintable(QString("%1: %2 pixels at 1:%3").arg(e.name).arg(wall.bottom + 1 - wall.top).arg(scale)));
        }
    }

    // The scale of the profile is a round one, never below the smallest that fits.
    void theDrawingScaleIsRoundedUp() {
        const std::pair<double, double> scales[] = {{73.2, 75}, {75, 75}, {75.01, 100}, {101, 125}, {0.9, 1},
                                                    {1.26, 1.5}, {2800, 3000}, {7600, 10000}, {0, 1}};
        for (const auto& [smallest, scale] : scales) QCOMPARE(torvex::DrawingScale(smallest), scale);
    }

    // The envelope of stages on other nodes: the second stage is read between its nodes at the
    // first stage's depths, and each extreme names the stage it comes from.
    void theEnvelopeOfStagesOnOtherNodes() {
        using torvex::engine::TNodeResult;
        std::vector<torvex::engine::TCaseResult> cases(2);
        for (double depth : {0.0, 1.0, 2.0}) cases[0].nodes.push_back({depth, 0, 0, depth == 1 ? -4.0 : 1.0});
        for (double depth : {0.0, 2.0}) cases[1].nodes.push_back({depth, 0, 0, depth == 0 ? 3.0 : -1.0});
        const auto envelope = torvex::Envelope(cases, &TNodeResult::moment);
        QCOMPARE(int(envelope.size()), 3);
        const struct {
            double depth, low, high;
            size_t lowCase, highCase;
        } expected[] = {{0, 1, 3, 0, 1}, {1, -4, 1, 0, 1}, {2, -1, 1, 1, 0}};
        for (size_t k = 0; k < 3; ++k) {
            QCOMPARE(envelope[k].depth, expected[k].depth);
            QCOMPARE(envelope[k].low, expected[k].low);
            QCOMPARE(envelope[k].high, expected[k].high);
            QCOMPARE(envelope[k].lowCase, expected[k].lowCase);
            QCOMPARE(envelope[k].highCase, expected[k].highCase);
        }
        cases[1].nodes.clear();  // a stage without results: no envelope
        QVERIFY(torvex::Envelope(cases, &TNodeResult::moment).empty());
    }

    // Counted by pdfinfo, and numbered "Page N of M" with the title on every page.
    void everyPageIsNumberedOfTheCount() {
        const int count = PdfInfoPages(pdf_);
        QCOMPARE(pages_.size(), count);
        QVERIFY(count >= 11);  // title and input, results, eight graphs at least
        const QString title = Captured(textReport_, "^Title: (.*)$");
        for (int page = 1; page <= count; ++page) {
            const QString text = pages_[page - 1];
            QVERIFY2(text.contains(QString("Page %1 of %2").arg(page).arg(count)), qPrintable(QString::number(page)));
            QVERIFY(text.contains(title));
        }
        int graphPages = 0;
        for (const QString& text : pages_.mid(1)) graphPages += text.contains(QRegularExpression("Graph \\d: ")) ? 1 : 0;
        QCOMPARE(graphPages, 8);
        // The contents on page 1 lists every section and subsection with the page it is on.
        const QRegularExpression entry("^ *((?:\\d |Input: |Results: |Graph \\d: )[^\\n]*?) +(\\d+)$",
                                       QRegularExpression::MultilineOption);
        const QString contents = Section(pages_.front(), "Contents", {"1 Input\n"});
        int entries = 0;
        for (auto it = entry.globalMatch(contents); it.hasNext(); ++entries) {
            const QRegularExpressionMatch m = it.next();
            const int page = m.captured(2).toInt();
            QVERIFY2(page >= 1 && page <= count && pages_[page - 1].contains(QRegularExpression("(^|\\n)" +
                         QRegularExpression::escape(m.captured(1)) + "\\n")), qPrintable(m.captured(0)));
        }
        QCOMPARE(entries, 2 + 3 + 3 + 8);
        // The legends name the curves after the stages, as the headings do.
        for (const QString& graph : {QString("Graph 1: Deflection"), QString("Graph 5: Earth pressure")}) {
            const QString page = pages_.mid(1).filter(graph).value(0);
            for (const QString& stage : kStages) QVERIFY2(page.contains(QRegularExpression(stage + "\\s*\\n")), qPrintable(graph));
        }
    }

    // The graphs are in the units of the tables, English and SI: the captions name them, the
    // moment axis reaches about the largest moment of the text report and the depth axis the
    // wall's length; the graph windows' "m-kN", feet and kips appear nowhere.
    void theGraphsAreInTheTablesUnits() {
        const struct {
            QString pdf, textReport, length, moment, force, lineLoad;
        } examples[] = {{pdf_, textReport_, "in", "lbs-in", "lbs", "lbs/in"},
                        {dir_.filePath("anchored/anchored-soft-clay.pdf"),
                         FileText(dir_.filePath("anchored/anchored-soft-clay.tx4o")), "m", "kN-m", "kN", "kN/m"}};
        for (const auto& e : examples) {
            const QStringList pages = PdfPages(e.pdf);
            const QString all = pages.join('\n');
            QVERIFY2(!all.contains("m-kN") && !all.contains("kips") && !all.contains("(ft)"), qPrintable(e.pdf));
            const auto graph = [&pages](const QString& title) {
                return pages.mid(1).filter(QRegularExpression("(^|\\n)Graph \\d: " + title)).value(0).split('\n');
            };
            const QStringList captions[] = {{"Deflection", "Deflection (" + e.length + ")"},
                                            {"Bending moment", "Bending moment (" + e.moment + ")"},
                                            {"Shear", "Shear (" + e.force + ")"},
                                            {"Soil reaction", "Soil reaction (" + e.lineLoad + ")"},
                                            {"Earth pressure", "Earth pressure (" + e.lineLoad + ")"},
                                            {"p-y curves", "y (" + e.length + ")", "p (" + e.lineLoad + ")"}};
            for (const QStringList& c : captions) {
                const QString page = graph(c[0]).join('\n');
                for (const QString& caption : c.mid(1)) QVERIFY2(page.contains(caption), qPrintable(caption));
                if (c[0] != "p-y curves") QVERIFY2(page.contains("Depth (" + e.length + ")"), qPrintable(c[0]));
            }
            // The ticks along the top of the moment graph (the line below its caption) and down
            // its depth axis (lines of a number alone).
            const QStringList moment = graph("Bending moment");
            const qsizetype caption = moment.indexOf(QRegularExpression(".*Bending moment \\(.*"));
            QVERIFY(caption > 0);
            const double ticks = LargestNumber(moment.mid(caption + 1, 1));
            const double largest =
                std::fabs(LargestOverStages(TextReportCases(e.textReport), "moment", e.moment).value(0).toDouble());
            QVERIFY2(largest > 0 && ticks >= 0.4 * largest && ticks <= 2.5 * largest,
                     qPrintable(QString("%1 against %2").arg(ticks).arg(largest)));
            const double depth = LargestNumber(moment.filter(QRegularExpression("^\\s*\\d+(\\.\\d+)?\\s*$")));
            const double length = Captured(e.textReport, "length (\\S+) " + e.length + ", excavation").toDouble();
            QVERIFY2(length > 0 && depth >= length && depth <= 1.5 * length,
                     qPrintable(QString("%1 against %2").arg(depth).arg(length)));
        }
    }

    // No page is left nearly empty: over every bundled example with its node appendix, the
    // text of each page but the last reaches at least a quarter of the way down its body.
    void noPageIsNearlyEmpty() {
        const QString out = dir_.filePath("examples");
        QStringList arguments = {"--nodes", out};
        for (const QFileInfo& file : QDir(TORVEX_SOURCE_DIR "/examples").entryInfoList({"*.tx4d"}))
            arguments << file.filePath();
        QCOMPARE(arguments.size(), 2 + 6);
        QCOMPARE(RunProgram(BuiltProgram("torvex-report"), arguments).status, 0);
        for (const QString& pdf : QDir(out).entryList({"*.pdf"})) {
            const std::vector<double> fill = PageFill(out + "/" + pdf);
            QCOMPARE(int(fill.size()), PdfInfoPages(out + "/" + pdf));
            for (size_t page = 0; page + 1 < fill.size(); ++page)
                QVERIFY2(fill[page] >= 0.25,
                         qPrintable(QString("%1, page %2: %3").arg(pdf).arg(page + 1).arg(fill[page])));
        }
    }

    // The deflection page drawn at 60 dpi has coloured curves inside its plot; the title page,
    // all tables, has none.
    void aGraphPageHasCurvesInItsPlot() {
        int graphPage = 0;
        for (int i = 1; i < pages_.size() && !graphPage; ++i)
            if (pages_[i].contains("Graph 1: Deflection")) graphPage = i + 1;
        QVERIFY(graphPage > 1);
        const auto raster = [this](int page) {
            const QString prefix = dir_.filePath(QString("page%1").arg(page));
            const QString p = QString::number(page);
            RunProgram("pdftoppm", {"-png", "-r", "60", "-f", p, "-l", p, "-singlefile", pdf_, prefix});
            return QImage(prefix + ".png");
        };
        const QImage graph = raster(graphPage);
        const QImage title = raster(1);
        QVERIFY(!graph.isNull() && !title.isNull());
        // A4 at 60 dpi: 496 x 702 pixels; the plot lies inside the margins below the heading.
        QCOMPARE(graph.size(), QSize(496, 702));
        const QRect plot(graph.width() / 5, graph.height() / 5, graph.width() * 3 / 5, graph.height() * 3 / 5);
        QVERIFY(ColouredPixels(graph, plot) > 100);
        QCOMPARE(ColouredPixels(title, plot), 0);
    }

    // torvex-report itself: Letter paper and the node appendix, whose rows are the text
    // report's node lines.
    void theNodeAppendixOnLetterPaper() {
        const QString out = dir_.filePath("letter");
        const TProgramRun run = RunProgram(BuiltProgram("torvex-report"), {"--letter", "--nodes", out, data_});
        QCOMPARE(run.status, 0);
        const QString pdf = out + "/" + kExample + ".pdf";
        QVERIFY(RunProgram("pdfinfo", {pdf}).out.contains(QRegularExpression("Page size:\\s+612 x 792 pts")));
        QVERIFY(RunProgram("pdfinfo", {pdf_}).out.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")));
        const QStringList pages = PdfPages(pdf);
        QVERIFY(pages.size() > pages_.size());
        const QString all = WithoutContents(pages);
        const QString appendix = all.mid(all.indexOf("Appendix: node results"));
        QVERIFY(appendix.size() < all.size());
        // A table longer than a page goes on with its caption and header on every page.
        const qsizetype firstAppendixPage = pages.indexOf(QRegularExpression("(?s).*Appendix: node results.*"), 1);
        QVERIFY(firstAppendixPage > 0);
        QVERIFY(pages.size() - firstAppendixPage >= 3);
        for (qsizetype page = firstAppendixPage; page < pages.size(); ++page)
            QVERIFY(pages[page].contains(QRegularExpression("Node\\s+Depth \\(in\\)\\s+Deflection \\(in\\)")));
        QVERIFY(pages[firstAppendixPage + 1].contains(" (continued)"));
        // Node 29 of stage 3 (the depth of its largest deflection, 104.4 in) and the last node.
        QString stage3 = TextReportCases(textReport_).at("Stage 3");
        stage3 = stage3.mid(stage3.indexOf("Deflection        Slope"));  // the node table
        const QString stage3Appendix = appendix.mid(appendix.indexOf("Stage 3"));
        for (const QString& depth : {QString("104.4"), QString("432")}) {
            const QStringList cells =
                Captured(stage3, "^ +" + QRegularExpression::escape(depth) + " .*$", 0).split(' ', Qt::SkipEmptyParts);
            QCOMPARE(cells.size(), 8);
            QVERIFY2(HasRow(stage3Appendix, cells), qPrintable(cells.join(' ')));
        }
    }

    // The project's option block: its settings in the Options table, and the checks it asks
    // for judged as the text report judges them, failures named in the case's design line.
    void theOptionsAndTheFailedChecks() {
        const struct {
            const char* options;
            QStringList rows;  // Options table rows, cells split on blanks
            QString design, verdict;  // the case's design line, the verdict atop the results
            QStringList textReport;  // the text report's own verdicts
        } cases[] = {
            {"MomentCapacity 1\r\nShearCapacity 1\r\nAllowableDeflection 0.0001\r\nTargetSafetyFactor 20\r\n",
             {"Moment capacity of the wall unit 1 lbs-in", "Shear capacity of the wall unit 1 lbs",
              "Allowable deflection (design check) 0.0001 in", "Target factor of safety F 20"},
             "Design: FAILS: deflection, moment, shear, factor of safety and embedment.",
             "Verdict: FAILS: Analysis: deflection, moment, shear, factor of safety and embedment.",
             {"against the allowable 0.0001: exceeds", ": exceeds", "required embedment for F = 20: more than"}},
            {"MomentCapacity 1e9\r\nSeismicKh 0.1\r\nLayeredSoil 1\r\nCyclicLoading 1\r\nCyclicCycles 10\r\n",
             {"Moment capacity of the wall unit 1e+09 lbs-in", "Seismic coefficient kh (Mononobe-Okabe) 0.1",
              "Layered soil equivalent depths below the first layer", "Loading cyclic p-y curves",
              "Number of cycles N 10"},
             "Design: The checks made pass. Not checked: deflection and shear.",
             "Verdict: The checks made pass. Not checked: deflection and shear.",
             {"(no allowable deflection given)"}},
            {"MomentCapacity 1e9\r\nShearCapacity 1e9\r\nAllowableDeflection 100\r\nTargetSafetyFactor 1\r\n",
             {"Allowable deflection (design check) 100 in"}, "Design: All checks pass.", "Verdict: All checks pass.", {}},
            // Under a code: the factors in force, the combinations, and the toe against theirs.
            {"DesignCode EC7-DA1\r\nMomentCapacity 1e9\r\n",
             {"Design Approach EC7-DA1", "GammaTanPhi (M2, tan phi') 1.25", "DA1-C1 132"},
             "The wall's toe is at 360 in; the combinations need 287.82 in (DA1-C2): the embedment suffices.",
             "Verdict: The checks made pass. EC7-DA1: DA1-C2 governs. Not checked: deflection and shear.",
             {"EC7-DA1: DA1-C2 governs (embedment;moment;shear)"}},
        };
        int n = 0;
        for (const auto& c : cases) {
            const QString folder = dir_.filePath(QString("options%1").arg(++n));
            QVERIFY(QDir().mkpath(folder));
            const QString data = folder + "/sand.tx4d";
            QVERIFY(WriteFile(data, ExampleText("cantilever-sand.tx4d") + "TORVEX-OPTIONS 1\r\n" + c.options + "END\r\n"));
            const TProgramRun run = RunProgram(BuiltProgram("torvex-run"), {"--pdf", folder, data});
            QVERIFY2(run.status == 0 || run.status == 1, qPrintable(run.err));
            const QString text = FileText(folder + "/sand.tx4o");
            for (const QString& verdict : c.textReport) QVERIFY2(text.contains(verdict), qPrintable(verdict));
            const QString all = PdfPages(folder + "/sand.pdf").join('\n');
            for (const QString& row : c.rows) QVERIFY2(HasRow(all, row.split(' ')), qPrintable(row));
            QVERIFY2(all.contains(c.design), qPrintable(c.design));
            QVERIFY2(all.simplified().contains(c.verdict), qPrintable(c.verdict));
        }
    }

    // A case that is an input error: the report says so in its place, and has no graphs.
    void anInputErrorIsReportedInPlaceOfResults() {
        const QString data = dir_.filePath("rock.tx4d");
        QVERIFY(WriteFile(data, ExampleText("pile-wall-weak-rock.tx4d", kAbsurdWidthFrom, kAbsurdWidthTo)));
        const TProgramRun run = RunProgram(BuiltProgram("torvex-report"), {dir_.filePath("error"), data});
        QCOMPARE(run.status, 0);
        const QString all = PdfPages(dir_.filePath("error/rock.pdf")).join('\n').simplified();
        const QString message = "INPUT ERROR: The width for generating p-y soil resistance, Wp must be between 0 and "
                                "120 m; the input gives 1e+308 m.";
        QCOMPARE(all.count(message), 1);
        QVERIFY(all.contains("Outcome: input error."));
        QVERIFY(all.contains("No graphs: a case without results"));
        QVERIFY(!all.contains("Graph 1:"));
    }

    // torvex-run --pdf leaves no PDF of earlier input: not when the report cannot be written
    // (a file-size limit, which the report program reports with the file's name instead of
    // dying of its signal), nor when the file's run fails.
    void aFailedReportOrRunLeavesNoPdf() {
        QVERIFY(QDir(dir_.path()).mkpath("stale"));
        const QString data = dir_.filePath("stale/wall.tx4d"), folder = dir_.filePath("stale/pdf");
        const QString pdf = folder + "/wall.pdf";
        QVERIFY(QFile::copy(data_, data));
        QCOMPARE(RunProgram(BuiltProgram("torvex-run"), {"--pdf", folder, data}).status, 0);
        QVERIFY(QFileInfo(pdf).size() > 120 * 1024);
        // Room for the result files (the largest is below 100 KiB), not for the report.
        for (const char* ext : {".tx4o", ".tx4p", ".tx4r", ".tx4y"})
            QVERIFY(QFileInfo(dir_.filePath(QString("stale/wall") + ext)).size() < 100 * 1024);
        TProgramRun run = RunProgram("bash", {"-c", "ulimit -f 100; exec \"$0\" \"$@\"", BuiltProgram("torvex-run"),
                                              "--pdf", folder, data});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("torvex-report: " + data + ": Cannot write \"" + pdf + "\": File too large.\n"),
                 qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());  // no temporary file
        QCOMPARE(RunProgram(BuiltProgram("torvex-run"), {"--pdf", folder, data}).status, 0);
        QVERIFY(WriteFile(data, "not a data file\r\n"));
        run = RunProgram(BuiltProgram("torvex-run"), {"--pdf", folder, data});
        QCOMPARE(run.status, 2);
        QVERIFY(!QFileInfo::exists(pdf));
    }

    // Command lines that must fail, and what they say; a good file beside a bad one is still
    // reported.
    void badCommandLinesFailWithTheirMessages() {
        const QString missing = dir_.filePath("missing.tx4d");
        const QString out = dir_.filePath("bad");
        TProgramRun run = RunProgram(BuiltProgram("torvex-report"), {out, missing, data_});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, "torvex-report: " + missing + ": Cannot open file \"" + missing +
                              "\": No such file or directory.\n");
        QVERIFY(QFileInfo::exists(out + "/" + kExample + ".pdf"));
        QVERIFY(!QFileInfo::exists(out + "/missing.pdf"));

        // Two files of one name would write one report: refused before anything is written.
        QVERIFY(QDir(dir_.path()).mkpath("other"));
        const QString twin = dir_.filePath("other/" + kExample + ".tx4d");
        QVERIFY(QFile::copy(data_, twin));
        run = RunProgram(BuiltProgram("torvex-report"), {dir_.filePath("twins"), data_, twin});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, "torvex-report: two data files would both write " + dir_.filePath("twins/" + kExample + ".pdf") +
                              "\n");
        QVERIFY(QDir(dir_.filePath("twins")).isEmpty());
        // The same file named twice, as torvex-run --csv takes it: one report, listed twice.
        run = RunProgram(BuiltProgram("torvex-report"),
                         {dir_.filePath("same"), data_, dir_.path() + "/./" + kExample + ".tx4d"});
        const QString line = dir_.filePath("same/" + kExample + ".pdf") + ": " +
                             QString::number(PdfInfoPages(dir_.filePath("same/" + kExample + ".pdf"))) + " pages\n";
        QCOMPARE(run.out, line + line);
        QCOMPARE(QDir(dir_.filePath("same")).entryList(QDir::Files), QStringList{kExample + ".pdf"});

        // A report folder that cannot be made: the analyses went well, the status says the
        // reports did not.
        QFile blocker(dir_.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        run = RunProgram(BuiltProgram("torvex-run"), {"--pdf", dir_.filePath("blocker/pdf"), data_});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("torvex-report: cannot make the folder " + dir_.filePath("blocker/pdf") + "\n"));
        // A folder that is a plain file, an empty --stage, a second --vary: refused before any work.
        const QString blocked = dir_.filePath("blocker");
        const struct {
            const char* program;
            QStringList arguments;
            QString err;
        } refused[] = {
            {"torvex-report", {blocked, data_}, "torvex-report: " + blocked + ": it is a file, not a folder.\n"},
            {"torvex-run", {"--csv", blocked, data_},
             "torvex-run: --csv " + blocked + ": it is a file, not a folder.\n"},
            {"torvex-run", {"--pdf", blocked, data_},
             "torvex-run: --pdf " + blocked + ": it is a file, not a folder.\n"},
            {"torvex-run", {"--vary", "FreeHeight=1:2:2", "--stage", "", data_},
             "torvex-run: --stage needs a value, not an empty text.\n"},
            {"torvex-run", {"--vary", "FreeHeight=1:2:2", "--vary", "SeismicKh=0:1:2", data_},
             "torvex-run: --vary is given twice; a study takes one.\n"},
        };
        for (const auto& r : refused) {
            run = RunProgram(BuiltProgram(r.program), r.arguments);
            QCOMPARE(run.status, 2);
            QCOMPARE(run.err, r.err);
        }
        // torvex-run without torvex-report beside it says so.
        const QString alone = dir_.filePath("alone/torvex-run");
        QVERIFY(QDir(dir_.path()).mkpath("alone"));
        QVERIFY(QFile::copy(BuiltProgram("torvex-run"), alone));
        run = RunProgram(alone, {"--pdf", dir_.filePath("alone/pdf"), data_});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("torvex-run: cannot start " + dir_.filePath("alone/torvex-report") +
                                  ": No such file or directory\n"),
                 qPrintable(run.err));

        const struct {
            const char* program;
            QStringList arguments;
        } usage[] = {{"torvex-report", {out}}, {"torvex-report", {"--paper", out, data_}}, {"torvex-run", {"--pdf"}}};
        for (const auto& u : usage) {
            run = RunProgram(BuiltProgram(u.program), u.arguments);
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(QString("usage: ") + u.program), qPrintable(run.err));
        }
    }
};

QTEST_MAIN(ReportDocumentTest)
#include "ReportDocumentTest.moc"
