#pragma once

// Bracket pairs of the shape step (gridshapes.h): the box a bracketed
// letter prints, from its brackets or from the pieces the print broke it
// into.

#include "algorithms/gridshapes.h"

#include <opencv2/core.hpp>

#include <vector>

// The sizes a printed box may take in a frame, and the smallest mark.
struct BoxBounds
{
    double minBox = 0.0;
    double minSide = 0.0; // in pixels, whatever the frame
    double maxWidth = 0.0;
    double maxHeight = 0.0;
    int minMark = 2;

    bool boxSized(const cv::Rect2d& r) const
    {
        return r.width >= std::max(minBox, minSide) && r.height >= std::max(minBox, minSide) && r.width <= maxWidth
            && r.height <= maxHeight;
    }
};

// A mark that may be a bracket: opening +1 "[", -1 "]", 0 a plain stroke;
// alone when it is a bracket, not one run into its glyph.
struct Bracket
{
    cv::Rect rect;
    int opening;
    bool alone;
};

// Each closing bracket joined with the nearest opening one of its height
// to its left, as a Pair: the box they print, however wide the glyph
// between them, and not a stray stroke before the pair.
void addBracketPairs(std::vector<Bracket> brackets, const BoxBounds& bounds, std::vector<PrintedShape>& shapes);

// Marks side by side on one line with narrow gaps, joined as a Pair: "[",
// "B" and "]" in whichever pieces the print broke them into. Runs of two
// or more only.
void addPieceRuns(std::vector<cv::Rect> pieces, const BoxBounds& bounds, std::vector<PrintedShape>& shapes);
