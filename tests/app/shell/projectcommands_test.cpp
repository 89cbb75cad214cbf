#include "tests/app/flowtest.h"

#include "widgets/dialogs/setfacepanel.h"

using namespace flowtest;

using ProjectCommands = FlowTest;

TEST_F(ProjectCommands, aNewCardOpensTheGetTemplatePageAndACancelledOneTheStartPage)
{
    QSignalSpy done(window->ioController(), &IOController::newProjectDone);
    newCard(QStringLiteral("期中卡"), 1, 0);

    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.at(0).at(0).toInt(), 1);
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
    EXPECT_EQ(cardTitle(), QStringLiteral("期中卡"));
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("titleFrame"))->isVisible());
    EXPECT_TRUE(enabledSteps().isEmpty()) << "no step before the images arrive";
    // The window's blue button style must not squeeze the page's wider buttons.
    for (const QString text : {QStringLiteral("扫描答题卡模板"), QStringLiteral("导入答题卡图片")}) {
        const QPushButton* intake = button(text);
        ASSERT_NE(intake, nullptr);
        EXPECT_EQ(intake->size(), QSize(120, 30)) << text.toStdString();
    }
    ASSERT_EQ(answerSheet.sheets.size(), 2);
    EXPECT_EQ(answerSheet.sheets[0].size(), 2);
    EXPECT_EQ(answerSheet.sheets[1].size(), 1);

    // Work is open now, so a second new card asks first.
    Message question;
    script->message(&question, QStringLiteral("是"));
    answerNewProject(QStringLiteral("期末卡"), 0, 0, QStringLiteral("取消"));
    done.clear();
    iotest::click(button(QStringLiteral("新建")));

    EXPECT_EQ(question.title, QStringLiteral("警告"));
    EXPECT_EQ(question.text, QStringLiteral("新建将会清空当前未保存的操作，是否继续？"));
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.at(0).at(0).toInt(), 2);
    EXPECT_EQ(shownPage(), window->indexWidget());
    EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("titleFrame"))->isVisible());
    EXPECT_TRUE(cardTitle().isEmpty());
    EXPECT_TRUE(answerSheet.sheets.isEmpty());
}

TEST_F(ProjectCommands, acceptedImagesOpenTheViewerOnStepZeroWithTheFacePanel)
{
    newCard(QStringLiteral("期中卡"), 1, 1);
    const QStringList files = writeSheets(4);
    importImages(files);

    EXPECT_EQ(shownPage(), viewer);
    EXPECT_EQ(currentStep, StepGetTemplate);
    EXPECT_EQ(tipText(), QStringLiteral("温馨提示：请根据实际情况设置答题卡的页码与正反面"));
    EXPECT_EQ(enabledSteps(), QList<int>({0}));
    EXPECT_TRUE(stepButton(0)->isChecked());
    auto* faces = viewer->findChild<SetFacePanel*>();
    ASSERT_TRUE(faces->isVisible());
    QStringList faceButtons;
    for (SetButton* b : faces->pageButtons())
        faceButtons.append(b->text());
    EXPECT_EQ(faceButtons, QStringList({"第1张正面", "第1张反面", "第2张正面", "第2张反面"}));
    EXPECT_TRUE(button(QStringLiteral("btnRotate")));
    EXPECT_FALSE(button(QStringLiteral("btnSetFront"))) << "two papers use the face panel";
    EXPECT_EQ(pageLabel(), QStringLiteral("第一张正面"));
    EXPECT_EQ(viewer->graphicsView()->pixmap().cacheKey(), answerSheet.sheets[0][0].image.pixmap.cacheKey());
    EXPECT_EQ(answerSheet.sheets[0][0].image.name, files[0]);
    EXPECT_FALSE(scene()->isDrawEnabled()) << "nothing is framed while the pages are sorted";
}

TEST_F(ProjectCommands, aSavedCardResumesOnItsFirstOpenStepWithItsFraming)
{
    const QString path = saveTitledCard(QStringLiteral("期中卡"));
    importCard(path);

    EXPECT_EQ(shownPage(), viewer);
    EXPECT_EQ(cardTitle(), QStringLiteral("期中卡"));
    EXPECT_EQ(currentStep, StepExamNumber);
    EXPECT_TRUE(stepButton(StepExamNumber)->isChecked());
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3}));
    EXPECT_FALSE(stepButton(StepPageNumber)->isVisible()) << "one paper has no page-number step";
    EXPECT_EQ(pageLabel(), QStringLiteral("正面"));

    // The front's line and title are on the canvas, locked on this step.
    QList<QRect> framed;
    for (EIRectItem* item : shownItems()) {
        framed.append(item->sceneRect().toRect());
        EXPECT_FALSE(item->isEnabled());
    }
    std::sort(framed.begin(), framed.end(), [](const QRect& a, const QRect& b) { return a.y() < b.y(); });
    EXPECT_EQ(framed, QList<QRect>({QRect(100, 30, 300, 40), QRect(40, 380, 500, 12)}));
    EXPECT_TRUE(button(QStringLiteral("准考证号")));
    EXPECT_TRUE(button(QStringLiteral("条形码")));

    // The back shows its own title only.
    iotest::click(button(QStringLiteral("btnNext")));
    EXPECT_EQ(pageLabel(), QStringLiteral("反面"));
    ASSERT_EQ(shownItems().size(), 1);
    EXPECT_EQ(shownItems()[0], answerSheet.sheets[0][1].title.item);
}

TEST_F(ProjectCommands, anImportOpensOnlyTheNewCardsStepsWhateverTheLastCardReached)
{
    importCard(saveTitledCard(QStringLiteral("期中卡")));
    window->setStepButtonsEnabled(0, StepSubjective);
    window->switchStep(StepSubjective);
    ASSERT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3, 4, 5}));

    Message question;
    script->message(&question, QStringLiteral("是"));
    importCard(saveTitledCard(QStringLiteral("期末卡")));
    EXPECT_EQ(cardTitle(), QStringLiteral("期末卡"));
    EXPECT_EQ(currentStep, StepExamNumber);
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3}));
}

TEST_F(ProjectCommands, aFailedImportLeavesTheGetTemplatePageAndACleanTemplate)
{
    const QString good = saveTitledCard(QStringLiteral("期中卡"));
    importCard(good);
    ASSERT_EQ(currentStep, StepExamNumber);

    const QString broken = saveTitledCard(QStringLiteral("NAME"));
    QFile::remove(QFileInfo(broken).absolutePath() + QStringLiteral("/NAME_1.jpg"));
    Message question, reason;
    script->message(&question, QStringLiteral("是")).message(&reason, QStringLiteral("确定"));
    importCard(broken);

    EXPECT_EQ(question.text, QStringLiteral("导入将会清空当前未保存的操作，是否继续？"));
    EXPECT_EQ(reason.text, QStringLiteral("图像 \"NAME_1.jpg\" 不存在,导入失败！"));
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
    EXPECT_EQ(currentStep, StepGetTemplate);
    EXPECT_EQ(enabledSteps(), QList<int>({0}));
    EXPECT_EQ(answerSheet.paperName, QStringLiteral("unknown"));
    EXPECT_TRUE(answerSheet.sheets.isEmpty());
    EXPECT_TRUE(cardTitle().isEmpty());
    EXPECT_TRUE(shownItems().isEmpty());
}

TEST_F(ProjectCommands, aFailedImportOverSortedPagesEmptiesTheCanvas)
{
    // Still on step 0, where switching steps clears nothing by the way.
    newCard(QStringLiteral("期中卡"), 0, 0);
    importImages(writeSheets(2));
    ASSERT_EQ(shownPage(), viewer);
    ASSERT_FALSE(scene()->items().isEmpty());

    const QString broken = scratch.file(QStringLiteral("broken.json"));
    ASSERT_TRUE(testsupport::writeFile(broken, "{\"paperName\": "));
    Message question, reason;
    script->message(&question, QStringLiteral("是")).message(&reason, QStringLiteral("确定"));
    importCard(broken);

    EXPECT_EQ(shownPage(), window->getTemplatePanel());
    EXPECT_TRUE(scene()->items().isEmpty()) << "the refused card's page is still on the canvas";
}

TEST_F(ProjectCommands, restartingFromStepZeroAsksThenEmptiesTheFramingAndKeepsThePictures)
{
    importCard(saveTitledCard(QStringLiteral("期中卡")));
    const qint64 front = answerSheet.sheets[0][0].image.pixmap.cacheKey();

    Message question;
    script->message(&question, QStringLiteral("否"));
    iotest::click(stepButton(StepGetTemplate));
    EXPECT_EQ(question.title, QStringLiteral("警告"));
    EXPECT_EQ(question.text, QStringLiteral("重新操作此步骤将会清空已完成步骤的数据，是否继续？"));
    EXPECT_EQ(currentStep, StepExamNumber);
    EXPECT_TRUE(stepButton(StepExamNumber)->isChecked());
    EXPECT_EQ(answerSheet.sheets[0][0].lineCount(), 1);

    script->message(&question, QStringLiteral("是"));
    iotest::click(stepButton(StepGetTemplate));
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
    EXPECT_EQ(currentStep, StepGetTemplate);
    EXPECT_EQ(enabledSteps(), QList<int>({0}));
    EXPECT_EQ(answerSheet.sheets[0][0].lineCount(), 0);
    EXPECT_EQ(answerSheet.sheets[0][1].title.item, nullptr);
    EXPECT_EQ(answerSheet.sheets[0][0].image.pixmap.cacheKey(), front);
    EXPECT_TRUE(shownItems().isEmpty());
    EXPECT_TRUE(scene()->items().size() <= 1) << "at most the page image is left";

    // On step 0 the button empties the framing again without asking.
    iotest::click(stepButton(StepGetTemplate));
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
}

TEST_F(ProjectCommands, aNewCardOverAnImportedOneFreesItsItemsOnce)
{
    // Under the sanitizer this catches the canvas and the template freeing
    // the same items.
    importCard(saveTitledCard(QStringLiteral("期中卡")));
    EIRectItem* line = answerSheet.sheets[0][0].lines[0];
    scene()->clearSelection();
    line->setSelected(true);
    ASSERT_TRUE(line->isVisible());

    Message question;
    script->message(&question, QStringLiteral("是"));
    answerNewProject(QStringLiteral("期末卡"), 0, 0);
    iotest::click(button(QStringLiteral("新建")));

    EXPECT_EQ(cardTitle(), QStringLiteral("期末卡"));
    EXPECT_EQ(scene()->currentItem(), nullptr);
    EXPECT_TRUE(shownItems().isEmpty());
    importImages(writeSheets(2));
    EXPECT_EQ(shownPage(), viewer);
    EXPECT_EQ(pageLabel(), QStringLiteral("正面"));
}
