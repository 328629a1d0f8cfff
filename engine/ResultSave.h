#pragma once
// Saving a result file (report, plot file, run notes): atomic as a data file's save (a
// temporary file beside it renamed over the target, so a reader never sees half a file and a
// failure leaves the old file), but not forced to disk: the files can always be made again from
// the data file, and a batch of thousands of walls should not wait on the disk three times each.

#include <string>
#include <string_view>

namespace torvex::engine {

// Throws EInOutError with a clear message when the file cannot be written; the previous file,
// if any, is then left as it was and no temporary file stays behind.
void SaveResultFile(const std::string& path, std::string_view text);

}  // namespace torvex::engine
