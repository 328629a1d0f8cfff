// The side view's arithmetic: extents, scaling about the origin, every mark's pixels in paint
// order on the window and on paper, the soil labels, the depth readout and degenerate extents.
// The numbers are worked by hand for a wall of 100 increments of 1, free height 40: wall top
// T = 10, excavation E = 50, half-width a = 1, extents x -1.05..1.05 and y 0..115.5.

#include <gtest/gtest.h>

#include <cmath>

#include "profile/ProfileMarks.h"
#include "profile/ProfileScene.h"
#include "profile/SideViewGeometry.h"
#include "project/ProgramData.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

TProfileScene Wall(long double freeHeight = 40) {
    TProfileScene scene;
    scene.WallLength = 100;
    scene.WallTop = 10;
    scene.FreeHeight = freeHeight;
    scene.Excavation = 10 + freeHeight;
    scene.HasWall = true;
    return scene;
}

// A 400 x 231 client: the view becomes x -100..100, y 0..115.5, so sx(x) = 2x + 200 and
// sy(y) = 2y.
TSideViewGeometry Fitted(const TProfileScene& scene, int width = 400, int height = 231) {
    TSideViewGeometry geometry;
    geometry.Activate(scene);
    geometry.Resize(width, height);
    return geometry;
}

TMark Line(int x1, int y1, int x2, int y2, int pen = 1) {
    return {TMarkKind::Line, {{x1, y1}, {x2, y2}}, pen, {}, 0};
}
TMark Text(int x, int y, std::string text, int line = 0) {
    return {TMarkKind::Text, {{x, y}}, 1, std::move(text), line};
}

void ExpectMarks(const std::vector<TMark>& actual, const std::vector<TMark>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("mark " + std::to_string(i));
        EXPECT_EQ(actual[i].Kind, expected[i].Kind);
        EXPECT_EQ(actual[i].Points, expected[i].Points);
        EXPECT_EQ(actual[i].Pen, expected[i].Pen);
        EXPECT_EQ(actual[i].Text, expected[i].Text);
        EXPECT_EQ(actual[i].TextLine, expected[i].TextLine);
    }
}

TEST(SideViewGeometry, ExtentsComeFromTheWallAndStartAtTheOrigin) {
    TSideViewGeometry fresh;
    EXPECT_EQ(fresh.Extents().XMin, -10);
    EXPECT_EQ(fresh.Extents().XMax, 10);
    EXPECT_EQ(fresh.Extents().YMin, 0);
    EXPECT_EQ(fresh.Extents().YMax, 10);
    EXPECT_FALSE(fresh.Degenerate());

    TSideViewGeometry geometry;
    geometry.Activate(Wall());
    EXPECT_NEAR(geometry.Extents().XMin, -1.05, 1e-12);
    EXPECT_NEAR(geometry.Extents().XMax, 1.05, 1e-12);
    EXPECT_EQ(geometry.Extents().YMin, 0);
    EXPECT_NEAR(geometry.Extents().YMax, 115.5, 1e-12);
    ASSERT_EQ(geometry.Elements().size(), 1u);
    EXPECT_EQ(geometry.Elements()[0][2].X, 1);
    EXPECT_EQ(geometry.Elements()[0][2].Y, 110);

    // Without a wall row the element list empties and the extents stay.
    TProfileScene noWall = Wall(400);
    noWall.HasWall = false;
    geometry.Activate(noWall);
    EXPECT_TRUE(geometry.Elements().empty());
    EXPECT_NEAR(geometry.Extents().XMax, 1.05, 1e-12);
}

TEST(SideViewGeometry, WideAndTallWindowsScaleAboutTheOrigin) {
    // Wide: r = (400 / 231) / (2.1 / 115.5) = 95.238..., so x widens to +-100, y stays.
    const TSideViewGeometry wide = Fitted(Wall());
    EXPECT_NEAR(wide.View().XMin, -100, 1e-9);
    EXPECT_NEAR(wide.View().XMax, 100, 1e-9);
    EXPECT_EQ(wide.View().YMin, 0);
    EXPECT_NEAR(wide.View().YMax, 115.5, 1e-12);
    EXPECT_EQ(wide.Sx(0), 200);
    EXPECT_EQ(wide.Sy(10), 20);
    EXPECT_EQ(wide.Sx(-1), 198);

    // Tall: free height 400 gives a = 10, extents x +-10.5; a 100 x 1100 client gives
    // r = (100 / 1100) / (21 / 115.5) = 0.5, so y stretches downwards only, to 231.
    const TSideViewGeometry tall = Fitted(Wall(400), 100, 1100);
    EXPECT_NEAR(tall.View().XMin, -10.5, 1e-12);
    EXPECT_NEAR(tall.View().XMax, 10.5, 1e-12);
    EXPECT_EQ(tall.View().YMin, 0);
    EXPECT_NEAR(tall.View().YMax, 231, 1e-9);
}

TEST(SideViewGeometry, PixelsRoundHalvesToEven) {
    EXPECT_EQ(RoundPixel(2.5L), 2);
    EXPECT_EQ(RoundPixel(3.5L), 4);
    EXPECT_EQ(RoundPixel(-2.5L), -2);
    EXPECT_EQ(RoundPixel(2.6L), 3);
    EXPECT_EQ(RoundPixel(1e30L), INT_MAX);
    EXPECT_EQ(RoundPixel(NAN), 0);
}

TEST(SideViewGeometry, DepthReadout) {
    const TSideViewGeometry geometry = Fitted(Wall());
    // Row 20 is the wall top (y = 10): the depth below it is 0.
    ASSERT_TRUE(geometry.DepthAtRow(20).has_value());
    EXPECT_EQ(DepthCaption(*geometry.DepthAtRow(20) - 10), "  Depth: 0.0");
    EXPECT_EQ(DepthCaption(*geometry.DepthAtRow(100) - 10), "  Depth: 40.0");
    EXPECT_EQ(DepthCaption(*geometry.DepthAtRow(0) - 10), "  Depth: -10.0");

    const struct {
        long double depth;
        const char* text;
    } cases[] = {
        {0, "0.0"},          {-0.04L, "0.0"},          {12.26L, "12.3"},
        {99999.94L, "99999.9"}, {123456.7L, "123457.0"}, {-3.46L, "-3.5"},
        {1234567, "1.23457E6"},
    };
    for (const auto& c : cases) EXPECT_EQ(DepthText(c.depth), c.text) << c.text;
}

TEST(SideViewGeometry, DegenerateExtentsDrawNothingAndReadNoDepth) {
    // A new project: no increments and no free height give zero extents.
    TProfileScene empty;
    empty.HasWall = true;
    TSideViewGeometry geometry;
    geometry.Activate(empty);
    EXPECT_TRUE(geometry.Degenerate());
    geometry.Resize(400, 231);
    EXPECT_EQ(geometry.View().XMin, -10);  // not rescaled
    EXPECT_EQ(geometry.View().YMax, 10);
    EXPECT_FALSE(geometry.DepthAtRow(20).has_value());
    EXPECT_TRUE(ScreenMarks(empty, geometry).empty());
    EXPECT_TRUE(PageMarks(empty, geometry, 1000, 800).empty());

    // A wall of free height 0 has no width: degenerate too.
    TSideViewGeometry flat;
    flat.Activate(Wall(0));
    EXPECT_TRUE(flat.Degenerate());

    // Once the wall is entered, the next activation draws it.
    geometry.Activate(Wall());
    geometry.Resize(400, 231);
    EXPECT_FALSE(geometry.Degenerate());
    EXPECT_EQ(ScreenMarks(Wall(), geometry).size(), 3u);  // wall, backfill, excavation
    // An empty client area leaves the view as it was.
    geometry.Resize(0, 231);
    EXPECT_NEAR(geometry.View().XMax, 100, 1e-9);
}

// Two layers (sand to 20, soft clay to 80, drawn at depths 30 and 90), a restraint at node
// 20, an external p-y curve at node 30, springs at nodes 10, 40 (at E) and 60, and a top view
// of Wa 5, Wp 3.
TProfileScene Furnished(long double beta) {
    TProfileScene scene = Wall();
    scene.DrawLayers = true;
    scene.BackfillSlope = beta;
    scene.Layers = {{4, 10, 30, "Sand", "s"}, {1, 30, 90, "Soft clay", "c"}};
    scene.Restraints = {30};
    scene.PYCurves = {40};
    scene.Springs = {20, 50, 70};
    scene.ActiveWidth = 5;
    scene.ResistanceWidth = 3;
    return scene;
}

TEST(SideViewMarks, WindowMarksInPaintOrder) {
    const TProfileScene scene = Furnished(0);
    const TSideViewGeometry geometry = Fitted(scene);
    std::vector<TMark> expected = {
        Line(0, 20, 200, 20),  // backfill surface
    };
    for (int k = 1; k <= 5; ++k) expected.push_back(Line(100 + 20 * k, 20, 115 + 20 * k, 25));
    const std::vector<TMark> rest = {
        Line(0, 60, 200, 60),  // sand bottom, above E: backfill side only
        Text(0, 20, "Sand"),
        Text(0, 20, "s", 1),
        Line(0, 180, 400, 180),  // clay bottom, below E: across
        Text(0, 60, "Soft clay"),
        Text(0, 60, "c", 1),
        {TMarkKind::Wall, {{198, 20}, {202, 20}, {202, 220}, {198, 220}}, 1, {}, 0},
        Line(0, 20, 200, 20),
        Line(200, 100, 400, 100),  // excavation
        Line(200, 60, 208, 60, 2),  // restraint, d = 4
        Line(208, 60, 208, 56, 2),
        Line(208, 60, 208, 64, 2),
        Line(200, 80, 180, 80, 2),  // p-y curve
        Line(172, 80, 152, 80, 2),
        Line(152, 80, 160, 76, 2),
        Line(152, 80, 160, 84, 2),
        Line(200, 40, 240, 40, 5),  // the spring above E; those at and below E are not drawn
        // Top view: circle boxes sx(397..403) = 994..1006, sy(67 + 10k .. 73 + 10k).
        {TMarkKind::Circle, {{994, 134}, {1006, 146}}, 2, {}, 0},
        Text(999, 5, "top view"),  // rnd(1000 - 1.2)
        Text(200, 5, "side view"),
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    for (int k = 1; k <= 4; ++k)
        expected.push_back({TMarkKind::Circle, {{994, 134 + 20 * k}, {1006, 146 + 20 * k}}, 2, {}, 0});
    ExpectMarks(ScreenMarks(scene, geometry), expected);
}

TEST(SideViewMarks, BackfillSlope) {
    // beta 10: tan(10 x 0.0174533) = 0.176327, 100 x that = 17.6 -> the line ends at (100, 2).
    // beta 0: five hatch strokes; beta -10: the level surface alone.
    const struct {
        long double beta;
        std::vector<TMark> marks;
    } cases[] = {
        {10, {Line(0, 20, 200, 20), Line(200, 20, 100, 2)}},
        {0, {Line(0, 20, 200, 20), Line(120, 20, 135, 25), Line(140, 20, 155, 25),
             Line(160, 20, 175, 25), Line(180, 20, 195, 25), Line(200, 20, 215, 25)}},
        {-10, {Line(0, 20, 200, 20)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.beta));
        TProfileScene scene = Furnished(c.beta);
        const std::vector<TMark> marks = ScreenMarks(scene, Fitted(scene));
        ExpectMarks({marks.begin(), marks.begin() + c.marks.size()}, c.marks);
        EXPECT_EQ(marks[c.marks.size()].Points[0], (TPixel{0, 60}));  // then the layer bottom
    }
}

TEST(SideViewMarks, LayersOnlyFromAWrittenProjectAndSwitchedMarks) {
    TProfileScene scene = Furnished(0);
    scene.DrawLayers = false;
    scene.Restraints.clear();
    scene.PYCurves.clear();
    scene.Springs = {50, 70};  // at and below the excavation level
    scene.ActiveWidth = 0;
    ExpectMarks(ScreenMarks(scene, Fitted(scene)),
                {{TMarkKind::Wall, {{198, 20}, {202, 20}, {202, 220}, {198, 220}}, 1, {}, 0},
                 Line(0, 20, 200, 20), Line(200, 100, 400, 100)});
}

TEST(SideViewMarks, PageMarks) {
    // A 1000 x 800 page: pr(y) = rnd(y / 115.5 x 640) + 80, so pr(10) = 135, pr(30) = 246,
    // pr(40) = 302, pr(50) = 357, pr(90) = 579; wall x = rnd(5x + 500).
    const TProfileScene scene = Furnished(10);
    const std::vector<TMark> marks = PageMarks(scene, Fitted(scene), 1000, 800);
    ASSERT_EQ(marks.size(), 26u);
    ExpectMarks({marks.begin(), marks.begin() + 9},
                {Line(100, 135, 500, 135, 12),
                 Line(500, 135, 200, 100, 12),  // 200 x 0.176327 = 35.3
                 Line(100, 246, 500, 246, 12), Text(100, 135, "Sand"), Text(100, 135, "s", 1),
                 Line(100, 579, 900, 579, 12), Text(100, 246, "Soft clay"),
                 Text(100, 246, "c", 1),
                 {TMarkKind::Wall, {{495, 135}, {505, 135}, {505, 690}, {495, 690}}, 1, {}, 0}});
    ExpectMarks({marks.begin() + 9, marks.begin() + 13},
                {Line(100, 135, 500, 135, 12), Line(500, 357, 900, 357, 12),
                 Line(500, 246, 520, 246, 15), Line(520, 246, 520, 236, 15)});
    EXPECT_EQ(marks[14], Line(500, 302, 450, 302, 15));
    EXPECT_EQ(marks[18], Line(500, 191, 600, 191, 35));  // pr(20) = 191
    // Top view labels stand 0.1 of the page height from the top.
    EXPECT_EQ(marks[20].Text, "top view");
    EXPECT_EQ(marks[20].Points[0].Y, 80);
    EXPECT_EQ(marks[21], Text(500, 80, "side view"));

    TProfileScene level = Furnished(0);
    const std::vector<TMark> hatched = PageMarks(level, Fitted(level), 1000, 800);
    EXPECT_EQ(hatched[1], Line(330, 135, 342, 205, 12));  // rnd(0.35 Ph) + 50, rnd(0.365 Ph) + 50
    EXPECT_EQ(hatched[5], Line(530, 135, 542, 205, 12));
}

TEST(SoilLabels, EveryTypeCode) {
    // As the table shows them: 8 significant digits.
    const std::vector<long double> values = {119.999999232L, 32.5, 200, 0.01};
    const struct {
        int code;
        const char* name;
        const char* parameters;
    } cases[] = {
        {1, "Soft clay", "c= 32.5; gamma= 120"},
        {2, "Stiff clay w/free water", "c= 32.5; gamma= 120"},
        {3, "Stiff clay w/o free water", "c= 32.5; gamma= 120"},
        {4, "Sand", "\u00f8= 32.5; gamma= 120"},
        {5, "Silt", "\u00f8= 32.5; c= 200; gamma= 120"},
        {6, "Rock", "compressive strength= 32.5; gamma= 120"},
        {7, "Weak Rock", "compressive strength= 32.5; gamma= 120"},
        {0, "", ""},
        {8, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SoilTypeName(c.code), c.name) << c.code;
        EXPECT_EQ(SoilParameterText(c.code, values), c.parameters) << c.code;
    }
}

// A project of 100 increments of 3.6 in (L = 360, T = 36), free height 120 in.
TProgramData& MakeProject(TWorkspace& workspace) {
    TProgramData& p = CreateDefaultProject(workspace);
    p.NumIncrements = 100;
    p.IncrementLength = 3.6L;
    p.FreeHeight = 120;
    TGridTable& soil = workspace.Table("NewSoil");
    soil.SetRowCount(2);
    soil.Cell(0, 0).SetInteger(4);
    soil.Cell(1, 0).SetFloat(10);
    soil.Cell(0, 1).SetInteger(5);
    soil.Cell(1, 1).SetFloat(25);
    const long double sand[2][3] = {{110, 30, 25}, {120, 34, 60}};
    const long double silt[2][5] = {{115, 20, 150, 0.01L, 30}, {118, 22, 175.5L, 0.01L, 40}};
    for (int row = 0; row < 2; ++row) {
        for (int c = 0; c < 3; ++c) soil.Cell(2, 0).AsTable().Cell(c, row).SetFloat(sand[row][c]);
        for (int c = 0; c < 5; ++c) soil.Cell(2, 1).AsTable().Cell(c, row).SetFloat(silt[row][c]);
    }
    workspace.Table("Soillayer").Cell(1, 0).SetInteger(5);
    workspace.Table("PYCurves").Cell(0, 0).SetInteger(50);
    workspace.Table("SoilStrength").Cell(1, 0).SetInteger(10);
    return p;
}

TEST(ProfileScene, ReadsTheProjectInItsStoredLengthUnit) {
    TWorkspace workspace;
    TProgramData& p = MakeProject(workspace);
    TProfileScene scene = ReadProfileScene(workspace);
    EXPECT_NEAR(scene.WallLength, 360, 1e-12);
    EXPECT_NEAR(scene.WallTop, 36, 1e-12);
    EXPECT_NEAR(scene.Excavation, 156, 1e-12);
    EXPECT_TRUE(scene.HasWall);
    // Never written nor read: no layers; switches off: no marks.
    EXPECT_FALSE(scene.DrawLayers);
    EXPECT_TRUE(scene.Layers.empty());
    EXPECT_TRUE(scene.Restraints.empty() && scene.PYCurves.empty() && scene.Springs.empty());

    p.ResistanceMode = 2;
    p.UseRestraints = p.UsePYCurves = p.UseSprings = 1;
    scene = ReadProfileScene(workspace);
    // English: the layer depths of 10 and 25 ft are 120 and 300 in below the wall top.
    ASSERT_EQ(scene.Layers.size(), 2u);
    EXPECT_NEAR(scene.Layers[0].Top, 36, 1e-12);
    EXPECT_NEAR(scene.Layers[0].Bottom, 156, 1e-12);
    EXPECT_NEAR(scene.Layers[1].Top, 156, 1e-12);
    EXPECT_NEAR(scene.Layers[1].Bottom, 336, 1e-12);
    EXPECT_EQ(scene.Layers[0].Name, "Sand");
    EXPECT_EQ(scene.Layers[0].Parameters, "\u00f8= 34; gamma= 120");  // the second row
    EXPECT_EQ(scene.Layers[1].Parameters, "\u00f8= 22; c= 175.5; gamma= 118");
    // Nodes 5, 50 and 10 lie at n x 3.6 + 36.
    ASSERT_EQ(scene.Restraints.size(), 1u);
    EXPECT_NEAR(scene.Restraints[0], 54, 1e-12);
    EXPECT_NEAR(scene.PYCurves[0], 216, 1e-12);
    EXPECT_NEAR(scene.Springs[0], 72, 1e-12);

    // SI keeps the table's metres; PressureMode 2 alone also draws the layers.
    p.UnitSystem = 2;
    p.ResistanceMode = 1;
    p.PressureMode = 2;
    scene = ReadProfileScene(workspace);
    ASSERT_EQ(scene.Layers.size(), 2u);
    EXPECT_NEAR(scene.Layers[1].Bottom, 61, 1e-12);
    p.PressureMode = 3;
    EXPECT_FALSE(ReadProfileScene(workspace).DrawLayers);
}

}  // namespace
}  // namespace torvex
