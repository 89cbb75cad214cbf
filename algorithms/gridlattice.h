#pragma once

// The second step of measuring a grid on its print: the lattice of the
// asked rows x columns of boxes of one size that explains the most printed
// shapes, and the level grid laid out on it (gridlayout.h).

#include "algorithms/gridlayout.h"
#include "algorithms/gridshapes.h"
#include "algorithms/optiongridparams.h"

#include <vector>

enum class LatticeFit {
    Fitted,
    NoLattice, // no rows x cols lattice lies on printed boxes in the frame
    Turned,    // no level grid lays every box within a third of one of them
};

// Groups the shapes by size, and for each size the shapes on one lattice
// (a tilt of up to 2 degrees and the turn of a photographed card allowed;
// question numbers, headers, write-in boxes and handwriting are no part of
// it), and takes the rows x cols window of that lattice whose box centres
// lie in `frame` and on which the most shapes lie. `lattice` gets where
// the window's boxes lie, numbered from its first box; `grid` the level
// grid laid out on it (layLevelGrid). Both are written only when Fitted.
LatticeFit fitLattice(const std::vector<PrintedShape>& shapes, int rows, int cols, const cv::Rect& frame,
                      PrintLattice& lattice, OptionGridParams& grid);

// How many columns the shapes of the most common size stand in, each
// holding at least two in five of `rows` of them; 0 when none does.
int columnsOfCommonBoxes(const std::vector<PrintedShape>& shapes, int rows);
