#pragma once

// Geometry of a grid of equal answer boxes, in pixels of the image it was
// measured in (origin top left). Box (r, c) lies at
// (x + c * columnPitch, y + r * rowPitch) with size boxWidth x boxHeight.
// A value of 0 or less in the last four fields means "not measured".
struct OptionGridParams
{
    double x = 0.0;
    double y = 0.0;
    double boxWidth = 0.0;
    double boxHeight = 0.0;
    double columnPitch = 0.0; // left edge to left edge of neighbouring columns
    double rowPitch = 0.0;    // top edge to top edge of neighbouring rows
};

// The printed answer box of the sheets at 200 dots per inch. Single
// precision on purpose: templates hold these floats widened to double.
constexpr float standardBoxWidth = 68.0f;
constexpr float standardBoxHeight = 48.0f;
constexpr float standardColumnPitch = 109.656f;
constexpr float standardRowPitch = 80.583f;
