#pragma once
// Saving that never destroys the previous file: the text goes to a temporary file in the same
// folder, which replaces the target only when everything was written.

#include <string>

namespace torvex {

// Writes text to path (bytes as given). Throws EInOutError with a clear message when the file
// cannot be written; the previous file, if any, is then left as it was.
void SaveTextFile(const std::string& path, const std::string& text);

// Reads a whole file as bytes; throws EInOutError when it cannot be read.
std::string LoadTextFile(const std::string& path);

}  // namespace torvex
