#include "tests/app/iotest.h"

#include "widgets/dialogs/scanpanel.h"

#include <QFileDialog>
#include <QListView>

using namespace iotest;

namespace {

const QString countText = QStringLiteral("导入图片数量有误，校验不通过，请确认后重新导入!");
const QString formatText = QStringLiteral("导入图片格式有误，校验不通过，请确认后重新导入!");
const QString pageCheckText = QStringLiteral("图像校验失败！请检查扫描图片是否有折角，破损等 !");

const QSize landscape(600, 420);
const QSize portrait(420, 600);

class ImageIntake : public IOTest
{
protected:
    QList<int> states(const QSignalSpy& spy)
    {
        QList<int> list;
        for (const QVariantList& signal : spy)
            list.append(signal.at(0).toInt());
        return list;
    }

    void setCornerCheck(bool on)
    {
        config.setValue(configGroupAlgorithm, configKeyCheckCorner, on);
    }

    const PageImage& pageImage(int paper, int face) { return answerSheet.sheets[paper][face].image; }
};

} // namespace

TEST_F(ImageIntake, wrongCountOffersAnotherImportOnlyWhenAsked)
{
    project(1, 2);
    const QString a = writeImage(QStringLiteral("a.jpg"), sheet(landscape));
    const QString b = writeImage(QStringLiteral("b.png"), sheet(landscape));
    const QString c = writeImage(QStringLiteral("c.bmp"), sheet(landscape));
    QSignalSpy done(&io, &IOController::importImagesDone);

    // Closed with the title bar: nothing more happens.
    Message tooMany;
    openFilesAnswers = {{a, b, c}};
    script.message(&tooMany, QString());
    io.importImages();
    EXPECT_EQ(tooMany.text, countText);
    EXPECT_EQ(tooMany.title, QStringLiteral("提示"));
    EXPECT_EQ(tooMany.buttons, QStringList({"重新导入"}));
    EXPECT_EQ(fileDialogCaptions, QStringList({"选择本地图像"}));
    EXPECT_EQ(fileDialogFilters, QStringList({"图像 (*.jpg *.jpeg *.tif *.bmp *.png)"}));
    EXPECT_EQ(states(done), QList<int>({2}));
    EXPECT_TRUE(pageImage(0, 0).pixmap.isNull());

    // "重新导入" opens the file dialog again; the new intake reports first,
    // then the failed one.
    done.clear();
    Message tooFew;
    openFilesAnswers = {{a}, {a, b}};
    script.message(&tooFew, QStringLiteral("重新导入"));
    io.importImages();
    EXPECT_EQ(tooFew.text, countText);
    EXPECT_EQ(fileDialogCaptions.size(), 3);
    EXPECT_EQ(states(done), QList<int>({1, 2}));
    EXPECT_EQ(pageImage(0, 0).name, a);
    EXPECT_EQ(pageImage(0, 1).name, b);
    EXPECT_EQ(scannedFiles, QStringList({a, b}));
}

TEST_F(ImageIntake, fileThatIsNoPictureGivesTheFormatMessage)
{
    project(1, 2);
    const QString good = writeImage(QStringLiteral("good.jpg"), sheet(landscape));
    const QString text = scratch.file(QStringLiteral("notes.jpg"));
    ASSERT_TRUE(testsupport::writeFile(text, "answers: A B C D\n"));
    QSignalSpy done(&io, &IOController::importImagesDone);

    // The retry's file dialog is cancelled: it reports nothing itself and
    // empties the list of intake files.
    Message shown;
    openFilesAnswers = {{good, text}, {}};
    script.message(&shown, QStringLiteral("重新导入"));
    io.importImages();
    EXPECT_EQ(shown.text, formatText);
    EXPECT_EQ(shown.buttons, QStringList({"重新导入"}));
    EXPECT_EQ(fileDialogCaptions.size(), 2);
    EXPECT_EQ(states(done), QList<int>({2}));
    EXPECT_TRUE(scannedFiles.isEmpty());
    EXPECT_TRUE(pageImage(0, 0).pixmap.isNull());
}

TEST_F(ImageIntake, pagesAreTurnedToTheProjectsPlacementAndTakePageZerosSize)
{
    struct Case
    {
        QString orientation;
        QSize first, second;
        QSize stored;
        // Where the second sheet's top-left square lies after the turn.
        QPoint square;
    };
    // -90 takes the top-left corner to the bottom-left, 90 to the top-right.
    const QList<Case> cases = {
        {QStringLiteral("horizontal"), landscape, portrait, landscape, QPoint(58, 420 - 58)},
        {QStringLiteral("vertical"), portrait, landscape, portrait, QPoint(420 - 58, 58)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation.toStdString());
        project(2, 3, c.orientation);
        const QString first = writeImage(QStringLiteral("first.jpeg"), sheet(c.first));
        const QString second = writeImage(QStringLiteral("second.tif"), sheet(c.second));
        // A sheet scanned at another size is stretched to the first one's.
        const QString third = writeImage(QStringLiteral("third.png"), sheet(c.first * 1.5));
        QSignalSpy done(&io, &IOController::importImagesDone);
        openFilesAnswers = {{first, second, third}};
        io.importImages();

        EXPECT_EQ(states(done), QList<int>({1}));
        ASSERT_EQ(answerSheet.sheets.size(), 2);
        EXPECT_EQ(pageImage(0, 0).pixmap.size(), c.stored);
        EXPECT_EQ(pageImage(0, 1).pixmap.size(), c.stored);
        EXPECT_EQ(pageImage(1, 0).pixmap.size(), c.stored);
        EXPECT_EQ(pageImage(0, 1).name, second);
        const QImage turned = pageImage(0, 1).pixmap.toImage();
        EXPECT_GT(darkness(turned, c.square), 150);
        EXPECT_LT(darkness(turned, QPoint(58, 58)) + darkness(turned, QPoint(c.stored.width() - 58, c.stored.height() - 58)),
                  60);
        EXPECT_TRUE(io.nextSavePath().isEmpty());
    }
}

TEST_F(ImageIntake, foldedCornerIsRefusedOnlyWhenTheSettingAsksAndLosesNothing)
{
    project(2, 4);
    QStringList good, withFold;
    for (int i = 0; i < 4; ++i) {
        good.append(writeImage(QStringLiteral("good%1.jpg").arg(i), sheet(landscape)));
        withFold.append(i == 3 ? writeImage(QStringLiteral("folded.jpg"), sheet(landscape, 120)) : good[i]);
    }
    QSignalSpy done(&io, &IOController::importImagesDone);
    openFilesAnswers = {good};
    io.importImages();
    ASSERT_EQ(states(done), QList<int>({1}));

    // With the check on, the folded sheet on the second paper fails the
    // whole intake and every page keeps the picture it had.
    setCornerCheck(true);
    Message shown;
    openFilesAnswers = {withFold};
    script.message(&shown, QStringLiteral("确定"));
    io.importImages();
    EXPECT_EQ(shown.text, pageCheckText);
    EXPECT_EQ(shown.buttons, QStringList({"确定"}));
    EXPECT_EQ(fileDialogCaptions.size(), 2);
    EXPECT_EQ(states(done), QList<int>({1, 2}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pageImage(i / 2, i % 2).name, good[i]);

    setCornerCheck(false);
    openFilesAnswers = {withFold};
    io.importImages();
    EXPECT_EQ(states(done), QList<int>({1, 2, 1}));
    EXPECT_EQ(pageImage(1, 1).name, withFold[3]);
}

TEST_F(ImageIntake, templateResetByAFailedImportStillTakesItsOnePage)
{
    // A reset template has one page on paper and no papers in its list.
    const QString only = writeImage(QStringLiteral("only.jpg"), sheet(landscape));
    QSignalSpy done(&io, &IOController::importImagesDone);
    openFilesAnswers = {{only}};
    io.importImages();

    EXPECT_EQ(states(done), QList<int>({1}));
    ASSERT_EQ(answerSheet.sheets.size(), 1);
    ASSERT_EQ(answerSheet.sheets[0].size(), 1);
    EXPECT_EQ(pageImage(0, 0).name, only);
    EXPECT_EQ(answerSheet.sheets[0][0].side, int(FaceFront));
}

TEST_F(ImageIntake, scanCompletionChecksTheScannedPagesWithoutTheSurplus)
{
    project(2, 3);
    QStringList scanned;
    for (int i = 0; i < 4; ++i)
        scanned.append(writeImage(QStringLiteral("scan%1.bmp").arg(i), sheet(landscape)));
    QSignalSpy done(&io, &IOController::scanComplete);

    // An odd page count asks the scanner for one image more.
    scannedFiles = scanned;
    io.onScanComplete(ScanCompletion::Done, QStringLiteral("扫描完成"));
    EXPECT_EQ(states(done), QList<int>({1}));
    EXPECT_EQ(scannedFiles, scanned.mid(0, 3));
    EXPECT_EQ(pageImage(1, 0).name, scanned[2]);

    // Too few pages: "重新扫描" opens the scanner selection again; closing
    // it ends the new scan before the failed one reports.
    Message count;
    scannedFiles = scanned.mid(0, 2);
    script.message(&count, QStringLiteral("重新扫描"));
    script.on<ScanPanel>([](ScanPanel* dialog) { closeByTitleBar(dialog); });
    io.onScanComplete(ScanCompletion::Done, QStringLiteral("扫描完成"));
    EXPECT_EQ(count.text, QStringLiteral("扫描图片数量有误，校验不通过，请确认后重新扫描!"));
    EXPECT_EQ(count.buttons, QStringList({"重新扫描"}));
    EXPECT_EQ(states(done), QList<int>({1, 2, 2}));

    Message error;
    script.message(&error, QStringLiteral("确定"));
    io.onScanComplete(ScanCompletion::PageLost, QStringLiteral("启动扫描仪时遇到问题！"));
    EXPECT_EQ(error.text, QStringLiteral("启动扫描仪时遇到问题！"));
    io.onScanComplete(ScanCompletion::SourceClosed, QStringLiteral("扫描完成"));
    io.onScanComplete(static_cast<ScanCompletion>(1001), QString()); // a page is ready: no end
    EXPECT_EQ(states(done), QList<int>({1, 2, 2, 2, 2}));
}

TEST_F(ImageIntake, aPictureReplacedOnDiskIsReadAgain)
{
    // The same file name, size and (very likely) modification second: a
    // pixmap cache keyed by those would hand back the first picture.
    project(1, 1);
    QImage first = sheet(landscape);
    const QString path = writeImage(QStringLiteral("page.bmp"), first);
    openFilesAnswers = {{path}};
    io.importImages();
    ASSERT_FALSE(pageImage(0, 0).pixmap.isNull());
    EXPECT_GT(darkness(pageImage(0, 0).pixmap.toImage(), QPoint(58, 58)), 150);

    QImage second = first.mirrored(true, true); // the square moves to the bottom right
    writeImage(QStringLiteral("page.bmp"), second);
    openFilesAnswers = {{path}};
    io.importImages();
    const QImage shown = pageImage(0, 0).pixmap.toImage();
    EXPECT_LT(darkness(shown, QPoint(58, 58)), 30);
    EXPECT_GT(darkness(shown, QPoint(shown.width() - 58, shown.height() - 58)), 150);
}

TEST_F(ImageIntake, forgedAndCutPicturesGiveTheFormatMessageWithoutCostingMemory)
{
    project(1, 2);
    const QString good = writeImage(QStringLiteral("good.jpg"), sheet(landscape));
    // A few hundred bytes declaring 30,000 x 30,000 pixels, and a scan cut
    // to its first tenth by a broken transfer.
    const QString forged = scratch.file(QStringLiteral("forged.jpg"));
    ASSERT_TRUE(testsupport::writeFile(forged, testsupport::jpegDeclaring(30000, 30000)));
    const QByteArray whole = testsupport::encoded(sheet(landscape), "jpg");
    const QString cut = scratch.file(QStringLiteral("cut.jpg"));
    ASSERT_TRUE(testsupport::writeFile(cut, whole.left(whole.size() / 10)));
    QSignalSpy done(&io, &IOController::importImagesDone);

    const bool measured = testsupport::resetPeakMemory();
    for (const QString& bad : {forged, cut}) {
        SCOPED_TRACE(bad.toStdString());
        Message shown;
        openFilesAnswers = {{good, bad}, {}};
        script.message(&shown, QStringLiteral("重新导入"));
        io.importImages();
        EXPECT_EQ(shown.text, formatText);
        EXPECT_TRUE(pageImage(0, 0).pixmap.isNull());
    }
    EXPECT_EQ(states(done), QList<int>({2, 2}));
    if (measured)
        EXPECT_LT(testsupport::peakMemory(), 500LL * 1024 * 1024);
}

// The intake's own dialog is replaced in the other tests; here Qt's file
// dialog itself must list the pictures of a folder under the program's
// filter (and nothing else), or the operator can only type names.
TEST_F(ImageIntake, theRealFileDialogListsThePicturesOfAFolder)
{
    QStringList pictures;
    for (const char* name : {"a.jpg", "b.jpeg", "c.tif", "d.bmp", "e.png"})
        pictures << QFileInfo(writeImage(QString::fromLatin1(name), sheet(QSize(40, 30)))).fileName();
    ASSERT_TRUE(testsupport::writeFile(scratch.file(QStringLiteral("notes.txt")), "not a page"));

    QFileDialog dialog(nullptr, QStringLiteral("选择本地图像"), QFileInfo(scratch.file(QStringLiteral("a.jpg"))).absolutePath(), IOController::pictureFileFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.show();
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    auto shown = [list] {
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            names << list->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    };
    // The file system model fills the list in the background.
    for (int waited = 0; shown() != pictures && waited < 5000; waited += 50)
        QTest::qWait(50);
    EXPECT_EQ(shown(), pictures);
}
