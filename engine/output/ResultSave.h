#pragma once
// Saving result files (report, plot file, run notes, CSV): each is written whole to a
// temporary file beside its target and renamed into its place, so a reader never sees half a
// file, but not forced to disk: the files can always be made again from the data file, and a
// batch of thousands of walls should not wait on the disk three times each. (A data file
// keeps its full safe save, synced before the rename.)

#include <string>
#include <string_view>
#include <vector>

namespace torvex::engine {

// The files of one run, put in place together: Add writes each to its temporary file, Commit
// renames them in the order they were added. What is not committed is removed with the
// object, so a failure leaves no temporary file behind.
class TStagedFiles {
public:
    TStagedFiles() = default;
    TStagedFiles(const TStagedFiles&) = delete;
    TStagedFiles& operator=(const TStagedFiles&) = delete;
    ~TStagedFiles();

    // Throws EInOutError naming the file when it cannot be written.
    void Add(const std::string& path, std::string_view text);
    // Throws EInOutError naming the file that cannot be put in place; those before it are.
    void Commit();

private:
    struct TStaged {
        std::string path, temporary;
    };
    std::vector<TStaged> staged_;
};

// One file, staged and committed. Throws EInOutError with a clear message when the file
// cannot be written (no temporary file stays behind); a failure while writing leaves the
// previous file as it was.
void SaveResultFile(const std::string& path, std::string_view text);

// The temporary files of result files in `folder` ("wall.tx4o.tmp<PID>-<N>") whose writing
// process is gone, killed before it could remove them, are removed. Each folder is looked
// through once in a process's life, so a batch of thousands of files reads it once.
void RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace torvex::engine
