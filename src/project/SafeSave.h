#pragma once
// Saving that never destroys the previous file: the text goes to a temporary file in the same
// folder, which replaces the target only when everything was written.

#include <cstddef>
#include <string>
#include <string_view>

namespace torvex {

// Writes text to path (bytes as given). Throws EInOutError with a clear message when the file
// cannot be written; the previous file, if any, is then left as it was. A symbolic link is
// followed: its target is replaced and the link stays. The new file keeps the old one's
// permission bits (and its owner, where the process may give it), and the folder is synced
// after the rename. A folder, FIFO or device is
// never replaced. A file that already holds exactly the text is not written again, so that
// its modification time stays that of its content.
void SaveTextFile(const std::string& path, const std::string& text);

// Writes all of text to the open file descriptor, resuming after interruptions; false (with
// errno set) when the system refused.
bool WriteAll(int fd, std::string_view text);

// The temporary file of a save is hidden beside the file: "." + file name + this infix +
// the saving process's id + a unique tail. A save removes those that a killed save of the
// same file left.
inline constexpr const char* kTemporaryInfix = ".torvex-save-";
// Whether the process of that id is gone (or is this one), so that what it left may go.
bool ProcessIsGone(long pid);

// "." + the file name of path + kTemporaryInfix.
std::string TemporaryPrefix(const std::string& path);

// No project, stage or plot file comes near this size; a larger file is refused before it
// is read.
inline constexpr size_t kMaxTextFileBytes = 64u * 1024 * 1024;

// Reads a whole file as bytes; throws EInOutError when it cannot be read, when it is not a
// regular file (a folder, a FIFO, a device) or when it is larger than kMaxTextFileBytes.
std::string LoadTextFile(const std::string& path);

}  // namespace torvex
