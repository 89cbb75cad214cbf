#include "tests/canvas/canvasfixture.h"

#include "canvas/itemeditpanel.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {

enum Row { WidthRow, HeightRow, RowOffsetRow, ColOffsetRow };

// The plus ("editAdd") or minus ("editMin") button of a row; the buttons
// carry their look's name, so the row is told by height.
void press(ItemEditPanel* panel, const char* kind, Row row, int times = 1)
{
    QList<QPushButton*> buttons = panel->findChildren<QPushButton*>(QLatin1String(kind));
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->y() < b->y(); });
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(buttons.value(row), Qt::LeftButton, Qt::NoModifier, QPoint(14, 14));
}

QStringList shown(ItemEditPanel* panel)
{
    QStringList texts;
    for (const char* name : {"widthLabel", "heightLabel", "rowOffsetLabel", "colOffsetLabel"})
        texts.append(panel->findChild<QLabel*>(QLatin1String(name))->text());
    return texts;
}

void setSteps(ItemEditPanel* panel, int size, double offset)
{
    panel->findChild<QSpinBox*>(QStringLiteral("boxSizeStep"))->setValue(size);
    panel->findChild<QDoubleSpinBox*>(QStringLiteral("boxOffsetStep"))->setValue(offset);
}

// The boxes drawn on the canvas, in scene coordinates, column by column.
QList<QRectF> boxesOnCanvas(EIRectItem* item)
{
    QList<QRectF> boxes;
    for (QGraphicsRectItem* box : viewdriver::childrenOfType<QGraphicsRectItem>(item))
        if (box->isVisible())
            boxes.append(box->mapRectToScene(box->rect()));
    std::sort(boxes.begin(), boxes.end(),
              [](const QRectF& a, const QRectF& b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    return boxes;
}

} // namespace

// An objective block of 4 rows x 5 columns of 20 x 14 boxes, 30 apart down
// and 40 across, framed on the canvas.
TEST_F(CanvasTest, theEditPanelStepsTheGridWithinItsFloorsAndLetsGoOfTheBlock)
{
    EIRectItem* block = addItem(QRectF(100, 200, 300, 200));
    ASSERT_TRUE(block->setItemRect(QRectF(10, 12, 20, 14), 4, 5, 30, 40));
    auto* panel = new ItemEditPanel(view.get());
    panel->setItem(block);
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    EXPECT_EQ(shown(panel), QStringList({"20", "14", "30.000", "40.000"}));
    const QPointF origin(110, 212);

    press(panel, "editAdd", WidthRow);
    press(panel, "editAdd", HeightRow, 2);
    press(panel, "editAdd", RowOffsetRow);
    press(panel, "editMin", ColOffsetRow, 2);
    EXPECT_EQ(shown(panel), QStringList({"21", "16", "30.300", "39.400"}));
    // The first box stays put on the page; the others follow the spacings.
    QList<QRectF> boxes = boxesOnCanvas(block);
    ASSERT_EQ(boxes.size(), 20);
    EXPECT_EQ(boxes.first(), QRectF(origin, QSizeF(21, 16)));
    EXPECT_EQ(boxes.last(), QRectF(origin + QPointF(4 * 39.4, 3 * 30.3), QSizeF(21, 16)));

    // In steps of 5 the width goes 16, 11, 6; the next press would go below
    // the floor of 2 and changes nothing, but the next step starts from
    // the floor. The canvas never draws a box narrower than 6. Likewise the
    // row offset in steps of 10 and its floor of 2.0.
    setSteps(panel, 5, 10.0);
    press(panel, "editMin", WidthRow, 4);
    EXPECT_EQ(shown(panel).first(), QStringLiteral("6"));
    setSteps(panel, 1, 10.0);
    press(panel, "editAdd", WidthRow);
    press(panel, "editMin", RowOffsetRow, 3);
    EXPECT_EQ(shown(panel), QStringList({"3", "16", "10.300", "39.400"}));
    setSteps(panel, 1, 0.3);
    press(panel, "editAdd", RowOffsetRow);
    EXPECT_EQ(shown(panel), QStringList({"3", "16", "2.300", "39.400"}));
    EXPECT_EQ(block->grid().boxSize(), QSizeF(6, 16));
    EXPECT_NEAR(block->rowSpacing(), 2.3, 1e-9);

    // Moving the block reloads the values from it and hides the panel,
    // which lets go of it: shown again without a new edit request, its
    // buttons change nothing.
    scene->clearSelection();
    block->setSelected(true);
    const QPointF between(138, 234);  // inside the block, between its boxes
    viewdriver::drag(view.get(), between, between + QPointF(20, 20));
    EXPECT_FALSE(panel->isVisible());
    const QRectF moved = block->sceneRect();
    panel->show();
    press(panel, "editAdd", WidthRow);
    EXPECT_EQ(shown(panel).first(), QStringLiteral("6"));
    EXPECT_EQ(block->sceneRect(), moved);

    // Clearing the canvas frees the bound block; under the sanitizer a
    // press or a reload that still reached it fails here.
    panel->setItem(block);
    panel->show();
    view->clearScene();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->boundItem(), nullptr);
    panel->show();
    for (Row row : {WidthRow, HeightRow, RowOffsetRow, ColOffsetRow}) {
        press(panel, "editAdd", row);
        press(panel, "editMin", row);
    }
    emit scene->itemMoved();
    EXPECT_EQ(shown(panel), QStringList({"6", "16", "2.300", "39.400"}));
    delete panel;
}
