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

// A CV_8UC1 matrix written out row by row: greyMat({{0, 255}, {255, 0}}).
cv::Mat greyMat(std::initializer_list<std::initializer_list<int>> rows);

// A grey CV_8UC1 copy of any image.
cv::Mat toGrey(const QImage& image);

} // namespace synthetic
