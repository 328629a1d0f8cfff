// Command-line converter of data files; see ConvertCommand.h.
#include <iostream>
#include <string>
#include <vector>

#include "project/ConvertCommand.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return torvex::RunConvertCommand(arguments, std::cout, std::cerr);
}
