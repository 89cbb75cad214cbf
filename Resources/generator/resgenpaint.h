#pragma once

// Small drawing helpers of the resource generator.

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include <functional>

namespace resgen {

// A transparent image of `size` handed to `draw` with antialiasing on.
QImage render(const QSize& size, const std::function<void(QPainter&, const QRectF&)>& draw);

void roundBox(QPainter& p, const QRectF& r, qreal radius, const QBrush& fill, const QPen& pen);
void ellipse(QPainter& p, const QRectF& r, const QBrush& fill, const QPen& pen);
// An open arrow head pointing `way`, filling `r`.
void chevron(QPainter& p, const QRectF& r, Qt::ArrowType way, const QPen& pen);
void triangle(QPainter& p, const QRectF& r, Qt::ArrowType way, const QColor& fill);
void tick(QPainter& p, const QRectF& r, const QPen& pen);
void cross(QPainter& p, const QRectF& r, const QPen& pen);
void plusMinus(QPainter& p, const QRectF& r, bool plus, const QPen& pen);
// Three quarters of a circle with an arrow head: "turn the page".
void rotateArrow(QPainter& p, const QRectF& r, const QPen& pen);
void text(QPainter& p, const QRectF& r, const QString& content, int pixelSize, const QColor& colour,
          Qt::Alignment align);

// The larger pictures of the start and get-template pages.
void answerSheet(QPainter& p, const QRectF& r, const QColor& accent);
void scanner(QPainter& p, const QRectF& r, const QColor& accent);
void folder(QPainter& p, const QRectF& r, const QColor& accent);
void logo(QPainter& p, const QRectF& r, const QColor& accent);

} // namespace resgen
