// Writing the template file: a whole card survives save, read and save
// again, and each object carries exactly its keys.

#include "tests/model/modelfixtures.h"
#include "tests/support/testsupport.h"

#include "model/global.h"
#include "model/infra/appstate.h"

#include <QJsonArray>

using namespace modeltest;

namespace {

QStringList keys(std::initializer_list<const char*> names)
{
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    list.sort();
    return list;
}

QJsonArray pagesOf(const QJsonObject& card)
{
    return card.value("pageSheets").toArray();
}

QJsonObject blockOf(const QJsonObject& page, int section, int block = 0)
{
    return page.value("sections").toArray().at(section).toObject()
        .value("contents").toObject().value("branch").toArray().at(block).toObject();
}

using TemplateFile = ModelTest;

} // namespace

TEST_F(TemplateFile, fullCardReadsBackAndSavesTheSameText)
{
    testsupport::ScratchDir dir;
    buildFullCard(card);
    const QByteArray first = card.toJson(true);
    ASSERT_FALSE(first.isEmpty()) << card.errorString().toStdString();
    EXPECT_EQ(card.json, first);
    savePagePictures(card, dir.path());

    projectDir = dir.path();
    AnswerSheet read;
    ASSERT_TRUE(read.unserialized(first)) << read.errorString().toStdString();
    EXPECT_TRUE(importError.isEmpty()) << importError.toStdString();
    const QByteArray second = read.toJson(true);
    ASSERT_FALSE(second.isEmpty());

    AnswerSheet again;
    ASSERT_TRUE(again.unserialized(second));
    const QByteArray third = again.toJson(true);
    EXPECT_EQ(QString::fromUtf8(second).toStdString(), QString::fromUtf8(third).toStdString());
    // Nothing of the first save is lost on the way either.
    EXPECT_EQ(parseObject(first), parseObject(second));

    ASSERT_EQ(read.sheets.size(), 2);
    EXPECT_EQ(read.sheets[0].size(), 2);
    EXPECT_EQ(read.sheets[1].size(), 2);
    EXPECT_EQ(read.pageCnt, 4);
    EXPECT_EQ(read.paperName, QStringLiteral("期中考试"));
    EXPECT_EQ(read.orientation, QStringLiteral("vertical"));
    EXPECT_EQ(read.sheets[1][1].image.name, dir.path() + "/期中考试_3.jpg");
    EXPECT_EQ(read.sheets[1][1].image.pixmap.size(), QSize(800, 600));
    read.clear();
    again.clear();
}

TEST_F(TemplateFile, cardObjectHasAbsentMarkCountOnlyWithSeveralPapers)
{
    buildFullCard(card);
    QJsonObject obj = parseObject(card.toJson(true));
    EXPECT_EQ(sortedKeys(obj),
              keys({"absentMarkCnt", "answerSheetType", "isComplete", "isObjectVerticalAlign", "jumpLines",
                    "jumpObjects", "jumpSubjects", "optionalGroupCnt", "pageSheets", "paperCnt", "paperName",
                    "paperType", "redCard"}));
    EXPECT_EQ(obj.value("paperType").toString(), QStringLiteral("A4"));
    EXPECT_EQ(obj.value("absentMarkCnt").toInt(), 1);
    EXPECT_EQ(obj.value("answerSheetType").toInt(), 5);
    EXPECT_TRUE(obj.value("isComplete").toBool());
    EXPECT_TRUE(obj.value("jumpSubjects").toBool());
    EXPECT_EQ(pagesOf(obj).size(), 4);

    card.paperCnt = 1;
    card.orientation = QStringLiteral("horizontal");
    obj = parseObject(card.toJson(false));
    EXPECT_FALSE(obj.contains("absentMarkCnt"));
    EXPECT_EQ(obj.value("paperType").toString(), QStringLiteral("A3"));
    EXPECT_FALSE(obj.value("isComplete").toBool());
}

TEST_F(TemplateFile, pageObjectsCarryTheirConditionalKeys)
{
    buildFullCard(card);
    const QJsonArray pages = pagesOf(parseObject(card.toJson(true)));
    ASSERT_EQ(pages.size(), 4);

    const QJsonObject front = pages.at(0).toObject();
    EXPECT_EQ(sortedKeys(front), keys({"img", "isFront", "lines", "locatePoint", "pageIndex", "pageNum",
                                       "sections", "testmark", "ticketNum", "titles"}));
    EXPECT_TRUE(front.value("isFront").toBool());
    EXPECT_EQ(front.value("img").toObject(), (QJsonObject{{"width", 800}, {"height", 600}}));
    EXPECT_EQ(front.value("lines").toArray().size(), 2);
    EXPECT_EQ(front.value("locatePoint").toArray().at(1).toObject(),
              Global::rectToJson(QRectF(780, 580, 12.5, 12)));
    const QJsonArray titles = front.value("titles").toArray();
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(sortedKeys(titles.at(0).toObject()), keys({"position", "title4base64"}));
    EXPECT_EQ(titles.at(0).toObject().value("position").toObject(), Global::rectToJson(QRectF(300, 30, 200, 40)));
    EXPECT_FALSE(titles.at(0).toObject().value("title4base64").toString().isEmpty());
    EXPECT_EQ(sortedKeys(front.value("pageNum").toArray().at(0).toObject()), keys({"pagenum4base64", "position"}));
    EXPECT_EQ(sortedKeys(front.value("testmark").toObject()), keys({"enabled", "position"}));
    EXPECT_EQ(sortedKeys(front.value("ticketNum").toObject()),
              keys({"borderType", "colOffset", "count", "direction", "enabled", "existsLine", "firstOption",
                    "position", "rowOffset", "rows"}));

    const QJsonObject back = pages.at(1).toObject();
    EXPECT_EQ(sortedKeys(back), keys({"barCode", "img", "isFront", "lines", "locatePoint", "pageIndex", "sections"}));
    EXPECT_FALSE(back.value("isFront").toBool());
    EXPECT_EQ(sortedKeys(back.value("barCode").toObject()), keys({"enabled", "position"}));

    // A page-number mark whose item was deleted keeps its place as {}.
    const QJsonArray marks = pages.at(2).toObject().value("pageNum").toArray();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_TRUE(marks.at(0).toObject().isEmpty());
    EXPECT_FALSE(marks.at(1).toObject().isEmpty());
    // A deleted title leaves no "titles" at all.
    EXPECT_FALSE(pages.at(3).toObject().contains("titles"));

    // A card of two pages has no page-number marks in the file.
    card.pageCnt = 2;
    for (const QJsonValue& page : pagesOf(parseObject(card.toJson(true))))
        EXPECT_FALSE(page.toObject().contains("pageNum"));
}

TEST_F(TemplateFile, sectionAndBlockObjectsCarryExactlyTheirKeys)
{
    buildFullCard(card);
    const QJsonArray pages = pagesOf(parseObject(card.toJson(true)));
    const QJsonObject front = pages.at(0).toObject();

    const QJsonObject section = front.value("sections").toArray().at(0).toObject();
    EXPECT_EQ(sortedKeys(section), keys({"contents", "step", "type"}));
    EXPECT_EQ(sortedKeys(section.value("contents").toObject()), keys({"branch", "position"}));
    EXPECT_EQ(section.value("type").toString(), QStringLiteral("Object"));

    const QJsonObject single = blockOf(front, 0, 0);
    EXPECT_EQ(sortedKeys(single), keys({"chooseCount", "chooses", "colOffset", "firstOption", "ixList", "merge",
                                        "numList", "orientation", "position", "rowOffset", "rows",
                                        "subAreaTopicType"}));
    EXPECT_EQ(single.value("subAreaTopicType").toString(), QStringLiteral("SingleChoice"));
    EXPECT_EQ(single.value("chooses").toArray(), (QJsonArray{"A", "B", "C", "D"}));
    EXPECT_EQ(single.value("chooseCount").toInt(), 4);
    EXPECT_EQ(single.value("rows").toInt(), 5);
    EXPECT_EQ(single.value("orientation").toInt(), 0);
    EXPECT_DOUBLE_EQ(single.value("rowOffset").toDouble(), 18.0);
    EXPECT_DOUBLE_EQ(single.value("colOffset").toDouble(), 30.0);
    EXPECT_EQ(single.value("firstOption").toObject(), Global::rectToJson(QRectF(8, 8, 20, 12)));
    EXPECT_EQ(blockOf(front, 0, 1).value("subAreaTopicType").toString(), QStringLiteral("Judge"));

    const QJsonObject fillBlank = blockOf(front, 1);
    EXPECT_EQ(sortedKeys(fillBlank), keys({"ixList", "merge", "numList", "position", "subAreaTopicType"}));
    EXPECT_EQ(fillBlank.value("subAreaTopicType").toString(), QStringLiteral("FillBlank"));

    const QJsonObject optional = blockOf(front, 2);
    EXPECT_EQ(sortedKeys(optional), keys({"chooseArea", "choosePosition", "chooseTopicGroup", "chooseTopicModel",
                                          "choseScore", "ixList", "merge", "numList", "position",
                                          "subAreaTopicType"}));
    EXPECT_EQ(optional.value("chooseArea").toObject(), Global::rectToJson(QRectF(400, 10, 200, 40)));
    EXPECT_EQ(optional.value("choosePosition").toArray().at(1).toObject(), Global::rectToJson(QRectF(70, 8, 40, 24)));
    EXPECT_EQ(optional.value("choseScore").toArray().size(), 2);

    // The merged block carries its partner's group but not its marks.
    const QJsonObject merged = blockOf(pages.at(1).toObject(), 0);
    EXPECT_EQ(sortedKeys(merged), keys({"chooseTopicGroup", "chooseTopicModel", "ixList", "merge", "numList",
                                        "position", "subAreaTopicType"}));
    EXPECT_EQ(merged.value("chooseTopicGroup").toInt(), 1);
    EXPECT_EQ(merged.value("ixList").toArray(), optional.value("ixList").toArray());

    const QJsonObject waiting = pages.at(3).toObject().value("sections").toArray().at(0).toObject();
    EXPECT_EQ(waiting.value("step").toInt(), 1);
    EXPECT_EQ(waiting.value("type").toString(), QStringLiteral("Subjective"));
}

TEST_F(TemplateFile, deletedItemsAreNotWritten)
{
    buildFullCard(card);
    PageSheet& front = card.sheets[0][0];
    front.lines.first()->setValid(0);
    front.lines.append(nullptr);
    front.sections[0].branch[1].frame->setValid(0);   // the judge block
    front.sections[1].frame->setValid(0);             // the fill-blank section

    const QJsonObject page = pagesOf(parseObject(card.toJson(true))).at(0).toObject();
    EXPECT_EQ(page.value("lines").toArray().size(), 1);
    const QJsonArray sections = page.value("sections").toArray();
    ASSERT_EQ(sections.size(), 2);
    const QJsonArray blocks = sections.at(0).toObject().value("contents").toObject().value("branch").toArray();
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks.at(0).toObject().value("subAreaTopicType").toString(), QStringLiteral("SingleChoice"));
    EXPECT_EQ(sections.at(1).toObject().value("contents").toObject().value("branch").toArray().at(0).toObject()
                  .value("numList").toArray(), (QJsonArray{11, 12}));
}

TEST_F(TemplateFile, writersNeverFollowMissingItemsNorUnknownCodes)
{
    // An imported "ticketNum": {} has no frame; saving again drops it.
    card.sheets.resize(1);
    PageSheet page = PageSheet::fromJson(QJsonObject{{"ticketNum", QJsonObject()}}, "card");
    EXPECT_TRUE(page.ticketNum.enabled);
    EXPECT_EQ(page.ticketNum.frame, nullptr);
    page.testmark.enabled = true;      // enabled, but no item
    page.barCode.enabled = true;

    Section section;
    section.type = sectionTypeObject;
    section.frame = frameItem(QRectF(0, 0, 100, 100));
    SubArea unknown;                   // type -1, orientation 2, no frame
    unknown.numList << 4;
    section.branch.append(unknown);
    page.sections.append(section);
    card.sheets[0].append(page);

    const QJsonObject obj = pagesOf(parseObject(card.toJson(false))).at(0).toObject();
    EXPECT_FALSE(obj.contains("ticketNum"));
    EXPECT_FALSE(obj.contains("testmark"));
    EXPECT_FALSE(obj.contains("barCode"));
    const QJsonObject block = blockOf(obj, 0);
    EXPECT_EQ(block.value("subAreaTopicType").toString(), QString());
    EXPECT_FALSE(block.contains("position"));
    EXPECT_FALSE(block.contains("orientation"));
    EXPECT_FALSE(block.contains("firstOption"));
    EXPECT_EQ(block.value("rows").toInt(), 10);

    // An exam-number direction outside the table is written as no name.
    page.ticketNum.frame = frameItem(QRectF(0, 0, 50, 50));
    page.ticketNum.direction = 7;
    EXPECT_EQ(page.ticketNum.toJson().value("direction").toString(), QString());
    EXPECT_FALSE(page.ticketNum.toJson().contains("firstOption"));
    delete page.ticketNum.frame;
}

TEST_F(TemplateFile, failedMarkCheckWritesNothing)
{
    buildFullCard(card);
    const QByteArray good = card.toJson(true);
    ASSERT_FALSE(good.isEmpty());
    // A mark box wholly off its page cannot be measured.
    card.sheets[0][0].sections[2].branch[0].choosePosition[0]->setPos(5000, 5000);
    EXPECT_TRUE(card.toJson(true).isEmpty());
    EXPECT_EQ(card.errorString(), QStringLiteral("选做题标记不合格！可能被污染。"));
    EXPECT_EQ(card.json, good);
}
