#include "model/marks.h"

#include "canvas/item/eirectitem.h"
#include "model/global.h"
#include "model/pictureread.h"

#include <QTransform>

namespace {

const QColor markFill(255, 0, 0, 20);
const QColor absentMarkRed(255, 0, 0, 255);

} // namespace

PageImage::PageImage(const QString& path)
{
    if (path.isEmpty())
        return;
    const Picture picture = readPicture(path);
    if (picture.fault == PictureFault::None)
        pixmap = QPixmap::fromImage(picture.image);
    name = path;
}

void PageImage::set(const QPixmap& newPixmap, const QString& newName)
{
    pixmap = newPixmap;
    name = newName;
}

void PageImage::rotate(int degrees)
{
    QTransform turn;
    turn.rotate(degrees);
    pixmap = pixmap.transformed(turn, Qt::FastTransformation);
}

void PageImage::noteJpegFile(const QString& path, const platform::FileStamp& stamp)
{
    jpeg = JpegFile{path, stamp, pixmap.cacheKey()};
}

QString PageImage::unchangedJpegFile() const
{
    if (jpeg.path.isEmpty() || pixmap.isNull() || pixmap.cacheKey() != jpeg.pixmapKey
        || platform::fileStamp(jpeg.path) != jpeg.stamp)
        return QString();
    return jpeg.path;
}

QJsonObject PageImage::toJson() const
{
    QJsonObject obj;
    obj.insert(QStringLiteral("width"), pixmap.width());
    obj.insert(QStringLiteral("height"), pixmap.height());
    return obj;
}

void ImageMark::reset(bool deleteItem)
{
    if (item && deleteItem)
        delete item;
    item = nullptr;
    base64.clear();
}

bool ImageMark::isEmpty() const
{
    return base64.isEmpty() || !item;
}

QJsonObject ImageMark::toJson(const QString& textKey, const QString& positionKey) const
{
    QJsonObject obj;
    if (!item || !item->isValid())
        return obj;
    obj.insert(textKey, base64);
    obj.insert(positionKey, Global::rectToJson(item->sceneRect()));
    return obj;
}

ImageMark ImageMark::fromJson(const QJsonObject& obj, const QString& textKey)
{
    ImageMark mark;
    const QJsonValue position = obj.value(QStringLiteral("position"));
    if (position.isObject()) {
        mark.item = new EIRectItem(Global::jsonToRect(position.toObject()), true, 8, nullptr);
        mark.item->setBrushColor(markFill, true);
    }
    const QJsonValue text = obj.value(textKey);
    if (text.isString())
        mark.base64 = text.toString();
    return mark;
}

void SimpleMark::reset(bool deleteItem)
{
    enabled = false;
    if (item && deleteItem)
        delete item;
    item = nullptr;
}

QJsonObject SimpleMark::toJson() const
{
    QJsonObject obj;
    if (!item)
        return obj;
    obj.insert(QStringLiteral("position"), Global::rectToJson(item->sceneRect()));
    obj.insert(QStringLiteral("enabled"), enabled);
    return obj;
}

namespace {

// An enabled mark on the object's "position", or an empty one without it.
SimpleMark markAtPosition(const QJsonObject& obj, bool flag, int margin)
{
    SimpleMark mark;
    if (!obj.contains(QStringLiteral("position")))
        return mark;
    const QRectF rect = Global::jsonToRect(obj.value(QStringLiteral("position")).toObject());
    mark.item = new EIRectItem(rect, flag, margin, nullptr);
    mark.item->setBrushColor(markFill, true);
    mark.enabled = true;
    return mark;
}

} // namespace

SimpleMark SimpleMark::fromJson(const QJsonObject& obj)
{
    return markAtPosition(obj, true, 8);
}

TestMark TestMark::fromJson(const QJsonObject& obj)
{
    TestMark mark = markAtPosition(obj, false, 4);
    if (mark.item) {
        mark.item->setBorderColor(absentMarkRed, 1);
        mark.item->setHoverPen(absentMarkRed, 2);
    }
    return mark;
}
