#include "plot/PlotExport.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "dataentry/DataEdit.h"
#include "desktop/UserInterface.h"
#include "plot/GraphCsv.h"
#include "plot/PlotDialogs.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotPainter.h"
#include "plot/PlotState.h"
#include "plot/PltData.h"

namespace torvex {
namespace {

// The state laid out on a page of its own (`page` in the canvas's pixels) and painted there
// with the page legend where it covers no curve.
void PaintPage(QPainter& painter, const TPlotState& screen, const TPixelRect& page, int dpiX,
               int dpiY, int fontHeight, TPageKind kind, TPatternSize patterns) {
    TPlotState state = screen;
    TPaintOptions options;
    options.Patterns = patterns;
    options.PageLegend = true;
    PaintPageWithLegend(painter, state, page, dpiX, dpiY, fontHeight, kind, options);
}

double InchesPerUnit(QPageLayout::Unit unit) {
    switch (unit) {
        case QPageLayout::Millimeter: return 1 / 25.4;
        case QPageLayout::Point: return 1 / 72.0;
        case QPageLayout::Inch: return 1;
        case QPageLayout::Pica: return 1 / 6.0;
        case QPageLayout::Didot: return 0.376 / 25.4;
        case QPageLayout::Cicero: return 12 * 0.376 / 25.4;
    }
    return 1 / 72.0;
}

}  // namespace

std::vector<std::pair<int, std::string>> PageLegendEntries(const TGraphPlot& graph) {
    std::vector<std::pair<int, std::string>> entries;
    int position = 0;
    for (int i = 0; i < graph.Lines.Count(); ++i) {
        if (!graph.Lines[i].Active) continue;
        if (graph.Lines[i].Visible) entries.emplace_back(position, graph.LegendLabel(i));
        ++position;
    }
    return entries;
}

int MarginPixels(int thousandths, int dpi, int offset) {
    const int pixels = static_cast<int>(std::lround(static_cast<double>(thousandths) * dpi / 1000.0));
    return std::max(pixels, offset);
}

void SaveGraphToDisk(QWidget* window, const TPlotState& state, int fontHeight) {
    int filter = 1;
    const QString chosen =
        UserInterface().SaveFileName(window, "Save As", QString(), GraphFileFilters(), "bmp", &filter);
    if (chosen.isEmpty()) return;
    const QString name = CompletedGraphFileName(chosen, filter);
    const TGraphFileKind kind = GraphFileKindOf(name);
    try {
        if (kind == TGraphFileKind::Csv) {
            SaveBytes(name, QByteArray::fromStdString(GraphCsvText(state.Graph())));
            return;
        }
        QImage bitmap;
        TdlgFormat attributes(bitmap, window);
        const int result = attributes.exec();
        if (result == TdlgFormat::kAbortResult) {
            UserInterface().Information(window, kNotEnoughMemory);
            return;
        }
        if (result != QDialog::Accepted) return;
        const int dpi = static_cast<int>(attributes.dePPI->Number());
        const QString title = QString::fromStdString(state.Graph().Caption);
        // Drawings are laid out at the chosen resolution.
        const TCanvasPainter drawing = [&](QPainter& painter, int width, int height) {
            PaintPage(painter, state, {0, 0, width, height}, dpi, dpi, fontHeight * dpi / 96,
                      TPageKind::Saved, TPatternSize::Screen);
        };
        QByteArray bytes;
        if (kind == TGraphFileKind::Svg) {
            bytes = SvgFileBytes(bitmap.size(), dpi, title, drawing, name);
        } else if (kind == TGraphFileKind::Pdf) {
            const QSizeF inches(static_cast<double>(attributes.deWidth->Number()),
                                static_cast<double>(attributes.deHeight->Number()));
            bytes = PdfFileBytes(inches, dpi, title, drawing, name);
        } else {
            bitmap.fill(Qt::white);
            {
                QPainter painter(&bitmap);
                painter.setRenderHint(QPainter::Antialiasing);
                // Drawn at the window's resolution, as on screen, on a page of the chosen size.
                PaintPage(painter, state, {0, 0, bitmap.width(), bitmap.height()}, state.DpiX(),
                          state.DpiY(), fontHeight, TPageKind::Saved, TPatternSize::Screen);
            }
            bytes = RasterFileBytes(bitmap, kind, dpi, name);
        }
        SaveBytes(name, bytes);
    } catch (const std::bad_alloc&) {
        UserInterface().Information(window, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(window, QString::fromStdString(error.what()));
    }
}

bool PrintGraph(QPrinter& printer, const TPlotState& state, int fontHeightAt96Dpi) {
    printer.setDocName(QString::fromStdString(state.Graph().Caption));
    // The whole sheet is the canvas; the margins of Page Setup are measured from its edges,
    // raised where the printer cannot print.
    const QPageLayout layout = printer.pageLayout();
    const QMarginsF margins = layout.margins(QPageLayout::Inch);
    const QMarginsF border = layout.minimumMargins();  // in the layout's units
    const double toInch = InchesPerUnit(layout.units());
    printer.setFullPage(true);
    const int dpi = printer.resolution();
    auto edge = [&](double inches, double borderUnits) {
        return MarginPixels(static_cast<int>(std::lround(inches * 1000)), dpi,
                            static_cast<int>(std::lround(borderUnits * toInch * dpi)));
    };
    const int left = edge(margins.left(), border.left());
    const int top = edge(margins.top(), border.top());
    const int right = edge(margins.right(), border.right());
    const int bottom = edge(margins.bottom(), border.bottom());
    return PrintOnePage(printer, [&](QPainter& painter, const QPaintDevice& sheet) {
        const TPixelRect page = PageInsideMargins(sheet.width(), sheet.height(), left, top, right, bottom);
        PaintPage(painter, state, page, dpi, dpi, fontHeightAt96Dpi * dpi / 96, TPageKind::Printed,
                  TPatternSize::Print);
    });
}

}  // namespace torvex
