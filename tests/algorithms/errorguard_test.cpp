#include "algorithms/errorguard.h"

#include "tests/algorithms/logwatch.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A real error of the image library: grey conversion of a two-channel image.
int failInTheImageLibrary()
{
    cv::Mat twoChannels(4, 4, CV_8UC2), out;
    cv::cvtColor(twoChannels, out, cv::COLOR_BGR2GRAY);
    return 0;
}

int failInTheStandardLibrary()
{
    throw std::invalid_argument("kernelSize should be >= 3.");
}

} // namespace

TEST(ErrorGuard, imageLibraryErrorsBecomeTheFailureValueAndOneRecord)
{
    const logwatch::LogWatch watch;
    EXPECT_EQ(guardImageLibrary("guardTestCv-->", LogFatal, -1, failInTheImageLibrary), -1);
    EXPECT_EQ(guardImageLibrary("guardTestCv-->", LogFatal, -1, [] { return 5; }), 5);

    const QStringList records = watch.newRecords("Fatal", "guardTestCv-->");
    ASSERT_EQ(records.size(), 1);
    // The label is followed at once by the library's own text.
    EXPECT_TRUE(records.first().contains("guardTestCv-->OpenCV")) << records.first().toStdString();

    // Other standard exceptions pass this frame.
    EXPECT_THROW(guardImageLibrary("guardTestCv-->", LogFatal, -1, failInTheStandardLibrary),
                 std::invalid_argument);
}

TEST(ErrorGuard, standardFramesCatchBothKindsAtTheirLevel)
{
    const logwatch::LogWatch watch;
    EXPECT_FALSE(guardStandard("guardTestStd ", LogError, false, [] {
        failInTheStandardLibrary();
        return true;
    }));
    EXPECT_EQ(guardStandard("guardTestStd ", LogError, -1, failInTheImageLibrary), -1);
    EXPECT_EQ(guardImageLibraryThenStandard("guardTestBoth ", LogFatal, 2, failInTheStandardLibrary), 2);
    EXPECT_EQ(guardImageLibraryThenStandard("guardTestBoth ", LogFatal, 2, failInTheImageLibrary), 2);

    const QStringList standard = watch.newRecords("Error", "guardTestStd ");
    ASSERT_EQ(standard.size(), 2);
    EXPECT_TRUE(standard[0].endsWith("\tguardTestStd kernelSize should be >= 3."));
    ASSERT_EQ(watch.newRecords("Fatal", "guardTestBoth ").size(), 2);
}

TEST(ErrorGuard, silentFramesWriteNoRecord)
{
    // Other suites share the log file, so look for this test's own text.
    const auto probeCv = []() -> int {
        throw cv::Exception(cv::Error::StsError, "silent-guard-probe", "probe", __FILE__, __LINE__);
    };
    const auto probeStd = []() -> int { throw std::runtime_error("silent-guard-probe"); };

    const logwatch::LogWatch watch;
    EXPECT_EQ(guardImageLibrarySilently(-1, probeCv), -1);
    EXPECT_EQ(guardStandardSilently(-1, probeCv), -1);
    EXPECT_EQ(guardStandardSilently(-1, probeStd), -1);
    EXPECT_EQ(guardStandardSilently(-1, [] { return 3; }), 3);
    EXPECT_THROW(guardImageLibrarySilently(-1, probeStd), std::runtime_error);
    EXPECT_TRUE(watch.newRecords().filter("silent-guard-probe").isEmpty());
}
