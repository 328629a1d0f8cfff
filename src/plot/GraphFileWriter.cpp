#include "plot/GraphFileWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <string>

#include "desktop/UserInterface.h"
#include "project/WordRead.h"

namespace torvex {
namespace {

EInOutError Failed(const QString& fileName, const QString& reason) {
    return EInOutError(("Cannot write \"" + fileName + "\": " + reason).toStdString());
}

// The buffer that a picture is made in, open for writing.
void OpenBuffer(QBuffer& buffer, const QString& fileName) {
    if (!buffer.open(QIODevice::WriteOnly)) throw Failed(fileName, "the picture could not be made in memory.");
}

}  // namespace

TGraphFileKind GraphFileKindOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == "png") return TGraphFileKind::Png;
    if (suffix == "jpg" || suffix == "jpeg") return TGraphFileKind::Jpeg;
    if (suffix == "svg") return TGraphFileKind::Svg;
    if (suffix == "pdf") return TGraphFileKind::Pdf;
    if (suffix == "csv") return TGraphFileKind::Csv;
    return TGraphFileKind::Bmp;
}

QStringList GraphFileFilters() {
    return {"Bitmap (*.bmp)", "PNG image (*.png)", "JPEG image (*.jpg *.jpeg)",
            "SVG drawing (*.svg)", "PDF document (*.pdf)", "Values for spreadsheets (*.csv)"};
}

QString CompletedGraphFileName(const QString& name, int selectedFilter) {
    if (!QFileInfo(name).suffix().isEmpty()) return name;
    const QStringList filters = GraphFileFilters();
    const bool known = selectedFilter >= 1 && selectedFilter <= filters.size();
    return name + "." + FilterExtension(filters[known ? selectedFilter - 1 : 0]);
}

int DotsPerMetre(int pixelsPerInch) { return static_cast<int>(std::lround(pixelsPerInch / 0.0254)); }

QByteArray RasterFileBytes(QImage image, TGraphFileKind kind, int pixelsPerInch,
                           const QString& fileName) {
    image.setDotsPerMeterX(DotsPerMetre(pixelsPerInch));
    image.setDotsPerMeterY(DotsPerMetre(pixelsPerInch));
    const char* format = kind == TGraphFileKind::Png ? "png" : kind == TGraphFileKind::Jpeg ? "jpg" : "bmp";
    QBuffer buffer;
    OpenBuffer(buffer, fileName);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        throw Failed(fileName, QString("the %1 image could not be made (%2).")
                                   .arg(QString(format).toUpper(), writer.errorString()));
    return buffer.data();
}

QByteArray SvgFileBytes(QSize size, int pixelsPerInch, const QString& title,
                        const TCanvasPainter& paint, const QString& fileName) {
    QBuffer buffer;
    OpenBuffer(buffer, fileName);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(pixelsPerInch);
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) throw Failed(fileName, "the drawing could not be made.");
    paint(painter, size.width(), size.height());
    if (!painter.end()) throw Failed(fileName, "the drawing could not be made.");
    return buffer.data();
}

QByteArray PdfFileBytes(QSizeF inches, int pixelsPerInch, const QString& title,
                        const TCanvasPainter& paint, const QString& fileName) {
    QBuffer buffer;
    OpenBuffer(buffer, fileName);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setResolution(pixelsPerInch);
        pdf.setPageSize(QPageSize(inches, QPageSize::Inch));
        pdf.setPageMargins(QMarginsF());
        QPainter painter;
        if (!painter.begin(&pdf)) throw Failed(fileName, "the document could not be made.");
        paint(painter, pdf.width(), pdf.height());
        if (!painter.end()) throw Failed(fileName, "the document could not be made.");
    }
    return buffer.data();
}

}  // namespace torvex
