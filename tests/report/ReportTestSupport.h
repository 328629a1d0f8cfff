#pragma once
// What the report tests share: the built command-line programs, the poppler tools that read
// a PDF back (pdftotext, pdfinfo, pdftoppm), and the figures of the engine's text report.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cmath>
#include <map>
#include <vector>

namespace torvex::testing {

struct TProgramRun {
    int status = -1;
    QString out, err;
};

inline TProgramRun RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    TProgramRun run;
    if (!process.waitForFinished(120000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline QString BuiltProgram(const char* name) { return QDir(TORVEX_BIN_DIR).filePath(name); }

// The text of the PDF's pages, one string per page (pdftotext ends every page with a form feed).
inline QStringList PdfPages(const QString& pdf) {
    const TProgramRun run = RunProgram("pdftotext", {"-layout", pdf, "-"});
    QStringList pages = run.out.split('\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

inline int PdfInfoPages(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption)
            .match(RunProgram("pdfinfo", {pdf}).out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QString FileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Writes `text` as the file; false when it cannot.
inline bool WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// The example with one piece of text replaced (pile-wall-weak-rock with an absurd Wp: its case
// becomes an input error).
inline QByteArray ExampleText(const QString& name, const QByteArray& from = {}, const QByteArray& to = {}) {
    QByteArray text = FileText(TORVEX_SOURCE_DIR "/examples/" + name).toUtf8();
    return from.isEmpty() ? text : text.replace(from, to);
}
inline const QByteArray kAbsurdWidthFrom = "5\t1.2\t0.9\t", kAbsurdWidthTo = "5\t1.2\t1e308\t";

// One case's part of the text report: from its "==== LABEL ====" line to the next.
inline std::map<QString, QString> TextReportCases(const QString& report) {
    std::map<QString, QString> cases;
    const QRegularExpression head("^==== (.+) ====$", QRegularExpression::MultilineOption);
    auto it = head.globalMatch(report);
    QString label;
    qsizetype from = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (from >= 0) cases[label] = report.mid(from, m.capturedStart() - from);
        label = m.captured(1);
        from = m.capturedEnd();
    }
    if (from >= 0) cases[label] = report.mid(from);
    return cases;
}

// The first capture of `pattern` in `text`, or an empty string.
inline QString Captured(const QString& text, const QString& pattern, int group = 1) {
    const QRegularExpressionMatch m = QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text);
    return m.hasMatch() ? m.captured(group) : QString();
}

// The significant figures a number is written with ("-102750" 5, "0.00012345" 5, "2.5e+10" 2,
// "540" 2): leading zeros, the point, the exponent and trailing zeros not counted.
inline int SignificantFigures(const QString& number) {
    QString digits = number.section(QRegularExpression("[eE]"), 0, 0);
    digits.remove(QRegularExpression("[^0-9]"));
    while (digits.startsWith('0')) digits.remove(0, 1);
    while (digits.endsWith('0')) digits.chop(1);
    return int(digits.size());
}

// Whether a figure of the PDF is the text report's `written` to five significant figures,
// worked out here on its own: the PDF's has no more than five figures and lies within half a
// unit of the fifth figure of the text report's (widened by half a unit of the text report's
// own last figure); a text report's figure of five figures or fewer stands in the PDF as it
// is.
inline bool SameFigure(const QString& pdf, const QString& written) {
    bool pdfOk = false, writtenOk = false;
    const double p = pdf.toDouble(&pdfOk), t = written.toDouble(&writtenOk);
    if (!pdfOk || !writtenOk || SignificantFigures(pdf) > 5) return false;
    if (t == 0) return p == 0;
    const int figures = SignificantFigures(written);
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(t))) - 4);  // of the fifth figure
    if (figures <= 5) return std::fabs(p - t) <= 1e-9 * unit;
    return std::fabs(p - t) <= 0.5 * unit + 0.5 * unit * std::pow(10.0, 5 - figures);
}

// Whether `text` holds the cells in a row (blanks and line breaks between them), the cells
// that are numbers as SameFigure takes them, the others word for word.
inline bool HasFigureRow(const QString& text, const QStringList& cells) {
    QStringList parts;
    std::vector<QString> figures;
    for (const QString& cell : cells) {
        bool number = false;
        cell.toDouble(&number);
        parts << (number ? QString("(\\S+)") : QRegularExpression::escape(cell));
        if (number) figures.push_back(cell);
    }
    const QRegularExpression row("(?:^|\\s)" + parts.join("\\s+") + "(?=\\s|$)");
    for (qsizetype from = 0;;) {
        const QRegularExpressionMatch m = row.match(text, from);
        if (!m.hasMatch()) return false;
        bool same = true;
        for (size_t k = 0; k < figures.size() && same; ++k)
            same = SameFigure(m.captured(int(k) + 1), figures[k]);
        if (same) return true;
        from = m.capturedStart() + 1;
    }
}

}  // namespace torvex::testing
