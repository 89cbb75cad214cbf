#include "bench/a3page.h"

#include <QFont>
#include <QPainter>

#include <cmath>

namespace a3page {

namespace {

constexpr double lineTilt = 1.3; // degrees, a typical skew of a fed sheet
const QPointF lineCentre(700, 260);
constexpr double lineLength = 1200;

} // namespace

QImage page()
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Noto Sans CJK SC"));

    const double radians = lineTilt * 3.14159265358979 / 180;
    const QPointF half(lineLength / 2 * std::cos(radians), lineLength / 2 * std::sin(radians));
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(lineCentre - half, lineCentre + half);

    font.setPixelSize(64);
    painter.setFont(font);
    painter.drawText(titleFrame(), Qt::AlignCenter, QStringLiteral("期末考试答题卡"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(pageMarkFrame(), Qt::AlignCenter, QStringLiteral("第1页"));

    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 2));
    for (int row = 0; row < 40; ++row) {
        const int y = 500 + row * 42;
        painter.drawText(QPointF(1700, y), QStringLiteral("%1. 阅读下面的材料，回答问题 answer the questions").arg(row + 1));
        for (int box = 0; box < 4; ++box)
            painter.drawRect(QRect(120 + box * 110, y - 30, 68, 34));
    }
    return image;
}

QRect referenceLineFrame()
{
    const double radians = lineTilt * 3.14159265358979 / 180;
    const int halfWidth = static_cast<int>(lineLength / 2 * std::cos(radians)) + 20;
    const int halfHeight = static_cast<int>(lineLength / 2 * std::sin(radians)) + 30;
    return QRect(static_cast<int>(lineCentre.x()) - halfWidth, static_cast<int>(lineCentre.y()) - halfHeight,
                 2 * halfWidth, 2 * halfHeight);
}

QRect titleFrame()
{
    return QRect(1300, 80, 700, 120);
}

QRect pageMarkFrame()
{
    return QRect(3000, 2200, 200, 80);
}

} // namespace a3page
