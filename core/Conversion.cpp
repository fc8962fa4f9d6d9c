// SPDX-License-Identifier: GPL-3.0-or-later
#include "Conversion.h"

#include <cmath>

namespace korvalin {

double roundToThousandths(double value) {
    // From 2^43 on, neighbouring doubles lie more than a thousandth apart: there is
    // nothing left to round, and scaling by 1000 would itself move the value.
    constexpr double kNothingToRoundFrom = 8796093022208.0; // 2^43
    if (!(std::fabs(value) < kNothingToRoundFrom)) {
        return value;
    }
    // The default rounding mode rounds halves to even.
    return std::nearbyint(value * 1000.0) / 1000.0;
}

} // namespace korvalin
