#pragma once
// Files that the windows write besides the project — pictures, values, printed pages — go
// through the program's safe save: made in memory, written to a hidden temporary file
// beside the target and renamed over it only when every byte is on disk. A failed write
// leaves the old file as it was and throws EInOutError naming the file and the reason.

#include <QByteArray>
#include <QString>
#include <functional>

class QPaintDevice;
class QPainter;
class QPrinter;

namespace torvex {

inline constexpr const char* kNotEnoughMemory = "There is not enough memory to complete this task.";

// Writes `bytes` as the file `path` through SaveTextFile.
void SaveBytes(const QString& path, const QByteArray& bytes);

// Paints the page: `page` is the device painted on (its width and height in its pixels).
using TPagePainter = std::function<void(QPainter& painter, const QPaintDevice& page)>;

// Prints one page on `printer`, set up and chosen by the caller. A printer whose output is a
// file gets a PDF document of the printer's page layout, resolution and document name, made
// in memory and saved with SaveBytes (EInOutError when that fails). On a real printer the
// page goes the usual way; false when the printer refused to begin or to finish the job.
bool PrintOnePage(QPrinter& printer, const TPagePainter& paint);

}  // namespace torvex
