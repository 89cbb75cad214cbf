#pragma once

// The end of fitting a lattice (gridlattice.h): where the boxes of the
// lattice lie on the print, and the level grid the program lays out on it.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

#include <vector>

// Where the boxes of a grid lie on the print: box (column, row) at
// at(column, row), for any index, beyond the grid's own too.
struct PrintLattice
{
    cv::Matx33d toPrint = cv::Matx33d::eye(); // (column, row, 1) to pixels
    cv::Size2d box;      // the found boxes' middle size, strokes included
    cv::Point2d scatter; // how far the found boxes lie from it, their middle

    cv::Point2d at(double column, double row) const;
};

// The lattice through found boxes of a rows x cols grid, given as lattice
// indices (column, row) and their centres: drawn in perspective (a
// photographed card) where at least six spread over two rows and two
// columns, else `affine`.
cv::Matx33d latticeThrough(const std::vector<cv::Point2d>& indices, const std::vector<cv::Point2d>& centres,
                           int rows, int cols, const cv::Matx33d& affine);

// Lays the level grid over the lattice's rows x cols boxes, each axis
// placed so that its worst box lies as close to its printed one as can
// be, with the lattice's box. False, `grid` untouched, where that is
// further than a third of a box: a card turned or bent further than a
// level grid follows.
bool layLevelGrid(const PrintLattice& lattice, int rows, int cols, OptionGridParams& grid);

// Printed sheets use one standard grid (optiongridparams.h): boxes of its
// size at 200 dpi snap onto it, measurement noise of a pixel or two must
// not move a box off it. The grid's middle stays where it was measured.
void snapToStandard(OptionGridParams& grid, int rows, int cols, float dpi);
