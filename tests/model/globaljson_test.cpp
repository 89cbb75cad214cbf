// The value forms of the template file.

#include "tests/model/modelfixtures.h"

#include "model/global.h"

#include <QBuffer>
#include <QImageReader>

using namespace modeltest;

TEST(GlobalJson, rectangleObjectsMoveEdgesLikeQRectF)
{
    const QRectF rect(10.5, 20, 30, 40.25);
    EXPECT_EQ(Global::jsonToRect(Global::rectToJson(rect)), rect);
    EXPECT_EQ(Global::rectToJson(rect).keys(), (QStringList{"height", "left", "top", "width"}));

    const QRectF onlyLeft = Global::jsonToRect(QJsonObject{{"left", 10}});
    EXPECT_EQ(onlyLeft.x(), 10);
    EXPECT_EQ(onlyLeft.width(), -10);
    EXPECT_EQ(Global::jsonToRect(QJsonObject{{"width", 5}, {"height", 6}}), QRectF(0, 0, 5, 6));
    EXPECT_EQ(Global::jsonToRect(QJsonObject{{"left", "7"}, {"width", 5}}), QRectF(0, 0, 5, 0));
}

TEST(GlobalJson, itemListsSkipMissingAndDeletedItems)
{
    EIRectItem* deleted = frameItem(QRectF(0, 0, 10, 10));
    deleted->setValid(0);
    EXPECT_TRUE(Global::itemsToJson({nullptr, deleted}).isEmpty());

    EIRectItem* parent = frameItem(QRectF(100, 100, 200, 200));
    EIRectItem* child = frameItem(QRectF(5, 6, 7, 8), parent);
    // A child is written relative to its parent.
    EXPECT_EQ(Global::itemsToJson({deleted, child}), QJsonArray{Global::rectToJson(QRectF(5, 6, 7, 8))});

    const QList<EIRectItem*> made = Global::jsonToItems(QJsonArray{QJsonObject(), Global::rectToJson(QRectF(1, 2, 3, 4))}, parent);
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(made[0]->sceneRect(), QRectF());
    EXPECT_EQ(made[1]->sceneRect(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(made[1]->parentItem(), parent);
    EXPECT_EQ(made[1]->margin(), 5);
    EXPECT_EQ(Global::jsonToRects(Global::itemsToJson(made)), (QList<QRectF>{QRectF(), QRectF(1, 2, 3, 4)}));
    EXPECT_EQ(Global::locatePointsToJson({QRectF(1, 2, 3, 4)}), QJsonArray{Global::rectToJson(QRectF(1, 2, 3, 4))});
    delete deleted;
    delete parent;
}

TEST(GlobalJson, numberAndTextArraysAppend)
{
    QList<int> numbers{1};
    SubArea::jsonToInts(QJsonArray{3, "x", 5}, numbers);
    EXPECT_EQ(numbers, (QList<int>{1, 3, 0, 5}));
    QStringList texts;
    SubArea::jsonToStrings(QJsonArray{"A", 2}, texts);
    EXPECT_EQ(texts, (QStringList{"A", ""}));
    EXPECT_EQ(SubArea::intsToJson({4, 5}), (QJsonArray{4, 5}));
    EXPECT_EQ(SubArea::stringsToJson({"T", "F"}), (QJsonArray{"T", "F"}));
}

TEST(GlobalJson, pixmapTravelsAsBase64Jpeg)
{
    const QPixmap picture = drawnPage(64, 32);
    const QByteArray bytes = QByteArray::fromBase64(Global::pixmapToBase64(picture).toLatin1());
    ASSERT_GT(bytes.size(), 4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpg");
    const QImage decoded = reader.read();
    EXPECT_EQ(decoded.size(), QSize(64, 32));
    // The black bar of the drawn page is still dark after the round trip.
    EXPECT_LT(qGray(decoded.pixel(40, 45)), 60);
}
