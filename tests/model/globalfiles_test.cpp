// Image format detection and folder creation.

#include "tests/support/testsupport.h"

#include "model/global.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

using testsupport::ScratchDir;

namespace {

QByteArray encoded(const char* format)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

TEST(GlobalFiles, formatIsTakenFromTheFirstFourBytes)
{
    ScratchDir dir;
    const QByteArray jpeg = encoded("jpg");
    ASSERT_EQ(jpeg.left(4), QByteArray("\xFF\xD8\xFF\xE0", 4));
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.jpg"), jpeg));
    EXPECT_EQ(Global::loadImage(dir.file("a.jpg")), QByteArray("JPG"));

    // An Exif JPEG (FF D8 FF E1) is first tried as BMP, then found as jpg.
    QByteArray exif = jpeg;
    exif[3] = '\xE1';
    ASSERT_TRUE(testsupport::writeFile(dir.file("exif.jpg"), exif));
    EXPECT_EQ(Global::loadImage(dir.file("exif.jpg")), QByteArray("jpg"));

    ASSERT_TRUE(testsupport::writeFile(dir.file("a.png"), encoded("png")));
    EXPECT_EQ(Global::loadImage(dir.file("a.png")), QByteArray("PNG"));
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.bmp"), encoded("bmp")));
    EXPECT_EQ(Global::loadImage(dir.file("a.bmp")), QByteArray("bmp"));
    // A PNG under a misleading name is still found by its contents.
    ASSERT_TRUE(testsupport::writeFile(dir.file("png.bmp"), encoded("png")));
    EXPECT_EQ(Global::loadImage(dir.file("png.bmp")), QByteArray("PNG"));
}

TEST(GlobalFiles, tiffIsNamedWhenTheImageLibraryReadsIt)
{
    ScratchDir dir;
    const bool readable = QImageWriter::supportedImageFormats().contains("tif");
    if (!readable)
        GTEST_SKIP() << "no TIFF plugin";
    const QByteArray tiff = encoded("tif");
    ASSERT_EQ(tiff.left(4), QByteArray("II*\0", 4));
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.tif"), tiff));
    EXPECT_EQ(Global::loadImage(dir.file("a.tif")), QByteArray("tif"));
}

TEST(GlobalFiles, missingShortAndUnreadableFiles)
{
    ScratchDir dir;
    EXPECT_EQ(Global::loadImage(dir.file("missing.jpg")), QByteArray("jpg"));
    ASSERT_TRUE(testsupport::writeFile(dir.file("two"), "ab"));
    EXPECT_EQ(Global::loadImage(dir.file("two")), QByteArray());
    ASSERT_TRUE(testsupport::writeFile(dir.file("text.jpg"), "this is not a picture at all"));
    EXPECT_EQ(Global::loadImage(dir.file("text.jpg")), QByteArray());
}

TEST(GlobalFiles, makeParentDirCreatesMissingLevelsTopDown)
{
    ScratchDir dir;
    const QString root = dir.path();
    EXPECT_EQ(Global::makeParentDir(root), root);

    ASSERT_TRUE(QDir(root).mkdir("a"));
    const QString deep = root + "/a/b/c";
    EXPECT_EQ(Global::makeParentDir(deep), deep);
    EXPECT_TRUE(QFileInfo(deep).isDir());

    const QString slashed = root + "/a/x/";
    EXPECT_EQ(Global::makeParentDir(slashed), slashed);
    EXPECT_TRUE(QFileInfo(root + "/a/x").isDir());
}

TEST(GlobalFiles, makeParentDirEndsOnRelativePaths)
{
    testsupport::Watchdog watchdog(20);
    ScratchDir dir;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    // No level exists and no "/" is left to split at: the walk must stop.
    EXPECT_EQ(Global::makeParentDir("one/two"), QStringLiteral("one/two"));
    EXPECT_EQ(Global::makeParentDir("single"), QStringLiteral("single"));
    EXPECT_TRUE(QFileInfo(dir.path() + "/one/two").isDir());
    EXPECT_TRUE(QFileInfo(dir.path() + "/single").isDir());
    EXPECT_EQ(Global::makeParentDir(QString()), QString());
    QDir::setCurrent(saved);
}
