#include "desktop/SafeOutput.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <string>

#include "project/SafeSave.h"
#include "project/WordRead.h"

namespace torvex {

void SaveBytes(const QString& path, const QByteArray& bytes) {
    SaveTextFile(QFile::encodeName(path).toStdString(),
                 std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

bool PrintOnePage(QPrinter& printer, const TPagePainter& paint) {
    const QString file = printer.outputFileName();
    if (file.isEmpty()) {
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        paint(painter, printer);
        return painter.end();
    }
    // Printing to a file writes a PDF document (also for the native format); the same page
    // is made on a PDF writer of the printer's layout, which paints the same pixels.
    const auto failed = [&file](const char* reason) {
        return EInOutError("Cannot write \"" + file.toStdString() + "\": " + reason);
    };
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly)) throw failed("the page could not be made in memory.");
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        pdf.setPdfVersion(printer.pdfVersion());
        pdf.setResolution(printer.resolution());
        if (!pdf.setPageLayout(printer.pageLayout())) throw failed("the page layout is not valid.");
        QPainter painter;
        if (!painter.begin(&pdf)) throw failed("the page could not be drawn.");
        paint(painter, pdf);
        if (!painter.end()) throw failed("the page could not be drawn.");
    }
    SaveBytes(file, buffer.data());
    return true;
}

}  // namespace torvex
