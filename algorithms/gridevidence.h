#pragma once

// What the judge of a measured grid (gridjudge.h) reads off the print:
// which boxes of the lattice lie on printed boxes.

#include "algorithms/gridlayout.h"
#include "algorithms/gridshapes.h"

#include <opencv2/core.hpp>

#include <array>
#include <vector>

// The boxes of one line of the lattice: how many lie on the print, and
// whether it is printed from end to end (one of its first two boxes and
// one of its last two on the print, or it is shorter than three).
struct LineOnPrint
{
    int on = 0;
    int length = 0;
    bool ends = false;
};

// Every row and column of the grid, and the four lines just beyond it:
// left, right, above, below.
struct GridOnPrint
{
    std::vector<LineOnPrint> rows;
    std::vector<LineOnPrint> columns;
    std::array<LineOnPrint, 4> beyond;
};

// Which boxes of the rows x cols grid on `lattice`, and of the lines just
// beyond it, lie on the print. A box lies on it where a found shape of
// the grid's box size lies on its place in the lattice, printed as the
// grid's boxes are (an outline, a bracket pair, a light box, a cell), or
// where the strokes there show what the grid's boxes hold in common: a
// faint, broken or partial outline, or a fill over one, is on the print;
// a question number beside the boxes is not. A line of the grid is judged
// against what its other lines hold, so that a line of something else
// taken into the grid cannot make itself the grid's print.
GridOnPrint boxesOnPrint(const std::vector<PrintedShape>& shapes, const cv::Mat& strokes, const PrintLattice& lattice,
                         int rows, int cols);
