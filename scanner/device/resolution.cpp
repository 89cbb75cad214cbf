#include "scanner/device/resolution.h"

#include <algorithm>
#include <cmath>

namespace {

// Half a hundredth of a dot: fixed-point values are not exact.
constexpr double slack = 0.005;

} // namespace

double chooseResolution(const OfferedValues& offered, double wanted)
{
    if (offered.isRange) {
        if (offered.low > offered.high)
            return -1;
        if (wanted <= offered.low)
            return offered.low;
        if (offered.step <= 0)
            return std::min(wanted, offered.high);
        // On the range's steps: the first at or above, else the last below.
        const double steps = std::ceil((wanted - offered.low) / offered.step - slack);
        const double above = offered.low + steps * offered.step;
        if (above <= offered.high + slack)
            return above;
        return offered.low + std::floor((offered.high - offered.low) / offered.step + slack) * offered.step;
    }
    double atOrAbove = -1;
    double highest = -1;
    for (double value : offered.listed) {
        if (value <= 0)
            continue;
        if (value >= wanted - slack && (atOrAbove < 0 || value < atOrAbove))
            atOrAbove = value;
        highest = std::max(highest, value);
    }
    return atOrAbove > 0 ? atOrAbove : highest;
}
