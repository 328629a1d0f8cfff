#pragma once
// Saving a result file (report, plot file, run notes, CSV): written whole to a temporary file
// beside the target and renamed into its place, so a reader never sees half a file, but not
// forced to disk: the files can always be made again from the data file, and a batch of
// thousands of walls should not wait on the disk three times each. (A data file keeps its full
// safe save, synced before the rename.)

#include <string>
#include <string_view>

namespace torvex::engine {

// Throws EInOutError with a clear message when the file cannot be written (no temporary file
// stays behind); a failure while writing leaves the previous file as it was.
void SaveResultFile(const std::string& path, std::string_view text);

}  // namespace torvex::engine
