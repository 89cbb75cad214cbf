#include "algorithms/conversions.h"

#include "tests/support/logwatch.h"

#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Collects qWarning output for the lifetime of the object.
class WarningCatcher
{
public:
    WarningCatcher() { previous = qInstallMessageHandler(&WarningCatcher::handle); }
    ~WarningCatcher() { qInstallMessageHandler(previous); }
    static QStringList& messages()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtWarningMsg)
            messages().append(text);
    }
    QtMessageHandler previous = nullptr;
};

const QColor knownColour(10, 120, 230);

QImage colourImage(QImage::Format format)
{
    QImage image(7, 5, format);
    image.fill(Qt::white);
    image.setPixelColor(3, 2, knownColour);
    return image;
}

} // namespace

TEST(Conversions, colourFormatsKeepAKnownPixelThroughTheRoundTrip)
{
    struct Case {
        QImage::Format format;
        int type;
    };
    const Case cases[] = {
        {QImage::Format_RGB32, CV_8UC3},
        {QImage::Format_ARGB32, CV_8UC4},
        {QImage::Format_ARGB32_Premultiplied, CV_8UC4},
        {QImage::Format_RGB888, CV_8UC3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        const QImage image = colourImage(c.format);
        for (bool clone : {false, true}) {
            const cv::Mat mat = QImageToCvMat(image, clone);
            ASSERT_EQ(mat.type(), c.type);
            ASSERT_EQ(mat.cols, 7);
            ASSERT_EQ(mat.rows, 5);
            // OpenCV order is blue, green, red.
            const uchar* pixel = mat.ptr<uchar>(2) + 3 * mat.channels();
            EXPECT_EQ(pixel[0], 230);
            EXPECT_EQ(pixel[1], 120);
            EXPECT_EQ(pixel[2], 10);
            if (mat.channels() == 4) {
                EXPECT_EQ(pixel[3], 255);
            }

            const QImage back = cvMatToQImage(mat);
            EXPECT_EQ(back.pixelColor(3, 2), knownColour);
            EXPECT_EQ(back.pixelColor(0, 0), QColor(Qt::white));
            EXPECT_EQ(cvMatToQPixmap(mat).toImage().pixelColor(3, 2), knownColour);
        }
    }
}

TEST(Conversions, greyFormatsGiveOneChannelOfSamples)
{
    QImage grey(6, 4, QImage::Format_Grayscale8);
    grey.fill(200);
    grey.scanLine(1)[4] = 77;

    // A palette that is not a grey ramp: the samples are the indices.
    QImage indexed(6, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0)});
    indexed.fill(0);
    indexed.scanLine(1)[4] = 1;

    const cv::Mat fromGrey = QImageToCvMat(grey, false);
    ASSERT_EQ(fromGrey.type(), CV_8UC1);
    EXPECT_EQ(fromGrey.at<uchar>(1, 4), 77);
    EXPECT_EQ(fromGrey.at<uchar>(0, 0), 200);
    const QImage back = cvMatToQImage(fromGrey);
    EXPECT_EQ(back.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(back.pixelColor(4, 1), QColor(77, 77, 77));

    const cv::Mat fromIndexed = QImageToCvMat(indexed, true);
    ASSERT_EQ(fromIndexed.type(), CV_8UC1);
    EXPECT_EQ(fromIndexed.at<uchar>(1, 4), 1);
    EXPECT_EQ(fromIndexed.at<uchar>(0, 0), 0);
}

TEST(Conversions, sharingFollowsTheCloneFlag)
{
    WarningCatcher catcher;
    WarningCatcher::messages().clear();

    // The note about cloning goes to the log, not to the console.
    const logwatch::LogWatch log;
    const QImage rgb = colourImage(QImage::Format_RGB32);
    cv::Mat converted = QImageToCvMat(rgb, false);
    converted.setTo(cv::Scalar(0, 0, 0));
    EXPECT_EQ(rgb.pixelColor(3, 2), knownColour); // always a new matrix
    EXPECT_TRUE(WarningCatcher::messages().isEmpty());
    EXPECT_EQ(log.newRecords(QStringLiteral("Debug"), QStringLiteral("Kyt::QImageToCvMat() - Conversion requires cloning"))
                  .size(),
              1);

    WarningCatcher::messages().clear();
    QImage argb = colourImage(QImage::Format_ARGB32);
    cv::Mat shared = QImageToCvMat(argb, false);
    shared.at<cv::Vec4b>(0, 0) = cv::Vec4b(0, 0, 255, 255);
    EXPECT_EQ(argb.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_TRUE(WarningCatcher::messages().isEmpty());

    cv::Mat cloned = QImageToCvMat(argb, true);
    cloned.setTo(cv::Scalar(0, 0, 0, 0));
    EXPECT_EQ(argb.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(Conversions, unhandledInputGivesEmptyResultsAndAWarning)
{
    WarningCatcher catcher;
    WarningCatcher::messages().clear();

    EXPECT_TRUE(QImageToCvMat(QImage(), true).empty());
    ASSERT_EQ(WarningCatcher::messages().size(), 1);
    EXPECT_EQ(WarningCatcher::messages().first(),
              QStringLiteral("Kyt::QImageToCvMat() - QImage format not handled in switch: 0"));

    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(1);
    EXPECT_TRUE(QImageToCvMat(mono, false).empty());

    WarningCatcher::messages().clear();
    EXPECT_TRUE(cvMatToQImage(cv::Mat(3, 3, CV_32F, cv::Scalar(1.0f))).isNull());
    EXPECT_TRUE(cvMatToQPixmap(cv::Mat(3, 3, CV_8UC2, cv::Scalar(1, 2))).isNull());
    ASSERT_EQ(WarningCatcher::messages().size(), 2);
    EXPECT_TRUE(WarningCatcher::messages().first().startsWith("cvMatToQImage() - cv::Mat image type not handled"));
}

TEST(Conversions, imagesOfMatricesOutliveTheMatrixAndRespectViews)
{
    QImage grey;
    QImage colour;
    {
        cv::Mat page(20, 30, CV_8UC1, cv::Scalar(255));
        page.at<uchar>(12, 17) = 9;
        grey = cvMatToQImage(page(cv::Rect(10, 10, 15, 5))); // a view with a wider row step
        cv::Mat bgr(20, 30, CV_8UC3, cv::Scalar(255, 255, 255));
        bgr.at<cv::Vec3b>(12, 17) = cv::Vec3b(230, 120, 10);
        colour = cvMatToQImage(bgr(cv::Rect(10, 10, 15, 5)));
    }
    ASSERT_EQ(grey.size(), QSize(15, 5));
    EXPECT_EQ(qGray(grey.pixel(7, 2)), 9);
    EXPECT_EQ(qGray(grey.pixel(0, 0)), 255);
    EXPECT_EQ(colour.pixelColor(7, 2), knownColour);
}

TEST(Conversions, rectanglesTruncateTowardZero)
{
    EXPECT_EQ(qRectFToCvRect(QRectF(10.9, 20.5, 30.99, 0.4)), cv::Rect(10, 20, 30, 0));
    EXPECT_EQ(qRectFToCvRect(QRectF(-0.7, -1.2, 5.0, 5.0)), cv::Rect(0, -1, 5, 5));
    EXPECT_EQ(cvRectToQRectF(cv::Rect(3, -4, 5, 6)), QRectF(3, -4, 5, 6));

    const QVector<QRectF> rects{QRectF(1.5, 2.5, 3.5, 4.5), QRectF(9, 8, 7, 6)};
    const std::vector<cv::Rect> cvRects = qRectFsToCvRects(rects);
    ASSERT_EQ(cvRects.size(), 2u);
    EXPECT_EQ(cvRects[0], cv::Rect(1, 2, 3, 4));
    EXPECT_EQ(cvRectsToQRectFs(cvRects), (QVector<QRectF>{QRectF(1, 2, 3, 4), QRectF(9, 8, 7, 6)}));

    OptionGridParams grid;
    grid.x = 12.5;
    grid.y = 7.25;
    grid.boxWidth = 68;
    grid.boxHeight = 48;
    grid.columnPitch = 109.656;
    EXPECT_EQ(toQRectF(grid), QRectF(12.5, 7.25, 68, 48));
}

TEST(Conversions, scaleTo200DpiGoesByThePagesOwnResolution)
{
    QPixmap part(1000, 300);
    part.fill(Qt::white);

    // 200-dpi scans, A3 landscape and A4 portrait, a few pixels trimmed:
    // measured as they are.
    for (const QSize page : {QSize(3307, 2339), QSize(1654, 2339), QSize(3260, 2300)}) {
        SCOPED_TRACE(page.width());
        const auto [scaled, factor] = scaleTo200Dpi(part, page);
        EXPECT_EQ(factor, 1.0f);
        EXPECT_EQ(scaled.size(), part.size());
    }

    // A 300-dpi A4 page is brought down, a 150-dpi A3 page up.
    auto [scaled, factor] = scaleTo200Dpi(part, QSize(2480, 3508));
    EXPECT_NEAR(factor, 2.0f / 3.0f, 1e-3);
    EXPECT_EQ(scaled.width(), static_cast<int>(1000 * factor));
    EXPECT_NEAR(scaled.height(), 300 * factor, 1.0);
    std::tie(scaled, factor) = scaleTo200Dpi(part, QSize(2480, 1754));
    EXPECT_NEAR(factor, 4.0f / 3.0f, 1e-3);

    // Pages of no paper size are held to 100 .. 600 dpi.
    EXPECT_FLOAT_EQ(scaleTo200Dpi(part, QSize(300, 200)).second, 2.0f);
    EXPECT_FLOAT_EQ(scaleTo200Dpi(part, QSize(20000, 9000)).second, 200.0f / 600.0f);
}
