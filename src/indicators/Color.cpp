#include "indicators/Color.h"

#include <cmath>

namespace cotalys {

namespace {

int BlendChannel(int A, int B, double AWeight) {
    // nearbyint follows the default rounding mode, round half to even.
    return static_cast<int>(std::nearbyint(A * AWeight + B * (1.0 - AWeight)));
}

}  // namespace

TColor BlendColors(TColor A, TColor B, double AWeight) {
    const double t = AWeight > 1 ? 1.0 : (AWeight > 0 ? AWeight : 0.0);
    return ColorFromRGB(BlendChannel(RedOf(A), RedOf(B), t),
                        BlendChannel(GreenOf(A), GreenOf(B), t),
                        BlendChannel(BlueOf(A), BlueOf(B), t));
}

}  // namespace cotalys
