#include "algorithms/regionhelpers.h"

#include "algorithms/projection.h"
#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

TEST(EstimateOptionGrid, anchorsStandardBoxesAtTheContentsFarEdges)
{
    QImage page = synthetic::blankPage(700, 420);
    synthetic::drawBoxGrid(page, QPoint(60, 40), 4, 5, QSize(68, 48), QSizeF(109.656, 80.583), 2);
    cv::Mat crop = synthetic::toGrey(page);

    OptionGridParams grid;
    estimateOptionGrid(grid, crop, 4, 5);
    EXPECT_EQ(grid.boxWidth, 68.0);
    EXPECT_EQ(grid.boxHeight, 48.0);
    EXPECT_EQ(grid.columnPitch, static_cast<double>(109.656f));
    EXPECT_EQ(grid.rowPitch, static_cast<double>(80.583f));
    EXPECT_NEAR(grid.x, 60, 4);
    EXPECT_NEAR(grid.y, 40, 4);
}

TEST(EstimateOptionGrid, neverPlacesTheOriginOffTheCrop)
{
    QImage page = synthetic::blankPage(300, 200);
    synthetic::drawBox(page, QRect(100, 60, 68, 48), 2);
    cv::Mat crop = synthetic::toGrey(page);
    OptionGridParams grid;
    estimateOptionGrid(grid, crop, 3, 4); // more boxes than the content could hold
    EXPECT_EQ(grid.x, 0.0);
    EXPECT_EQ(grid.y, 0.0);
}

TEST(EraseDenseRows, blanksDenseBandsWithTheirNeighbours)
{
    cv::Mat image(12, 10, CV_8UC1, cv::Scalar(0));
    image.col(4).setTo(255); // every row holds a little content
    image.row(0).setTo(255); // dense first row
    image.rowRange(5, 7).setTo(255);
    image.row(11).setTo(255); // dense last row
    cv::Mat projection;
    rowWhiteProjection(image, projection);
    eraseDenseRows(image, image, projection, 0.99);

    // Row 0 and the row after it; rows 4..7 around the band; the last two.
    for (int row = 0; row < 12; ++row) {
        const bool kept = row == 2 || row == 3 || row == 8 || row == 9;
        EXPECT_EQ(cv::countNonZero(image.row(row)), kept ? 1 : 0) << row;
    }

    cv::Mat sparse(6, 10, CV_8UC1, cv::Scalar(0));
    sparse.row(2).colRange(0, 8).setTo(255); // 80 %: not dense
    sparse.row(4).setTo(255);
    rowWhiteProjection(sparse, projection);
    eraseDenseRows(sparse, sparse, projection, 0.99);
    EXPECT_EQ(cv::countNonZero(sparse.row(2)), 8);
    EXPECT_EQ(cv::countNonZero(sparse), 8); // rows 3..5 went with the dense row 4
}
