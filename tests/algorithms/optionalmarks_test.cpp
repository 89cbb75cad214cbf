#include "algorithms/optionalmarks.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

namespace {

QPixmap pixmapOf(const QImage& image)
{
    return QPixmap::fromImage(image);
}

} // namespace

TEST(DarknessScore, isTheInverseMeanOfTheFirstChannel)
{
    EXPECT_DOUBLE_EQ(darknessScore(cv::Mat(4, 4, CV_8UC1, cv::Scalar(255))), 0.0);
    EXPECT_DOUBLE_EQ(darknessScore(cv::Mat(4, 4, CV_8UC1, cv::Scalar(0))), 255.0);
    EXPECT_DOUBLE_EQ(darknessScore(synthetic::greyMat({{150, 250}, {200, 200}})), 55.0);
    // Blue is the first channel of a BGR patch: a pure red patch reads white.
    EXPECT_DOUBLE_EQ(darknessScore(cv::Mat(4, 4, CV_8UC3, cv::Scalar(255, 0, 0))), 0.0);
}

TEST(CompareContourArea, isAStrictOrderForSorting)
{
    // Equal areas must compare false both ways, or sorting may run wild.
    const std::vector<cv::Point> small{{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const std::vector<cv::Point> shifted{{5, 5}, {9, 5}, {9, 9}, {5, 9}};
    const std::vector<cv::Point> large{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(compareContourArea(large, small));
    EXPECT_FALSE(compareContourArea(small, large));
    EXPECT_FALSE(compareContourArea(small, shifted));
    EXPECT_FALSE(compareContourArea(shifted, small));
}

TEST(GetOptQuesAreas, findsTheLargestBoxesInTheFrame)
{
    QImage image = synthetic::blankPage(600, 300);
    const QRect boxes[] = {QRect(120, 110, 40, 26), QRect(220, 110, 40, 26), QRect(320, 110, 40, 26)};
    for (const QRect& box : boxes)
        synthetic::drawBox(image, box, 2);
    synthetic::fillBox(image, boxes[1].adjusted(2, 2, -2, -2));
    synthetic::fillBox(image, QRect(400, 120, 4, 6)); // a speck, smaller than any box

    QVector<OptionalMarkArea> areas{{QRectF(1, 2, 3, 4), 7.0}};
    ASSERT_EQ(getOptQuesAreas(pixmapOf(image), QRectF(100, 90, 330, 70), 3, areas), 0);
    ASSERT_EQ(areas.size(), 4); // appended after what was there
    areas.removeFirst();

    std::sort(areas.begin(), areas.end(),
              [](const OptionalMarkArea& a, const OptionalMarkArea& b) { return a.rect.x() < b.rect.x(); });
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QRectF found = areas[i].rect;
        EXPECT_NEAR(found.center().x(), QRectF(boxes[i]).center().x(), 3.0);
        EXPECT_NEAR(found.center().y(), QRectF(boxes[i]).center().y(), 3.0);
        // The pen and the joining of broken strokes widen the box a little.
        EXPECT_NEAR(found.width(), boxes[i].width(), 6.0);
        EXPECT_NEAR(found.height(), boxes[i].height(), 4.0);
    }
    // The filled mark scores clearly darker than the empty ones.
    EXPECT_GT(areas[1].score, 150.0);
    EXPECT_LT(areas[0].score, 60.0);
    EXPECT_LT(areas[2].score, 60.0);
}

TEST(GetOptQuesAreas, smallBoxesAreGivenAGrabbableSize)
{
    QImage image = synthetic::blankPage(300, 200);
    synthetic::fillBox(image, QRect(100, 80, 15, 10));
    QVector<OptionalMarkArea> areas;
    ASSERT_EQ(getOptQuesAreas(pixmapOf(image), QRectF(80, 60, 60, 50), 1, areas), 0);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].rect.size(), QSizeF(22, 17));
    EXPECT_NEAR(areas[0].rect.x(), 100, 2.0);
    EXPECT_NEAR(areas[0].rect.y(), 80, 2.0);
    EXPECT_GT(areas[0].score, 150.0); // measured on the mark, not on the enlarged box
}

TEST(GetOptQuesAreas, tooFewShapesSplitTheFrameEvenly)
{
    QImage image = synthetic::blankPage(600, 300);
    synthetic::fillBox(image, QRect(150, 70, 12, 12)); // one shape, three marks wanted
    QVector<OptionalMarkArea> areas;
    ASSERT_EQ(getOptQuesAreas(pixmapOf(image), QRectF(100, 50, 300, 60), 3, areas), 0);
    ASSERT_EQ(areas.size(), 3);
    const double xs[] = {105, 195, 285};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(areas[i].rect, QRectF(xs[i], 52, 90, 55));
        EXPECT_DOUBLE_EQ(areas[i].score, 80.0);
    }
}

TEST(GetOptQuesAreas, blankAndUnusableFramesAreRefused)
{
    QImage image = synthetic::blankPage(400, 200);
    synthetic::drawBox(image, QRect(20, 20, 30, 20));
    const QPixmap page = pixmapOf(image);
    QVector<OptionalMarkArea> areas;
    EXPECT_EQ(getOptQuesAreas(page, QRectF(200, 100, 100, 50), 2, areas), 1);
    EXPECT_EQ(getOptQuesAreas(page, QRectF(10, 10, 100, 50), 0, areas), -1);
    // Too narrow to split into ten boxes of any width.
    EXPECT_EQ(getOptQuesAreas(page, QRectF(10, 10, 100, 50), 10, areas), -1);
    EXPECT_TRUE(areas.isEmpty());
}

TEST(GetOptQuesAreas, marksAtTheFrameOrPageEdgeAreStillFound)
{
    QImage image = synthetic::blankPage(300, 200);
    synthetic::fillBox(image, QRect(0, 60, 30, 20));     // touches the page's left edge
    synthetic::drawBox(image, QRect(100, 60, 30, 20), 2);
    QVector<OptionalMarkArea> areas;
    // The frame reaches past the page and its left side cuts the first mark.
    ASSERT_EQ(getOptQuesAreas(pixmapOf(image), QRectF(-20, 40, 170, 60), 2, areas), 0);
    ASSERT_EQ(areas.size(), 2);
    std::sort(areas.begin(), areas.end(),
              [](const OptionalMarkArea& a, const OptionalMarkArea& b) { return a.rect.x() < b.rect.x(); });
    EXPECT_EQ(areas[0].rect.x(), 0.0);
    EXPECT_NEAR(areas[0].rect.width(), 30, 3.0);
    EXPECT_NEAR(areas[0].rect.y(), 60, 2.0);
    EXPECT_GT(areas[0].score, 150.0);
    EXPECT_NEAR(areas[1].rect.x(), 99, 2.0);
}

TEST(GetChooseScore, scoresEachRectangleAtItsOffset)
{
    QImage image = synthetic::blankPage(400, 300);
    synthetic::fillBox(image, QRect(110, 220, 20, 20));
    synthetic::fillBox(image, QRect(210, 220, 20, 10), QColor(128, 128, 128));
    const QPixmap page = pixmapOf(image);
    const QList<QRectF> rects{QRectF(100, 200, 20, 20), QRectF(200, 200, 20, 20)};

    QList<int> scores{42};
    EXPECT_EQ(getChooseScore(page, rects, scores, 10, 20), 0);
    EXPECT_EQ(scores, (QList<int>{42, 255, 63})); // half grey: 255 - (255 + 127) / 2

    scores.clear();
    EXPECT_EQ(getChooseScore(page, rects, scores, 0, 0), 0);
    EXPECT_EQ(scores, (QList<int>{0, 0}));

    scores.clear();
    EXPECT_EQ(getChooseScore(page, {}, scores, 10, 20), 0);
    EXPECT_TRUE(scores.isEmpty());

    // Partly off the page: only the part on it counts.
    EXPECT_EQ(getChooseScore(page, {QRectF(390, 290, 20, 20)}, scores, 0, 0), 0);
    EXPECT_EQ(scores, QList<int>{0});
}

TEST(GetChooseScore, failsAtARectangleOffThePageOrEmpty)
{
    const QPixmap page = pixmapOf(synthetic::blankPage(200, 100));
    QList<int> scores;
    EXPECT_EQ(getChooseScore(page, {QRectF(10, 10, 20, 20), QRectF(150, 10, 20, 20)}, scores, 100, 0), -1);
    EXPECT_EQ(scores, QList<int>{0}); // the first was scored before the failure
    // Qt would crop an empty rectangle as the whole page.
    EXPECT_EQ(getChooseScore(page, {QRectF(10, 10, 0, 0)}, scores, 0, 0), -1);
    EXPECT_EQ(scores, QList<int>{0});
}
