// Reading the template file: hand-written and damaged files are read as
// far as they make sense, and files this program cannot hold are refused.

#include "tests/model/modelfixtures.h"
#include "tests/support/testsupport.h"

#include "model/infra/appstate.h"
#include "model/repeatedkey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

using namespace modeltest;

namespace {

class TemplateReader : public ModelTest
{
protected:
    // As the importer does: a cleared card, then the file.
    bool read(const QJsonObject& obj)
    {
        card.clear();
        return card.unserialized(QJsonDocument(obj).toJson());
    }

    // One page holding one section.
    bool readSection(const QJsonObject& section)
    {
        return read({{"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 0}, {"sections", QJsonArray{section}}}}}});
    }

    const Section& firstSection() const { return card.sheets[0][0].sections[0]; }
};

QJsonObject rect(double left, double top, double width, double height)
{
    return {{"left", left}, {"top", top}, {"width", width}, {"height", height}};
}

// A subjective section of one block; `extra` adds keys to the block.
QJsonObject subjective(const QJsonArray& numbers, int step = 0, QJsonObject block = {})
{
    block.insert("position", rect(10, 10, 300, 100));
    block.insert("numList", numbers);
    block.insert("subAreaTopicType", "AnswerQuestion");
    return {{"type", "Subjective"}, {"step", step},
            {"contents", QJsonObject{{"position", rect(10, 10, 300, 100)}, {"branch", QJsonArray{block}}}}};
}

QJsonObject objective(const QJsonObject& block)
{
    return {{"type", "Object"},
            {"contents", QJsonObject{{"position", rect(0, 0, 500, 300)}, {"branch", QJsonArray{block}}}}};
}

QJsonObject pageWithMarker(int pageIndex, double marker)
{
    return {{"pageIndex", pageIndex}, {"isFront", pageIndex % 2 == 0},
            {"locatePoint", QJsonArray{rect(marker, 0, 1, 1)}}};
}

} // namespace

TEST_F(TemplateReader, cardKeysAreReadOnlyWhenPresent)
{
    // Missing keys keep what clear() left, and clear() keeps redCard and
    // absentMarkCnt.
    card.redCard = true;
    card.absentMarkCnt = 3;
    card.paperName = QStringLiteral("old");
    ASSERT_TRUE(read(QJsonObject()));
    EXPECT_EQ(card.paperName, QStringLiteral("unknown"));
    EXPECT_EQ(card.paperCnt, 1);
    EXPECT_EQ(card.pageCnt, 0);
    EXPECT_EQ(card.answerSheetType, 3);
    EXPECT_EQ(card.orientation, QStringLiteral("horizontal"));
    EXPECT_TRUE(card.redCard);
    EXPECT_EQ(card.absentMarkCnt, 3);
    ASSERT_EQ(card.sheets.size(), 1);
    EXPECT_TRUE(card.sheets[0].isEmpty());

    // Wrong types give the conversion's default.
    ASSERT_TRUE(read({{"answerSheetType", "7"}, {"redCard", "yes"}, {"paperCnt", true},
                      {"optionalGroupCnt", 2.5}, {"pageSheets", QJsonObject()}}));
    EXPECT_EQ(card.answerSheetType, 0);
    EXPECT_FALSE(card.redCard);
    EXPECT_EQ(card.paperCnt, 0);
    EXPECT_EQ(card.optionalGroupCnt, 0);
    EXPECT_EQ(card.pageCnt, 0);
    EXPECT_TRUE(card.sheets.isEmpty());

    // "A3" is horizontal, anything else vertical.
    for (const char* type : {"A4", "", "B5"}) {
        ASSERT_TRUE(read({{"paperType", type}}));
        EXPECT_EQ(card.orientation, QStringLiteral("vertical")) << type;
    }
    ASSERT_TRUE(read({{"paperType", "A3"}}));
    EXPECT_EQ(card.orientation, QStringLiteral("horizontal"));
}

TEST_F(TemplateReader, pagesGoToPapersInTheOrderOfTheirIndex)
{
    // Given as 3, 2, 1, 0; the face comes from a boolean "isFront" only.
    ASSERT_TRUE(read({{"paperCnt", 2},
                      {"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 3}, {"isFront", true}},
                                                QJsonObject{{"pageIndex", 2}, {"isFront", false}},
                                                QJsonObject{{"pageIndex", 1}, {"isFront", "false"}},
                                                QJsonObject{{"pageIndex", 0}}}}}));
    EXPECT_EQ(card.pageCnt, 4);
    ASSERT_EQ(card.sheets.size(), 2);
    ASSERT_EQ(card.sheets[0].size(), 2);
    ASSERT_EQ(card.sheets[1].size(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(card.sheets[i / 2][i % 2].pageIndex, i);
    EXPECT_EQ(card.sheets[0][0].side, -1);
    EXPECT_EQ(card.sheets[0][1].side, -1);
    EXPECT_EQ(card.sheets[1][0].side, 1);
    EXPECT_EQ(card.sheets[1][1].side, 0);

    // Pages with the same index keep the file's order.
    ASSERT_TRUE(read({{"paperCnt", 2},
                      {"pageSheets", QJsonArray{pageWithMarker(1, 10), pageWithMarker(1, 11), pageWithMarker(0, 0),
                                                pageWithMarker(1, 12)}}}));
    EXPECT_EQ(card.sheets[0][1].locatePoint.first().x(), 10);
    EXPECT_EQ(card.sheets[1][0].locatePoint.first().x(), 11);
    EXPECT_EQ(card.sheets[1][1].locatePoint.first().x(), 12);
}

TEST_F(TemplateReader, missingPagePictureIsReportedButTheReadSucceeds)
{
    // A page without "img" has no picture and no warning.
    ASSERT_TRUE(read({{"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 0}}}}}));
    EXPECT_TRUE(importError.isEmpty());
    EXPECT_TRUE(card.sheets[0][0].image.pixmap.isNull());

    testsupport::ScratchDir dir;
    projectDir = dir.path();   // set after clear(), as the importer does
    ASSERT_TRUE(card.unserialized(QJsonDocument(QJsonObject{
        {"paperName", "月考"},
        {"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 0}, {"img", QJsonObject{{"width", 10}}}}}}}).toJson()));
    EXPECT_EQ(importError, QStringLiteral("图像 \"月考_0.jpg\" 不存在,导入失败！"));
    EXPECT_TRUE(card.sheets[0][0].image.pixmap.isNull());
    EXPECT_TRUE(card.sheets[0][0].image.name.isEmpty());
}

TEST_F(TemplateReader, documentsThatAreNoTemplateFail)
{
    card.paperName = QStringLiteral("kept");
    EXPECT_FALSE(card.unserialized("[1, 2]"));
    EXPECT_EQ(card.errorString(), QStringLiteral("unserialized -> !jsonDoc.isObject()"));

    const QByteArray broken = "{\"paperName\": ";
    QJsonParseError expected;
    QJsonDocument::fromJson(broken, &expected);
    EXPECT_FALSE(card.unserialized(broken));
    EXPECT_EQ(card.errorString(), expected.errorString());
    EXPECT_EQ(card.paperName, QStringLiteral("kept"));
}

TEST_F(TemplateReader, aKeyNamedTwiceInOneObjectIsRefusedBeforeParsing)
{
    const QList<QPair<QByteArray, QString>> repeated{
        {R"({"a": [1], "a": [2]})", "a"},
        {R"({"a": 1, "b": {"c": 1, "c": {}}})", "c"},
        {R"({"a": 1, "\u0061": 2})", "a"},           // the same key, escaped
        {R"({"": [], "": []})", ""},
        {R"({"a": 1, "b": 2, "a")", "a"},            // even in text that parses no further
    };
    for (const auto& text : repeated) {
        SCOPED_TRACE(text.first.toStdString());
        QString key = QStringLiteral("unset");
        EXPECT_TRUE(findRepeatedKey(text.first, key));
        EXPECT_EQ(key, text.second);
    }
    const QList<QByteArray> distinct{
        R"({"a": {"a": 1}, "b": [{"a": 1}, {"a": 2}]})",   // the same key at other levels or in siblings
        R"({"t": "{\"t\": 1, \"t\": 2}", "u": ["t", "t"]})", // keys inside strings, values
        R"({"a": "\\", "b": 1})",
        R"({"a": "unterminated)",
    };
    for (const QByteArray& text : distinct) {
        SCOPED_TRACE(text.toStdString());
        QString key;
        EXPECT_FALSE(findRepeatedKey(text, key));
    }

    card.paperName = QStringLiteral("kept");
    EXPECT_FALSE(card.unserialized(R"({"paperName": "new", "pageSheets": [], "pageSheets": []})"));
    EXPECT_TRUE(card.notJson);
    EXPECT_EQ(card.paperName, QStringLiteral("kept"));
}

TEST_F(TemplateReader, emptyTitlesAndEmptyPageNumberMarksGiveEmptyMarks)
{
    ASSERT_TRUE(read({{"paperCnt", 2},
                      {"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 0}, {"titles", QJsonArray()},
                                                            {"pageNum", QJsonArray{QJsonObject()}}}}}}));
    const PageSheet& page = card.sheets[0][0];
    EXPECT_EQ(page.title.item, nullptr);
    EXPECT_TRUE(page.title.base64.isEmpty());
    ASSERT_EQ(page.pageNum.size(), 1);
    EXPECT_TRUE(page.pageNum[0].isEmpty());
}

TEST_F(TemplateReader, marksAndExamNumberAreaAreRebuilt)
{
    ASSERT_TRUE(read({{"pageSheets",
                       QJsonArray{QJsonObject{
                           {"pageIndex", 0},
                           {"titles", QJsonArray{QJsonObject{{"position", rect(1, 2, 30, 40)}}}},
                           {"testmark", QJsonObject{{"position", rect(5, 6, 7, 8)}, {"enabled", false}}},
                           {"barCode", QJsonObject{{"enabled", true}}},
                           {"ticketNum", QJsonObject{{"enabled", false}, {"direction", "horizontal"},
                                                     {"rows", 10}, {"count", 5}, {"rowOffset", 20},
                                                     {"colOffset", 30}, {"position", rect(100, 100, 10, 10)},
                                                     {"firstOption", rect(8, 8, 24, 14)}}}}}}}));
    const PageSheet& page = card.sheets[0][0];
    ASSERT_NE(page.title.item, nullptr);
    EXPECT_EQ(page.title.item->sceneRect(), QRectF(1, 2, 30, 40));
    EXPECT_TRUE(page.title.base64.isEmpty());   // an item without text
    EXPECT_TRUE(page.testmark.enabled);          // "enabled" is not read
    EXPECT_EQ(page.testmark.item->sceneRect(), QRectF(5, 6, 7, 8));
    EXPECT_FALSE(page.barCode.enabled);          // no "position", no barcode
    EXPECT_EQ(page.barCode.item, nullptr);
    EXPECT_TRUE(page.ticketNum.enabled);
    EXPECT_EQ(page.ticketNum.direction, 0);
    ASSERT_NE(page.ticketNum.frame, nullptr);
    EXPECT_EQ(page.ticketNum.frame->rowCount(), 10);
    EXPECT_EQ(page.ticketNum.frame->columnCount(), 5);
    EXPECT_EQ(page.ticketNum.frame->sceneRect(), QRectF(100, 100, 16 + 4 * 30 + 24, 16 + 9 * 20 + 14));

    const auto direction = [](const QJsonValue& name) {
        return TicketNum::fromJson(QJsonObject{{"direction", name}}).direction;
    };
    EXPECT_EQ(direction("vertical"), 1);
    EXPECT_EQ(direction("diagonal"), 1);
    EXPECT_EQ(direction(0), 1);
}

TEST_F(TemplateReader, subjectiveSectionCaptions)
{
    ASSERT_TRUE(readSection(subjective({12, 13, 14, 15}, 1)));
    EXPECT_EQ(captionOf(firstSection().frame), QStringLiteral("请框选选做题标记"));
    ASSERT_TRUE(readSection(subjective({12})));
    EXPECT_EQ(captionOf(firstSection().frame), QStringLiteral("第12题"));
    ASSERT_TRUE(readSection(subjective({12, 13, 14, 15})));
    EXPECT_EQ(captionOf(firstSection().frame), QStringLiteral("第12~15题"));
    EXPECT_EQ(firstSection().branch[0].subAreaTopicType, 4);
    // The block's own frame is not captioned: it is not a choice block.
    EXPECT_EQ(captionOf(firstSection().branch[0].frame), QString());
}

TEST_F(TemplateReader, choiceBlockCaptionsNameTheirType)
{
    ASSERT_TRUE(readSection(objective({{"position", rect(0, 0, 100, 50)}, {"numList", QJsonArray{3, 4, 5, 6, 7}},
                                       {"subAreaTopicType", "Judge"}})));
    EXPECT_EQ(captionOf(firstSection().branch[0].frame), QStringLiteral("第3~7题(判断)"));
    EXPECT_EQ(captionOf(firstSection().frame), QString());

    ASSERT_TRUE(readSection(objective({{"position", rect(0, 0, 100, 50)}, {"numList", QJsonArray{8}},
                                       {"subAreaTopicType", "SingleChoice"}})));
    EXPECT_EQ(captionOf(firstSection().branch[0].frame), QStringLiteral("第8题(单选)"));

    ASSERT_TRUE(readSection(objective({{"position", rect(0, 0, 100, 50)}, {"numList", QJsonArray{9, 10}},
                                       {"subAreaTopicType", "Essay"}})));
    EXPECT_EQ(firstSection().branch[0].subAreaTopicType, -1);
    EXPECT_EQ(captionOf(firstSection().branch[0].frame), QStringLiteral("第9~10题"));

    ASSERT_TRUE(readSection(objective({{"position", rect(0, 0, 100, 50)}, {"numList", QJsonArray{11}},
                                       {"subAreaTopicType", "FillBlank"}, {"chooses", QJsonArray{"A"}},
                                       {"rows", 4}})));
    const SubArea& fillBlank = firstSection().branch[0];
    EXPECT_EQ(captionOf(fillBlank.frame), QString());
    EXPECT_TRUE(fillBlank.chooses.isEmpty());
    EXPECT_EQ(fillBlank.rows, 10);
}

TEST_F(TemplateReader, verticalChoiceBlockHasOneColumnPerQuestion)
{
    ASSERT_TRUE(readSection(objective({{"position", rect(0, 0, 100, 50)}, {"numList", QJsonArray{1, 2, 3, 4, 5, 6}},
                                       {"subAreaTopicType", "MultiChoice"}, {"orientation", 1}, {"rows", 2},
                                       {"chooseCount", 2}, {"chooses", QJsonArray{"A", "B"}}, {"rowOffset", 20},
                                       {"colOffset", 30}, {"firstOption", rect(8, 8, 20, 12)},
                                       {"ixList", QJsonArray{7, 8, 9, 10, 11, 12}}})));
    const SubArea& block = firstSection().branch[0];
    EXPECT_EQ(block.frame->rowCount(), 2);
    EXPECT_EQ(block.frame->columnCount(), 6);
    EXPECT_EQ(block.count, 2);
    EXPECT_EQ(block.orientation, 1);
    EXPECT_EQ(block.chooses, (QStringList{"A", "B"}));
    EXPECT_TRUE(block.ixList.isEmpty());   // indexes are made on saving
}

TEST_F(TemplateReader, optionalMarksHangUnderTheirAreaWithNumbers)
{
    ASSERT_TRUE(readSection(subjective(
        {21, 22, 23}, 0,
        {{"chooseTopicModel", 1}, {"chooseTopicGroup", 2}, {"chooseArea", rect(50, 20, 200, 40)},
         {"choosePosition", QJsonArray{rect(5, 5, 30, 20), rect(55, 5, 30, 20), rect(105, 5, 30, 20)}},
         {"choseScore", QJsonArray{3, 200, 4}}})));
    const SubArea& read = firstSection().branch[0];
    ASSERT_EQ(read.choosePosition.size(), 3);
    ASSERT_NE(read.chooseArea, nullptr);
    EXPECT_EQ(read.chooseArea->parentItem(), firstSection().frame);
    EXPECT_EQ(read.choosePosition[1]->parentItem(), read.chooseArea);
    EXPECT_EQ(read.choosePosition[1]->sceneRect(), QRectF(55, 5, 30, 20));
    EXPECT_EQ(read.choosePosition[1]->scenePos(), QPointF(10 + 50 + 55, 10 + 20 + 5));
    EXPECT_EQ(captionOf(read.choosePosition[0]), QStringLiteral("21"));
    EXPECT_EQ(captionOf(read.choosePosition[1]), QStringLiteral("22"));
    EXPECT_EQ(captionOf(read.choosePosition[2]), QStringLiteral("23"));
    EXPECT_EQ(read.choseScore, (QList<int>{3, 200, 4}));
    EXPECT_EQ(read.chooseTopicGroup, 2);
    EXPECT_EQ(read.chooseTopicModel, 1);

    // A merged block reads back no group and no marks.
    ASSERT_TRUE(readSection(subjective({22, 23}, 0,
                                       {{"merge", true}, {"chooseTopicModel", 1}, {"chooseTopicGroup", 1},
                                        {"choosePosition", QJsonArray{rect(5, 5, 30, 20)}}})));
    const SubArea& merged = firstSection().branch[0];
    EXPECT_TRUE(merged.merge);
    EXPECT_EQ(merged.chooseTopicModel, 0);
    EXPECT_EQ(merged.chooseTopicGroup, 0);
    EXPECT_TRUE(merged.choosePosition.isEmpty());
}

TEST_F(TemplateReader, sectionWithoutPositionHasNoFrameAndNoBlocks)
{
    ASSERT_TRUE(readSection({{"type", "Object"}, {"step", 0}}));
    EXPECT_EQ(firstSection().frame, nullptr);
    EXPECT_EQ(firstSection().type, QStringLiteral("Object"));
    ASSERT_TRUE(readSection({{"type", "Object"}, {"contents", QJsonObject{{"branch", QJsonArray{QJsonObject()}}}}}));
    EXPECT_EQ(firstSection().frame, nullptr);
    EXPECT_TRUE(firstSection().branch.isEmpty());
}

TEST_F(TemplateReader, cardNamesTheNewProjectDialogRefusesAreRefused)
{
    // A name that is no text reads as the empty name, which the dialog refuses too.
    const QList<QJsonValue> refused{QString(), 5, "a\\b", "../x", "a:b", "a*", "a?", "\"a\"", "<a", "a>", "a|b",
                                    ".", "..", QString(81, QLatin1Char('x'))};
    for (const QJsonValue& name : refused) {
        EXPECT_FALSE(read({{"paperName", name}, {"pageSheets", QJsonArray{QJsonObject{{"pageIndex", 0}}}}}))
            << name.toString().toStdString();
        EXPECT_EQ(card.errorString(), QStringLiteral("答题卡名称不合法，导入失败！"));
        EXPECT_EQ(card.paperName, QStringLiteral("unknown"));
        EXPECT_TRUE(card.sheets.isEmpty());
    }
    EXPECT_TRUE(read({{"paperName", QString(80, QChar(0x5377))}}));
    EXPECT_TRUE(read({{"paperName", "...a"}}));
}

TEST_F(TemplateReader, pageAndPaperCountsAreBounded)
{
    const QJsonArray three{pageWithMarker(0, 0), pageWithMarker(1, 1), pageWithMarker(2, 2)};
    // No "paperCnt": the one paper clear() left holds only two pages.
    EXPECT_FALSE(read({{"pageSheets", three}}));
    EXPECT_FALSE(card.errorString().isEmpty());
    EXPECT_FALSE(read({{"paperCnt", 0}, {"pageSheets", QJsonArray{pageWithMarker(0, 0)}}}));
    EXPECT_FALSE(read({{"paperCnt", -3}}));
    EXPECT_FALSE(read({{"paperCnt", 2000000000}}));
    EXPECT_FALSE(read({{"paperCnt", 21}}));
    EXPECT_TRUE(card.sheets.isEmpty());

    ASSERT_TRUE(read({{"paperCnt", 2}, {"pageSheets", three}}));
    EXPECT_EQ(card.sheets[1].size(), 1);
    ASSERT_TRUE(read({{"paperCnt", 0}}));
    EXPECT_TRUE(card.sheets.isEmpty());
}

TEST_F(TemplateReader, oversizedGridsAreRefused)
{
    const auto page = [](const QString& key, const QJsonValue& value) {
        return QJsonArray{QJsonObject{{key, value}}};
    };
    EXPECT_FALSE(read({{"pageSheets", page("ticketNum", QJsonObject{{"rows", 100000}})}}));
    EXPECT_FALSE(read({{"pageSheets", page("ticketNum", QJsonObject{{"count", 101}})}}));

    const auto blocks = [&](const QJsonObject& block) {
        return page("sections", QJsonArray{objective(block)});
    };
    EXPECT_FALSE(read({{"pageSheets", blocks({{"subAreaTopicType", "SingleChoice"}, {"rows", 1000000}})}}));
    EXPECT_FALSE(read({{"pageSheets", blocks({{"chooseCount", 50000}})}}));
    QJsonArray many;
    for (int i = 0; i < 200; ++i)
        many.append(i);
    EXPECT_FALSE(read({{"pageSheets", blocks({{"orientation", 1}, {"numList", many}})}}));
    EXPECT_FALSE(card.errorString().isEmpty());

    // Subjective blocks have no grid; a large grid within bounds is read,
    // one column per option.
    EXPECT_TRUE(read({{"pageSheets", blocks({{"subAreaTopicType", "Composition"}, {"rows", 1000000}})}}));
    QJsonArray options;
    for (int i = 0; i < 100; ++i)
        options.append(QString::number(i));
    EXPECT_TRUE(read({{"pageSheets", blocks({{"subAreaTopicType", "SingleChoice"}, {"rows", 100},
                                             {"chooses", options}, {"position", rect(0, 0, 10, 10)},
                                             {"firstOption", rect(8, 8, 6, 4)}})}}));
    EXPECT_EQ(firstSection().branch[0].frame->rowCount(), 100);
    EXPECT_EQ(firstSection().branch[0].frame->columnCount(), 100);
}
