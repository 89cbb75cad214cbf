#include "tests/algorithms/synthetic.h"

#include <QFont>
#include <QPainter>

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
