#include "tests/app/iotest.h"

#include "canvas/item/eirectitem.h"
#include "tests/support/logwatch.h"

#include <QDir>
#include <QJsonDocument>

using namespace iotest;

namespace {

constexpr int pageWidth = 500;
constexpr int pageHeight = 350;

class ProjectImport : public IOTest
{
protected:
    // A template folder as a save writes it: NAME.json and NAME_i.jpg,
    // with one line framed on the first page.
    QString saveTemplate(const QString& name, int papers, int pages)
    {
        project(papers, pages);
        answerSheet.paperName = name;
        for (QVector<PageSheet>& paper : answerSheet.sheets)
            for (PageSheet& page : paper)
                page.setPixmap(QPixmap::fromImage(sheet(QSize(pageWidth, pageHeight))));
        answerSheet.sheets[0][0].addLine(new EIRectItem(QRectF(40, 60, 300, 12), true, 5));
        const QByteArray json = answerSheet.serialize(false);
        EXPECT_FALSE(json.isEmpty());

        const QString folder = scratch.file(name);
        QDir().mkpath(folder);
        EXPECT_TRUE(testsupport::writeFile(folder + QStringLiteral("/") + name + QStringLiteral(".json"), json));
        for (const QVector<PageSheet>& paper : qAsConst(answerSheet.sheets))
            for (const PageSheet& page : paper)
                EXPECT_TRUE(page.image.pixmap.save(
                    QStringLiteral("%1/%2_%3.jpg").arg(folder, name).arg(page.pageIndex), "JPG"));
        answerSheet.clear();
        return folder + QStringLiteral("/") + name + QStringLiteral(".json");
    }

    // Imports `path` and returns the state; a message that comes up is
    // recorded into `shown` and answered.
    int import(const QString& path, Message* shown = nullptr)
    {
        QSignalSpy done(&io, &IOController::importProjectDone);
        openFileAnswers = QStringList{path};
        if (shown)
            script.message(shown, QStringLiteral("确定"));
        io.importProject();
        EXPECT_EQ(done.size(), 1);
        EXPECT_EQ(fileDialogCaptions.value(fileDialogCaptions.size() - 1), QStringLiteral("选择答题卡json"));
        return done.isEmpty() ? -1 : done.at(0).at(0).toInt();
    }

    // What a refused import leaves: a new card's template and no folder.
    void expectCleanTemplate()
    {
        EXPECT_EQ(answerSheet.paperName, QStringLiteral("unknown"));
        EXPECT_TRUE(answerSheet.sheets.isEmpty());
        EXPECT_FALSE(answerSheet.redCard);
        EXPECT_TRUE(projectDir.isEmpty());
        EXPECT_TRUE(importError.isEmpty());
    }

    QString writeJson(const QString& name, const QJsonObject& card)
    {
        const QString path = scratch.file(name);
        EXPECT_TRUE(testsupport::writeFile(path, QJsonDocument(card).toJson()));
        return path;
    }
};

QJsonObject page(int index)
{
    return QJsonObject{{"isFront", index % 2 == 0}, {"pageIndex", index}};
}

} // namespace

TEST_F(ProjectImport, savedTemplateFolderIsReadWithItsPagesAndFraming)
{
    const QString path = saveTemplate(QStringLiteral("期中卡"), 2, 3);
    EXPECT_EQ(import(path), 1);

    EXPECT_EQ(answerSheet.paperName, QStringLiteral("期中卡"));
    EXPECT_EQ(answerSheet.paperCnt, 2);
    EXPECT_EQ(answerSheet.pageCnt, 3);
    ASSERT_EQ(answerSheet.sheets.size(), 2);
    ASSERT_EQ(answerSheet.sheets[0].size(), 2);
    ASSERT_EQ(answerSheet.sheets[1].size(), 1);
    for (const QVector<PageSheet>& paper : qAsConst(answerSheet.sheets))
        for (const PageSheet& page : paper)
            EXPECT_EQ(page.image.pixmap.size(), QSize(pageWidth, pageHeight)) << page.pageIndex;
    ASSERT_EQ(answerSheet.sheets[0][0].lineCount(), 1);
    EXPECT_EQ(answerSheet.sheets[0][0].lines[0]->sceneRect().toRect(), QRect(40, 60, 300, 12));
    EXPECT_EQ(projectDir, QFileInfo(path).absolutePath());
    EXPECT_EQ(io.nextSavePath(), QFileInfo(path).absolutePath());
}

TEST_F(ProjectImport, aPagePictureThatIsMissingOrNotNamedIsToldAndLeavesACleanTemplate)
{
    const QString path = saveTemplate(QStringLiteral("NAME"), 1, 2);
    QFile::remove(QFileInfo(path).absolutePath() + QStringLiteral("/NAME_1.jpg"));
    Message shown;
    EXPECT_EQ(import(path, &shown), 0);
    EXPECT_EQ(shown.text, QStringLiteral("图像 \"NAME_1.jpg\" 不存在,导入失败！"));
    EXPECT_EQ(shown.title, QStringLiteral("提示"));
    expectCleanTemplate();
    EXPECT_TRUE(io.nextSavePath().isEmpty());

    // A page entry without a picture at all is as unusable.
    const QJsonObject card{{"paperName", "卡"}, {"paperCnt", 1}, {"pageSheets", QJsonArray{page(0)}}};
    EXPECT_EQ(import(writeJson(QStringLiteral("bare.json"), card), &shown), 0);
    EXPECT_EQ(shown.text, QStringLiteral("图像 \"卡_0.jpg\" 不存在,导入失败！"));
    expectCleanTemplate();
}

TEST_F(ProjectImport, aForgedOrCutPagePictureIsToldAsMissingWithoutCostingMemory)
{
    const QString path = saveTemplate(QStringLiteral("NAME"), 1, 2);
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray whole = testsupport::readFile(folder + QStringLiteral("/NAME_1.jpg"));
    const bool measured = testsupport::resetPeakMemory();

    // A 30,000 x 30,000 header in place of the first page, then the second
    // page cut to a tenth.
    const QList<QPair<QString, QByteArray>> cases = {{"NAME_0.jpg", testsupport::jpegDeclaring(30000, 30000)},
                                                     {"NAME_1.jpg", whole.left(whole.size() / 10)}};
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::writeFile(folder + QLatin1Char('/') + c.first, c.second));
        Message shown;
        EXPECT_EQ(import(path, &shown), 0);
        EXPECT_EQ(shown.text, QStringLiteral("图像 \"%1\" 不存在,导入失败！").arg(c.first));
        expectCleanTemplate();
    }
    if (measured)
        EXPECT_LT(testsupport::peakMemory(), 500LL * 1024 * 1024);
}

TEST_F(ProjectImport, noFileOrAnEmptyOrMissingOneGivesTwoWithoutTouchingTheTemplate)
{
    project(1, 2);
    // A cancelled file dialog shows nothing.
    QSignalSpy done(&io, &IOController::importProjectDone);
    io.importProject();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.at(0).at(0).toInt(), 2);
    EXPECT_EQ(fileDialogFilters, QStringList({"Files (*.json);;"}));

    const QString oneByte = scratch.file(QStringLiteral("one.json"));
    ASSERT_TRUE(testsupport::writeFile(oneByte, "{"));
    for (const QString& path : {oneByte, scratch.file(QStringLiteral("gone.json"))}) {
        Message shown;
        EXPECT_EQ(import(path, &shown), 2);
        EXPECT_EQ(shown.text, QStringLiteral("文件为空或不存在！"));
        EXPECT_EQ(answerSheet.paperName, QStringLiteral("期中卡"));
        EXPECT_EQ(answerSheet.sheets.size(), 1);
    }
}

TEST_F(ProjectImport, unreadableOrBrokenFileIsRefusedInChineseAndTheLogKeepsTheReason)
{
    const QString broken = scratch.file(QStringLiteral("broken.json"));
    ASSERT_TRUE(testsupport::writeFile(broken, "{\"paperName\": \"卡\", "));
    QJsonParseError parseError;
    QJsonDocument::fromJson(testsupport::readFile(broken), &parseError);
    const QString array = scratch.file(QStringLiteral("array.json"));
    ASSERT_TRUE(testsupport::writeFile(array, "[{\"paperName\": \"卡\"}]"));

    // A folder passes the size test but does not open as a file.
    const QString folder = scratch.file(QStringLiteral("folder.json"));
    QDir().mkpath(folder);
    QFile probe(folder);
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly));

    const QString malformed = QStringLiteral("模板文件格式有误，导入失败！");
    const struct {
        QString path, shown, logged;
    } cases[] = {{broken, malformed, parseError.errorString()},
                 {array, malformed, QStringLiteral("unserialized -> !jsonDoc.isObject()")},
                 {folder, QStringLiteral("答题卡文件无法打开，导入失败！"), probe.errorString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        project(1, 2);
        logwatch::LogWatch log;
        Message shown;
        EXPECT_EQ(import(c.path, &shown), 0);
        EXPECT_EQ(shown.text, c.shown);
        EXPECT_EQ(shown.title, QStringLiteral("提示"));
        EXPECT_EQ(log.newRecords(QStringLiteral("Warning"), QStringLiteral("template import: ") + c.path + QStringLiteral(": ") + c.logged).size(), 1);
        expectCleanTemplate();
    }
}

TEST_F(ProjectImport, cardNamesANewProjectWouldRefuseAreRefused)
{
    for (const QString& name : {QString(), QStringLiteral(".."), QStringLiteral("a/b"), QString(81, QLatin1Char('k'))}) {
        SCOPED_TRACE(name.toStdString());
        Message shown;
        const QString path = writeJson(QStringLiteral("name.json"),
                                       QJsonObject{{"paperName", name}, {"paperCnt", 1}, {"pageSheets", QJsonArray{page(0)}}});
        EXPECT_EQ(import(path, &shown), 0);
        EXPECT_EQ(shown.text, QStringLiteral("答题卡名称不合法，导入失败！"));
        expectCleanTemplate();
    }
}

TEST_F(ProjectImport, papersAndFacesThatDoNotFitThePageOrderAreRefused)
{
    struct Case
    {
        const char* what;
        int papers;
        QJsonArray pages;
        QString message;
    };
    const QString incomplete = QStringLiteral("答题卡页面不完整，导入失败！");
    const QList<Case> cases = {
        {"pages beyond the papers", 1, {page(0), page(1), page(2)}, QStringLiteral("页面数量超出纸张数量，导入失败！")},
        {"second paper without pages", 2, {page(0), page(1)}, incomplete},
        {"first paper without its back", 2, {page(0), page(2), page(3)}, incomplete},
        {"no pages at all", 1, {}, incomplete},
        {"no papers", 0, {}, incomplete},
        {"a back marked as front", 1, {page(0), QJsonObject{{"isFront", true}, {"pageIndex", 1}}}, incomplete},
        {"two pages with one index", 1, {page(0), page(0)}, incomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Message shown;
        const QString path = writeJson(QStringLiteral("pages.json"),
                                       QJsonObject{{"paperName", "卡"}, {"paperCnt", c.papers}, {"redCard", true}, {"pageSheets", c.pages}});
        EXPECT_EQ(import(path, &shown), 0);
        EXPECT_EQ(shown.text, c.message);
        expectCleanTemplate();
    }
}
