#include "dataentry/TableSnapping.h"

#include <algorithm>
#include <array>

#include "dataentry/TableErrors.h"

namespace torvex {
namespace {

bool HasHorizontalBar(TSnapBars bars) {
    return bars == TSnapBars::Horizontal || bars == TSnapBars::Both;
}

bool HasVerticalBar(TSnapBars bars) {
    return bars == TSnapBars::Vertical || bars == TSnapBars::Both;
}

}  // namespace

TSnapCandidate SnapCandidate(const TSnapInput& in, TSnapBars bars) {
    TSnapCandidate c;
    c.Bars = bars;
    const bool horizontalEdgesOnly =
        (in.Edges & (kSnapTop | kSnapBottom)) != 0 && (in.Edges & (kSnapLeft | kSnapRight)) == 0;
    const bool verticalEdgesOnly =
        (in.Edges & (kSnapLeft | kSnapRight)) != 0 && (in.Edges & (kSnapTop | kSnapBottom)) == 0;
    const int columns = static_cast<int>(in.ColumnWidths.size());
    const auto column = [&](int k) { return in.ColumnWidths[k] + in.LineWidth; };

    // ---- width ----
    const int minimum = in.FrameWidth + 2 * in.Margin + in.ButtonSpan;
    int width = in.FrameWidth + 2 * in.Margin + in.GridBorder;
    if (HasVerticalBar(bars)) width += in.VerticalBarWidth;
    for (int fixed : in.FixedColumnWidths) width += fixed + in.LineWidth;
    if (!HasHorizontalBar(bars)) {
        c.LeftColumn = 0;
        c.ShownColumns = columns;
        for (int k = 0; k < columns; ++k) width += column(k);
        width = std::max(width, minimum);
    } else if (horizontalEdgesOnly) {
        c.LeftColumn = std::clamp(in.LeftColumn, 0, std::max(0, columns - 1));
        c.ShownColumns = std::clamp(in.ShownColumns, 0, columns - c.LeftColumn);
        for (int k = c.LeftColumn; k < c.LeftColumn + c.ShownColumns; ++k) width += column(k);
        width = std::max(width, minimum);
    } else {
        const int requested = in.Requested.Width();
        const auto takes = [&](int k) {
            return width < minimum || width + column(k) < requested;
        };
        int left = std::clamp(in.LeftColumn, 0, std::max(0, columns - 1));
        int shown = 0;
        for (int k = left; k < columns; ++k) {
            if (shown > 0 && !takes(k)) break;
            width += column(k);
            ++shown;
        }
        while (left > 0 && takes(left - 1)) {
            width += column(--left);
            ++shown;
        }
        c.LeftColumn = left;
        c.ShownColumns = shown;
    }
    c.Width = width;

    // ---- height ----
    const int row = in.RowHeight + in.LineWidth;
    int height = in.FrameHeight + 2 * in.Margin + in.ExtraHeight + in.GridBorder;
    if (HasHorizontalBar(bars)) height += in.HorizontalBarHeight;
    height += in.HeaderHeight >= 0 ? in.HeaderHeight : in.HeaderRows * row;
    if (!HasVerticalBar(bars)) {
        c.TopRow = 0;
        c.ShownRows = in.RowCount;
    } else if (verticalEdgesOnly) {
        c.TopRow = std::max(0, in.TopRow);
        c.ShownRows = std::clamp(in.ShownRows, 0, in.RowCount);
    } else {
        c.ShownRows = std::min(1, in.RowCount);
        while (c.ShownRows < in.RowCount &&
               height + (c.ShownRows + 1) * row < in.Requested.Height())
            ++c.ShownRows;
        c.TopRow = std::max(0, in.TopRow);
    }
    while (c.TopRow > 0 && c.TopRow + c.ShownRows > in.RowCount) --c.TopRow;
    c.Height = height + c.ShownRows * row;

    const std::int64_t coverWidth = std::max(c.Width, in.Requested.Width());
    const std::int64_t coverHeight = std::max(c.Height, in.Requested.Height());
    c.Score = coverWidth * coverHeight -
              std::int64_t{in.Requested.Width()} * std::int64_t{in.Requested.Height()};
    return c;
}

int ChooseSnapCandidate(const std::int64_t (&scores)[4]) {
    // Earlier in this list wins a tie.
    const std::array<int, 4> preference = {0, 2, 1, 3};
    int winner = preference[0];
    for (int i : preference)
        if (scores[i] < scores[winner]) winner = i;
    return winner;
}

TSnapResult SnapTableWindow(const TSnapInput& in) {
    if (in.FixedColumnWidths.size() + in.ColumnWidths.size() < 2)
        throw ETableError("There must be at least 2 columns in grid");
    TSnapResult result;
    for (TSnapBars bars :
         {TSnapBars::None, TSnapBars::Horizontal, TSnapBars::Vertical, TSnapBars::Both})
        result.Candidates.push_back(SnapCandidate(in, bars));
    std::int64_t scores[4];
    for (int i = 0; i < 4; ++i) scores[i] = result.Candidates[i].Score;
    result.Winner = result.Candidates[ChooseSnapCandidate(scores)];

    result.Rect = in.Requested;
    if (in.Edges & kSnapTop) result.Rect.Top = result.Rect.Bottom - result.Winner.Height;
    else result.Rect.Bottom = result.Rect.Top + result.Winner.Height;
    if (in.Edges & kSnapLeft) result.Rect.Left = result.Rect.Right - result.Winner.Width;
    else result.Rect.Right = result.Rect.Left + result.Winner.Width;
    return result;
}

}  // namespace torvex
