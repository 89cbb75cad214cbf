// The template records as built, reset and queried by the workflow.

#include "tests/model/modelfixtures.h"
#include "tests/support/testsupport.h"

#include "model/global.h"

#include <QGraphicsScene>

using namespace modeltest;

namespace {

class Records : public ModelTest
{
protected:
    void TearDown() override
    {
        answerSheet.clear();
        ModelTest::TearDown();
    }
};

} // namespace

TEST_F(Records, resetsDeleteTheItemOnlyWhenAsked)
{
    CountedItem::destroyed = 0;
    QGraphicsScene scene;
    ImageMark mark;
    mark.item = new CountedItem(QRectF(0, 0, 10, 10));
    mark.base64 = QStringLiteral("abc");
    scene.addItem(mark.item);
    EIRectItem* kept = mark.item;
    mark.reset(false);
    EXPECT_EQ(mark.item, nullptr);
    EXPECT_TRUE(mark.base64.isEmpty());
    EXPECT_EQ(kept->scene(), &scene);
    EXPECT_EQ(CountedItem::destroyed, 0);

    mark.item = kept;
    EXPECT_TRUE(mark.isEmpty());   // an item without picture text
    mark.reset(true);
    EXPECT_EQ(CountedItem::destroyed, 1);
    EXPECT_TRUE(scene.items().isEmpty());

    SimpleMark simple;
    simple.enabled = true;
    simple.reset(true);
    EXPECT_FALSE(simple.enabled);

    TicketNum area;
    area.enabled = true;
    area.frame = new CountedItem(QRectF(0, 0, 10, 10));
    area.reset(true);
    EXPECT_FALSE(area.enabled);
    EXPECT_EQ(area.frame, nullptr);
    EXPECT_EQ(CountedItem::destroyed, 2);
}

TEST_F(Records, pageAndBlockQueries)
{
    SubArea block;
    block.appendNumRange(5, 3);
    EXPECT_TRUE(block.numList.isEmpty());
    block.appendNumRange(3, 5);
    EXPECT_EQ(block.numList, (QList<int>{3, 4, 5}));
    // A caption names the first and last number, not a range check.
    EXPECT_EQ(SubArea::numbersCaption({12, 13, 15}), QStringLiteral("第12~15题"));
    EXPECT_EQ(SubArea::numbersCaption({}), QString());

    PageSheet page;
    page.lines << nullptr << nullptr;
    EXPECT_EQ(page.lineCount(), 0);

    Section subjective;
    subjective.type = sectionTypeSubjective;
    page.addSection(subjective);
    EXPECT_FALSE(page.hasSection(false));
    EXPECT_TRUE(page.hasSection(true));
}

TEST_F(Records, framedKindIsLookedUpOnEveryPageOfTheCard)
{
    EXPECT_FALSE(Global::hasFramedKind(QStringLiteral("Object")));
    answerSheet.sheets.resize(2);
    answerSheet.sheets[0] << PageSheet() << PageSheet();
    answerSheet.sheets[1] << PageSheet() << PageSheet();
    Section objective;
    objective.type = sectionTypeObject;
    answerSheet.sheets[0][0].addSection(objective);
    EXPECT_TRUE(Global::hasFramedKind(QStringLiteral("Object")));
    EXPECT_FALSE(Global::hasFramedKind(QStringLiteral("Subjective")));
    EXPECT_FALSE(Global::hasFramedKind(QStringLiteral("object")));

    Section subjective;
    subjective.type = sectionTypeSubjective;
    answerSheet.sheets[1][1].addSection(subjective);
    EXPECT_TRUE(Global::hasFramedKind(QStringLiteral("Subjective")));

    EXPECT_FALSE(Global::hasFramedKind(QStringLiteral("lines")));
    answerSheet.sheets[1][0].addLine(frameItem(QRectF(0, 0, 100, 5)));
    EXPECT_TRUE(Global::hasFramedKind(QStringLiteral("lines")));
}

TEST_F(Records, pageImageLoadsAndTurns)
{
    testsupport::ScratchDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QString path = dir.file("page.png");
    ASSERT_TRUE(picture.save(path, "png"));

    const PageImage image(path);
    EXPECT_EQ(image.name, path);
    EXPECT_EQ(image.pixmap.size(), QSize(40, 20));
    EXPECT_TRUE(PageImage(QString()).pixmap.isNull());
    EXPECT_TRUE(PageImage(QString()).name.isEmpty());

    PageImage turned = image;
    turned.rotate(-90);
    EXPECT_EQ(turned.pixmap.size(), QSize(20, 40));
    EXPECT_EQ(turned.toJson(), (QJsonObject{{"width", 20}, {"height", 40}}));
    EXPECT_EQ(PageImage().toJson(), (QJsonObject{{"width", 0}, {"height", 0}}));

    PageSheet page;
    page.setImage(image);
    page.setPixmap(turned.pixmap);
    EXPECT_EQ(page.image.name, path);
    EXPECT_EQ(page.image.pixmap.size(), QSize(20, 40));
}
