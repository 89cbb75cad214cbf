// The line step: a framed printed line is accepted at any small tilt, its
// tilt measured and the page straightened by it; anything that is not a
// long continuous line is refused without touching the caller's values.

#include "algorithms/conversions.h"
#include "algorithms/linecheck.h"
#include "tests/algorithms/synthetic.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;
const QPointF pageCentre(900, 500);

QImage pageWithLine(double tiltDegrees, int length = 1200, const QPointF& centre = pageCentre)
{
    QImage page = synthetic::blankPage(1800, 1000);
    const QPointF half(length / 2.0 * std::cos(tiltDegrees * degree), length / 2.0 * std::sin(tiltDegrees * degree));
    synthetic::drawLine(page, centre - half, centre + half, 3);
    return page;
}

// The frame an operator would draw around a line: a margin all round.
QRectF frameAround(double tiltDegrees, int length = 1200, const QPointF& centre = pageCentre)
{
    const double halfWidth = length / 2.0 * std::cos(tiltDegrees * degree) + 20;
    const double halfHeight = length / 2.0 * std::abs(std::sin(tiltDegrees * degree)) + 30;
    return QRectF(centre.x() - halfWidth, centre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

// Darkness-weighted mean row of the ink in a band of columns.
double inkRow(const QImage& image, int fromX, int toX, int fromY, int toY)
{
    double weighted = 0;
    double total = 0;
    for (int y = fromY; y <= toY; ++y) {
        for (int x = fromX; x <= toX; ++x) {
            const double ink = 255 - qGray(image.pixel(x, y));
            weighted += ink * y;
            total += ink;
        }
    }
    return total > 0 ? weighted / total : -1;
}

double measuredTilt(const QImage& page, const QRectF& frame)
{
    const cv::Mat region = QImageToCvMat(page, true)(qRectFToCvRect(frame)).clone();
    double angle = 99;
    EXPECT_TRUE(getLineAngle(region, &angle));
    return angle;
}

struct CheckResult
{
    bool accepted = false;
    QPixmap rotated;
    QRectF frame;
    QVector<QRectF> lines;
};

CheckResult runCheck(const QImage& page, const QRectF& frame, const QVector<QRectF>& lines = {})
{
    CheckResult result;
    result.frame = frame;
    result.lines = lines;
    result.accepted = checkLine(QPixmap::fromImage(page), &result.rotated, &result.frame, &result.lines);
    return result;
}

} // namespace

TEST(LineCheck, acceptsAndLevelsALineAtAnySmallTilt)
{
    QVector<double> tilts;
    for (double tilt = -4.5; tilt <= 4.5 + 1e-9; tilt += 0.25)
        tilts.append(tilt);
    tilts << 0.3 << -0.3 << 0.5 << 1.5 << 3.5 << 4.9 << -4.9;
    for (double tilt : tilts) {
        SCOPED_TRACE(testing::Message() << "tilt " << tilt);
        const QImage page = pageWithLine(tilt);
        const QRectF frame = frameAround(tilt);
        EXPECT_NEAR(measuredTilt(page, frame), tilt, 0.1);

        const CheckResult result = runCheck(page, frame);
        ASSERT_TRUE(result.accepted);
        ASSERT_EQ(result.rotated.size(), page.size());
        const QImage straight = result.rotated.toImage();
        // Both ends of the straightened line, 20 pixels in from its tips.
        const int cx = static_cast<int>(pageCentre.x());
        const int cy = static_cast<int>(pageCentre.y());
        const double left = inkRow(straight, cx - 580, cx - 570, cy - 60, cy + 60);
        const double right = inkRow(straight, cx + 570, cx + 580, cy - 60, cy + 60);
        EXPECT_NEAR(left, right, 2.0);
        EXPECT_NEAR(left, pageCentre.y(), 2.0);
        // The turned frame still holds the line.
        EXPECT_LT(result.frame.top(), left);
        EXPECT_GT(result.frame.bottom(), left);
        EXPECT_EQ(result.frame, result.frame.toRect());
    }
}

TEST(LineCheck, measuresAThickLineThatTextStandsOn)
{
    // "姓名____" on a real sheet: letters touch the line along half its
    // length, and the scan adds specks.
    for (double tilt : {-4.4, 0.3, 2.2}) {
        SCOPED_TRACE(testing::Message() << "tilt " << tilt);
        QImage page = synthetic::blankPage(1800, 1000);
        {
            QPainter painter(&page);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(Qt::black, 9, Qt::SolidLine, Qt::FlatCap));
            const QPointF half(600 * std::cos(tilt * degree), 600 * std::sin(tilt * degree));
            painter.drawLine(pageCentre - half, pageCentre + half);
            QFont font(QStringLiteral("Noto Sans CJK SC"));
            font.setPixelSize(30);
            painter.setFont(font);
            painter.translate(pageCentre);
            painter.rotate(tilt);
            painter.drawText(QPointF(-500, -4), QStringLiteral("姓名 班级 考号 Name Class 12345"));
        }
        for (int i = 0; i < 3000; ++i)
            page.setPixel((i * 7919) % 1800, (i * 104729) % 1000, qRgb(0, 0, 0));
        QRectF frame = frameAround(tilt);
        frame.adjust(0, -20, 0, 20);
        EXPECT_NEAR(measuredTilt(page, frame), tilt, 0.1);
    }
}

TEST(LineCheck, takesTheMeanTiltOfSeveralLines)
{
    QImage page = synthetic::blankPage(1800, 1000);
    synthetic::drawLine(page, QPointF(300, 400), QPointF(1500, 400), 3);
    const QPointF half(600 * std::cos(4 * degree), 600 * std::sin(4 * degree));
    synthetic::drawLine(page, QPointF(900, 560) - half, QPointF(900, 560) + half, 3);
    EXPECT_NEAR(measuredTilt(page, QRectF(280, 360, 1240, 260)), 2.0, 0.1);
}

TEST(LineCheck, refusesWhatIsNotALongContinuousLevelLine)
{
    struct Case
    {
        const char* what;
        QImage page;
        QRectF frame;
    };
    QImage dotted = synthetic::blankPage(1800, 1000);
    QImage dashed = dotted;
    {
        QPainter painter(&dotted);
        painter.setPen(QPen(Qt::black, 3, Qt::DotLine, Qt::FlatCap));
        painter.drawLine(QPointF(300, 500), QPointF(1500, 510));
    }
    {
        QPainter painter(&dashed);
        painter.setPen(QPen(Qt::black, 3, Qt::DashLine, Qt::FlatCap));
        painter.drawLine(QPointF(300, 500), QPointF(1500, 500));
    }
    QImage textRow = synthetic::blankPage(1800, 1000);
    synthetic::drawText(textRow, QRect(300, 480, 1300, 60), QStringLiteral("一二三四五六七八九十 answer sheet 一二三四五六七八九十"), 40);

    const Case cases[] = {
        {"tilted 5.5 degrees", pageWithLine(5.5), frameAround(5.5)},
        {"tilted -6 degrees", pageWithLine(-6), frameAround(-6)},
        {"blank frame", pageWithLine(0), QRectF(300, 100, 1200, 80)},
        {"frame narrower than a line must be", pageWithLine(1), QRectF(850, 450, 90, 100)},
        {"line short for its frame", pageWithLine(0, 150), QRectF(400, 450, 1000, 100)},
        {"dotted line", dotted, QRectF(280, 470, 1240, 70)},
        {"dashed line", dashed, QRectF(280, 470, 1240, 60)},
        {"row of text", textRow, QRectF(280, 460, 1340, 100)},
    };
    const QVector<QRectF> lines{QRectF(10, 20, 300, 8)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CheckResult result = runCheck(c.page, c.frame, lines);
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(result.frame, c.frame);
        EXPECT_EQ(result.lines, lines);
        EXPECT_TRUE(result.rotated.isNull());
    }
}

TEST(LineCheck, earlierLinesFollowThePicture)
{
    // A dark square stands for an earlier framed line: after the turn its
    // returned rectangle must still sit on it.
    QImage page = pageWithLine(3);
    const QRect square(200, 120, 60, 60);
    synthetic::fillBox(page, square);
    const CheckResult result = runCheck(page, frameAround(3), {QRectF(square)});
    ASSERT_TRUE(result.accepted);
    ASSERT_EQ(result.lines.size(), 1);
    const QRect moved = result.lines[0].toRect().adjusted(6, 6, -6, -6);
    const QImage straight = result.rotated.toImage();
    for (const QPoint& corner : {moved.topLeft(), moved.topRight(), moved.bottomLeft(), moved.bottomRight()})
        EXPECT_LT(qGray(straight.pixel(corner)), 64) << corner.x() << "," << corner.y();
    // The turn is counter-clockwise: a point left of the centre moves down.
    EXPECT_GT(result.lines[0].top(), square.top());
}

TEST(LineCheck, measuresTheOnPagePartOfAFramePastTheEdge)
{
    const QPointF centre(1200, 500);
    const QImage page = pageWithLine(1.5, 1200, centre);
    QRectF frame = frameAround(1.5, 1200, centre);
    frame.setRight(1900); // the page is 1800 wide
    EXPECT_TRUE(runCheck(page, frame).accepted);
}

TEST(LineCheck, exactlyLevelLineKeepsTheRectangles)
{
    const QVector<QRectF> lines{QRectF(100, 100, 400, 10), QRectF(1200, 800, 300, 12)};
    const CheckResult result = runCheck(pageWithLine(0), QRectF(280.7, 470.2, 1240.9, 60.5), lines);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(result.frame, QRectF(280, 470, 1240, 60));
    EXPECT_EQ(result.lines, lines);
}

TEST(LineCheck, rotatedRectanglesTurnAboutTheRoundedCentre)
{
    cv::Rect rect(600, 500, 200, 10);
    rotateRect(&rect, 90, cv::Point2f(500.5f, 500.5f)); // centre rounds to (500, 500)
    EXPECT_EQ(rect, cv::Rect(500, 200, 10, 200));
    EXPECT_EQ(rotatePoint(cv::Point(510, 500), cv::Point(500, 500), 90 * degree), cv::Point(500, 490));
}
