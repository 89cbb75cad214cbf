#pragma once

#include "tests/canvas/viewdriver.h"

#include "canvas/item/eirectitem.h"

#include <QGraphicsScene>
#include <QGraphicsView>

#include <gtest/gtest.h>

#include <memory>

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
