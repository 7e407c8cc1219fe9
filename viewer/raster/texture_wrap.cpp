#include "raster/texture_wrap.h"

#include <cmath>

namespace maglorin {

float WrapCoordinate(float value, std::int32_t period) {
    if (period <= 0 || !std::isfinite(value)) return 0.0f;
    const double p = period;
    const double u = value;
    if (u > p) return static_cast<float>(std::fmod(u, p));        // exact: u - floor(u / p) * p
    if (u < 0.0) return static_cast<float>(std::fmod(u, p) + p);  // in (0, p]; one rounding, as the last addition
    return value;
}

}  // namespace maglorin
