// The I/O controller's save among folders the operator already has: a
// folder named like the card without being its folder, a page that cannot
// be written (nothing is), and what a save may remove.

#include "tests/app/iotest.h"
#include "tests/app/savetest.h"

#include "canvas/item/eirectitem.h"
#include "model/global.h"

#include <QDir>

using namespace iotest;
using savetest::snapshot;

namespace {

class SaveFolders : public IOTest
{
protected:
    // One paper of two pages, titled, with a barcode and an absent mark;
    // finished once the objective step is skipped.
    void titledCard(const QString& name)
    {
        project(1, 2);
        answerSheet.paperName = name;
        answerSheet.jumpLines = true;
        answerSheet.jumpSubjects = true;
        for (PageSheet& page : answerSheet.sheets[0]) {
            page.setPixmap(QPixmap::fromImage(sheet(QSize(600, 420))));
            page.setTitle(ImageMark{new EIRectItem(QRectF(100, 30, 300, 40), true, 8),
                                    Global::pixmapToBase64(page.image.pixmap.copy(100, 30, 300, 40))});
        }
        PageSheet& front = answerSheet.sheets[0][0];
        front.setBarCode(BarCode{new EIRectItem(QRectF(100, 200, 300, 50), true, 8), true});
        front.setTestMark(TestMark(SimpleMark{new EIRectItem(QRectF(450, 300, 100, 30), false, 3), true}));
    }

    // Saves and answers the message that follows with `answer`.
    Message save(const QString& answer, IOController::State expected)
    {
        QSignalSpy saved(&io, &IOController::saveProjectDone);
        Message shown;
        script.message(&shown, answer);
        io.saveProject();
        EXPECT_EQ(saved.size(), 1);
        if (!saved.isEmpty())
            EXPECT_EQ(saved.at(0).at(0).value<IOController::State>(), expected);
        return shown;
    }

    QString folder(const QString& name)
    {
        const QString path = scratch.file(name);
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    // A file that no save may touch.
    QString keep(const QString& path)
    {
        EXPECT_TRUE(testsupport::writeFile(path, "keep"));
        return path;
    }

    static QStringList files(const QString& path) { return QDir(path).entryList(QDir::Files); }
};

} // namespace

TEST_F(SaveFolders, aFolderNamedLikeTheCardHoldsTheCardsFolderAndOnlyTheCardsOtherFolderGoes)
{
    titledCard(QStringLiteral("卡1"));
    const QString chosen = folder(QStringLiteral("卡10"));
    // Folders of the same name that are not this save's other variant.
    const QStringList kept = {keep(chosen + QStringLiteral("/notes.txt")),
                              keep(folder(QStringLiteral("卡10/卡1")) + QStringLiteral("/notes.txt")),
                              keep(folder(QStringLiteral("卡1")) + QStringLiteral("/卡1.json")),
                              keep(folder(QStringLiteral("卡1_(未完成)")) + QStringLiteral("/卡1.json"))};
    const QString unfinished = chosen + QStringLiteral("/卡1_(未完成)");
    const QString finished = chosen + QStringLiteral("/卡1");

    // Unfinished, so the other variant is 卡10/卡1: without the card's file it stays.
    folderAnswers = QStringList{chosen};
    EXPECT_EQ(save(QStringLiteral("确定"), IOController::State::Done).text,
              QStringLiteral("已保存成功!请在所有步骤框选完成后进行绑定！   "));
    EXPECT_EQ(fileDialogCaptions, QStringList({"请选择要保存的位置"}));
    EXPECT_EQ(files(unfinished), QStringList({"卡1.json", "卡1_0.jpg", "卡1_1.jpg"}));

    // Finished, but a folder stands where a page goes: nothing is written,
    // and the unfinished folder stays as the whole copy.
    answerSheet.jumpObjects = true;
    const auto unfinishedFiles = snapshot(unfinished);
    ASSERT_TRUE(QDir().mkpath(finished + QStringLiteral("/卡1_1.jpg")));
    EXPECT_EQ(save(QStringLiteral("确定"), IOController::State::Failed).text, QStringLiteral("数据保存失败,请重试!"));
    EXPECT_EQ(files(finished), QStringList({"notes.txt"}));
    EXPECT_EQ(snapshot(unfinished), unfinishedFiles);
    EXPECT_EQ(QDir(chosen).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"notes.txt", "卡1", "卡1_(未完成)"}));

    // Written whole: now the unfinished folder goes, and nothing else.
    ASSERT_TRUE(QDir().rmdir(finished + QStringLiteral("/卡1_1.jpg")));
    EXPECT_EQ(save(QStringLiteral("否"), IOController::State::Done).text, QStringLiteral("保存完成，是否打开所在文件夹?"));
    EXPECT_FALSE(QFileInfo::exists(unfinished));
    EXPECT_EQ(files(finished), QStringList({"notes.txt", "卡1.json", "卡1_0.jpg", "卡1_1.jpg"}));
    for (const QString& path : kept)
        EXPECT_EQ(testsupport::readFile(path), QByteArray("keep")) << path.toStdString();
    EXPECT_EQ(fileDialogCaptions.size(), 1);
}
