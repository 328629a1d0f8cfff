#include "design/HydraulicHeave.h"

#include <algorithm>

#include "soil/Seepage.h"

namespace torvex::engine {

THydraulicHeave HydraulicHeaveCheck(const TWallInput& in, double gammaDst, double gammaStb) {
    THydraulicHeave heave;
    const TSeepage seepage = WallSeepage(in);
    const double toe = in.beam.n * in.beam.h, H = in.freeHeight;
    if (!seepage.Flows() || in.layers.empty() || !(toe > H)) return heave;
    // The soil from H to the toe, piece by piece between layer boundaries: the unit weight is
    // linear in each, so the trapezoid rule is exact.
    double stress = in.gammaWater * std::max(H - in.waterExcavation, 0.0);
    for (size_t k = 0; k < in.layers.size(); ++k) {
        const TSoilLayer& layer = in.layers[k];
        const double a = std::max(k == 0 ? 0.0 : in.layers[k - 1].bottom, H);
        const double b = k + 1 == in.layers.size() ? toe : std::min(layer.bottom, toe);
        if (!(b > a)) continue;
        // Below its bottom the last layer keeps its bottom value.
        const double end = std::min(b, std::max(layer.bottom, a));
        stress += 0.5 * (layer.GammaAt(a) + layer.GammaAt(end)) * (end - a) + layer.GammaAt(b) * (b - end);
    }
    heave.applies = true;
    heave.gradient = seepage.gradient;
    heave.toePorePressure = seepage.PoreFront(toe);
    heave.toeTotalStress = stress;
    heave.utilisation = stress > 0 ? gammaDst * heave.toePorePressure / (gammaStb * stress) : 0.0;
    return heave;
}

}  // namespace torvex::engine
