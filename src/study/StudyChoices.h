#pragma once
// The inputs the Parametric Study window offers, each with the key the engine's study takes
// (engine/parametric/StudyKey.h), whether it needs a table row, and the unit string of its
// values in the data file's units.

#include <string>
#include <vector>

namespace torvex {

struct TStudyChoice {
    std::string label;       // as the window lists it
    std::string key;         // the study key; "#" stands for the row
    std::string unitString;  // "L", "F-L^2", ... ("" for none)
    bool NeedsRow() const { return key.find('#') != std::string::npos; }
    // The key with the row filled in (rows from 1).
    std::string KeyFor(int row) const;
};

const std::vector<TStudyChoice>& StudyChoices();

}  // namespace torvex
