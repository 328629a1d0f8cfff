#pragma once
// The fills of the soil column by fill-pattern code: texture tiles for clay (1), sand (7),
// silt (8), strong rock (9), weak rock (10) and two more textures (11, 12), hatches for
// 2 to 6, nothing for any other code. Tiles come in a screen and a larger print size.

#include <QBrush>

namespace torvex {

enum class TPatternSize { Screen, Print };

// Whether `code` has a fill at all.
bool HasFill(int code);
// The brush for `code`: a texture drawn in its own colours, or a black hatch (drawn over
// white by the caller). Qt::NoBrush for codes without a fill.
QBrush FillBrush(int code, TPatternSize size = TPatternSize::Screen);

}  // namespace torvex
