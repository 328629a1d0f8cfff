#include "input/InputRanges.h"
#include "dataentry/NumberText.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace torvex::engine {
namespace {

std::string Number(double value) {
    return CNumberText(value, 8);
}

// The limits are set in kN and m (those of lengths no tighter than the dialogs allow), and
// checked in the engine's units: inches and pounds for
// English projects.
struct TScales {
    double length;    // engine length per m
    double force;     // engine force per kN
    const char* lengthName;
    const char* forceName;
};

TScales ScalesFor(int unitCode) {
    if (unitCode == 1) return {1 / 0.0254, 1 / 4.4482216152605e-3, "in", "lbs"};
    return {1, 1, "m", "kN"};
}

class TRangeCheck {
public:
    explicit TRangeCheck(int unitCode) : s_(ScalesFor(unitCode)), english_(unitCode == 1) {}

    // `low` and `high` in engine units; `unit` the name shown with them.
    void Within(double value, double low, double high, const std::string& field, const std::string& unit) const {
        if (std::isfinite(value) && value >= low && value <= high) return;
        const std::string suffix = unit.empty() ? "" : " " + unit;
        throw std::invalid_argument(field + " must be between " + Number(low) + " and " + Number(high) + suffix +
                                    "; the input gives " + Number(value) + suffix + ".");
    }
    void Length(double value, double lowMetres, double highMetres, const std::string& field) const {
        Within(value, lowMetres * s_.length, highMetres * s_.length, field, s_.lengthName);
    }
    // A quantity of force^f length^l, with its limits in kN and m.
    void Scaled(double value, double low, double high, int f, int l, const std::string& field,
                const std::string& unit) const {
        const double scale = std::pow(s_.force, f) * std::pow(s_.length, l);
        Within(value, low * scale, high * scale, field, unit);
    }
    std::string Unit(const char* english, const char* si) const { return english_ ? english : si; }

private:
    TScales s_;
    bool english_;
};

// A soil layer's parameters at its top or bottom.
void CheckSoil(const TRangeCheck& check, const TSoilValues& v, int type, const std::string& where) {
    check.Scaled(v.gamma, 0, 100, 1, -3, where + ": the unit weight", check.Unit("lbs/in^3", "kN/m^3"));
    if (type == 6 || type == 7) {
        // Rock: the uniaxial compressive strength, up to that of the strongest rock.
        check.Scaled(v.c, 0, 1e6, 1, -2, where + ": the uniaxial compressive strength", check.Unit("psi", "kPa"));
    } else {
        check.Scaled(v.c, 0, 1e4, 1, -2, where + ": the cohesion", check.Unit("psi", "kPa"));
    }
    check.Within(v.phi, 0, 89, where + ": the friction angle", "degrees");
    check.Within(v.e50, 0, 1, where + ": the strain E50", "");
    check.Scaled(v.k, 0, 1e7, 1, -3, where + ": the soil modulus k", check.Unit("lbs/in^3", "kN/m^3"));
    check.Within(v.krm, 0, 1, where + ": krm", "");
    check.Scaled(v.Eir, 0, 1e8, 1, -2, where + ": the rock mass modulus Eir", check.Unit("psi", "kPa"));
    check.Within(v.rqd, 0, 100, where + ": the RQD", "%");
}

}  // namespace

void CheckInputRanges(const TWallInput& in) {
    const TRangeCheck check(in.unitCode);
    const TBeamModel& beam = in.beam;
    check.Length(beam.n * beam.h, 0, 1000, "The wall length (increments times increment length)");
    check.Length(in.freeHeight, -1e6, 1e6, "The free height of the wall, H");
    check.Length(in.activeWidth, 0, 1200, "The width for active earth pressure calculation, Wa");
    check.Length(in.resistanceWidth, 0, 120, "The width for generating p-y soil resistance, Wp");
    check.Length(in.waterBackfill, -1e6, 1e6, "The depth to the water table in the backfill side, DWb");
    check.Length(in.waterExcavation, -1e6, 1e6, "The depth to the water table in the excavation side, DWe");
    check.Within(in.pressureFactor, 0, 1000, "The modification factor for active earth pressure", "");
    check.Within(in.backfillSlope, -89, 89, "The slope of the backfill, Beta", "degrees");
    for (size_t i = 0; i < beam.EI.size(); ++i)
        check.Scaled(beam.EI[i], 0, 1e12, 1, 2, "The flexural stiffness EI at node " + std::to_string(i),
                     check.Unit("lbs-in^2", "kN-m^2"));
    for (size_t i = 0; i < beam.kLateral.size(); ++i) {
        check.Scaled(beam.kLateral[i], 0, 1e12, 1, -1, "The lateral spring at node " + std::to_string(i),
                     check.Unit("lbs/in", "kN/m"));
        check.Scaled(beam.kRotation[i], 0, 1e14, 1, 1, "The rotational spring at node " + std::to_string(i),
                     check.Unit("lbs-in/rad", "kN-m/rad"));
    }
    for (size_t r = 0; r < in.layers.size(); ++r) {
        const TSoilLayer& layer = in.layers[r];
        const std::string name = "Soil layer " + std::to_string(r + 1);
        check.Length(layer.bottom, 0, 1e6, name + ": the depth of its bottom");
        CheckSoil(check, layer, layer.type, name + " (top)");
        CheckSoil(check, layer.atBottom, layer.type, name + " (bottom)");
    }
}

}  // namespace torvex::engine
