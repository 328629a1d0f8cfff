#pragma once
// The pictures of the tool-bar buttons, drawn by the program so that it needs no image files.

#include <QIcon>
#include <QString>

namespace torvex {

// The picture of a tool-bar button by its component name ("SpeedButton1" ...).
QIcon ToolIcon(const QString& buttonName);
// The program's own icon, for the main window, its children and the desktop: a wall standing
// in the soil of an excavation, with its deflected line.
QIcon ProgramIcon();
// The picture of the stage button of stage 1..5: its number.
QIcon StageIcon(int stage);

}  // namespace torvex
