#pragma once
// torvex-convert: reads a data file of any of the three formats, optionally switches its unit
// system as the Units menu does, and writes it in the current format.
//
//   torvex-convert IN OUT [--kind N] [--units english|si|other]
//
// Exit status: 0 done; 1 bad arguments; 2 IN (or one of its stages) cannot be read, and
// nothing is written; 3 OUT cannot be written, nor is it when a value of the option block
// converted would leave its range (the message names the setting).

#include <iosfwd>
#include <string>
#include <vector>

namespace torvex {

int RunConvertCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err);

// The format kind the program gives a file by its name: 2 for ".txd" (any case), else 1.
int FormatKindOfFileName(const std::string& fileName);

}  // namespace torvex
