#include "algorithms/errorguard.h"

#include "algorithms/conversions.h"
#include "algorithms/eialgorithm.h"
#include "algorithms/examnumber.h"
#include "algorithms/linecheck.h"
#include "algorithms/localthreshold.h"
#include "algorithms/optionalmarks.h"
#include "algorithms/optiongrid.h"
#include "algorithms/pagecorner.h"
#include "algorithms/similarity.h"
#include "algorithms/titlecheck.h"
#include "tests/support/logwatch.h"

#include <QPainter>

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

// Which errors each kind of frame stops; what the stopped ones log is
// checked on the real entry points below.
TEST(ErrorGuard, imageLibraryFramesLetOtherErrorsThrough)
{
    const auto cvError = []() -> int { throw cv::Exception(cv::Error::StsError, "probe", "probe", __FILE__, __LINE__); };
    const auto stdError = []() -> int { throw std::runtime_error("probe"); };
    EXPECT_EQ(guardImageLibrary("guardTest", LogFatal, -1, [] { return 5; }), 5);
    EXPECT_EQ(guardImageLibrarySilently(-1, cvError), -1);
    EXPECT_THROW(guardImageLibrary("guardTest", LogFatal, -1, stdError), std::runtime_error);
    EXPECT_THROW(guardImageLibrarySilently(-1, stdError), std::runtime_error);
    EXPECT_EQ(guardStandardSilently(-1, stdError), -1);
    EXPECT_EQ(guardStandard("guardTest", LogFatal, -1, cvError), -1);
    EXPECT_EQ(guardImageLibraryThenStandard("guardTest", LogFatal, 2, stdError), 2);
}

// Every entry point of the checks, on input the image library (or, for a
// few, the standard library) refuses: it returns its failure value, writes
// none of its outputs, lets no exception out and writes exactly the record
// of the table below, the label followed at once by the error's text.
TEST(ErrorGuard, everyEntryPointCatchesAndLogsItsOwnRecord)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(QRect(100, 100, 150, 40), Qt::black);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF offPage(1000, 1000, 50, 50);
    const QRectF untouchedRect(1, 2, 3, 4);
    const cv::Mat bgr = QImageToCvMat(image, true);
    const cv::Mat deep(60, 80, CV_16UC1, cv::Scalar(30000)); // the threshold takes 8 bits only
    const cv::Mat wide(20, 100, CV_8UC3, cv::Scalar::all(255));
    const cv::Mat tall(100, 20, CV_8UC3, cv::Scalar::all(255));
    const auto sameGrid = [](const OptionGridParams& g) { return g.x == 5 && g.boxWidth == 0; };
    OptionGridParams grid;
    grid.x = 5;

    struct EntryPoint
    {
        const char* name;
        std::function<bool()> failsCleanly;
        const char* level; // null: no record at all
        const char* label;
        const char* errorText;
    };
    const char* cvText = "OpenCV(";
    const char* typeText = "src type should be CV_8UC1.";
    const EntryPoint entryPoints[] = {
        {"checkLine",
         [&] {
             QPixmap rotated;
             QRectF frame = offPage;
             QVector<QRectF> lines{untouchedRect};
             return !checkLine(page, &rotated, &frame, &lines) && frame == offPage && rotated.isNull()
                 && lines == QVector<QRectF>{untouchedRect};
         },
         nullptr, nullptr, nullptr},
        {"calSimilar", [&] { return calSimilar(wide, tall, TemplateMatch) == 10.0; }, "Fatal", "calSimilar-->",
         cvText},
        {"getContentRect",
         [&] {
             QRectF out = untouchedRect;
             return getContentRect(page, offPage, out) == MarkCheckError && out == untouchedRect;
         },
         "Fatal", "getOptQuesAreas", cvText},
        {"checkUniqueMark",
         [&] {
             QRectF out = untouchedRect;
             return checkUniqueMark({}, image, offPage, out, AverageHash) == MarkCheckError && out == untouchedRect;
         },
         "Fatal", "getStuNoPos", cvText},
        {"validatePageNum",
         [&] { return validatePageNum(image.copy(0, 0, 100, 20), {image.copy(0, 0, 20, 100)}) == MarkCheckError; },
         "Error", "validatePageNum", cvText},
        {"checkTitle",
         [&] {
             QRectF title = untouchedRect;
             return checkTitle(page, offPage, &title, true) == TitleCheck::Failed && title == untouchedRect;
         },
         nullptr, nullptr, nullptr},
        {"correctTitle4Positive",
         [&] {
             // Pages of different kinds cannot be stacked into one scene.
             cv::Mat grey;
             cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
             const cv::Rect title(100, 100, 150, 40);
             return !EIAlgorithm().correctTitle4Positive({bgr, grey}, bgr(title), title);
         },
         "Fatal", "correctTitle4Positive -> ", cvText},
        {"matchTitle", [&] { return !EIAlgorithm().matchTitle(deep, bgr(cv::Rect(90, 90, 170, 60)), 15); }, "Fatal",
         "title err: ", cvText},
        {"getIconOutLine",
         [&] {
             cv::Rect outline(1, 2, 3, 4);
             return !getIconOutLine(cv::Mat(40, 40, CV_8UC2, cv::Scalar(0, 0)), &outline)
                 && outline == cv::Rect(1, 2, 3, 4);
         },
         "Error", "getIconOutLine -> ", cvText},
        {"checkPageCorner",
         [&] {
             QPixmap scan = page;
             return !checkPageCorner(&scan, 0, 0, false, false) && scan.toImage() == page.toImage();
         },
         "Fatal", "预处理出错： ", cvText},
        {"countDigitColumns",
         [&] {
             int count = 42;
             return countDigitColumns(page, offPage, count) == -1 && count == 42;
         },
         nullptr, nullptr, nullptr},
        {"getStuNoPos",
         [&] {
             OptionGridParams out = grid;
             return getStuNoPos(page, offPage, 10, 6, false, out) == -1 && sameGrid(out);
         },
         "Fatal", "getStuNoPos", cvText},
        {"getTicketNoPosition",
         [&] {
             OptionGridParams out = grid;
             return getTicketNoPosition(deep, 10, 6, out) == 1 && sameGrid(out);
         },
         "Fatal", "getTicketNoPosition", typeText},
        {"checkObjectiveArea",
         [&] {
             int questions = -7, options = -8;
             return checkObjectiveArea(page, offPage, questions, options) == -1 && questions == -7 && options == -8;
         },
         nullptr, nullptr, nullptr},
        {"getObjectPos",
         [&] {
             OptionGridParams out = grid;
             return getObjectPos(page, offPage, 4, 4, out) == -1 && sameGrid(out);
         },
         nullptr, nullptr, nullptr},
        {"getObjectSelectPosition",
         [&] {
             OptionGridParams out = grid;
             cv::Mat region = deep.clone();
             return getObjectSelectPosition(region, 3, 4, out) == 1 && sameGrid(out);
         },
         "Fatal", "getObjectSelectPosition", typeText},
        {"getOptQuesAreas",
         [&] {
             QVector<OptionalMarkArea> areas;
             return getOptQuesAreas(page, offPage, 2, areas) == -1 && areas.isEmpty();
         },
         "Fatal", "getOptQuesAreas", cvText},
        {"getChooseScore",
         [&] {
             QList<int> scores;
             return getChooseScore(page, {offPage}, scores, 0, 0) == -1 && scores.isEmpty();
         },
         "Fatal", "getChooseScore", cvText},
        {"localThreshold",
         [&] {
             cv::Mat grey(30, 30, CV_8UC1, cv::Scalar(200));
             return !localThreshold(grey, grey, 60, 0.1, 128.0, 0);
         },
         nullptr, nullptr, nullptr},
    };

    for (const EntryPoint& entry : entryPoints) {
        SCOPED_TRACE(entry.name);
        const logwatch::LogWatch watch;
        bool failedCleanly = false;
        EXPECT_NO_THROW(failedCleanly = entry.failsCleanly());
        EXPECT_TRUE(failedCleanly);
        // Debug notes (a conversion that had to copy) are not failures.
        QStringList records = watch.newRecords();
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [](const QString& record) { return record.contains(QLatin1String("[Debug]")); }),
                      records.end());
        if (!entry.level) {
            EXPECT_TRUE(records.isEmpty()) << records.join('\n').toStdString();
            continue;
        }
        ASSERT_EQ(records.size(), 1) << records.join('\n').toStdString();
        const QString start = QStringLiteral("[%1]\t%2%3").arg(entry.level, entry.label, entry.errorText);
        EXPECT_TRUE(records.first().contains(start)) << records.first().toStdString();
    }
}
