#pragma once

// The grid SANE's test backend draws as its "Grid" picture: squares of
// 10 mm, black and white by turns from a white one at the top left of the
// frame, at any resolution.

#include <cmath>

namespace gridsheet {

inline bool isBlack(double dpi, int x, int y)
{
    const double square = dpi * 10 / 25.4;
    return (int(std::floor(x / square)) + int(std::floor(y / square))) % 2 == 1;
}

} // namespace gridsheet
