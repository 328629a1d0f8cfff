#pragma once
// Renders the side view's marks with a QPainter, on the window or on a printer page.

#include <QColor>
#include <QFont>
#include <vector>

#include "profile/ProfileMarks.h"

class QPainter;

namespace torvex {

struct TMarkStyle {
    QColor Lines;     // pens of lines and circle outlines
    QColor WallFill;  // the window text colour
    QColor Text;
    QFont Font;
};

void PaintMarks(QPainter& painter, const std::vector<TMark>& marks, const TMarkStyle& style);

}  // namespace torvex
