#pragma once
// The sizes a table editor window snaps to while the user drags its border. Four layouts
// are tried, one for each combination of scroll bars; each shows whole rows and whole
// columns, and the one whose size lies closest to the dragged size wins. Pure arithmetic on
// pixel sizes, so that the rule can be checked without any window.

#include <cstdint>
#include <vector>

namespace torvex {

// A window rectangle as the dragging reports it: Right and Bottom lie one past the window.
struct TSnapRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TSnapRect&) const = default;
};

// The edges being dragged (a corner drags two).
enum TSnapEdge : unsigned {
    kSnapLeft = 1,
    kSnapTop = 2,
    kSnapRight = 4,
    kSnapBottom = 8,
};

struct TSnapInput {
    int FrameWidth = 0;    // window width minus client width
    int FrameHeight = 0;   // window height minus client height
    int Margin = 0;
    // Everything of the layout below the grid's bottom margin: the buttons, the comment label
    // and the picture, each with its own margin, as far as they are shown.
    int ExtraHeight = 0;
    int ButtonSpan = 0;    // from the Add button's left edge to the Delete button's right edge
    int VerticalBarWidth = 0;
    int HorizontalBarHeight = 0;
    // The grid's own border around its cells, and the grid line drawn after every cell.
    int GridBorder = 5;
    int LineWidth = 1;
    std::vector<int> FixedColumnWidths;  // the row label columns
    std::vector<int> ColumnWidths;       // the data columns
    int RowHeight = 0;                   // every row, header rows included, is this high
    int HeaderRows = 0;
    // The height of the header when it is not HeaderRows rows of RowHeight (a platform header).
    int HeaderHeight = -1;
    int RowCount = 0;
    // The current view: first shown data column and data row, and how many are shown.
    int LeftColumn = 0;
    int ShownColumns = 0;
    int TopRow = 0;
    int ShownRows = 0;
    TSnapRect Requested;
    unsigned Edges = kSnapRight | kSnapBottom;
};

enum class TSnapBars { None, Horizontal, Vertical, Both };

struct TSnapCandidate {
    TSnapBars Bars = TSnapBars::None;
    int Width = 0;
    int Height = 0;
    int LeftColumn = 0;
    int ShownColumns = 0;
    int TopRow = 0;
    int ShownRows = 0;
    std::int64_t Score = 0;  // covering area minus the requested area
};

struct TSnapResult {
    TSnapCandidate Winner;
    TSnapRect Rect;  // the requested rectangle moved on its dragged sides to the winner's size
    // All four, in the order none, horizontal only, vertical only, both.
    std::vector<TSnapCandidate> Candidates;
};

// The candidate layout for one combination of scroll bars.
TSnapCandidate SnapCandidate(const TSnapInput& input, TSnapBars bars);

// Which of four scores (none, horizontal only, vertical only, both) wins: the smallest, ties
// going to no scroll bars, then vertical only, then horizontal only, then both.
int ChooseSnapCandidate(const std::int64_t (&scores)[4]);

// Tries the four layouts and picks the closest; ties go to no scroll bars, then vertical
// only, then horizontal only, then both. Throws ETableError "There must be at least 2 columns
// in grid" when the grid (row label columns included) has fewer than two columns.
TSnapResult SnapTableWindow(const TSnapInput& input);

}  // namespace torvex
