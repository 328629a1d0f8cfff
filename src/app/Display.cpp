#include "app/Display.h"

#include <cstdlib>
#include <cstring>

namespace torvex {
namespace {

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool DisplayAvailable(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 && i + 1 < argc) return true;
    return EnvironmentSet("QT_QPA_PLATFORM") || EnvironmentSet("DISPLAY") ||
           EnvironmentSet("WAYLAND_DISPLAY");
}

std::string NoDisplayMessage() {
    return "TORVEX needs a graphical display, but none is available (DISPLAY and "
           "WAYLAND_DISPLAY are not set).\n"
           "Start it from a desktop session, or run it under a virtual display, for example:\n"
           "  xvfb-run -a torvex\n";
}

}  // namespace torvex
