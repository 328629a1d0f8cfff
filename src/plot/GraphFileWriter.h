#pragma once
// The file formats of Save To Disk and the bytes of each, made in memory so that the file is
// written in one safe save (see desktop/SafeOutput.h). Each maker throws EInOutError naming
// `fileName` when its picture cannot be made.

#include <QByteArray>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>

class QImage;
class QPainter;

namespace torvex {

// What Save To Disk writes, by the extension of the chosen name: ".png", ".jpg"/".jpeg",
// ".svg", ".pdf", ".csv"; any other a BMP bitmap.
enum class TGraphFileKind { Bmp, Png, Jpeg, Svg, Pdf, Csv };
TGraphFileKind GraphFileKindOf(const QString& fileName);

// The file filters of the save dialog, one a kind in the order of TGraphFileKind.
QStringList GraphFileFilters();

// The chosen name, completed when it has no extension with the extension of the chosen
// filter (1-based; a filter out of range is the bitmap's): "deflA" + "PNG image" is
// "deflA.png".
QString CompletedGraphFileName(const QString& name, int selectedFilter);

// Pixels per inch as the dots per metre that PNG, BMP and JPEG files record.
int DotsPerMetre(int pixelsPerInch);

// A BMP, PNG or JPEG file of `image` that records `pixelsPerInch`.
QByteArray RasterFileBytes(QImage image, TGraphFileKind kind, int pixelsPerInch,
                           const QString& fileName);

// Paints a picture of `width` x `height` of its device's pixels.
using TCanvasPainter = std::function<void(QPainter& painter, int width, int height)>;

// An SVG drawing of `size` pixels at `pixelsPerInch`, titled `title`.
QByteArray SvgFileBytes(QSize size, int pixelsPerInch, const QString& title,
                        const TCanvasPainter& paint, const QString& fileName);

// A PDF document of one page of `inches` without margins, at `pixelsPerInch`, titled `title`.
QByteArray PdfFileBytes(QSizeF inches, int pixelsPerInch, const QString& title,
                        const TCanvasPainter& paint, const QString& fileName);

}  // namespace torvex
