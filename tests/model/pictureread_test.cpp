// The one picture reader: what it takes, what it refuses, and that a
// refusal costs no memory.

#include "tests/support/picturefiles.h"
#include "tests/support/testsupport.h"

#include "model/pictureread.h"

#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace testsupport;

namespace {

// White with a black square at the top left and some print, so a tenth of
// its JPEG still holds the whole header.
QImage page()
{
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(40, 40, 80, 80), Qt::black);
    for (int y = 150; y < 260; y += 6)
        painter.drawText(QPoint(200, y), QStringLiteral("A B C D 1 2 3 4 5 6 7 8 9 0 A B C D"));
    return image;
}

Picture read(const ScratchDir& dir, const QString& name, const QByteArray& bytes)
{
    EXPECT_TRUE(writeFile(dir.file(name), bytes));
    return readPicture(dir.file(name));
}

} // namespace

TEST(PictureRead, picturesOfEveryKindTakenAreReadWithTheirPixels)
{
    ScratchDir dir;
    QList<QPair<QString, QByteArray>> files = {{"a.jpg", encoded(page(), "jpg")},
                                               {"a.png", encoded(page(), "png")},
                                               {"a.bmp", encoded(page(), "bmp")},
                                               // The contents name the kind, not the file name.
                                               {"png.jpg", encoded(page(), "png")}};
    if (QImageWriter::supportedImageFormats().contains("tif"))
        files.append({"a.tif", encoded(page(), "tif")});
    for (const auto& file : files) {
        SCOPED_TRACE(file.first.toStdString());
        const Picture picture = read(dir, file.first, file.second);
        ASSERT_EQ(picture.fault, PictureFault::None);
        EXPECT_EQ(picture.image.size(), QSize(600, 400));
        EXPECT_LT(qGray(picture.image.pixel(80, 80)), 30);
        EXPECT_GT(qGray(picture.image.pixel(300, 300)), 225);
    }

    // Transparency is laid on white, as the sheet would look printed: half
    // transparent black is mid grey, fully transparent anything is white.
    QImage glass(100, 50, QImage::Format_ARGB32);
    glass.fill(qRgba(0, 0, 0, 128));
    for (int y = 0; y < 50; ++y)
        for (int x = 50; x < 100; ++x)
            glass.setPixel(x, y, qRgba(0, 0, 0, 0));
    const Picture flat = read(dir, QStringLiteral("glass.png"), encoded(glass.convertToFormat(QImage::Format_ARGB32), "png"));
    ASSERT_EQ(flat.fault, PictureFault::None);
    EXPECT_FALSE(flat.image.hasAlphaChannel());
    EXPECT_NEAR(qGray(flat.image.pixel(10, 10)), 127, 2);
    EXPECT_EQ(flat.image.pixel(80, 10), qRgb(255, 255, 255));
}

TEST(PictureRead, forgedCutCorruptAndForeignFilesAreRefusedBeforeTheyCostMemory)
{
    ScratchDir dir;
    const bool measured = resetPeakMemory();
    // A few hundred bytes declaring 30,000 x 30,000 pixels: 3.6 GB decoded.
    const QByteArray forged = jpegDeclaring(30000, 30000);
    ASSERT_LT(forged.size(), 1000);
    EXPECT_EQ(read(dir, QStringLiteral("forged.jpg"), forged).fault, PictureFault::TooLarge);
    EXPECT_EQ(read(dir, QStringLiteral("wide.jpg"), jpegDeclaring(12001, 10)).fault, PictureFault::TooLarge);
    if (measured)
        EXPECT_LT(peakMemory(), 500LL * 1024 * 1024);
    // Within the limits the same forgery is decoded, and found cut short.
    EXPECT_EQ(read(dir, QStringLiteral("small.jpg"), jpegDeclaring(12000, 10)).fault, PictureFault::Damaged);

    const QByteArray jpeg = encoded(page(), "jpg");
    const QByteArray png = encoded(page(), "png");
    const QByteArray bmp = encoded(page(), "bmp");
    const QList<QPair<const char*, QByteArray>> damaged = {
        {"jpeg cut to a tenth", jpeg.left(jpeg.size() / 10)},
        {"jpeg without its end marker", jpeg.left(jpeg.size() - 2)},
        {"jpeg with corrupt data", jpegWithCorruptData(page())},
        {"png cut in half", png.left(png.size() / 2)},
        {"bmp cut short", bmp.left(bmp.size() - 100)},
    };
    for (const auto& file : damaged)
        EXPECT_EQ(read(dir, QStringLiteral("damaged"), file.second).fault, PictureFault::Damaged) << file.first;

    const QList<QPair<const char*, QByteArray>> foreign = {
        {"text", "answers: A B C D\n"},
        {"two bytes", "ab"},
        {"a picture of a kind not taken", encoded(page(), "ppm")},
    };
    for (const auto& file : foreign)
        EXPECT_EQ(read(dir, QStringLiteral("foreign.jpg"), file.second).fault, PictureFault::Unreadable) << file.first;
    EXPECT_EQ(readPicture(dir.file(QStringLiteral("missing.jpg"))).fault, PictureFault::Unreadable);
    EXPECT_TRUE(readPicture(dir.file(QStringLiteral("missing.jpg"))).image.isNull());
}

TEST(PictureRead, readsSideBySideEachGetTheirOwnVerdict)
{
    // The corrupt file is whole: only the decoder's complaint, heard on the
    // thread that decodes it, tells it from the good one.
    ScratchDir dir;
    ASSERT_TRUE(writeFile(dir.file(QStringLiteral("good.jpg")), encoded(page(), "jpg")));
    ASSERT_TRUE(writeFile(dir.file(QStringLiteral("corrupt.jpg")), jpegWithCorruptData(page())));
    const int threadCount = 8;
    std::vector<int> wrong(threadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&dir, &wrong, t] {
            const bool corrupt = t % 2 == 1;
            const QString path = dir.file(corrupt ? QStringLiteral("corrupt.jpg") : QStringLiteral("good.jpg"));
            for (int round = 0; round < 6; ++round) {
                const PictureFault fault = readPicture(path).fault;
                if (fault != (corrupt ? PictureFault::Damaged : PictureFault::None))
                    ++wrong[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(threadCount, 0));
}
