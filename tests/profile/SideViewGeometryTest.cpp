// The side view's arithmetic, worked by hand for a wall of 100 increments of 1 with free
// height 40: wall top T = 10, excavation E = 50, half-width a = 1, extents x -1.05..1.05 and
// y 0..115.5. In a 400 x 231 client the view becomes x -100..100, y 0..115.5, so
// sx(x) = 2x + 200 and sy(y) = 2y.

#include <gtest/gtest.h>

#include "profile/ProfileMarks.h"
#include "profile/ProfileScene.h"
#include "profile/SideViewGeometry.h"
#include "project/Workspace.h"

namespace torvex {

// Failures show the mark, not its bytes.
void PrintTo(const TMark& mark, std::ostream* out) {
    *out << "kind " << static_cast<int>(mark.Kind) << " pen " << mark.Pen;
    for (const TPixel& p : mark.Points) *out << " (" << p.X << ", " << p.Y << ")";
    *out << " \"" << mark.Text << "\" line " << mark.TextLine;
}

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
TMark Shape(TMarkKind kind, std::vector<TPixel> points, int pen = 1) {
    return {kind, std::move(points), pen, {}, 0};
}

// Sand to 20 and soft clay to 80 (drawn at 30 and 90), a restraint at node 20, a p-y curve at
// node 30, springs at nodes 10, 40 (at E) and 60, a top view of Wa 5, Wp 3.
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

TEST(SideViewGeometry, ExtentsAndScalingAboutTheOrigin) {
    EXPECT_FALSE(TSideViewGeometry().Degenerate());  // starts at x -10..10, y 0..10
    const TSideViewGeometry wide = Fitted(Wall());  // r = 95.238
    EXPECT_NEAR(wide.Extents().XMax, 1.05, 1e-12);
    EXPECT_NEAR(wide.Extents().YMax, 115.5, 1e-12);
    EXPECT_NEAR(wide.View().XMin, -100, 1e-9);
    EXPECT_NEAR(wide.View().XMax, 100, 1e-9);
    EXPECT_EQ(wide.View().YMin, 0);
    EXPECT_NEAR(wide.View().YMax, 115.5, 1e-12);
    // Free height 400: a = 10; a 100 x 1100 client gives r = 0.5, and y stretches downwards
    // only.
    const TSideViewGeometry tall = Fitted(Wall(400), 100, 1100);
    EXPECT_NEAR(tall.View().XMax, 10.5, 1e-12);
    EXPECT_EQ(tall.View().YMin, 0);
    EXPECT_NEAR(tall.View().YMax, 231, 1e-9);
    EXPECT_EQ(RoundPixel(2.5L), 2);  // halves to even
    EXPECT_EQ(RoundPixel(-1e30L), -kFarPixel);
}

TEST(SideViewGeometry, DepthReadout) {
    const TSideViewGeometry geometry = Fitted(Wall());
    EXPECT_EQ(DepthCaption(*geometry.DepthAtRow(20) - 10), "  Depth: 0.0");  // the wall top
    EXPECT_EQ(DepthCaption(*geometry.DepthAtRow(100) - 10), "  Depth: 40.0");
    const std::pair<long double, const char*> cases[] = {
        {-0.04L, "0.0"},       {12.26L, "12.3"},     {-3.46L, "-3.5"},
        {99999.94L, "99999.9"}, {123456.7L, "123457.0"}, {1234567, "1.23457E6"}};
    for (const auto& [depth, text] : cases) EXPECT_EQ(DepthText(depth), text);
}

TEST(SideViewGeometry, DegenerateExtentsDrawNothingUntilAWallArrives) {
    TProfileScene empty;  // a new project: no increments, no free height
    empty.HasWall = true;
    TSideViewGeometry geometry = Fitted(empty);
    EXPECT_TRUE(geometry.Degenerate());
    EXPECT_EQ(geometry.View().XMin, -10);  // not rescaled
    EXPECT_FALSE(geometry.DepthAtRow(20).has_value());
    EXPECT_TRUE(ScreenMarks(empty, geometry).empty());
    EXPECT_TRUE(PageMarks(empty, geometry, 1000, 800).empty());
    EXPECT_TRUE(Fitted(Wall(0)).Degenerate());  // no free height, no width
    geometry.Activate(Wall());
    geometry.Resize(400, 231);
    EXPECT_EQ(ScreenMarks(Wall(), geometry).size(), 3u);  // wall, backfill, excavation
}

TEST(SideViewMarks, WindowMarksInPaintOrder) {
    const TProfileScene scene = Furnished(0);
    std::vector<TMark> expected = {Line(0, 20, 200, 20)};
    for (int k = 1; k <= 5; ++k) expected.push_back(Line(100 + 20 * k, 20, 115 + 20 * k, 25));
    const std::vector<TMark> rest = {
        Line(0, 60, 200, 60),  // the sand's bottom lies above E: backfill side only
        Text(0, 20, "Sand"), Text(0, 20, "s", 1),
        Line(0, 180, 400, 180), Text(0, 60, "Soft clay"), Text(0, 60, "c", 1),
        Shape(TMarkKind::Wall, {{198, 20}, {202, 20}, {202, 220}, {198, 220}}),
        Line(0, 20, 200, 20), Line(200, 100, 400, 100),
        Line(200, 60, 208, 60, 2), Line(208, 60, 208, 56, 2), Line(208, 60, 208, 64, 2),
        Line(200, 80, 180, 80, 2), Line(172, 80, 152, 80, 2), Line(152, 80, 160, 76, 2),
        Line(152, 80, 160, 84, 2),
        Line(200, 40, 240, 40, 5),  // only the spring above E
        // Circles at world (400, 70 + 10k), radius 3; "top view" at rnd(1000 - 1.2).
        Shape(TMarkKind::Circle, {{994, 134}, {1006, 146}}, 2), Text(999, 5, "top view"),
        Text(200, 5, "side view")};
    expected.insert(expected.end(), rest.begin(), rest.end());
    for (int k = 1; k <= 4; ++k)
        expected.push_back(Shape(TMarkKind::Circle, {{994, 134 + 20 * k}, {1006, 146 + 20 * k}}, 2));
    EXPECT_EQ(ScreenMarks(scene, Fitted(scene)), expected);
}

TEST(SideViewMarks, BackfillSlope) {
    // beta 10: 100 x tan(10 x 0.0174533) = 17.6, so the line ends at (100, 2).
    const std::pair<long double, std::vector<TMark>> cases[] = {
        {10, {Line(0, 20, 200, 20), Line(200, 20, 100, 2)}},
        {0, {Line(0, 20, 200, 20), Line(120, 20, 135, 25), Line(140, 20, 155, 25),
             Line(160, 20, 175, 25), Line(180, 20, 195, 25), Line(200, 20, 215, 25)}},
        {-10, {Line(0, 20, 200, 20)}}};
    for (const auto& [beta, slope] : cases) {
        const TProfileScene scene = Furnished(beta);
        const std::vector<TMark> marks = ScreenMarks(scene, Fitted(scene));
        std::vector<TMark> expected = slope;
        expected.push_back(Line(0, 60, 200, 60));  // then the first layer's bottom
        EXPECT_EQ(std::vector<TMark>(marks.begin(), marks.begin() + expected.size()), expected)
            << static_cast<double>(beta);
    }
}

TEST(SideViewMarks, PageMarks) {
    // A 1000 x 800 page: pr(y) = rnd(y / 115.5 x 640) + 80, so pr(10) = 135, pr(20) = 191,
    // pr(30) = 246, pr(40) = 302, pr(50) = 357, pr(90) = 579, pr(110) = 690; x = rnd(5x + 500).
    const TProfileScene scene = Furnished(10);
    const std::vector<TMark> marks = PageMarks(scene, Fitted(scene), 1000, 800);
    ASSERT_EQ(marks.size(), 26u);
    const std::vector<std::pair<size_t, TMark>> expected = {
        {0, Line(100, 135, 500, 135, 12)}, {1, Line(500, 135, 200, 100, 12)},  // 200 tan = 35.3
        {2, Line(100, 246, 500, 246, 12)}, {3, Text(100, 135, "Sand")},
        {5, Line(100, 579, 900, 579, 12)},
        {8, Shape(TMarkKind::Wall, {{495, 135}, {505, 135}, {505, 690}, {495, 690}})},
        {10, Line(500, 357, 900, 357, 12)}, {12, Line(520, 246, 520, 236, 15)},
        {14, Line(500, 302, 450, 302, 15)}, {18, Line(500, 191, 600, 191, 35)},
        {21, Text(500, 80, "side view")}};
    for (const auto& [index, mark] : expected) EXPECT_EQ(marks[index], mark) << index;
    EXPECT_EQ(marks[20].Text, "top view");
    EXPECT_EQ(marks[20].Points[0].Y, 80);  // 0.1 of the page height
    const TProfileScene level = Furnished(0);
    // Hatch k = 1: from rnd(0.35 Ph) + 50 to rnd(0.365 Ph) + 50, 70 down.
    EXPECT_EQ(PageMarks(level, Fitted(level), 1000, 800)[1], Line(330, 135, 342, 205, 12));
}

TEST(SoilLabels, EveryTypeCode) {
    // Numbers in their shortest general text form, every digit kept (the table's 8 digits
    // would show 32.123457), small and large ones in exponent form past the fixed range.
    const std::vector<long double> values = {120, 32.123456789L, 2e-5L};
    const struct {
        int code;
        const char *name, *parameters;
    } cases[] = {{1, "Soft clay", "c= 32.123456789; gamma= 120"},
                 {2, "Stiff clay w/free water", "c= 32.123456789; gamma= 120"},
                 {3, "Stiff clay w/o free water", "c= 32.123456789; gamma= 120"},
                 {4, "Sand", "\u00f8= 32.123456789; gamma= 120"},
                 {5, "Silt", "\u00f8= 32.123456789; c= 2E-5; gamma= 120"},
                 {6, "Rock", "compressive strength= 32.123456789; gamma= 120"},
                 {7, "Weak Rock", "compressive strength= 32.123456789; gamma= 120"},
                 {0, "", ""},
                 {8, "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(SoilTypeName(c.code), c.name) << c.code;
        EXPECT_EQ(SoilParameterText(c.code, values), c.parameters) << c.code;
    }
}

TEST(ProfileScene, ReadsTheProjectInItsStoredLengthUnit) {
    // 100 increments of 3.6 in: L = 360, T = 36; sand to 10 ft, silt to 25 ft.
    TWorkspace workspace;
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
    const long double silt[5] = {118, 22, 175.5L, 0.01L, 40};  // γ, φ, c, E50, k
    for (int c = 0; c < 5; ++c) soil.Cell(2, 1).AsTable().Cell(c, 1).SetFloat(silt[c]);
    workspace.Table("Soillayer").Cell(1, 0).SetInteger(5);
    workspace.Table("PYCurves").Cell(0, 0).SetInteger(50);
    workspace.Table("SoilStrength").Cell(1, 0).SetInteger(10);

    TProfileScene scene = ReadProfileScene(workspace);
    EXPECT_NEAR(scene.Excavation, 156, 1e-12);
    // Never written nor read, switches off: no layers, no marks.
    EXPECT_TRUE(scene.Layers.empty());
    EXPECT_TRUE(scene.Restraints.empty() && scene.PYCurves.empty() && scene.Springs.empty());

    p.ResistanceMode = 2;
    p.UseRestraints = p.UsePYCurves = p.UseSprings = 1;
    scene = ReadProfileScene(workspace);
    ASSERT_EQ(scene.Layers.size(), 2u);
    EXPECT_NEAR(scene.Layers[1].Top, 156, 1e-12);  // 10 ft = 120 in below the wall top
    EXPECT_NEAR(scene.Layers[1].Bottom, 336, 1e-12);
    EXPECT_EQ(scene.Layers[1].Parameters, "\u00f8= 22; c= 175.5; gamma= 118");  // second row
    EXPECT_EQ(scene.Layers[0].Parameters, "\u00f8= 0; gamma= 0");
    // Nodes 5, 50 and 10 at n x 3.6 + 36.
    EXPECT_EQ(scene.Restraints, std::vector<long double>{5 * 3.6L + 36});
    EXPECT_EQ(scene.PYCurves, std::vector<long double>{50 * 3.6L + 36});
    EXPECT_EQ(scene.Springs, std::vector<long double>{10 * 3.6L + 36});

    p.UnitSystem = 2;  // SI keeps the table's metres; PressureMode 2 alone draws layers too
    p.ResistanceMode = 1;
    p.PressureMode = 2;
    EXPECT_NEAR(ReadProfileScene(workspace).Layers[1].Bottom, 61, 1e-12);
    p.PressureMode = 3;
    EXPECT_FALSE(ReadProfileScene(workspace).DrawLayers);
}

}  // namespace
}  // namespace torvex
