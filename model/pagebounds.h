#pragma once

#include <QString>
#include <QVector>

struct PageSheet;

// Where the framing read from a template file may lie: within one page
// size of its page on every side, in finite numbers. Anything further
// was never framed on this page, and its coordinates would overflow the
// integer arithmetic of the image checks. A page without a picture is
// measured against the largest picture the program reads.
//
// Why some item of `pages` lies outside, or an empty text. Items inside
// another item (optional marks, the option grid) are measured in their
// parent's coordinates, as the file keeps them.
QString framingOutsideFault(const QVector<PageSheet>& pages);
