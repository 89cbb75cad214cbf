#pragma once

// A synthetic answer sheet at any resolution, A4 portrait or A3
// landscape as the program lays the pages, holding something for every
// framing check: a reference line, a title, an exam-number table, a block
// of choice questions, text, a corner mark and a page-number mark.

#include <QImage>
#include <QRect>
#include <QString>

namespace sheetpage {

enum class Paper { A4, A3 };

struct Sheet
{
    Paper paper = Paper::A4;
    double dpi = 200;

    QString name() const;
    QSize size() const;
    // Page pixels of a length laid out at 200 dpi.
    int px(double at200) const;
    QRect scaled(const QRectF& at200) const;

    // The page, drawn once per sheet and kept.
    const QImage& page() const;
    // The page as a scanner delivers it: the sheet a little smaller and
    // tilted by 2 degrees on a dark lid.
    const QImage& scan() const;

    // Where the page's things lie, framed as an operator frames them.
    QRect referenceLineFrame() const;
    QRect titleFrame() const;
    QRect pageMarkFrame() const;
    QRect cornerMark() const;      // the mark's ink, to cut a stored mark at
    QRect cornerMarkFrame() const; // its identical twin, framed with a margin
    QRect examNumberFrame() const; // 10 digits of 10 rows
    QRect objectiveFrame() const;  // 20 questions of 4 options
};

} // namespace sheetpage
