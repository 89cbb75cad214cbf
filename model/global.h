#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QRectF>
#include <QString>

class EIRectItem;
class QGraphicsItem;

// The program's static utilities: image files and folders, the value forms
// of the template file, and one query over the card. Never instantiated.
class Global : public QObject
{
public:
    Global() = delete;

    // The format name to load the file at `path` with: from its first four
    // bytes, else the first of "jpg", "bmp", "png" whose decoder takes its
    // header; "jpg" for a missing file, empty when none takes it. Only
    // headers are read: pictures themselves go through readPicture.
    static QByteArray loadImage(const QString& path);

    // Creates every missing level of the folder `path`, top down, and
    // returns the path.
    static QString makeParentDir(const QString& path);

    // True when some page of the card has a section of type `kind`
    // ("Object", "Subjective"), or for "lines" some line item.
    static bool hasFramedKind(const QString& kind);

    static QJsonObject rectToJson(const QRectF& rect);
    static QRectF jsonToRect(const QJsonObject& obj);
    // Valid items only, each as its position in its parent and its size.
    static QJsonArray itemsToJson(const QList<EIRectItem*>& items);
    static QList<EIRectItem*> jsonToItems(const QJsonArray& array, QGraphicsItem* parent);
    static QList<QRectF> jsonToRects(const QJsonArray& array);
    static QJsonArray locatePointsToJson(const QList<QRectF>& rects);
    // JPEG at the encoder's default quality, then standard Base64.
    static QString pixmapToBase64(const QPixmap& pixmap);
};
