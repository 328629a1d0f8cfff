#pragma once
// What the side view draws, read from the project and its tables in one go: the wall's
// depths, the soil layers with their label texts, the nodes that carry restraints, external
// p-y curves and springs, and the widths of the top view. All depths are in the project's
// stored length unit (inches in English units), measured downwards in the drawing's depth
// coordinate, which starts one tenth of the wall length above the wall top.

#include <cstdint>
#include <string>
#include <vector>

namespace torvex {

class TWorkspace;

struct TSoilLayerMark {
    int32_t TypeCode = 0;
    long double Top = 0;     // drawing depth of the layer's top
    long double Bottom = 0;  // drawing depth of the layer's bottom
    std::string Name;        // first label line; empty for an unknown soil type
    std::string Parameters;  // second label line
};

struct TProfileScene {
    long double WallLength = 0;  // NumIncrements x IncrementLength
    long double WallTop = 0;     // 0.1 x the wall length
    long double Excavation = 0;  // wall top + free height
    long double FreeHeight = 0;
    bool HasWall = false;       // the wall stiffness table has a row
    bool DrawLayers = false;    // the layers came from a written or read data file
    std::vector<TSoilLayerMark> Layers;
    long double BackfillSlope = 0;  // degrees
    std::vector<long double> Restraints;  // drawing depths, only when switched on
    std::vector<long double> PYCurves;
    std::vector<long double> Springs;  // all spring rows; the drawing keeps those above E
    long double ActiveWidth = 0;
    long double ResistanceWidth = 0;
};

// The first label line of a soil type code (1 to 7); empty for any other code.
std::string SoilTypeName(int32_t typeCode);
// The second label line from the values of the second row of the layer's parameter table,
// in the order of that table's columns.
std::string SoilParameterText(int32_t typeCode, const std::vector<long double>& values);

TProfileScene ReadProfileScene(const TWorkspace& workspace);

}  // namespace torvex
