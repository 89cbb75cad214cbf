#include "tests/app/flowtest.h"

#include "widgets/dialogs/setfacepanel.h"

using namespace flowtest;

namespace {

// A card of `pages` pages on two papers (one when `pages` is 2), brought in
// through the new-project dialog and the image intake, shown on step 0.
class ViewerPages : public FlowTest
{
protected:
    void openCard(int pages)
    {
        if (pages == 2)
            newCard(QStringLiteral("单张卡"), 0, 0);
        else
            newCard(QStringLiteral("双张卡"), 1, pages == 4 ? 1 : 0);
        files = writeSheets(pages);
        importImages(files);
        ASSERT_EQ(shownPage(), viewer);
    }

    PageSheet& page(int paper, int face) { return answerSheet.sheets[paper][face]; }

    // The canvas shows that page's picture and the template says so.
    bool shows(int paper, int face)
    {
        return viewer->currentPage() == &page(paper, face)
               && viewer->graphicsView()->pixmap().cacheKey() == page(paper, face).image.pixmap.cacheKey();
    }

    void clickFaceButton(const QString& text)
    {
        for (SetButton* b : viewer->findChild<SetFacePanel*>()->pageButtons())
            if (b->text() == text) {
                iotest::click(b);
                return;
            }
        ADD_FAILURE() << "no face button " << text.toStdString();
    }

    QStringList files;
};

} // namespace

TEST_F(ViewerPages, thePageButtonsWalkTheFourFacesWithTheirLabels)
{
    openCard(4);
    const QStringList labels = {"第一张正面", "第一张反面", "第二张正面", "第二张反面"};
    EXPECT_EQ(pageLabel(), labels[0]);
    EXPECT_TRUE(shows(0, 0));
    EXPECT_FALSE(previous()->isEnabled());

    for (int i = 1; i < 4; ++i) {
        ASSERT_TRUE(next()->isEnabled()) << i;
        iotest::click(next());
        EXPECT_EQ(pageLabel(), labels[i]);
        EXPECT_TRUE(shows(i / 2, i % 2)) << i;
        EXPECT_TRUE(previous()->isEnabled());
    }
    EXPECT_FALSE(next()->isEnabled()) << "the last page";

    for (int i = 2; i >= 0; --i) {
        iotest::click(previous());
        EXPECT_EQ(pageLabel(), labels[i]);
        EXPECT_TRUE(shows(i / 2, i % 2)) << i;
    }
    EXPECT_FALSE(previous()->isEnabled());
    EXPECT_TRUE(next()->isEnabled());
}

TEST_F(ViewerPages, rotationTurnsTheShownPageAQuarterAgainstTheClock)
{
    openCard(4);
    iotest::click(next());
    const QSize before = page(0, 1).image.pixmap.size();
    const qint64 untouched = page(0, 0).image.pixmap.cacheKey();
    // The sheet's black square sits in its top-left corner.
    const QPoint corner(51, 51);
    ASSERT_GT(iotest::darkness(page(0, 1).image.pixmap.toImage(), corner), 150);

    iotest::click(button(QStringLiteral("btnRotate")));

    const QImage turned = page(0, 1).image.pixmap.toImage();
    EXPECT_EQ(turned.size(), before.transposed());
    EXPECT_GT(iotest::darkness(turned, QPoint(corner.y(), before.width() - 1 - corner.x())), 150) << "now bottom left";
    EXPECT_LT(iotest::darkness(turned, corner), 60);
    EXPECT_TRUE(shows(0, 1));
    EXPECT_EQ(pageLabel(), QStringLiteral("第一张反面"));
    EXPECT_EQ(page(0, 0).image.pixmap.cacheKey(), untouched);
}

TEST_F(ViewerPages, theFacePanelMovesTheShownImageToTheChosenPage)
{
    openCard(4);
    clickFaceButton(QStringLiteral("第2张反面"));

    EXPECT_EQ(pageLabel(), QStringLiteral("第二张反面"));
    EXPECT_TRUE(shows(1, 1));
    EXPECT_EQ(page(1, 1).image.name, files[0]);
    EXPECT_EQ(page(0, 0).image.name, files[3]);
    EXPECT_EQ(page(0, 1).image.name, files[1]);
    EXPECT_FALSE(next()->isEnabled());

    // Choosing the page already shown changes nothing.
    clickFaceButton(QStringLiteral("第2张反面"));
    EXPECT_EQ(page(1, 1).image.name, files[0]);
    EXPECT_EQ(page(0, 0).image.name, files[3]);
}

TEST_F(ViewerPages, setAsFrontSwapsTheFacesOfAOnePaperCard)
{
    openCard(2);
    EXPECT_EQ(pageLabel(), QStringLiteral("正面"));
    EXPECT_FALSE(viewer->findChild<SetFacePanel*>()->isVisible());
    EXPECT_EQ(tipText(), QStringLiteral("温馨提示：请根据实际情况设置答题卡的正反面"));

    // On the front there is nothing to swap.
    iotest::click(button(QStringLiteral("btnSetFront")));
    EXPECT_EQ(page(0, 0).image.name, files[0]);

    iotest::click(next());
    EXPECT_EQ(pageLabel(), QStringLiteral("反面"));
    iotest::click(button(QStringLiteral("btnSetFront")));
    EXPECT_EQ(pageLabel(), QStringLiteral("正面"));
    EXPECT_TRUE(shows(0, 0));
    EXPECT_EQ(page(0, 0).image.name, files[1]);
    EXPECT_EQ(page(0, 1).image.name, files[0]);
}

TEST_F(ViewerPages, aPaperWithoutItsBackIsNeverShownAsOne)
{
    // Three faces: the second paper has only its front.
    openCard(3);
    iotest::click(next());
    iotest::click(next());
    EXPECT_EQ(pageLabel(), QStringLiteral("第二张正面"));
    EXPECT_FALSE(next()->isEnabled());

    viewer->onShowNext();
    viewer->setPageFace(1, FaceBack);
    EXPECT_FALSE(viewer->showPage(1, FaceBack, false));
    EXPECT_EQ(pageLabel(), QStringLiteral("第二张正面"));
    EXPECT_TRUE(shows(1, 0));
    EXPECT_EQ(page(1, 0).image.name, files[2]);
}
