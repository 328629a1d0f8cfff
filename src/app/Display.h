#pragma once
// Tells before Qt starts whether the program can open a window, so that it can say so
// plainly instead of failing inside the platform plugin.

#include <string>

namespace torvex {

// True when a platform was chosen ("-platform" argument or QT_QPA_PLATFORM) or when an X11
// or Wayland display is named in the environment.
bool DisplayAvailable(int argc, char** argv);

// The message printed when no display is available.
std::string NoDisplayMessage();

}  // namespace torvex
