#include "dataentry/TableSnapping.h"

#include <gtest/gtest.h>

#include "dataentry/TableErrors.h"

namespace torvex {
namespace {

// A window of five 60-pixel columns after a 40-pixel label column, two header rows and
// twenty data rows of 20 pixels, each cell followed by a 1-pixel grid line.
//   width  without scroll bars: 10 frame + 2*5 margin + 5 border + 41 + 5*61 = 371
//   height without scroll bars: 30 frame + 2*5 margin + 30 extras + 5 + 2*21 + 20*21 = 537
//   minimum width: 10 + 2*5 + 250 = 270
TSnapInput Window() {
    TSnapInput in;
    in.FrameWidth = 10;
    in.FrameHeight = 30;
    in.Margin = 5;
    in.ExtraHeight = 30;
    in.ButtonSpan = 250;
    in.VerticalBarWidth = 16;
    in.HorizontalBarHeight = 16;
    in.FixedColumnWidths = {40};
    in.ColumnWidths = {60, 60, 60, 60, 60};
    in.RowHeight = 20;
    in.HeaderRows = 2;
    in.RowCount = 20;
    in.LeftColumn = 0;
    in.ShownColumns = 5;
    in.TopRow = 0;
    in.ShownRows = 10;
    return in;
}

TSnapRect At100(int width, int height) { return {100, 100, 100 + width, 100 + height}; }

TEST(TableSnapping, TiesGoToNoBarsThenVerticalThenHorizontalThenBoth) {
    EXPECT_EQ(ChooseSnapCandidate({5, 5, 5, 5}), 0);
    EXPECT_EQ(ChooseSnapCandidate({9, 5, 5, 5}), 2);
    EXPECT_EQ(ChooseSnapCandidate({9, 5, 9, 5}), 1);
    EXPECT_EQ(ChooseSnapCandidate({9, 9, 9, 5}), 3);
    // A strictly smaller score beats the order.
    EXPECT_EQ(ChooseSnapCandidate({9, 9, 9, 1}), 3);
    EXPECT_EQ(ChooseSnapCandidate({9, 4, 5, 5}), 1);
    EXPECT_EQ(ChooseSnapCandidate({0, 3, 3, 3}), 0);
}

TEST(TableSnapping, RoomForEverythingShowsAllRowsAndColumnsWithoutScrollBars) {
    TSnapInput in = Window();
    in.Requested = At100(400, 600);
    const TSnapResult result = SnapTableWindow(in);
    ASSERT_EQ(result.Candidates.size(), 4u);
    // The vertical candidate also covers nothing beyond the request: the tie goes to no bars.
    EXPECT_EQ(result.Candidates[2].Score, 0);
    EXPECT_EQ(result.Candidates[0].Score, 0);
    EXPECT_EQ(result.Winner.Bars, TSnapBars::None);
    EXPECT_EQ(result.Winner.Width, 371);
    EXPECT_EQ(result.Winner.Height, 537);
    EXPECT_EQ(result.Winner.LeftColumn, 0);
    EXPECT_EQ(result.Winner.ShownColumns, 5);
    EXPECT_EQ(result.Winner.TopRow, 0);
    EXPECT_EQ(result.Winner.ShownRows, 20);
    EXPECT_EQ(result.Rect, (TSnapRect{100, 100, 471, 637}));
}

TEST(TableSnapping, ShortRequestShowsWholeRowsWithAVerticalBar) {
    TSnapInput in = Window();
    in.TopRow = 15;
    in.Requested = At100(400, 300);
    const TSnapResult result = SnapTableWindow(in);
    // Eight rows: 117 + 8*21 = 285 < 300, a ninth would make 306.
    EXPECT_EQ(result.Winner.Bars, TSnapBars::Vertical);
    EXPECT_EQ(result.Winner.ShownRows, 8);
    EXPECT_EQ(result.Winner.Height, 285);
    EXPECT_EQ(result.Winner.Width, 387);
    EXPECT_EQ(result.Winner.ShownColumns, 5);
    // Rows 15 to 22 would run past the last row: the top row moves up to 12.
    EXPECT_EQ(result.Winner.TopRow, 12);
    // Both bars fit inside too, but lose the tie.
    EXPECT_EQ(result.Candidates[3].Score, 0);
    EXPECT_EQ(result.Rect, (TSnapRect{100, 100, 487, 385}));
}

TEST(TableSnapping, NarrowRequestShowsWholeColumnsWithAHorizontalBar) {
    TSnapInput in = Window();
    in.Edges = kSnapRight;
    in.Requested = At100(250, 600);
    const TSnapResult result = SnapTableWindow(in);
    EXPECT_EQ(result.Winner.Bars, TSnapBars::Horizontal);
    // Three columns make 249, under the 270 of the buttons, so a fourth is taken although
    // it does not fit the request.
    EXPECT_EQ(result.Winner.ShownColumns, 4);
    EXPECT_EQ(result.Winner.LeftColumn, 0);
    EXPECT_EQ(result.Winner.Width, 310);
    EXPECT_EQ(result.Winner.Height, 553);
    EXPECT_EQ(result.Winner.ShownRows, 20);
    EXPECT_EQ(result.Rect, (TSnapRect{100, 100, 410, 653}));
    // Dragging a side edge keeps the shown rows of the vertical candidates.
    EXPECT_EQ(result.Candidates[2].ShownRows, 10);
    EXPECT_EQ(result.Candidates[2].Height, 327);
}

TEST(TableSnapping, ColumnsLeftOfTheLeftColumnAreTakenWhenTheRightRunsOut) {
    TSnapInput in = Window();
    in.LeftColumn = 3;
    in.ShownColumns = 2;
    in.Requested = At100(250, 600);
    const TSnapCandidate horizontal = SnapCandidate(in, TSnapBars::Horizontal);
    EXPECT_EQ(horizontal.LeftColumn, 1);
    EXPECT_EQ(horizontal.ShownColumns, 4);
    EXPECT_EQ(horizontal.Width, 310);
}

TEST(TableSnapping, DraggingTheBottomKeepsTheShownColumns) {
    TSnapInput in = Window();
    in.Edges = kSnapBottom;
    in.LeftColumn = 2;
    in.ShownColumns = 2;
    in.Requested = At100(250, 600);
    const TSnapCandidate horizontal = SnapCandidate(in, TSnapBars::Horizontal);
    EXPECT_EQ(horizontal.LeftColumn, 2);
    EXPECT_EQ(horizontal.ShownColumns, 2);
    // 66 + 2*61 = 188, raised to the minimum of 270.
    EXPECT_EQ(horizontal.Width, 270);
}

TEST(TableSnapping, FewerThanTwoGridColumnsIsAnError) {
    TSnapInput in = Window();
    in.ColumnWidths.clear();
    in.Requested = At100(250, 600);
    try {
        SnapTableWindow(in);
        FAIL() << "no error";
    } catch (const ETableError& error) {
        EXPECT_STREQ(error.what(), "There must be at least 2 columns in grid");
    }
    in.FixedColumnWidths.clear();
    in.ColumnWidths = {60};
    EXPECT_THROW(SnapTableWindow(in), ETableError);
    in.FixedColumnWidths = {40};
    EXPECT_NO_THROW(SnapTableWindow(in));
}

TEST(TableSnapping, TheDraggedSidesMove) {
    TSnapInput in = Window();
    in.Requested = At100(400, 300);  // the vertical candidate wins: 387 x 285
    in.Edges = kSnapLeft | kSnapTop;
    EXPECT_EQ(SnapTableWindow(in).Rect, (TSnapRect{113, 115, 500, 400}));
    in.Edges = kSnapRight | kSnapTop;
    EXPECT_EQ(SnapTableWindow(in).Rect, (TSnapRect{100, 115, 487, 400}));
    in.Edges = kSnapLeft | kSnapBottom;
    EXPECT_EQ(SnapTableWindow(in).Rect, (TSnapRect{113, 100, 500, 385}));
}

}  // namespace
}  // namespace torvex
