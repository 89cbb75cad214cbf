#pragma once

// Drawing helpers for algorithm tests: pages, boxes, lines and printed
// text drawn with QPainter, and small hand-made matrices.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <opencv2/core.hpp>

#include <initializer_list>

namespace synthetic {

QImage blankPage(int width, int height, const QColor& colour = Qt::white,
                 QImage::Format format = QImage::Format_RGB32);

// Outline of `rect`, pen centred on its edges.
void drawBox(QImage& image, const QRect& rect, int penWidth = 2, const QColor& colour = Qt::black);
void fillBox(QImage& image, const QRect& rect, const QColor& colour = Qt::black);
void drawLine(QImage& image, const QPointF& from, const QPointF& to, int penWidth = 2,
              const QColor& colour = Qt::black);
// Text in a sans-serif face, `pixelSize` high, starting at the top left of
// `box` and wrapped inside it.
void drawText(QImage& image, const QRect& box, const QString& text, int pixelSize,
              const QColor& colour = Qt::black);

// rows x columns box outlines of `box` size, the first at `origin`, the
// others `pitch` apart (left edge to left edge, top edge to top edge).
// Returns the boxes row by row.
QVector<QRect> drawBoxGrid(QImage& image, const QPoint& origin, int rows, int columns,
                           const QSize& box, const QSizeF& pitch, int penWidth = 2);

// A grid of answer boxes as the cards print it, for the checks that must
// find every box.
struct PrintedGrid
{
    enum Mark {
        Brackets, // "[A]", "[0]"; dotted, drawn as two dotted brackets
        Strips,   // outlined rectangles touching side by side, A|B|C|D
        Rectangles, // separate outlined rectangles with a digit
        Bubbles,  // outlined circles or ellipses with the digit or letter inside
        Shaded,   // light grey filled boxes, the letter dark on each
    };
    enum Rules { NoRules, SolidRules, DottedRules }; // between the columns
    Mark mark = Bubbles;
    bool digits = true; // rows of digits (exam number), else option letters
    int rows = 10;
    int cols = 6;
    QPointF origin;     // top left of the first box, before any tilt
    QSizeF box;
    QSizeF pitch;
    int pen = 2;
    QColor ink = Qt::black;
    bool dotted = false;
    bool header = false;   // a dark title bar and a write-in row above the grid
    bool numbers = false;  // question numbers left of each row
    double tiltDegrees = 0.0; // turned about the first box
    QVector<QPoint> filled;   // (column, row) shaded in pencil
    Rules rules = NoRules;
    QColor stripes;           // when valid, every other column shaded so
    bool handwriting = false; // written into the write-in row, into the first row of boxes
    // The table's frame this much wider each way, with what lies in that
    // margin: handwriting (with `handwriting`), or a border beside and a
    // thick bar under the table (with `bar`).
    double loose = 0.0;
    bool bar = false;
    // A photographed card's keystone: its rows turn by this many degrees at
    // the top and by as many the other way at the bottom.
    double keystoneDegrees = 0.0;
    QColor fill = QColor(70, 70, 70); // pencil; a pen is darker and bluer

    // Where box (r, c) lies on the page, tilt included.
    QPointF centre(int r, int c) const;
    // The whole printed table, header, write-in row and numbers included.
    QRectF table() const;
};

// Draws the grid on `image`.
void drawPrintedGrid(QImage& image, const PrintedGrid& grid);

// What printing, paper and a scanner or phone do to a page: light falling
// off by `lighting` grey levels across the region, blur, grain of `noise`
// grey levels, and JPEG compression at `jpegQuality` (0: none), each the
// same for the same seed.
struct Wear
{
    double lighting = 0.0;
    double blur = 0.0; // Gaussian sigma in pixels
    double noise = 0.0;
    int jpegQuality = 0;
    unsigned seed = 1;
};

// Wears `region` of `image` (an RGB32 page) as `wear` says.
void wearPrint(QImage& image, const QRect& region, const Wear& wear);

// A white page 210 mm (A4) wide at `dpi`, a pixel higher than wide: a
// portrait page, so that the checks read its resolution from its width.
QImage a4Page(double dpi);
// A white A3 page lying, 420 x 297 mm, at `dpi`.
QImage a3Page(double dpi);

// A CV_8UC1 matrix written out row by row: greyMat({{0, 255}, {255, 0}}).
cv::Mat greyMat(std::initializer_list<std::initializer_list<int>> rows);

// A grey CV_8UC1 copy of any image.
cv::Mat toGrey(const QImage& image);

} // namespace synthetic
