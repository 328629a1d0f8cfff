#include "summary/DesignSummaryView.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <new>

#include "desktop/SafeOutput.h"
#include "desktop/UserInterface.h"

namespace torvex {
namespace {

struct TUnitWords {
    const char *length, *force, *moment;
};

TUnitWords UnitWords(int unitCode) {
    if (unitCode == 1) return {"in", "lbs", "lbs-in"};
    if (unitCode == 2) return {"m", "kN", "kN-m"};
    return {"L", "F", "F-L"};
}

QString Number(double value, int digits = 6) { return QString::number(value, 'g', digits); }

QString Escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// One row: what, the value, and the verdict; a failing row in red.
QString Row(const QString& what, const QString& value, const QString& verdict, bool fails) {
    const QString style = fails ? " class=\"fails\" style=\"color:#c00000; font-weight:bold\"" : "";
    return "<tr" + style + "><td>" + what + "</td><td>" + value + "</td><td>" + verdict + "</td></tr>";
}

// A cell, in bold when its combination governs what it shows.
QString Cell(const QString& text, bool governs) {
    return governs ? "<td><b>" + text + "</b></td>" : "<td>" + text + "</td>";
}

// The combinations of a design to a code side by side, the governing values in bold.
QString CodeHtml(const TSummaryCase& c) {
    const TUnitWords u = UnitWords(c.unitCode);
    QString html = "<p><b>Design to EN 1997-1 (" + Escaped(c.code) + ")</b>: the largest moment and shear above are "
                   "the envelope's design values over the ultimate combinations; the deflection is SLS's.";
    if (!c.governing.empty()) html += " " + Escaped(c.governing) + " governs.";
    html += "</p><table cellspacing=\"0\" cellpadding=\"3\" border=\"1\"><tr><th>Comb.</th>"
            "<th>Formation<br>(" + QString(u.length) + ")</th><th>Deflection<br>(" + u.length + ")</th><th>Moment<br>(" +
            u.moment + ")</th><th>Shear<br>(" + u.force + ")</th><th>F</th><th>Req. embed.<br>(" + u.length +
            ")</th><th>Req. toe<br>(" + u.length + ")</th><th>Support<br>(" + u.force + "/" + u.length + ")</th>"
            "<th>Governs</th></tr>";
    for (const TSummaryCombination& k : c.combinations) {
        html += "<tr><td>" + Escaped(k.name) + "</td>";
        if (!k.applies) {
            html += "<td colspan=\"9\">not applicable: the unplanned excavation reaches the toe</td></tr>";
            continue;
        }
        const bool le = k.leMethod != 0;
        html += Cell(Number(k.formationDepth, 5), false) + Cell(Number(k.maxDeflection, 5), k.Governs("deflection")) +
                Cell(Number(k.maxMoment, 5), k.Governs("moment")) + Cell(Number(k.maxShear, 5), k.Governs("shear"));
        html += Cell(le ? (k.fState == 0 ? Number(k.F, 4) : k.fState == 1 ? "unstable" : "above 20") : "", false);
        html += Cell(le && k.requiredFound ? Number(k.requiredEmbedment, 5) : "", k.Governs("embedment"));
        html += Cell(le && k.requiredFound ? Number(k.requiredToeDepth, 5) : "", k.Governs("embedment"));
        html += Cell(le && k.leMethod == 2 && k.requiredFound ? Number(k.supportForce, 5) : "", false);
        html += Cell(Escaped(k.governs).replace(";", "<br>"), false) + "</tr>";
    }
    return html + "</table>";
}

QString CaseHtml(const TSummaryCase& c) {
    const TUnitWords u = UnitWords(c.unitCode);
    QString html = "<h3>" + Escaped(c.label) + "</h3>";
    html += "<p>Outcome: " + Escaped(c.outcome) + "</p>";
    if (!c.results && !c.le) return html + "<p>No results: no design answers.</p>";
    html += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">";
    if (c.results) {
        const QString at = QString(" at depth %1 ") + u.length;
        QString verdict = "not checked";
        if (c.allowableDeflection > 0)
            verdict = QString(c.DeflectionFails() ? "exceeds" : "within") + " the allowable " +
                      Number(c.allowableDeflection) + " " + u.length;
        html += Row("Largest deflection", Number(c.maxDeflection) + " " + u.length + at.arg(Number(c.deflectionDepth)),
                    verdict, c.DeflectionFails());
        verdict = c.momentCapacity > 0 ? "utilisation " + Number(c.momentUtilisation, 4) +
                                             (c.MomentFails() ? ": exceeds the capacity " : " of the capacity ") +
                                             Number(c.momentCapacity) + " " + u.moment
                                       : QString("not checked");
        html += Row("Largest moment", Number(c.maxMoment) + " " + u.moment + at.arg(Number(c.momentDepth)), verdict,
                    c.MomentFails());
        verdict = c.shearCapacity > 0 ? "utilisation " + Number(c.shearUtilisation, 4) +
                                            (c.ShearFails() ? ": exceeds the capacity " : " of the capacity ") +
                                            Number(c.shearCapacity) + " " + u.force
                                      : QString("not checked");
        html += Row("Largest shear", Number(c.maxShear) + " " + u.force + at.arg(Number(c.shearDepth)), verdict,
                    c.ShearFails());
        if (c.supports.empty()) html += Row("Supports", "none", "", false);
        for (const TSummarySupport& s : c.supports) {
            const char* unit = SummaryKindCarriesMoment(s.kind) ? u.moment : u.force;
            html += Row(QString("Support at node %1, depth %2 %3 (%4)")
                            .arg(s.node)
                            .arg(Number(s.depth), QString(u.length), QString(SummarySupportKindText(s.kind))),
                        Number(s.force) + " " + unit + " (" + Number(s.perLength) + " per length)",
                        "largest so far " + Number(s.largestSoFar) + " " + unit, false);
        }
    }
    if (c.le) {
        if (c.leMethod == 0) {
            html += Row("Limit equilibrium", "not applicable", Escaped(c.leReason), false);
        } else {
            QString factor = c.fState == 0 ? "F = " + Number(c.F, 4) : c.fState == 1 ? "unstable" : "F above 20";
            factor += ", F_p = " + (c.fpState == 0 ? Number(c.Fp, 4) : c.fpState == 1 ? "unstable" : "above 20");
            QString verdict = c.FactorFails() ? (c.fState == 1 ? "fails: unstable" : "fails: below the target " +
                                                                                      Number(c.targetF, 4))
                                              : "target " + Number(c.targetF, 4);
            if (c.UnderCode())
                verdict = c.leastFFound ? QString(c.FactorFails() ? "fails: " : "") +
                                              "least F on design values " + Number(c.leastF, 4) + " (at least 1)"
                                        : QString("fails: no combination balances");
            html += Row(QString("Limit equilibrium (") + SummaryLeMethodText(c.leMethod) + ")", factor, verdict,
                        c.FactorFails());
            const QString required = c.requiredFound ? Number(c.requiredEmbedment, 5) + " " + u.length
                                                     : "more than " + Number(c.searchLimit, 5) + " " + u.length;
            if (c.UnderCode())
                html += Row("Toe depth", Number(c.toeDepth, 5) + " " + u.length,
                            c.codeRequiredFound ? (c.EmbedmentFails() ? "fails: required " : "required ") +
                                                      Number(c.codeRequiredToeDepth, 5) + " " + u.length + " (" +
                                                      Escaped(c.governing) + ", F = 1 on design values)"
                                                : QString("fails: no embedment searched balances"),
                            c.EmbedmentFails());
            else
                html += Row("Embedment below the excavation", Number(c.embedment, 5) + " " + u.length,
                            (c.EmbedmentFails() ? "fails: required " : "required ") + required + " for F = " +
                                Number(c.targetF, 4),
                            c.EmbedmentFails());
        }
    }
    if (c.seepage)
        html += Row("Seepage round the toe (hydraulic heave, HYD)",
                    "i = " + Number(c.seepageGradient, 4) + ", pore pressure at the toe " + Number(c.toePorePressure, 5) +
                        (c.unitCode == 1 ? " psi" : " kPa"),
                    QString(c.HydraulicHeaveFails() ? "fails: " : "") + "utilisation " + Number(c.hydUtilisation, 4),
                    c.HydraulicHeaveFails());
    if (c.basal)
        html += Row("Basal heave", "F = " + Number(c.basalF, 4) + " (Nc = " + Number(c.basalNc, 4) + ")",
                    QString(c.BasalHeaveFails() ? "fails: below " : "at least ") + Number(c.basalLeastF, 4),
                    c.BasalHeaveFails());
    html += "</table>";
    return c.UnderCode() ? html + CodeHtml(c) : html;
}

}  // namespace

QString DesignSummaryHtml(const std::vector<TSummaryCase>& cases) {
    QString html = "<html><body><h2>Design summary</h2>";
    for (const TSummaryCase& c : cases) html += CaseHtml(c);
    return html + "</body></html>";
}

TDesignSummaryView::TDesignSummaryView(QWidget* parent) : QWidget(parent) {
    setObjectName("DesignSummary");
    setWindowTitle("Design Summary");
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    btnPrint = new QPushButton("&Print...", this);
    btnPrint->setObjectName("btnPrint");
    btnSaveCsv = new QPushButton("Save as &CSV...", this);
    btnSaveCsv->setObjectName("btnSaveCsv");
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnSaveCsv);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    lblNotCurrent = new QLabel(
        "These figures are not those of the present input: the data have changed since the run that "
        "made them. Run the analysis again; until then they are neither printed nor saved.",
        this);
    lblNotCurrent->setObjectName("lblNotCurrent");
    lblNotCurrent->setWordWrap(true);
    lblNotCurrent->setStyleSheet("color:#c00000; font-weight:bold");
    lblNotCurrent->hide();
    layout->addWidget(lblNotCurrent);
    text = new QTextBrowser(this);
    text->setObjectName("text");
    layout->addWidget(text, 1);
    connect(btnPrint, &QPushButton::clicked, this, &TDesignSummaryView::PrintClick);
    connect(btnSaveCsv, &QPushButton::clicked, this, &TDesignSummaryView::SaveCsvClick);
    resize(640, 520);
}

void TDesignSummaryView::Load(const QString& summaryFile) {
    file_ = summaryFile;
    summary_ = ReadDesignSummaryFile(QFile::encodeName(summaryFile).toStdString());
    html_ = DesignSummaryHtml(summary_.cases);
    if (!summary_.error.empty())
        html_.replace("</body>", "<p style=\"color:#c00000\">The summary file " + summaryFile.toHtmlEscaped() +
                                     " could not be read whole: " + Escaped(summary_.error) + "</p></body>");
    text->setHtml(html_);
    setWindowTitle("Design Summary - " + QFileInfo(summaryFile).fileName());
    RefreshCurrency();
}

void TDesignSummaryView::RefreshCurrency() {
    current_ = !IsCurrent || IsCurrent();
    lblNotCurrent->setVisible(!current_);
    btnPrint->setEnabled(current_);
    btnSaveCsv->setEnabled(current_);
}

// The data may have changed while the program was in the background.
void TDesignSummaryView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshCurrency();
    QWidget::changeEvent(event);
}

void TDesignSummaryView::showEvent(QShowEvent* event) {
    RefreshCurrency();
    QWidget::showEvent(event);
}

void TDesignSummaryView::PrintClick() {
    RefreshCurrency();
    if (!current_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!UserInterface().Print(this, printer)) return;
    try {
        const QString html = html_;
        const bool printed = PrintOnePage(printer, [html](QPainter& painter, const QPaintDevice& page) {
            QTextDocument document;
            document.setHtml(html);
            document.setTextWidth(700);
            const QSizeF size = document.size();
            const double scale = std::min(page.width() / 700.0, page.height() / std::max(1.0, size.height()));
            painter.save();
            painter.scale(scale, scale);
            document.drawContents(&painter);
            painter.restore();
        });
        if (!printed) UserInterface().Information(this, "The design summary could not be printed.");
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
}

void TDesignSummaryView::SaveCsvClick() {
    RefreshCurrency();
    if (!current_) return;
    // Beside the data file, as the summary file is: the folder the program runs in is its own.
    QString suggested = file_;
    if (!suggested.isEmpty())
        suggested = QFileInfo(file_).absoluteDir().filePath(QFileInfo(file_).completeBaseName() + ".summary.csv");
    const QString name =
        UserInterface().SaveFileName(this, "Save As", suggested, {"CSV file (*.csv)", "All Files (*)"}, "csv");
    if (name.isEmpty()) return;
    try {
        SaveBytes(name, QByteArray::fromStdString(DesignSummaryCsv(summary_.cases)));
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
}

}  // namespace torvex
