#include "tests/algorithms/synthetic.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
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

QRectF levelBox(const PrintedGrid& grid, int r, int c);

// Turned about the first box, then drawn in perspective: the right end of
// the top row lower by the keystone's turn, of the bottom row higher.
QTransform tilt(const PrintedGrid& grid)
{
    QTransform turn;
    turn.translate(grid.origin.x(), grid.origin.y());
    turn.rotate(grid.tiltDegrees);
    turn.translate(-grid.origin.x(), -grid.origin.y());
    if (grid.keystoneDegrees == 0.0)
        return turn;
    const QRectF span = levelBox(grid, 0, 0).united(levelBox(grid, grid.rows - 1, grid.cols - 1));
    const double drop = span.width() * std::tan(grid.keystoneDegrees * M_PI / 180.0);
    const QPolygonF level(span);
    QPolygonF seen = level;
    seen[1] += QPointF(0, drop);
    seen[2] -= QPointF(0, drop);
    QTransform keystone;
    QTransform::quadToQuad(level.mid(0, 4), seen.mid(0, 4), keystone);
    return keystone * turn;
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
        if (grid.dotted) {
            const double serif = box.height() / 4;
            painter.drawPolyline(QPolygonF({box.topLeft() + QPointF(serif, 0), box.topLeft(), box.bottomLeft(),
                                            box.bottomLeft() + QPointF(serif, 0)}));
            painter.drawPolyline(QPolygonF({box.topRight() - QPointF(serif, 0), box.topRight(), box.bottomRight(),
                                            box.bottomRight() - QPointF(serif, 0)}));
            break;
        }
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
    case PrintedGrid::Shaded:
        painter.fillRect(box, QColor(205, 205, 205));
        break;
    }
    font.setPixelSize(qRound(box.height() * 0.6));
    painter.setFont(font);
    painter.setPen(grid.ink);
    painter.drawText(box, Qt::AlignCenter, text);
}

// A word written by hand in `box`: a wavy stroke with loops, `reach`
// pixels further down at its end.
void drawScribble(QPainter& painter, const QRectF& box, double reach, int seed)
{
    QPainterPath path(QPointF(box.left(), box.center().y()));
    const int loops = 3 + seed % 3;
    for (int i = 1; i <= loops; ++i) {
        const double x = box.left() + box.width() * i / loops;
        const double y = i % 2 ? box.top() : box.bottom();
        path.quadTo(QPointF(x - box.width() / (2 * loops), y), QPointF(x, box.center().y()));
    }
    path.lineTo(QPointF(box.right() - box.width() / 4, box.bottom() + reach));
    painter.setPen(QPen(QColor(30, 40, 90), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace

QPointF PrintedGrid::centre(int r, int c) const
{
    return tilt(*this).map(levelBox(*this, r, c).center());
}

namespace {

// The printed table, level, without the loose margin.
QRectF printedTable(const PrintedGrid& grid)
{
    QRectF table = levelBox(grid, 0, 0).united(levelBox(grid, grid.rows - 1, grid.cols - 1));
    const double margin = (grid.pitch.width() - grid.box.width()) / 2 + grid.pen;
    table.adjust(-margin, -margin, margin, margin);
    if (grid.numbers)
        table.setLeft(table.left() - grid.pitch.width());
    if (grid.header)
        table.setTop(table.top() - 3 * grid.box.height());
    return table;
}

} // namespace

QRectF PrintedGrid::table() const
{
    return tilt(*this).mapRect(printedTable(*this).adjusted(-loose, -loose, loose, loose));
}

void drawPrintedGrid(QImage& image, const PrintedGrid& grid)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(tilt(grid));
    const QRectF level = printedTable(grid);
    if (grid.stripes.isValid()) {
        const double top = grid.header ? level.top() + 3 * grid.box.height() : level.top();
        for (int c = 0; c < grid.cols; c += 2) {
            const double left = levelBox(grid, 0, c).center().x() - grid.pitch.width() / 2;
            painter.fillRect(QRectF(left, top, grid.pitch.width(), level.bottom() - top), grid.stripes);
        }
    }
    if (grid.rules != PrintedGrid::NoRules) {
        painter.setPen(QPen(grid.ink, grid.pen, grid.rules == PrintedGrid::DottedRules ? Qt::DotLine : Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(level);
        for (int c = 1; c < grid.cols; ++c) {
            const double x = levelBox(grid, 0, c).center().x() - grid.pitch.width() / 2;
            painter.drawLine(QPointF(x, level.top()), QPointF(x, level.bottom()));
        }
    }
    if (grid.bar) {
        // A neighbouring table's border beside, a thick bar under the table.
        painter.fillRect(QRectF(level.left(), level.bottom() + grid.loose / 2, level.width(), grid.box.height() / 2),
                         grid.ink);
        painter.setPen(QPen(grid.ink, grid.pen));
        painter.drawLine(QPointF(level.right() + grid.loose / 2, level.top()),
                         QPointF(level.right() + grid.loose / 2, level.bottom()));
    }
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
            const QRectF write(cell.left() - 1, writeTop, grid.pitch.width() - 2, grid.box.height() * 1.4);
            painter.setPen(QPen(grid.ink, grid.pen));
            painter.drawRect(write);
            // A digit written large, its tail down into the first row of boxes.
            if (grid.handwriting)
                drawScribble(painter, write.adjusted(3, 3, -3, -3), c % 2 ? grid.box.height() : 0.0, c);
        }
    }
    if (grid.handwriting && grid.loose > 0) {
        // A signature just beside the table, where a loose frame takes it in.
        const QRectF beside(level.left(), level.bottom() + 2, level.width() * 0.7, grid.loose - 4);
        drawScribble(painter, beside, 0.0, 1);
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
    painter.setBrush(grid.fill);
    for (const QPoint& at : grid.filled) {
        QRectF box = levelBox(grid, at.y(), at.x());
        if (grid.mark == PrintedGrid::Brackets)
            box = QRectF(box.center() - QPointF(box.height() * 0.6, box.height() / 2),
                         QSizeF(box.height() * 1.2, box.height()));
        painter.drawEllipse(box.adjusted(-1, -1, 1, 1));
    }
}

void wearPrint(QImage& image, const QRect& region, const Wear& wear)
{
    const QRect area = region.intersected(image.rect());
    cv::Mat page(image.height(), image.width(), CV_8UC4, image.bits(), static_cast<size_t>(image.bytesPerLine()));
    cv::Mat part;
    page(cv::Rect(area.x(), area.y(), area.width(), area.height())).convertTo(part, CV_32FC4);
    if (wear.lighting > 0.0) {
        // Darker towards the bottom right, as a lamp beside a phone leaves it.
        for (int y = 0; y < part.rows; ++y) {
            auto* row = part.ptr<cv::Vec4f>(y);
            for (int x = 0; x < part.cols; ++x) {
                const double t = (static_cast<double>(x) / part.cols + static_cast<double>(y) / part.rows) / 2.0;
                row[x] *= static_cast<float>(1.0 - wear.lighting * t / 255.0);
            }
        }
    }
    if (wear.blur > 0.0)
        cv::GaussianBlur(part, part, cv::Size(), wear.blur);
    if (wear.noise > 0.0) {
        cv::RNG random(wear.seed);
        cv::Mat grain(part.size(), CV_32FC1);
        random.fill(grain, cv::RNG::NORMAL, 0.0, wear.noise);
        cv::Mat grains[] = {grain, grain, grain, cv::Mat::zeros(part.size(), CV_32FC1)};
        cv::Mat all;
        cv::merge(grains, 4, all);
        part += all;
    }
    cv::Mat worn;
    part.convertTo(worn, CV_8UC4);
    if (wear.jpegQuality > 0) {
        cv::Mat colour;
        cv::cvtColor(worn, colour, cv::COLOR_BGRA2BGR);
        std::vector<uchar> bytes;
        cv::imencode(".jpg", colour, bytes, {cv::IMWRITE_JPEG_QUALITY, wear.jpegQuality});
        cv::cvtColor(cv::imdecode(bytes, cv::IMREAD_COLOR), worn, cv::COLOR_BGR2BGRA);
    }
    worn.copyTo(page(cv::Rect(area.x(), area.y(), area.width(), area.height())));
}

QImage a4Page(double dpi)
{
    const int width = qRound(210.0 / 25.4 * dpi);
    return blankPage(width, width + 1);
}

QImage a3Page(double dpi)
{
    return blankPage(qRound(420.0 / 25.4 * dpi), qRound(297.0 / 25.4 * dpi));
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
