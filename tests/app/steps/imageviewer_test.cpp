#include "tests/app/apptest.h"

#include "app/steps/imageviewer.h"
#include "canvas/eigraphicsview.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

class ViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        viewer.resize(916, 590);
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
        pageLabel = viewer.findChild<QLabel*>(QStringLiteral("pageLabel"));
        ASSERT_NE(pageLabel, nullptr);
    }

    QPushButton* button(const char* name) const
    {
        for (QPushButton* b : viewer.findChildren<QPushButton*>())
            if (b->objectName() == QLatin1String(name) || b->text() == QString::fromUtf8(name))
                return b;
        return nullptr;
    }

    // A page with a known pixel, larger than the view.
    static QPixmap page(QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(10, 20, qRgb(200, 0, 0));
        return QPixmap::fromImage(image);
    }

    ImageViewer viewer;
    QLabel* pageLabel = nullptr;
};

} // namespace

TEST_F(ViewerTest, stepButtonsBecomeTheViewersSignals)
{
    QSignalSpy next(&viewer, &ImageViewer::nextStepClicked);
    QSignalSpy skip(&viewer, &ImageViewer::jumpClicked);
    QSignalSpy save(&viewer, &ImageViewer::saveClicked);
    QSignalSpy associate(&viewer, &ImageViewer::optAssociate);

    // Skip is offered on the objective step while nothing is framed.
    viewer.updateProcedureBtnState(StepObjective);
    apptest::click(button("下一步"));
    apptest::click(button("btnSkip"));
    apptest::click(button("保存"));
    apptest::click(button("关联选做题"));
    apptest::click(button("下一步"));

    EXPECT_EQ(next.count(), 2);
    EXPECT_EQ(skip.count(), 1);
    EXPECT_EQ(save.count(), 1);
    EXPECT_EQ(associate.count(), 1);
}

TEST_F(ViewerTest, beforeAnyPageThereIsNowhereToTurn)
{
    EXPECT_FALSE(button("btnPrevious")->isEnabled());
    EXPECT_FALSE(button("btnNext")->isEnabled());
}

TEST_F(ViewerTest, theExamNumberSwitchHoldsOneKindAndTheAbsentMarkStaysChecked)
{
    QPushButton* grid = button("准考证号");
    QPushButton* barcode = button("条形码");
    QPushButton* absent = button("缺考");
    viewer.updateProcedureBtnState(StepExamNumber);
    EXPECT_TRUE(grid->isChecked());
    EXPECT_FALSE(barcode->isChecked());

    apptest::click(barcode);
    EXPECT_TRUE(barcode->isChecked());
    EXPECT_FALSE(grid->isChecked());

    viewer.updateProcedureBtnState(StepOtherMarks);
    ASSERT_TRUE(absent->isChecked());
    apptest::click(absent);
    EXPECT_TRUE(absent->isChecked());
}

TEST_F(ViewerTest, thePageLabelFloatsInTheCanvasCornerAndTakesItsSize)
{
    const QRect canvas = viewer.graphicsView()->rect();
    EXPECT_EQ(pageLabel->text(), QStringLiteral("反面"));
    EXPECT_EQ(pageLabel->pos(), QPoint(canvas.width() - pageLabel->contentsRect().width() - 15, canvas.height() - 45));

    const QSize small = pageLabel->size();
    const QPoint before = pageLabel->pos();
    viewer.showTip(QPoint(), 35);
    EXPECT_EQ(pageLabel->pos(), before);
    EXPECT_GT(pageLabel->height(), small.height());
    EXPECT_GT(pageLabel->width(), small.width());

    viewer.showTip(QPoint(120, 80), 18);
    EXPECT_EQ(pageLabel->pos(), QPoint(120, 80));
    EXPECT_EQ(pageLabel->size(), small);
    EXPECT_TRUE(pageLabel->isVisible());

    // A larger viewer moves the label with the canvas corner.
    viewer.resize(1100, 700);
    QApplication::processEvents();
    const QRect grown = viewer.graphicsView()->rect();
    EXPECT_EQ(pageLabel->pos(), QPoint(grown.width() - pageLabel->contentsRect().width() - 15, grown.height() - 45));
}

TEST_F(ViewerTest, aShownPageFillsTheCanvasOrKeepsTheZoom)
{
    EIGraphicsView* view = viewer.graphicsView();
    const QPixmap first = page(QSize(2480, 3508));
    viewer.showPixmap(first, false);
    EXPECT_EQ(view->pixmap().size(), first.size());
    EXPECT_EQ(view->pixmap().toImage().pixel(10, 20), qRgb(200, 0, 0));
    EXPECT_DOUBLE_EQ(view->zoomScale(), view->fitScale());
    EXPECT_LT(view->fitScale(), 1.0);

    view->zoomIn();
    const double zoomed = view->zoomScale();
    ASSERT_GT(zoomed, view->fitScale());
    viewer.showPixmap(page(QSize(2480, 3508)), true);
    EXPECT_DOUBLE_EQ(view->zoomScale(), zoomed);

    viewer.showPixmap(page(QSize(2480, 3508)), false);
    EXPECT_DOUBLE_EQ(view->zoomScale(), view->fitScale());
}
