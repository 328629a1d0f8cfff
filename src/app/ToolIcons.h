#pragma once
// The pictures of the tool-bar buttons, drawn by the program so that it needs no image files.

#include <QIcon>
#include <QString>

namespace torvex {

// The picture of a tool-bar button by its component name ("SpeedButton1" ...).
QIcon ToolIcon(const QString& buttonName);
// The picture of the stage button of stage 1..5: its number.
QIcon StageIcon(int stage);

}  // namespace torvex
