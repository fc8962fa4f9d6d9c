#include "Conversion.h"

#include <cmath>

namespace korvalin {

double roundToThousandths(double value) {
    constexpr double kWholeFrom = 4503599627370496.0; // 2^52: every double from here on is whole
    if (!(std::fabs(value) < kWholeFrom)) {
        return value;
    }
    const double scaled = value * 1000.0;
    double rounded = std::floor(scaled);
    const double remainder = scaled - rounded;
    if (remainder > 0.5 || (remainder == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    return rounded / 1000.0;
}

} // namespace korvalin
