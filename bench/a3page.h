#pragma once

// A synthetic answer sheet at the size of a 200-dpi A3 scan, for the
// benchmarks of the page checks.

#include <QImage>
#include <QRect>

namespace a3page {

constexpr int width = 3307;
constexpr int height = 2339;

// Title, text rows, boxes and a tilted 1200-pixel reference line, on a
// white RGB32 page.
QImage page();

// Where page() draws things, in page pixels.
QRect referenceLineFrame();
QRect titleFrame();
QRect pageMarkFrame();

} // namespace a3page
