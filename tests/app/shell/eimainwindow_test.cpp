#include "tests/app/apptest.h"
#include "tests/support/testsupport.h"

#include "app/shell/eimainwindow.h"
#include "app/steps/imageviewer.h"
#include "app/shell/indexwidget.h"
#include "app/shell/startup.h"
#include "model/answersheet.h"
#include "platform/windowsversion.h"
#include "widgets/kit/eititlebar.h"
#include "widgets/kit/maskform.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QScreen>
#include <QTextDocument>
#include <QStackedWidget>

namespace {

const QStringList stepTexts = {
    QStringLiteral("1 - 获取模板"),   QStringLiteral("2 - 框选线段"), QStringLiteral("3 - 框选文字标题"),
    QStringLiteral("4 - 框选考号信息"), QStringLiteral("5 - 框选客观题"), QStringLiteral("6 - 框选主观题"),
    QStringLiteral("7 - 框选页码"),   QStringLiteral("8 - 框选其他标记"),
};

const QStringList stepButtonNames = {
    QStringLiteral("btnGetTemplate"),   QStringLiteral("btnDrawLines"),      QStringLiteral("btnDrawTitle"),
    QStringLiteral("btnDrawStuNo"),     QStringLiteral("btnDrawObjective"),  QStringLiteral("btnDrawSubjective"),
    QStringLiteral("btnDrawPageNum"),   QStringLiteral("btnDrawMarkers"),
};

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = new EIMainWindow;
        showMainWindow(*window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        bar = window->findChild<EITitleBar*>(QStringLiteral("titlebar"));
        ASSERT_NE(bar, nullptr);
    }

    void TearDown() override
    {
        delete window;
        platform::overrideWindowsVersion(std::nullopt);
        answerSheet.paperCnt = 1;
    }

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }

    QPushButton* barButton(const char* name) const { return bar->findChild<QPushButton*>(QLatin1String(name)); }

    MaskForm* overlay() const { return window->findChild<MaskForm*>(); }

    bool overlayUp() const { return overlay() && overlay()->isVisible(); }

    // Drags the title bar from its middle by `delta` through the window system.
    void dragTitleBar(QPoint delta)
    {
        QWindow* handle = window->windowHandle();
        const QPoint from = bar->mapTo(window, QPoint(bar->width() / 2, 10));
        const QPoint globalStart = handle->mapToGlobal(from);
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(handle, handle->mapFromGlobal(globalStart + delta * step / 4));
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, handle->mapFromGlobal(globalStart + delta));
    }

    EIMainWindow* window = nullptr;
    EITitleBar* bar = nullptr;
    testsupport::Watchdog watchdog{60};
};

} // namespace

TEST_F(MainWindowTest, opensCentredOnTheStartPageWithTheStepsHiddenAndDisabled)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->pos(), screen.topLeft() + centredPosition(screen.size(), QSize(1309, 710)));
    EXPECT_EQ(window->size(), QSize(1309, 710));
    EXPECT_FALSE(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velmora第三方卡制作工具客户端"));

    // The title is drawn as a picture on the title label.
    EXPECT_EQ(bar->titleLabel()->pixmap(Qt::ReturnByValue).size(), QSize(280, 26));
    EXPECT_TRUE(bar->titleLabel()->text().isEmpty());
    EXPECT_TRUE(barButton("btnMax")->isVisible());
    EXPECT_FALSE(barButton("btnRestore")->isVisible());
    EXPECT_TRUE(barButton("btnMenu")->isVisible());

    auto* stack = child<QStackedWidget>("stackedWidget");
    EXPECT_EQ(stack->currentWidget(), window->indexWidget());
    auto* invitation = window->indexWidget()->findChild<QLabel*>(QStringLiteral("label"));
    QTextDocument shown;
    shown.setHtml(invitation->text());
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("请通过左上角按钮，新建或导入第三方答题卡"));
    EXPECT_TRUE(invitation->isVisible());

    EXPECT_FALSE(child("titleFrame")->isVisible());
    for (int step = 0; step < 8; ++step) {
        auto* button = child<QPushButton>(stepButtonNames[step].toLatin1().constData());
        ASSERT_NE(button, nullptr) << step;
        EXPECT_FALSE(button->isEnabled()) << step;
        EXPECT_EQ(button->text(), stepTexts[step]);
    }

    QStringList header;
    for (QPushButton* button : child("headerFrame")->findChildren<QPushButton*>())
        if (button->isVisible())
            header.append(button->objectName() + QLatin1Char(':') + button->text());
    EXPECT_EQ(header, QStringList({QStringLiteral("themeBtn:新建"), QStringLiteral("themeBtn:导入")}));
    EXPECT_FALSE(overlayUp());
}

TEST_F(MainWindowTest, onOtherWindowsVersionsItOpensAndMaximisesFullScreen)
{
    delete window;
    platform::overrideWindowsVersion(0x80); // Windows 7
    window = new EIMainWindow;
    showMainWindow(*window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    bar = window->findChild<EITitleBar*>(QStringLiteral("titlebar"));
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(barButton("btnRestore")->isVisible());
    EXPECT_FALSE(barButton("btnMax")->isVisible());

    apptest::click(barButton("btnRestore"));
    EXPECT_EQ(window->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized), Qt::WindowNoState);
    EXPECT_TRUE(barButton("btnMax")->isVisible());

    apptest::click(barButton("btnMax"));
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_FALSE(window->isMaximized());
}

TEST_F(MainWindowTest, maximiseAndRestoreSwapTheirButtons)
{
    apptest::click(barButton("btnMax"));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_TRUE(barButton("btnRestore")->isVisible());
    EXPECT_FALSE(barButton("btnMax")->isVisible());

    apptest::click(barButton("btnRestore"));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_TRUE(barButton("btnMax")->isVisible());
    EXPECT_FALSE(barButton("btnRestore")->isVisible());
}

TEST_F(MainWindowTest, declinedCloseKeepsTheWindowAndRemovesTheOverlay)
{
    apptest::Message question;
    QPoint whileAsked;
    const QPoint start = window->pos();
    apptest::answerWhenShown(window, QStringLiteral("取消"), &question, [&] {
        // The overlay is up and the title bar must not drag the window.
        EXPECT_TRUE(overlayUp());
        dragTitleBar(QPoint(40, 30));
        whileAsked = window->pos();
    });
    apptest::click(barButton("btnClose"));

    EXPECT_EQ(question.title, QStringLiteral("提示"));
    EXPECT_EQ(question.text, QStringLiteral("确定要退出程序吗？"));
    EXPECT_EQ(question.buttons, QStringList({QStringLiteral("确定"), QStringLiteral("取消")}));
    EXPECT_EQ(whileAsked, start);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(overlayUp());
    EXPECT_EQ(apptest::visibleMessageBox(window), nullptr);

    // Dragging works again once the question is gone.
    dragTitleBar(QPoint(40, 30));
    EXPECT_EQ(window->pos(), start + QPoint(40, 30));
}

TEST_F(MainWindowTest, confirmedCloseEndsTheEventLoopWithZero)
{
    // The loop ends with the last window; another one left open would hang it.
    for (QWidget* other : QApplication::topLevelWidgets())
        ASSERT_TRUE(other == window || !other->isVisible()) << other->metaObject()->className();
    apptest::answerWhenShown(window, QStringLiteral("确定"), nullptr);
    QTimer::singleShot(20, barButton("btnClose"), [this] { apptest::click(barButton("btnClose")); });
    const int result = QApplication::exec();

    EXPECT_EQ(result, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(overlayUp());
}

TEST_F(MainWindowTest, theVersionEntryOfTheMenuShowsTheVersion)
{
    QAction* about = nullptr;
    for (QAction* action : bar->menu()->actions())
        if (action->text() == QStringLiteral("版本信息"))
            about = action;
    ASSERT_NE(about, nullptr);

    apptest::Message box;
    apptest::answerWhenShown(window, QStringLiteral("确定"), &box);
    about->trigger();

    EXPECT_EQ(box.title, QStringLiteral("信息"));
    EXPECT_EQ(box.text, QStringLiteral("当前版本号：v 1.3.1"));
    EXPECT_EQ(box.buttons, QStringList({QStringLiteral("确定")}));
    EXPECT_FALSE(overlayUp());
}

TEST_F(MainWindowTest, messagesOfTheViewerSitOnTheOverlayWhichCoversTheWholeWindow)
{
    apptest::Message box;
    bool onOverlay = false;
    QRect grown;
    apptest::answerWhenShown(window, QStringLiteral("确定"), &box, [&] {
        EIMessageBox* shown = apptest::visibleMessageBox(window);
        onOverlay = shown->parentWidget() == overlay() && overlay()->geometry() == window->rect();
        window->resize(1500, 800);
        grown = overlay()->geometry();
    });
    emit window->imageViewer()->showMessage(QStringLiteral("提示"), QStringLiteral("请先框选选做题标记！"));

    EXPECT_TRUE(onOverlay);
    EXPECT_EQ(grown, QRect(0, 0, 1500, 800)) << "the overlay follows the window's size";
    EXPECT_EQ(box.title, QStringLiteral("提示"));
    EXPECT_EQ(box.text, QStringLiteral("请先框选选做题标记！"));
    EXPECT_FALSE(overlayUp());
}

TEST_F(MainWindowTest, onePaperHidesThePageNumberStepAndMovesTheLastStepUp)
{
    auto* pageNumber = child<QPushButton>("btnDrawPageNum");
    auto* markers = child<QPushButton>("btnDrawMarkers");
    QWidget* marker = child("frame");
    window->showStepPanel(EIMainWindow::ViewerPage);

    answerSheet.paperCnt = 1;
    window->updateLayoutByPaperCount();
    EXPECT_FALSE(pageNumber->isVisible());
    EXPECT_EQ(markers->pos(), QPoint(-1, pageNumber->y()));
    EXPECT_EQ(marker->pos(), QPoint(50, 325 - (280 - pageNumber->y())));

    const QPoint markersOnce = markers->pos();
    const QPoint markerOnce = marker->pos();
    window->updateLayoutByPaperCount();
    EXPECT_EQ(markers->pos(), markersOnce);
    EXPECT_EQ(marker->pos(), markerOnce);

    answerSheet.paperCnt = 2;
    window->updateLayoutByPaperCount();
    EXPECT_TRUE(pageNumber->isVisible());
    EXPECT_EQ(markers->pos(), QPoint(-1, 280));
    EXPECT_EQ(marker->pos(), QPoint(50, 325));
}
