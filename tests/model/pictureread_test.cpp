// The one picture reader: what it takes and what it refuses. The cost of
// a refusal in memory is measured on the intake and import roads.

#include "tests/support/testsupport.h"

#include "model/pictureread.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace testsupport;

namespace {

// White with a black square at the top left and enough print that a tenth
// of its JPEG still holds the whole header.
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

} // namespace

TEST(PictureRead, takesWholePicturesByTheirContentsAndRefusesForgedCutOrForeignOnes)
{
    ScratchDir dir;
    const QByteArray jpeg = encoded(page(), "jpg");
    const QByteArray png = encoded(page(), "png");
    const QByteArray bmp = encoded(page(), "bmp");
    QImage glass(100, 50, QImage::Format_ARGB32);
    glass.fill(qRgba(0, 0, 0, 128));
    const struct
    {
        const char* what;
        QByteArray bytes;
        PictureFault fault;
    } cases[] = {
        // Every file is named .jpg: the contents name the kind.
        {"jpeg", jpeg, PictureFault::None},
        {"png", png, PictureFault::None},
        {"bmp", bmp, PictureFault::None},
        {"half transparent", encoded(glass, "png"), PictureFault::None},
        // A few hundred bytes declaring 30,000 x 30,000 pixels; within the
        // limits the same forgery is decoded and found cut short.
        {"forged 30000 x 30000", jpegDeclaring(30000, 30000), PictureFault::TooLarge},
        {"forged 12001 wide", jpegDeclaring(12001, 10), PictureFault::TooLarge},
        {"forged 12000 wide", jpegDeclaring(12000, 10), PictureFault::Damaged},
        {"jpeg cut to a tenth", jpeg.left(jpeg.size() / 10), PictureFault::Damaged},
        {"jpeg without its end marker", jpeg.left(jpeg.size() - 2), PictureFault::Damaged},
        {"whole jpeg with corrupt data", jpegWithCorruptData(page()), PictureFault::Damaged},
        {"png cut in half", png.left(png.size() / 2), PictureFault::Damaged},
        {"bmp cut short", bmp.left(bmp.size() - 100), PictureFault::Damaged},
        {"text", "answers: A B C D\n", PictureFault::Unreadable},
        {"two bytes", "ab", PictureFault::Unreadable},
        {"a kind not taken", encoded(page(), "ppm"), PictureFault::Unreadable},
    };
    std::vector<Picture> pictures(std::size(cases));
    for (size_t i = 0; i < pictures.size(); ++i)
        ASSERT_TRUE(writeFile(dir.file(QStringLiteral("%1.jpg").arg(i)), cases[i].bytes));
    // All at once, each on its own thread: a decoder's complaint counts
    // only against the picture it was decoding.
    std::vector<std::thread> threads;
    for (size_t i = 0; i < pictures.size(); ++i)
        threads.emplace_back([&, i] { pictures[i] = readPicture(dir.file(QStringLiteral("%1.jpg").arg(i))); });
    for (std::thread& thread : threads)
        thread.join();

    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i].fault, cases[i].fault) << cases[i].what;
        EXPECT_EQ(pictures[i].image.isNull(), cases[i].fault != PictureFault::None) << cases[i].what;
    }
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(pictures[i].image.size(), QSize(600, 400));
        EXPECT_LT(qGray(pictures[i].image.pixel(80, 80)), 30) << cases[i].what;
        EXPECT_GT(qGray(pictures[i].image.pixel(300, 300)), 225) << cases[i].what;
    }
    // Transparency is laid on white, as the sheet would print.
    EXPECT_FALSE(pictures[3].image.hasAlphaChannel());
    EXPECT_NEAR(qGray(pictures[3].image.pixel(10, 10)), 127, 2);
    EXPECT_EQ(readPicture(dir.file(QStringLiteral("missing.jpg"))).fault, PictureFault::Unreadable);
}
