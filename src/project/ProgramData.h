#pragma once
// The project: the scalar values of one wall problem, its option switches, the stage counters
// and the file names in use. The tabular input is not copied here: it lives in the input
// tables of the workspace, which the project reads and writes by their component names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "project/OptionBlock.h"

namespace torvex {

class TWorkspace;

inline constexpr const char* kNewProjectFileName = "NewWall.tx4d";

class TProgramData {
public:
    // Fields in declaration order. Lengths are stored in the small length unit (in for
    // English units), pressures per square small length unit.
    int32_t UnitSystem = 1;  // 1 English, 2 SI, 3 Other
    std::string FileName = kNewProjectFileName;
    std::string StageFileName;
    std::string SaveTarget;
    std::string PreviousFileName;
    std::string Title = "New Wall";
    int32_t PressureMode = 0;    // 0 none, 1 user distributed load, 2/3 generated
    int32_t ResistanceMode = 0;  // 0 none, 1 external p-y curves only, 2 generated p-y curves
    int32_t MEICurveCount = 0;
    int32_t NumIncrements = 0;
    long double IncrementLength = 0;
    long double MaxDeflection = 100;
    long double ClosureTolerance = 0.00001L;
    long double FreeHeight = 0;
    long double BackfillSurcharge = 0;
    long double WaterDepthBackfill = 0;
    long double WaterDepthExcavation = 0;
    long double PressureFactor = 1.0L;
    // Distance X, point load, line load, strip load, strip width W (older file formats).
    std::array<long double, 5> LegacySurcharge{};
    uint8_t UsePYCurves = 0;
    uint8_t UseMEICurves = 0;
    uint8_t UsePYModifiers = 0;
    uint8_t UseDistributedLoad = 0;
    uint8_t UseConcentratedLoads = 0;
    uint8_t UseSprings = 0;
    uint8_t UseSurcharges = 0;
    int32_t ConfigOption = 1;
    uint8_t UseRestraints = 0;
    uint8_t UseLongTerm = 0;
    int32_t GeneratedPressure = 0;
    int32_t EarthPressureOption = 0;  // 1 user input, 2 triangular, 3 trapezoidal
    int32_t GenerateCurves = 1;
    int32_t StageCount = 1;
    int32_t LongTermMarker = 0;  // 9 when the data file holds a long-term block
    int32_t CurrentStage = 1;
    long double BackfillSlope = 0;  // degrees
    long double ActiveWidth = 0;
    long double ResistanceWidth = 0;
    // The settings of the option block after the data file's last line; defaults when the
    // file has none. They belong to the project: stage files do not carry them.
    TProjectOptions Options;
    uint8_t FullFormat = 1;  // 0 only while older-format stage files are converted
    // Not saved: for each stage file split from the opened data file, the lines of that file
    // before the stage, so that messages about a stage name the line of the data file; 0
    // once the program has written the stage file itself.
    std::array<size_t, 5> StageLineOffsets{};
};

// Replaces the workspace's project by a default one: closes the child windows, switches every
// table to English units, empties every table to its minimum rows and marks all as saved.
TProgramData& CreateDefaultProject(TWorkspace& workspace);
// The same with every table empty, for a reader to fill.
TProgramData& CreateEmptyProject(TWorkspace& workspace);

}  // namespace torvex
