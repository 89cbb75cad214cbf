#include "bench/sheetpage.h"

#include <QFont>
#include <QMap>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace sheetpage {

namespace {

// The layout, in pixels of a 200-dpi page; A3 repeats the text on its
// right half.
constexpr double lineTilt = 1.3; // degrees, a typical skew of a fed sheet
const QPointF lineCentre(700, 260);
constexpr double lineLength = 1200;
const QRectF title(450, 70, 700, 120);
const QPointF examTable(120, 400);
constexpr int examColumns = 10;
constexpr double examColumnPitch = 47;
constexpr double examRowPitch = 34;
const QPointF objective(780, 420);
const QSizeF optionBox(68, 48);
constexpr double optionPitch = 109.656;
constexpr double questionPitch = 80.583;
const QRectF pageMark(1350, 2200, 200, 80);
const QRectF cornerMarkAt(120, 2200, 47, 24);
const QRectF cornerTwinAt(1050, 2200, 47, 24);

QRectF examTableRect()
{
    return QRectF(examTable, QSizeF(examColumns * examColumnPitch, 60 + 10 * examRowPitch + 10));
}

void drawText(QPainter& painter, double left, int rows)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 2));
    for (int row = 0; row < rows; ++row)
        painter.drawText(QPointF(left, 900 + row * 42),
                         QStringLiteral("%1. 阅读下面的材料，回答问题").arg(row + 1));
}

void drawExamTable(QPainter& painter)
{
    const QRectF table = examTableRect();
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(table);
    painter.drawLine(QPointF(table.left(), table.top() + 50), QPointF(table.right(), table.top() + 50));
    for (int c = 1; c < examColumns; ++c) {
        const double x = table.left() + c * examColumnPitch;
        painter.drawLine(QPointF(x, table.top()), QPointF(x, table.bottom()));
    }
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QPen(QColor(236, 120, 140), 2));
    for (int c = 0; c < examColumns; ++c) {
        for (int r = 0; r < 10; ++r) {
            const QRectF bubble(table.left() + c * examColumnPitch + 9.5, table.top() + 60 + r * examRowPitch, 28, 25);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }
}

void drawObjective(QPainter& painter)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(32);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 2));
    for (int row = 0; row < 20; ++row) {
        for (int box = 0; box < 4; ++box) {
            const QRectF rect(objective + QPointF(box * optionPitch, row * questionPitch), optionBox);
            painter.drawRect(rect);
            painter.drawText(rect, Qt::AlignCenter, QString(QChar('A' + box)));
        }
    }
}

QImage draw(const Sheet& sheet)
{
    QImage image(sheet.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(sheet.dpi / 200, sheet.dpi / 200);

    const double radians = lineTilt * M_PI / 180;
    const QPointF half(lineLength / 2 * std::cos(radians), lineLength / 2 * std::sin(radians));
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(lineCentre - half, lineCentre + half);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(64);
    painter.setFont(font);
    painter.drawText(title, Qt::AlignCenter, QStringLiteral("期末考试答题卡"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(pageMark, Qt::AlignCenter, QStringLiteral("第1页"));
    painter.fillRect(cornerMarkAt, Qt::black);
    painter.fillRect(cornerTwinAt, Qt::black);

    drawExamTable(painter);
    drawObjective(painter);
    drawText(painter, 120, 28);
    if (sheet.paper == Paper::A3) {
        drawText(painter, 1750, 28);
        drawText(painter, 2500, 28);
    }
    return image;
}

QImage scanOf(const QImage& page)
{
    QImage image(page.size(), QImage::Format_RGB32);
    image.fill(QColor(20, 20, 20));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(page.width() / 2.0, page.height() / 2.0);
    painter.rotate(2.0);
    painter.scale(0.93, 0.93);
    painter.translate(-page.width() / 2.0, -page.height() / 2.0);
    painter.drawImage(0, 0, page);
    return image;
}

const QImage& cached(const Sheet& sheet, bool scanned)
{
    static QMap<QString, QImage> pages;
    const QString key = sheet.name() + (scanned ? QStringLiteral(" scan") : QString());
    auto found = pages.find(key);
    if (found == pages.end())
        found = pages.insert(key, scanned ? scanOf(sheet.page()) : draw(sheet));
    return *found;
}

} // namespace

QString Sheet::name() const
{
    return QStringLiteral("%1 %2 dpi").arg(paper == Paper::A4 ? QStringLiteral("A4") : QStringLiteral("A3")).arg(dpi);
}

QSize Sheet::size() const
{
    // A4 portrait 210 x 297 mm; A3 landscape 420 x 297 mm.
    const double width = paper == Paper::A4 ? 210 : 420;
    return QSize(qRound(width * dpi / 25.4), qRound(297 * dpi / 25.4));
}

int Sheet::px(double at200) const
{
    return qRound(at200 * dpi / 200);
}

QRect Sheet::scaled(const QRectF& at200) const
{
    return QTransform::fromScale(dpi / 200, dpi / 200).mapRect(at200).toRect();
}

const QImage& Sheet::page() const
{
    return cached(*this, false);
}

const QImage& Sheet::scan() const
{
    return cached(*this, true);
}

QRect Sheet::referenceLineFrame() const
{
    const double radians = lineTilt * M_PI / 180;
    const double halfWidth = lineLength / 2 * std::cos(radians) + 20;
    const double halfHeight = lineLength / 2 * std::sin(radians) + 30;
    return scaled(QRectF(lineCentre.x() - halfWidth, lineCentre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight));
}

QRect Sheet::titleFrame() const
{
    return scaled(title);
}

QRect Sheet::pageMarkFrame() const
{
    return scaled(pageMark);
}

QRect Sheet::cornerMark() const
{
    return scaled(cornerMarkAt);
}

QRect Sheet::cornerMarkFrame() const
{
    return scaled(cornerTwinAt.adjusted(-20, -20, 20, 20));
}

QRect Sheet::examNumberFrame() const
{
    return scaled(examTableRect().adjusted(-20, -20, 20, 20));
}

QRect Sheet::objectiveFrame() const
{
    const QSizeF block(3 * optionPitch + optionBox.width(), 19 * questionPitch + optionBox.height());
    return scaled(QRectF(objective, block).adjusted(-30, -30, 30, 30));
}

} // namespace sheetpage
