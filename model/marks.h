#pragma once

#include "platform/durablefiles.h"

#include <QJsonObject>
#include <QPixmap>
#include <QString>

class EIRectItem;

// The picture of one page face and the file it came from.
struct PageImage
{
    QPixmap pixmap;
    QString name;

    PageImage() = default;
    // Reads the picture with readPicture; one it refuses leaves the pixmap
    // null. An empty path leaves both fields empty.
    explicit PageImage(const QString& path);

    void set(const QPixmap& pixmap, const QString& name);
    void rotate(int degrees);

    // The JPEG file whose bytes stand for the pixmap: the one it was read
    // from, or the one a save wrote it to. A save copies that file instead
    // of encoding the picture again, which would lose a little more of it
    // each time. `stamp` is the file as it was then.
    void noteJpegFile(const QString& path, const platform::FileStamp& stamp);
    // That file, while the pixmap is still the very one (not straightened,
    // turned or replaced since; any change makes a new pixmap) and the file
    // still carries its stamp; else an empty text.
    QString unchangedJpegFile() const;
    platform::FileStamp jpegStamp() const { return jpeg.stamp; }
    // {"width", "height"} of the picture; the pixels travel as a JPEG file.
    QJsonObject toJson() const;

private:
    struct JpegFile
    {
        QString path;
        platform::FileStamp stamp;
        qint64 pixmapKey = 0;
    } jpeg;
};

// A framed mark whose cut-out travels inside the template as Base64 JPEG
// text (titles, page-number marks).
struct ImageMark
{
    EIRectItem* item = nullptr;
    QString base64;

    // Drops the item, deleting it only when asked: the scene owns it.
    void reset(bool deleteItem);
    bool isEmpty() const;

    // {} when the item is missing or was deleted on the canvas.
    QJsonObject toJson(const QString& textKey, const QString& positionKey) const;
    static ImageMark fromJson(const QJsonObject& obj, const QString& textKey);
};

// A framed mark without picture: the barcode and the absent mark.
struct SimpleMark
{
    EIRectItem* item = nullptr;
    bool enabled = false;

    void reset(bool deleteItem);

    // {} when the item is missing, so a writer never follows a null item.
    QJsonObject toJson() const;
    // The barcode; enabled when the object has a "position".
    static SimpleMark fromJson(const QJsonObject& obj);
};

using BarCode = SimpleMark;

struct TestMark : SimpleMark
{
    TestMark() = default;
    TestMark(const SimpleMark& mark) : SimpleMark(mark) {}

    // The absent mark: drawn with a thin red border, unlike the barcode.
    static TestMark fromJson(const QJsonObject& obj);
};
