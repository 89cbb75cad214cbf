#pragma once

// The second step of measuring a grid on its print: the lattice of the
// asked rows x columns of boxes of one size that explains the most printed
// shapes.

#include "algorithms/gridshapes.h"
#include "algorithms/optiongridparams.h"

#include <vector>

enum class LatticeFit {
    Fitted,
    NoLattice,     // no rows x cols lattice lies on printed boxes in the frame
    MoreThanAsked, // the print holds more rows or columns of them in the frame
    Turned,        // no level grid lays every box within a third of one of them
};

// Groups the shapes by size, and for each size the shapes on one lattice
// (a tilt of up to 2 degrees and the turn of a photographed card allowed;
// question numbers, headers, write-in boxes and handwriting are no part of
// it), and takes the rows x cols window of that lattice whose box centres
// lie in `frame` and on which the most shapes lie. The grid is laid out
// level, each axis placed so that its worst box lies as close to its
// printed one as can be, with the boxes' middle size; where that is
// further than a third of a box (as drawn, on the middle of its outline),
// the fit is Turned and `grid` untouched.
LatticeFit fitLattice(const std::vector<PrintedShape>& shapes, int rows, int cols, const cv::Rect& frame,
                      OptionGridParams& grid);
