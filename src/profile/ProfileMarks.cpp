#include "profile/ProfileMarks.h"

#include <cmath>
#include <functional>

#include "profile/ProfileScene.h"
#include "profile/SideViewGeometry.h"

namespace torvex {
namespace {

constexpr long double kRadiansPerDegree = 0.0174533L;

// Where the window and the page differ: the row of a depth, the column of a wall corner, the
// ends of the lines that run across, the place of the labels, the slope and hatch marks, the
// pens, and the top view.
struct TSurface {
    int Width = 0;  // W on screen, Pw on paper: the base of the marker fractions
    std::function<int(long double)> Row;
    std::function<int(long double)> Column;
    int Left = 0, Right = 0;  // ends of the lines that run to the edges
    int LabelX = 0;
    long double SlopeRun = 0;  // the slope line's end, as a fraction of the width
    std::function<TPixel(int k, bool end)> Hatch;
    int SurfacePen = 1, MarkerPen = 2, SpringPen = 5, TopViewPen = 2;
    std::function<void(const TProfileScene&, std::vector<TMark>&)> TopView;
};

int At(int width, long double fraction) { return RoundPixel(fraction * width); }

void AddLine(std::vector<TMark>& marks, TPixel from, TPixel to, int pen) {
    marks.push_back({TMarkKind::Line, {from, to}, pen, {}, 0});
}

void AddText(std::vector<TMark>& marks, TPixel at, std::string text, int line = 0) {
    marks.push_back({TMarkKind::Text, {at}, 1, std::move(text), line});
}

void AddTopView(std::vector<TMark>& marks, const std::vector<TPixel>& boxes, TPixel topLabel,
                TPixel sideLabel, int pen) {
    for (size_t k = 0; k + 1 < boxes.size(); k += 2) {
        marks.push_back({TMarkKind::Circle, {boxes[k], boxes[k + 1]}, pen, {}, 0});
        if (k == 0) {
            AddText(marks, topLabel, "top view");
            AddText(marks, sideLabel, "side view");
        }
    }
}

std::vector<TMark> Marks(const TProfileScene& scene, const TSideViewGeometry& geometry,
                         const TSurface& s) {
    std::vector<TMark> marks;
    const int half = At(s.Width, 0.5L);
    const int top = s.Row(scene.WallTop);

    // Soil layers, with the backfill surface along the first one.
    if (scene.DrawLayers) {
        for (size_t i = 0; i < scene.Layers.size(); ++i) {
            const TSoilLayerMark& layer = scene.Layers[i];
            if (i == 0) {
                AddLine(marks, {s.Left, top}, {half, top}, s.SurfacePen);
                const long double beta = scene.BackfillSlope;
                if (beta > 0) {
                    const long double run = s.SlopeRun * s.Width;
                    AddLine(marks, {half, top},
                            {RoundPixel(run),
                             top - RoundPixel(run * std::tan(beta * kRadiansPerDegree))},
                            s.SurfacePen);
                } else if (beta == 0) {
                    for (int k = 1; k <= 5; ++k)
                        AddLine(marks, s.Hatch(k, false), s.Hatch(k, true), s.SurfacePen);
                }
            }
            const int bottom = s.Row(layer.Bottom);
            AddLine(marks, {s.Left, bottom},
                    {layer.Bottom >= scene.Excavation ? s.Right : half, bottom}, s.SurfacePen);
            if (!layer.Name.empty()) {
                AddText(marks, {s.LabelX, s.Row(layer.Top)}, layer.Name, 0);
                AddText(marks, {s.LabelX, s.Row(layer.Top)}, layer.Parameters, 1);
            }
        }
    }

    // The wall.
    for (const TWallElement& element : geometry.Elements()) {
        TMark wall{TMarkKind::Wall, {}, 1, {}, 0};
        for (const TWorldPoint& corner : element)
            wall.Points.push_back({s.Column(corner.X), s.Row(corner.Y)});
        marks.push_back(std::move(wall));
    }

    // Backfill and excavation surfaces.
    AddLine(marks, {s.Left, top}, {half, top}, s.SurfacePen);
    const int excavation = s.Row(scene.Excavation);
    AddLine(marks, {half, excavation}, {s.Right, excavation}, s.SurfacePen);

    const int d = At(s.Width, 0.01L);
    for (long double depth : scene.Restraints) {
        const int r = s.Row(depth);
        const int x = At(s.Width, 0.52L);
        AddLine(marks, {half, r}, {x, r}, s.MarkerPen);
        AddLine(marks, {x, r}, {x, r - d}, s.MarkerPen);
        AddLine(marks, {x, r}, {x, r + d}, s.MarkerPen);
    }
    for (long double depth : scene.PYCurves) {
        const int r = s.Row(depth);
        const int tip = At(s.Width, 0.38L);
        const int barb = At(s.Width, 0.4L);
        AddLine(marks, {half, r}, {At(s.Width, 0.45L), r}, s.MarkerPen);
        AddLine(marks, {At(s.Width, 0.43L), r}, {tip, r}, s.MarkerPen);
        AddLine(marks, {tip, r}, {barb, r - d}, s.MarkerPen);
        AddLine(marks, {tip, r}, {barb, r + d}, s.MarkerPen);
    }
    // Springs below the excavation level are the soil's business and are not marked.
    for (long double depth : scene.Springs)
        if (depth < scene.Excavation)
            AddLine(marks, {half, s.Row(depth)}, {At(s.Width, 0.6L), s.Row(depth)}, s.SpringPen);

    if (scene.ActiveWidth > 0 && scene.ResistanceWidth > 0) s.TopView(scene, marks);
    return marks;
}

}  // namespace

std::vector<TMark> ScreenMarks(const TProfileScene& scene, const TSideViewGeometry& geometry) {
    if (geometry.Degenerate()) return {};
    const int width = geometry.Width();
    TSurface s;
    s.Width = width;
    s.Row = [&](long double y) { return geometry.Sy(y); };
    s.Column = [&](long double x) { return geometry.Sx(x); };
    s.Left = 0;
    s.Right = width;
    s.LabelX = 0;
    s.SlopeRun = 0.25L;
    s.Hatch = [&](int k, bool end) {
        const int row = geometry.Sy(scene.WallTop);
        return end ? TPixel{115 + 20 * k, row + 5} : TPixel{100 + 20 * k, row};
    };
    s.TopView = [&](const TProfileScene& sc, std::vector<TMark>& marks) {
        std::vector<TPixel> boxes;
        for (int k = 0; k <= 4; ++k) {
            const long double cx = 400;
            const long double cy = 70 + 2 * sc.ActiveWidth * k;
            const long double r = sc.ResistanceWidth;
            boxes.push_back({geometry.Sx(cx - r), geometry.Sy(cy - r)});
            boxes.push_back({geometry.Sx(cx + r), geometry.Sy(cy + r)});
        }
        const long double boxWidth = boxes[1].X - boxes[0].X;
        const long double centre = (boxes[0].X + boxes[1].X) / 2.0L;
        AddTopView(marks, boxes, {RoundPixel(centre - 0.1L * boxWidth), 5},
                   {At(width, 0.5L), 5}, s.TopViewPen);
    };
    return Marks(scene, geometry, s);
}

std::vector<TMark> PageMarks(const TProfileScene& scene, const TSideViewGeometry& geometry,
                             int pageWidth, int pageHeight) {
    if (geometry.Degenerate()) return {};
    const TWorldRect view = geometry.View();
    TSurface s;
    s.Width = pageWidth;
    s.Row = [&](long double y) {
        return RoundPixel((y - view.YMin) / (view.YMax - view.YMin) * pageHeight * 0.8L) +
               At(pageHeight, 0.1L);
    };
    s.Column = [&](long double x) {
        return RoundPixel((x - view.XMin) / (view.XMax - view.XMin) * pageWidth);
    };
    s.Left = At(pageWidth, 0.1L);
    s.Right = At(pageWidth, 0.9L);
    s.LabelX = At(pageWidth, 0.1L);
    s.SlopeRun = 0.2L;
    s.Hatch = [&](int k, bool end) {
        const int row = s.Row(scene.WallTop);
        return end ? TPixel{At(pageHeight, 0.365L) + 50 * k, row + 70}
                   : TPixel{At(pageHeight, 0.35L) + 50 * k, row};
    };
    s.SurfacePen = 12;
    s.MarkerPen = 15;
    s.SpringPen = 35;
    s.TopViewPen = 12;
    // On paper the five wall units keep the window's proportions (centres 2 Wa apart, radius
    // Wp) and are scaled to fill a column 0.2 of the page high at 0.8 of its width, under the
    // labels that stand at 0.1 of the page height.
    s.TopView = [&](const TProfileScene& sc, std::vector<TMark>& marks) {
        const long double wa = sc.ActiveWidth;
        const long double wp = sc.ResistanceWidth;
        const long double scale = 0.2L * pageHeight / (8 * wa + 2 * wp);
        const long double cx = 0.8L * pageWidth;
        const long double firstTop = 0.15L * pageHeight;
        std::vector<TPixel> boxes;
        for (int k = 0; k <= 4; ++k) {
            const long double cy = firstTop + (wp + 2 * wa * k) * scale;
            boxes.push_back({RoundPixel(cx - wp * scale), RoundPixel(cy - wp * scale)});
            boxes.push_back({RoundPixel(cx + wp * scale), RoundPixel(cy + wp * scale)});
        }
        const long double boxWidth = boxes[1].X - boxes[0].X;
        const int labelRow = At(pageHeight, 0.1L);
        AddTopView(marks, boxes, {RoundPixel(cx - 0.1L * boxWidth), labelRow},
                   {At(pageWidth, 0.5L), labelRow}, s.TopViewPen);
    };
    return Marks(scene, geometry, s);
}

}  // namespace torvex
