#pragma once

// The first step of measuring a grid on its print: the shapes a candidate
// fills. A box is what is printed to be filled in, whatever the sheet
// prints it as; the letter or digit inside it, and the ruled cell around
// it, are not.

#include <opencv2/core.hpp>

#include <vector>

enum class ShapeKind {
    Outline, // a closed rim (rectangle, circle, ellipse), whatever is printed inside
    Pair,    // a bracket pair, or a mark upright on both sides ("[A]" run together)
    Filled,  // solid: a filled box, a light box with its letter, a pencil or pen mark
    Cell,    // the inside of a ruled cell with nothing box-like in it
};

struct PrintedShape
{
    cv::Rect2d box; // the print's extent, an outline's stroke included
    ShapeKind kind = ShapeKind::Outline;

    cv::Point2d centre() const { return {box.x + box.width / 2.0, box.y + box.height / 2.0}; }
};

// What the shapes are looked for at: the frame's cell (its size over the
// rows and columns asked), which bounds a box, and the page's resolution,
// which bounds the smallest mark.
struct ShapeScale
{
    cv::Size cell;
    double dpi = 200.0;
};

// Every shape of a grey crop that may be one printed box: outlines, bracket
// pairs, filled and light-filled boxes and marks, and ruled cells with
// nothing else in them; none larger than 1.3 cells or smaller than an
// eighth of one, none cut by the crop's edge. Glyphs inside a box, cells
// around one and the inside of a rim are no shapes of their own. Empty when
// the crop holds more marks than any page of boxes (a frame of noise).
// `strokes`, when given, receives the print they were found on
// (strokeInk of gridstrokes.h).
std::vector<PrintedShape> findPrintedShapes(const cv::Mat& grey, const ShapeScale& scale, cv::Mat* strokes = nullptr);

