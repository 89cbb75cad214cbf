#include "model/pagesheet.h"

#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/jsonread.h"
#include "model/pictureread.h"

namespace {

// The writer's form for a page without picture. No file was saved for it,
// so none is looked for: a file of an earlier save in the same folder
// would otherwise come back as the page's picture.
bool declaresNoPicture(const QJsonObject& img)
{
    const QJsonValue width = img.value(QStringLiteral("width"));
    const QJsonValue height = img.value(QStringLiteral("height"));
    return width.isDouble() && height.isDouble() && width.toDouble() == 0 && height.toDouble() == 0;
}

} // namespace

QJsonObject PageSheet::toJson() const
{
    return toJson(answerSheet.pageCnt);
}

QJsonObject PageSheet::toJson(int cardPageCnt) const
{
    QJsonObject obj;
    obj.insert(QStringLiteral("isFront"), side == FaceFront);
    obj.insert(QStringLiteral("pageIndex"), pageIndex);
    obj.insert(QStringLiteral("img"), image.toJson());

    const QJsonObject titleObj = title.toJson(QStringLiteral("title4base64"), QStringLiteral("position"));
    if (!titleObj.isEmpty())
        obj.insert(QStringLiteral("titles"), QJsonArray{titleObj});

    // A card of one paper has no page-number marks in the file.
    QJsonArray marks;
    for (const ImageMark& mark : pageNum)
        marks.append(mark.toJson(QStringLiteral("pagenum4base64"), QStringLiteral("position")));
    if (!marks.isEmpty() && cardPageCnt > 2)
        obj.insert(QStringLiteral("pageNum"), marks);

    if (testmark.enabled) {
        const QJsonObject mark = testmark.toJson();
        if (!mark.isEmpty())
            obj.insert(QStringLiteral("testmark"), mark);
    }
    if (ticketNum.enabled) {
        const QJsonObject area = ticketNum.toJson();
        if (!area.isEmpty())
            obj.insert(QStringLiteral("ticketNum"), area);
    }
    if (barCode.enabled) {
        const QJsonObject mark = barCode.toJson();
        if (!mark.isEmpty())
            obj.insert(QStringLiteral("barCode"), mark);
    }

    QJsonArray sectionArray;
    for (const Section& section : sections) {
        const QJsonObject sectionObj = section.toJson();
        if (!sectionObj.isEmpty())
            sectionArray.append(sectionObj);
    }
    obj.insert(QStringLiteral("sections"), sectionArray);
    obj.insert(QStringLiteral("lines"), Global::itemsToJson(lines));
    obj.insert(QStringLiteral("locatePoint"), Global::locatePointsToJson(locatePoint));
    return obj;
}

PageSheet PageSheet::fromJson(const QJsonObject& obj)
{
    return fromJson(obj, answerSheet.paperName);
}

PageSheet PageSheet::fromJson(const QJsonObject& obj, const QString& paperName)
{
    PageSheet page;
    const QJsonValue front = obj.value(QStringLiteral("isFront"));
    if (front.isBool())
        page.side = front.toBool() ? FaceFront : FaceBack;
    readKey(obj, QStringLiteral("pageIndex"), page.pageIndex);

    const QJsonValue titles = obj.value(QStringLiteral("titles"));
    if (titles.isArray())
        page.title = ImageMark::fromJson(titles.toArray().at(0).toObject(), QStringLiteral("title4base64"));
    if (obj.contains(QStringLiteral("pageNum"))) {
        for (const QJsonValue& mark : obj.value(QStringLiteral("pageNum")).toArray())
            page.addPageNumMark(ImageMark::fromJson(mark.toObject(), QStringLiteral("pagenum4base64")));
    }

    const QJsonValue img = obj.value(QStringLiteral("img"));
    if (img.isObject() && !declaresNoPicture(img.toObject()))
        page.image = loadImage(img.toObject(), paperName + QLatin1Char('_') + QString::number(page.pageIndex));

    const QJsonValue absentMark = obj.value(QStringLiteral("testmark"));
    if (absentMark.isObject())
        page.testmark = TestMark::fromJson(absentMark.toObject());
    const QJsonValue examNumber = obj.value(QStringLiteral("ticketNum"));
    if (examNumber.isObject())
        page.ticketNum = TicketNum::fromJson(examNumber.toObject());
    const QJsonValue barcode = obj.value(QStringLiteral("barCode"));
    if (barcode.isObject())
        page.barCode = SimpleMark::fromJson(barcode.toObject());

    const QJsonValue lineArray = obj.value(QStringLiteral("lines"));
    if (lineArray.isArray())
        page.lines = Global::jsonToItems(lineArray.toArray(), nullptr);
    const QJsonValue points = obj.value(QStringLiteral("locatePoint"));
    if (points.isArray())
        page.locatePoint = Global::jsonToRects(points.toArray());

    const QJsonValue sectionArray = obj.value(QStringLiteral("sections"));
    if (sectionArray.isArray()) {
        for (const QJsonValue& section : sectionArray.toArray())
            page.sections.append(Section::fromJson(section.toObject()));
    }
    return page;
}

PageImage PageSheet::loadImage(const QJsonObject& img, const QString& baseName)
{
    const QString fileName = baseName + QStringLiteral(".jpg");
    const QString path = projectDir + QLatin1Char('/') + fileName;
    // A picture that is damaged or asks for too many pixels is as unusable
    // as a missing one.
    const platform::FileStamp stamp = platform::fileStamp(path);
    const Picture picture = readPicture(path);
    PageImage loaded;
    if (picture.fault != PictureFault::None) {
        importError = QStringLiteral("图像 \"") + fileName + QStringLiteral("\" 不存在,导入失败！");
        return loaded;
    }
    // The framings are measured on the picture the file was saved with; a
    // picture of another size is one of another save (one cut short).
    const QJsonValue width = img.value(QStringLiteral("width"));
    const QJsonValue height = img.value(QStringLiteral("height"));
    if (width.isDouble() && height.isDouble()
        && (width.toDouble() != picture.image.width() || height.toDouble() != picture.image.height())) {
        importError = QStringLiteral("图像 \"") + fileName + QStringLiteral("\" 的大小与模板文件不符,导入失败！");
        return loaded;
    }
    loaded.set(QPixmap::fromImage(picture.image), path);
    // Unless the file changed while it was read, its bytes are this picture.
    if (picture.format == "jpeg" && stamp.exists() && platform::fileStamp(path) == stamp)
        loaded.noteJpegFile(path, stamp);
    return loaded;
}
