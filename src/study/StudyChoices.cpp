#include "study/StudyChoices.h"

namespace torvex {

std::string TStudyChoice::KeyFor(int row) const {
    std::string text = key;
    if (const size_t at = text.find('#'); at != std::string::npos) text.replace(at, 1, std::to_string(row));
    return text;
}

const std::vector<TStudyChoice>& StudyChoices() {
    // Lengths and forces as the data file holds them: in, lbs, psi and pci in English units.
    static const std::vector<TStudyChoice> choices = {
        {"Free height", "FreeHeight", "L"},
        {"Wall length (number of increments)", "NumIncrements", ""},
        {"EI of a wall-stiffness row", "PileSect[#].Flexural Stiffness (EI)", "F-L^2"},
        {"Friction angle of a soil layer (deg)", "NewSoil[#].Friction Angle", ""},
        {"Cohesion of a soil layer", "NewSoil[#].Cohesive Strength", "F/L^2"},
        {"Unit weight of a soil layer", "NewSoil[#].Total Unit Weight", "F/L^3"},
        {"Uniform surcharge", "BackfillSurcharge", "F/L^2"},
        {"Lateral stiffness of a spring row", "SoilStrength[#].Lateral Spring Stiffness", "F/L"},
        {"Lateral load of a concentrated-load row", "BoundCond[#].Lateral Load", "F"},
        {"Seismic coefficient kh", "SeismicKh", ""},
    };
    return choices;
}

}  // namespace torvex
