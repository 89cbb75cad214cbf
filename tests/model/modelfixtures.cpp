#include "tests/model/modelfixtures.h"

#include "canvas/item/eitextitem.h"
#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"

#include <QJsonDocument>
#include <QPainter>

namespace modeltest {

int CountedItem::created = 0;
int CountedItem::destroyed = 0;

CountedItem::CountedItem(const QRectF& rect, QGraphicsItem* parent) : EIRectItem(rect, true, 8, parent)
{
    ++created;
}

CountedItem::~CountedItem()
{
    ++destroyed;
}

EIRectItem* frameItem(const QRectF& rect, QGraphicsItem* parent, int margin)
{
    return new EIRectItem(rect, true, margin, parent);
}

QString captionOf(const EIRectItem* item)
{
    for (const QGraphicsItem* child : item->childItems()) {
        if (child->type() == EITextItem::Type)
            return static_cast<const EITextItem*>(child)->toPlainText();
    }
    return QString();
}

QPixmap drawnPage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(20, 20, width - 20, 20);
    painter.fillRect(QRect(30, 40, 120, 20), Qt::black);
    painter.end();
    return QPixmap::fromImage(image);
}

namespace {

ImageMark imageMark(const QRectF& rect, const QPixmap& page)
{
    ImageMark mark;
    mark.item = frameItem(rect);
    mark.base64 = Global::pixmapToBase64(page.copy(rect.toRect()));
    return mark;
}

SubArea choiceBlock(int first, int last, int type, int orientation, const QStringList& chooses,
                    const QRectF& rect)
{
    SubArea block;
    block.subAreaTopicType = type;
    block.orientation = orientation;
    block.appendNumRange(first, last);
    block.chooses = chooses;
    const int questions = last - first + 1;
    block.rows = orientation == 0 ? questions : chooses.size();
    block.count = orientation == 0 ? chooses.size() : questions;
    block.frame = frameItem(rect);
    // Grid in the item's own coordinates, first box at the margin.
    block.frame->setItemRect(QRectF(8, 8, 20, 12), block.rows, block.count, 18.0, 30.0);
    return block;
}

Section subjectiveSection(int first, int last, int type, const QRectF& rect)
{
    Section section;
    section.type = sectionTypeSubjective;
    section.frame = frameItem(rect);
    SubArea block;
    block.subAreaTopicType = type;
    block.appendNumRange(first, last);
    block.frame = frameItem(rect);
    section.branch.append(block);
    return section;
}

// An optional block's marks: an area inside the section frame and one box
// per number inside the area, as the optional-mark validator makes them.
void addMarks(Section& section, const QRectF& areaInFrame, int boxes)
{
    SubArea& block = section.branch.last();
    block.chooseArea = new EIRectItem(areaInFrame, true, 5, section.frame);
    for (int i = 0; i < boxes; ++i) {
        auto* box = new EIRectItem(QRectF(10 + 60 * i, 8, 40, 24), true, 3, block.chooseArea);
        box->setText(QString::number(block.numList.value(i)), 1);
        block.choosePosition.append(box);
    }
}

} // namespace

void buildFullCard(AnswerSheet& card)
{
    card.paperName = QStringLiteral("期中考试");
    card.paperCnt = 2;
    card.pageCnt = 4;
    card.orientation = QStringLiteral("vertical");
    card.redCard = true;
    card.isObjectVerticalAlign = true;
    card.jumpLines = false;
    card.jumpObjects = false;
    card.jumpSubjects = true;
    card.absentMarkCnt = 1;
    card.answerSheetType = 5;
    card.optionalGroupCnt = 1;
    card.sheets.resize(2);

    for (int i = 0; i < 4; ++i) {
        PageSheet page;
        page.setSide(i % 2);
        page.setPageIndex(i);
        page.setImage(PageImage());
        page.setPixmap(drawnPage(800, 600));
        page.addLine(frameItem(QRectF(20, 15, 760, 10), nullptr, 5));
        page.addLine(frameItem(QRectF(20, 570, 760, 10), nullptr, 5));
        page.locatePoint << QRectF(5, 5, 12, 12) << QRectF(780, 580, 12.5, 12);
        card.sheets[i / 2].append(page);
    }
    const QPixmap picture = card.sheets[0][0].image.pixmap;

    PageSheet& front = card.sheets[0][0];
    front.setTitle(imageMark(QRectF(300, 30, 200, 40), picture));
    front.addPageNumMark(imageMark(QRectF(700, 30, 60, 30), picture));
    TestMark absent;
    absent.item = new EIRectItem(QRectF(600, 80, 40, 20), false, 4, nullptr);
    absent.enabled = true;
    front.setTestMark(absent);
    front.ticketNum.enabled = true;
    front.ticketNum.direction = 0;
    front.ticketNum.rows = 10;
    front.ticketNum.count = 9;
    front.ticketNum.borderType = 1;
    front.ticketNum.existsLine = false;
    front.ticketNum.frame = frameItem(QRectF(40, 80, 300, 200));
    front.ticketNum.frame->setItemRect(QRectF(8, 8, 24, 14), 10, 9, 18.5, 30.25);

    Section objective;
    objective.type = sectionTypeObject;
    objective.frame = frameItem(QRectF(40, 300, 700, 120));
    objective.addSubArea(choiceBlock(1, 5, 0, 0, {"A", "B", "C", "D"}, QRectF(40, 300, 200, 120)));
    objective.addSubArea(choiceBlock(6, 8, 2, 1, {"T", "F"}, QRectF(300, 300, 120, 80)));
    front.addSection(objective);

    front.addSection(subjectiveSection(9, 10, 3, QRectF(40, 430, 700, 60)));
    Section optional = subjectiveSection(11, 12, 4, QRectF(40, 500, 700, 80));
    optional.branch.last().chooseTopicGroup = 1;
    optional.branch.last().chooseTopicModel = 1;
    addMarks(optional, QRectF(400, 10, 200, 40), 2);
    front.addSection(optional);

    PageSheet& back = card.sheets[0][1];
    BarCode barcode;
    barcode.item = frameItem(QRectF(500, 100, 250, 80));
    barcode.enabled = true;
    back.setBarCode(barcode);
    Section merged = subjectiveSection(11, 12, 4, QRectF(40, 100, 700, 300));
    merged.branch.last().merge = true;
    back.addSection(merged);

    PageSheet& third = card.sheets[1][0];
    ImageMark deletedMark = imageMark(QRectF(700, 30, 60, 30), picture);
    deletedMark.item->setValid(0);
    third.addPageNumMark(deletedMark);
    third.addPageNumMark(imageMark(QRectF(600, 30, 60, 30), picture));
    third.addSection(subjectiveSection(13, 13, 5, QRectF(40, 100, 700, 300)));

    PageSheet& fourth = card.sheets[1][1];
    fourth.setTitle(imageMark(QRectF(300, 30, 200, 40), picture));
    fourth.title.item->setValid(0);
    Section waiting = subjectiveSection(14, 16, 6, QRectF(40, 100, 700, 300));
    waiting.step = 1;
    fourth.addSection(waiting);
}

void savePagePictures(const AnswerSheet& card, const QString& folder)
{
    for (const QVector<PageSheet>& paper : card.sheets) {
        for (const PageSheet& page : paper) {
            const QString name = QStringLiteral("%1/%2_%3.jpg").arg(folder, card.paperName).arg(page.pageIndex);
            ASSERT_TRUE(page.image.pixmap.save(name, "jpg")) << name.toStdString();
        }
    }
}

QJsonObject parseObject(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

QStringList sortedKeys(const QJsonObject& obj)
{
    return obj.keys(); // QJsonObject keeps its keys sorted
}

void ModelTest::SetUp()
{
    card.clear();
    projectDir.clear();
    importError.clear();
    deletedItems.clear();
    removedRecords.clear();
}

void ModelTest::TearDown()
{
    card.clear();
    deleteItemsOnce(deletedItems);
    deletedItems.clear();
    removedRecords.clear();
    projectDir.clear();
    importError.clear();
}

} // namespace modeltest
