#pragma once

#include "tests/canvas/viewdriver.h"

#include "canvas/item/eirectitem.h"

#include <QGraphicsScene>
#include <QGraphicsView>

#include <gtest/gtest.h>

#include <memory>

// The option boxes in grid order (column-major), without the hidden box area.
inline QList<QGraphicsRectItem*> boxesOf(EIRectItem* item)
{
    QList<QGraphicsRectItem*> boxes;
    for (QGraphicsRectItem* child : viewdriver::childrenOfType<QGraphicsRectItem>(item)) {
        if (child != item->boxAreaItem())
            boxes.append(child);
    }
    return boxes.mid(0, item->rowCount() * item->columnCount());
}

// A plain scene of a 600 x 400 page in a view at scale 1 with the page's
// origin at the viewport's top-left pixel, so a pixel is a scene unit.
class PlainSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scene = std::make_unique<QGraphicsScene>(QRectF(0, 0, 600, 400));
        view = std::make_unique<QGraphicsView>(scene.get());
        view->setFrameShape(QFrame::NoFrame);
        view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view->resize(700, 500);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void TearDown() override
    {
        view.reset();
        scene.reset();
    }

    // A movable item added to the scene and selected, its handles painted.
    EIRectItem* addSelected(const QRectF& rect, int margin = 8)
    {
        auto* item = new EIRectItem(rect, true, margin);
        scene->addItem(item);
        item->setSelected(true);
        viewdriver::paintNow(view.get());
        return item;
    }

    std::unique_ptr<QGraphicsScene> scene;
    std::unique_ptr<QGraphicsView> view;
};
