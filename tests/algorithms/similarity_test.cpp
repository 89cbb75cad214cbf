// Patch comparison, tightening a framed mark to its ink, and the
// uniqueness checks of title and page-number marks.

#include "algorithms/conversions.h"
#include "algorithms/similarity.h"
#include "tests/algorithms/synthetic.h"

#include <opencv2/imgproc.hpp>

#include <QPainter>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QString title = QStringLiteral("期末考试答题卡");
const QString pageMark = QStringLiteral("第1页");

// A sheet with a title at the top and a page-number mark at the bottom.
QImage sheet(const QString& titleText = title)
{
    QImage page = synthetic::blankPage(1600, 1200);
    synthetic::drawText(page, QRect(500, 80, 600, 80), titleText, 64);
    synthetic::drawText(page, QRect(1300, 1080, 200, 60), pageMark, 40);
    return page;
}

// An 8 x 8 grey matrix whose cells take the values in `cells`, row by row.
cv::Mat cells8(const std::vector<int>& cells)
{
    cv::Mat mat(8, 8, CV_8UC1);
    for (int i = 0; i < 64; ++i)
        mat.at<uchar>(i / 8, i % 8) = static_cast<uchar>(cells[static_cast<size_t>(i)]);
    return mat;
}

// The box round the dark pixels of `area` of the page.
QRect inkBox(const QImage& page, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(page.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

TEST(AverageHash, comparesQuantisedCellsAgainstTheirMean)
{
    std::vector<int> ramp;
    for (int i = 0; i < 64; ++i)
        ramp.push_back(i * 4);
    const cv::Mat gradient = cells8(ramp);
    EXPECT_EQ(averageHashDistance(gradient, gradient), 0);

    // 101 and 102 both quantise to 100.
    EXPECT_EQ(averageHashDistance(cells8(std::vector<int>(64, 101)), cells8(std::vector<int>(64, 102))), 0);

    // 16 cells of 0, 32 of 48 and 16 of 96 have the mean 48: the cells
    // equal to the mean hash as 1, like the 96s of the second image.
    std::vector<int> withMean(64, 48);
    std::vector<int> withoutMean(64, 96);
    for (size_t i = 0; i < 16; ++i) {
        withMean[i] = withoutMean[i] = 0;
        withMean[63 - i] = 96;
    }
    EXPECT_EQ(averageHashDistance(cells8(withMean), cells8(withoutMean)), 0);

    cv::Mat inverse;
    cv::bitwise_not(gradient, inverse);
    EXPECT_EQ(averageHashDistance(gradient, inverse), 64);
}

TEST(CalSimilar, scoresLikeAndUnlikePatches)
{
    const QImage page = sheet();
    const cv::Mat mat = QImageToCvMat(page, true);
    const cv::Mat titlePatch = mat(cv::Rect(490, 70, 500, 100));
    const cv::Mat markPatch = mat(cv::Rect(1290, 1070, 160, 70));

    EXPECT_NEAR(calSimilar(titlePatch, titlePatch, TemplateMatch), 1.0, 1e-4);
    EXPECT_LT(calSimilar(titlePatch, markPatch, TemplateMatch), 0.75);
    // The hash compares after scaling the first patch to the second's size.
    cv::Mat enlarged;
    cv::resize(markPatch, enlarged, cv::Size(), 1.5, 1.5, cv::INTER_LINEAR);
    EXPECT_LT(calSimilar(enlarged, markPatch, AverageHash), 10.0);
    QImage blocks = synthetic::blankPage(160, 70);
    synthetic::fillBox(blocks, QRect(0, 0, 80, 70));
    EXPECT_GE(calSimilar(QImageToCvMat(blocks, true), markPatch, AverageHash), 10.0);
    // The callers' matrices are left as they were.
    EXPECT_EQ(titlePatch.channels(), 3);
    EXPECT_EQ(markPatch.size(), cv::Size(160, 70));

    // A pair the library refuses counts as similar by either method.
    EXPECT_EQ(calSimilar(titlePatch.colRange(0, 100), markPatch.rowRange(0, 50), TemplateMatch), 10.0);
    EXPECT_EQ(calSimilar(cv::Mat(), markPatch, AverageHash), 1.0);
}

TEST(GetContentRect, tightensToTheInk)
{
    const QImage page = sheet();
    const QRect frame(450, 50, 800, 150);
    QRectF out;
    ASSERT_EQ(getContentRect(QPixmap::fromImage(page), frame, out), MarkAccepted);
    const QRect ink = inkBox(page, frame);
    // Two pixels of room either side and one below, from the dilation.
    EXPECT_NEAR(out.left(), ink.left() - 2, 1);
    EXPECT_NEAR(out.right(), ink.right() + 2, 1);
    EXPECT_NEAR(out.top(), ink.top(), 1);
    EXPECT_NEAR(out.bottom(), ink.bottom() + 1, 1);
}

TEST(GetContentRect, aDotGivesTheSmallestMark)
{
    QImage page = synthetic::blankPage(400, 300);
    synthetic::fillBox(page, QRect(150, 120, 5, 5));
    QRectF out;
    ASSERT_EQ(getContentRect(QPixmap::fromImage(page), QRectF(100, 100, 120, 80), out), MarkAccepted);
    EXPECT_EQ(out, QRectF(148, 120, 25, 16));
}

TEST(GetContentRect, ruledLinesAcrossTheFrameAreIgnored)
{
    QImage page = sheet();
    synthetic::fillBox(page, QRect(0, 175, 1600, 3)); // a ruled line under the title
    QRectF out;
    ASSERT_EQ(getContentRect(QPixmap::fromImage(page), QRectF(450, 50, 800, 150), out), MarkAccepted);
    EXPECT_LT(out.width(), 600);
    EXPECT_LT(out.bottom(), 176);

    // A frame on nothing but the line holds no mark.
    QRectF untouched(1, 2, 3, 4);
    EXPECT_EQ(getContentRect(QPixmap::fromImage(page), QRectF(200, 160, 800, 30), untouched), MarkBlank);
    EXPECT_EQ(untouched, QRectF(1, 2, 3, 4));
}

TEST(GetContentRect, measuresFromWhereAClippedFrameStarts)
{
    QImage page = synthetic::blankPage(400, 300);
    synthetic::fillBox(page, QRect(10, 40, 30, 20));
    QRectF out;
    ASSERT_EQ(getContentRect(QPixmap::fromImage(page), QRectF(-50, 20, 150, 60), out), MarkAccepted);
    EXPECT_EQ(out.topLeft(), QPointF(8, 40));
}

TEST(CheckUniqueMark, aMarkPrintedOnceIsUniqueAndTwiceIsNot)
{
    // The page-number step: the stored images are the marks framed earlier.
    QImage page = sheet();
    const QRectF frame(1280, 1060, 280, 100);
    QRectF out;
    ASSERT_EQ(checkUniqueMark({page.copy(450, 50, 800, 150)}, page, frame, out, AverageHash), MarkAccepted);
    EXPECT_TRUE(out.contains(QRectF(inkBox(page, frame.toRect()))));
    EXPECT_EQ(out, QRectF(out.toRect()));

    // The same mark printed a second time, framed earlier at its tight box.
    synthetic::drawText(page, QRect(100, 1080, 200, 60), pageMark, 40);
    QRectF first;
    ASSERT_EQ(checkUniqueMark({}, page, QRectF(80, 1060, 280, 100), first, AverageHash), MarkAccepted);
    const QVector<QImage> stored{page.copy(450, 50, 800, 150), page.copy(first.toRect())};
    for (int method : {AverageHash, TemplateMatch}) {
        SCOPED_TRACE(method);
        QRectF second;
        EXPECT_EQ(checkUniqueMark(stored, page, frame, second, method), MarkNotUnique);
        EXPECT_EQ(second.size(), first.size());
    }
}

// Identical marks printed in three corners, framed with a margin of
// paper round them, and stored as cut at their frames. Both methods refuse
// the second and third mark at 200 and 300 dpi, whatever the margin; a
// mark of other shape still passes.
TEST(CheckUniqueMark, identicalMarksAreRefusedWhateverTheirMargin)
{
    for (const double dpi : {200.0, 300.0}) {
        const auto px = [dpi](double mm) { return qRound(mm * dpi / 25.4); };
        QImage page = synthetic::blankPage(px(210), px(297));
        const QSize block(px(6), px(3));
        const QVector<QPoint> corners{{px(10), px(10)}, {px(190), px(10)}, {px(10), px(280)}};
        const QVector<QPoint> angles{{px(10), px(40)}, {px(190), px(40)}, {px(10), px(250)}};
        for (const QPoint& corner : corners)
            synthetic::fillBox(page, QRect(corner, block));
        // Corner angles: two bars meeting at a right angle.
        for (const QPoint& angle : angles) {
            synthetic::fillBox(page, QRect(angle, QSize(px(6), px(1))));
            synthetic::fillBox(page, QRect(angle, QSize(px(1), px(6))));
        }
        const QRect pageMarkArea(px(90), px(280), px(30), px(8));
        synthetic::drawText(page, pageMarkArea, pageMark, px(5));

        for (const int margin : {0, 5, 10, 15, 20}) {
            for (const auto& [marks, size] : {std::make_pair(corners, block), std::make_pair(angles, QSize(px(6), px(6)))}) {
                // A bar that spans a frame from side to side is taken for a
                // ruled line crossing it, so angles need some paper round them.
                if (margin == 0 && marks == angles)
                    continue;
                SCOPED_TRACE(QStringLiteral("%1 dpi, margin %2, mark %3").arg(dpi).arg(margin).arg(size.height()).toStdString());
                QVector<QImage> stored;
                for (int i = 0; i < marks.size(); ++i) {
                    const QRectF frame = QRectF(QRect(marks[i], size)).adjusted(-margin, -margin, margin, margin);
                    for (const int method : {AverageHash, TemplateMatch}) {
                        QRectF out;
                        EXPECT_EQ(checkUniqueMark(stored, page, frame, out, method), i == 0 ? MarkAccepted : MarkNotUnique)
                            << "method " << method << ", mark " << i;
                    }
                    stored.append(page.copy(frame.toRect()));
                }
                const QRectF other = QRectF(pageMarkArea).adjusted(-margin, -margin, margin, margin);
                QRectF out;
                EXPECT_EQ(checkUniqueMark(stored, page, other, out, AverageHash), MarkAccepted);
            }
        }
    }
}

// A mark whose identical twin is stored is refused by its hash with
// pencil dots or dust 15 to 20 pixels round it, and printed half a pixel
// off the twin's grid (its edges grey where the twin's are black); a mark
// of another shape still passes.
TEST(CheckUniqueMark, aTwinIsFoundBesideSpecksAndBetweenPixels)
{
    struct Row
    {
        double dpi;
        QPoint speck; // from the mark's top-left corner
        int diameter;
        double phase; // of the twin's print, in pixels
    };
    for (const Row& row : {Row{200, {-16, -15}, 4, 0}, Row{200, {70, 30}, 6, 0.5}, Row{300, {-20, 40}, 5, 0},
                           Row{300, {30, -18}, 7, 0.3}, Row{150, {60, 45}, 4, 0.5}, Row{100, {-18, 5}, 3, 0.5}}) {
        SCOPED_TRACE(QStringLiteral("%1 dpi, speck at %2,%3, phase %4")
                         .arg(row.dpi).arg(row.speck.x()).arg(row.speck.y()).arg(row.phase).toStdString());
        const auto px = [&row](double mm) { return qRound(mm * row.dpi / 25.4); };
        QImage page = synthetic::blankPage(px(210), px(297));
        const QSize block(px(6), px(3));
        const QRect stored(QPoint(px(10), px(10)), block);
        const QRect twin(QPoint(px(190), px(10)), block);
        const QRect text(px(90), px(280), px(30), px(8));
        synthetic::fillBox(page, stored);
        synthetic::drawText(page, text, pageMark, px(5));
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRect(QRectF(twin).translated(row.phase, row.phase));
        painter.setBrush(QColor(90, 90, 90));
        for (const QRect& mark : {twin, text}) {
            painter.drawEllipse(QRectF(mark.topLeft() + row.speck, QSizeF(row.diameter, row.diameter)));
            painter.drawEllipse(QRectF(mark.bottomRight() + QPoint(17, -row.speck.y() / 2), QSizeF(3, 3)));
        }
        painter.end();

        QRectF first;
        ASSERT_EQ(checkUniqueMark({}, page, QRectF(stored).adjusted(-10, -10, 10, 10), first, AverageHash), MarkAccepted);
        const QVector<QImage> marks{page.copy(first.toRect())};
        const int margin = 30;
        QRectF out;
        EXPECT_EQ(checkUniqueMark(marks, page, QRectF(twin).adjusted(-margin, -margin, margin, margin), out, AverageHash),
                  MarkNotUnique);
        EXPECT_EQ(checkUniqueMark(marks, page, QRectF(text).adjusted(-margin, -margin, margin, margin), out, AverageHash),
                  MarkAccepted);
    }
}

TEST(CheckUniqueMark, greyPagesAndMarksAreOnlyRead)
{
    // Grey scans convert without a copy: the check must not write into them.
    const QImage page = sheet().convertToFormat(QImage::Format_Grayscale8);
    const QImage stored = page.copy(1280, 1060, 280, 100);
    const QImage pageBefore = page.copy();
    const QImage storedBefore = stored.copy();
    QRectF out;
    EXPECT_EQ(checkUniqueMark({stored}, page, QRectF(1290, 1070, 260, 80), out, AverageHash), MarkNotUnique);
    EXPECT_EQ(page, pageBefore);
    EXPECT_EQ(stored, storedBefore);
}

TEST(CheckUniqueMark, aTitleFoundOnTheOtherFaceIsNotUnique)
{
    // The title step: the stored images are the other pages of the paper
    // cut at the framed rectangle.
    const QImage front = sheet();
    const QRectF frame(450, 50, 800, 150);
    QRectF out;
    EXPECT_EQ(checkUniqueMark({sheet().copy(frame.toRect())}, front, frame, out, TemplateMatch), MarkNotUnique);
    const QImage otherBack = sheet(QStringLiteral("语文 作文纸"));
    EXPECT_EQ(checkUniqueMark({otherBack.copy(frame.toRect())}, front, frame, out, TemplateMatch), MarkAccepted);
}

TEST(CheckUniqueMark, aBlankFrameGivesTheBlankCode)
{
    const QImage page = sheet();
    QRectF out(7, 7, 7, 7);
    EXPECT_EQ(checkUniqueMark({page.copy(450, 50, 800, 150)}, page, QRectF(200, 500, 300, 100), out, AverageHash),
              MarkBlank);
    EXPECT_EQ(out, QRectF(7, 7, 7, 7));
}

TEST(CheckUniqueMark, aMarkAtThePageEdgeIsChecked)
{
    // A small mark in the corner: its tight box, widened to the smallest
    // mark size, reaches past the page.
    QImage page = synthetic::blankPage(800, 600);
    synthetic::fillBox(page, QRect(790, 592, 8, 6));
    const QRectF frame(760, 570, 40, 30);
    const QVector<QImage> unlike{page.copy(0, 0, 100, 100)};
    synthetic::fillBox(page, QRect(100, 300, 8, 6));
    QRectF out;
    EXPECT_EQ(checkUniqueMark(unlike, page, frame, out, AverageHash), MarkAccepted);
    EXPECT_EQ(out.topLeft(), QPointF(788, 592));

    QRectF twin;
    ASSERT_EQ(checkUniqueMark({}, page, QRectF(80, 280, 60, 40), twin, AverageHash), MarkAccepted);
    EXPECT_EQ(checkUniqueMark({page.copy(twin.toRect())}, page, frame, out, TemplateMatch), MarkNotUnique);
}

TEST(ValidatePageNum, refusesAMarkFoundAtTheSamePlaceOnAnotherPaper)
{
    // Page-number marks as printed blocks whose position tells the paper.
    auto markArea = [](int blockX) {
        QImage area = synthetic::blankPage(200, 60);
        synthetic::fillBox(area, QRect(blockX, 15, 40, 30));
        return area;
    };
    const QImage mark = markArea(20).copy(10, 5, 180, 50);
    EXPECT_EQ(validatePageNum(mark, {markArea(100), markArea(100).mirrored(true, true)}), MarkAccepted);
    EXPECT_EQ(validatePageNum(mark, {markArea(100), markArea(20)}), MarkNotUnique);
    EXPECT_EQ(validatePageNum(mark, {}), MarkAccepted);
    // Colours take part: a mark and stored patches of different kinds
    // cannot be compared.
    EXPECT_EQ(validatePageNum(mark, {synthetic::blankPage(200, 60, Qt::white, QImage::Format_ARGB32)}),
              MarkCheckError);
}
