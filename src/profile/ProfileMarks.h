#pragma once
// The side view as a list of marks in paint order, in pixels of the window or of the printed
// page: lines with their pen width, the wall as filled polygons, the top view's circles and
// the texts. The window and the printer only render the list.

#include <string>
#include <vector>

namespace torvex {

struct TProfileScene;
class TSideViewGeometry;

struct TPixel {
    int X = 0, Y = 0;
    bool operator==(const TPixel&) const = default;
};

enum class TMarkKind {
    Line,    // from Points[0] to Points[1]
    Wall,    // polygon Points, filled with the text colour
    Circle,  // white-filled ellipse in the box Points[0] (top-left) to Points[1] (bottom-right)
    Text,    // Text with its top-left corner at Points[0], moved down by TextLine text heights
};

struct TMark {
    TMarkKind Kind = TMarkKind::Line;
    std::vector<TPixel> Points;
    int Pen = 1;  // pen width in pixels
    std::string Text;
    int TextLine = 0;
    bool operator==(const TMark&) const = default;
};

// The marks of the window's client area (width and height from the geometry); none while
// the extents are degenerate.
std::vector<TMark> ScreenMarks(const TProfileScene& scene, const TSideViewGeometry& geometry);
// The marks of a printed page of `pageWidth` x `pageHeight` printer pixels, through the
// window's view window; none while the extents are degenerate.
std::vector<TMark> PageMarks(const TProfileScene& scene, const TSideViewGeometry& geometry,
                             int pageWidth, int pageHeight);

}  // namespace torvex
