#include "tests/algorithms/synthetic.h"

#include <QFont>
#include <QPainter>
#include <QTransform>


namespace synthetic {

QImage blankPage(int width, int height, const QColor& colour, QImage::Format format)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

void drawBox(QImage& image, const QRect& rect, int penWidth, const QColor& colour)
{
    QPainter painter(&image);
    painter.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

void fillBox(QImage& image, const QRect& rect, const QColor& colour)
{
    QPainter painter(&image);
    painter.fillRect(rect, colour);
}

void drawLine(QImage& image, const QPointF& from, const QPointF& to, int penWidth, const QColor& colour)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to);
}

void drawText(QImage& image, const QRect& box, const QString& text, int pixelSize, const QColor& colour)
{
    QPainter painter(&image);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

QVector<QRect> drawBoxGrid(QImage& image, const QPoint& origin, int rows, int columns, const QSize& box,
                           const QSizeF& pitch, int penWidth)
{
    QVector<QRect> boxes;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QPoint corner(origin.x() + qRound(c * pitch.width()), origin.y() + qRound(r * pitch.height()));
            boxes.append(QRect(corner, box));
            drawBox(image, boxes.last(), penWidth);
        }
    }
    return boxes;
}

namespace {

QTransform tilt(const PrintedGrid& grid)
{
    QTransform turn;
    turn.translate(grid.origin.x(), grid.origin.y());
    turn.rotate(grid.tiltDegrees);
    turn.translate(-grid.origin.x(), -grid.origin.y());
    return turn;
}

QString label(const PrintedGrid& grid, int r, int c)
{
    return grid.digits ? QString::number(r % 10) : QString(QChar('A' + c % 26));
}

QRectF levelBox(const PrintedGrid& grid, int r, int c)
{
    return QRectF(grid.origin + QPointF(c * grid.pitch.width(), r * grid.pitch.height()), grid.box);
}

void drawMark(QPainter& painter, const PrintedGrid& grid, const QRectF& box, const QString& text)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    const Qt::PenStyle style = grid.dotted ? Qt::DotLine : Qt::SolidLine;
    painter.setPen(QPen(grid.ink, grid.pen, style, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    switch (grid.mark) {
    case PrintedGrid::Brackets:
        font.setPixelSize(qRound(box.height()));
        painter.setFont(font);
        painter.setPen(grid.ink);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("[%1]").arg(text));
        return;
    case PrintedGrid::Strips:
    case PrintedGrid::Rectangles:
        painter.drawRect(box);
        break;
    case PrintedGrid::Bubbles:
        painter.drawEllipse(box);
        break;
    }
    font.setPixelSize(qRound(box.height() * 0.6));
    painter.setFont(font);
    painter.setPen(grid.ink);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace

QPointF PrintedGrid::centre(int r, int c) const
{
    return tilt(*this).map(levelBox(*this, r, c).center());
}

QRectF PrintedGrid::table() const
{
    QRectF table = levelBox(*this, 0, 0).united(levelBox(*this, rows - 1, cols - 1));
    const double margin = (pitch.width() - box.width()) / 2 + pen;
    table.adjust(-margin, -margin, margin, margin);
    if (numbers)
        table.setLeft(table.left() - pitch.width());
    if (header)
        table.setTop(table.top() - 3 * box.height());
    return tilt(*this).mapRect(table);
}

void drawPrintedGrid(QImage& image, const PrintedGrid& grid)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(tilt(grid));
    const QRectF level = tilt(grid).inverted().mapRect(grid.table());
    if (grid.header) {
        // A dark bar and a row of tall write-in boxes above the grid.
        const QRectF bar(level.left(), level.top(), level.width(), grid.box.height());
        painter.fillRect(bar, QColor(40, 40, 40));
        painter.setPen(QPen(grid.ink, grid.pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(level);
        const double writeTop = bar.bottom() + grid.box.height() * 0.3;
        for (int c = 0; c < grid.cols; ++c) {
            const QRectF cell = levelBox(grid, 0, c);
            painter.drawRect(QRectF(cell.left() - 1, writeTop, grid.pitch.width() - 2, grid.box.height() * 1.4));
        }
    }
    for (int r = 0; r < grid.rows; ++r) {
        if (grid.numbers) {
            QFont font(QStringLiteral("Noto Sans CJK SC"));
            font.setPixelSize(qRound(grid.box.height() * 0.8));
            painter.setFont(font);
            painter.setPen(grid.ink);
            const QRectF cell = levelBox(grid, r, 0);
            painter.drawText(cell.translated(-grid.pitch.width(), 0), Qt::AlignCenter, QString::number(r + 1));
        }
        for (int c = 0; c < grid.cols; ++c)
            drawMark(painter, grid, levelBox(grid, r, c), label(grid, r, c));
    }
    // Pencil over a mark spills a little past it; a bracket pair is about
    // as wide as high.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 70, 70));
    for (const QPoint& at : grid.filled) {
        QRectF box = levelBox(grid, at.y(), at.x());
        if (grid.mark == PrintedGrid::Brackets)
            box = QRectF(box.center() - QPointF(box.height() * 0.6, box.height() / 2),
                         QSizeF(box.height() * 1.2, box.height()));
        painter.drawEllipse(box.adjusted(-1, -1, 1, 1));
    }
}

QImage a4Page(double dpi)
{
    const int width = qRound(210.0 / 25.4 * dpi);
    return blankPage(width, width + 1);
}

cv::Mat greyMat(std::initializer_list<std::initializer_list<int>> rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(rows.begin()->size()) : 0;
    cv::Mat mat(height, width, CV_8UC1, cv::Scalar(0));
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (int value : row) {
            if (c < width)
                mat.at<uchar>(r, c) = static_cast<uchar>(value);
            ++c;
        }
        ++r;
    }
    return mat;
}

cv::Mat toGrey(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat mat(grey.height(), grey.width(), CV_8UC1);
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), mat.ptr<uchar>(y));
    return mat;
}

} // namespace synthetic
