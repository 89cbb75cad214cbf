#pragma once

#include "tests/canvas/viewdriver.h"

#include "canvas/editmenu.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"

#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

// Every signal of a canvas scene, in the order it came.
class SceneRecorder
{
public:
    struct Emitted
    {
        QString name;
        QVariant value;
    };

    explicit SceneRecorder(EIGraphicsScene* scene)
    {
        QObject::connect(scene, &EIGraphicsScene::drawFinished, [this](QRectF r) { add("drawFinished", r); });
        QObject::connect(scene, &EIGraphicsScene::drawStart, [this] { add("drawStart", {}); });
        QObject::connect(scene, &EIGraphicsScene::itemSelected, [this](bool v) { add("itemSelected", v); });
        QObject::connect(scene, &EIGraphicsScene::selectedItemRect, [this](QRectF r) { add("selectedItemRect", r); });
        QObject::connect(scene, &EIGraphicsScene::updateMenu, [this](int m) { add("updateMenu", m); });
        QObject::connect(scene, &EIGraphicsScene::itemMoved, [this] { add("itemMoved", {}); });
        QObject::connect(scene, &EIGraphicsScene::editItem,
                         [this](EIRectItem* item) { add("editItem", QVariant::fromValue<void*>(item)); });
        QObject::connect(scene, &EIGraphicsScene::itemDeleted,
                         [this](EIRectItem* item) { add("itemDeleted", QVariant::fromValue<void*>(item)); });
    }

    QStringList names() const
    {
        QStringList list;
        for (const Emitted& e : all)
            list.append(e.name);
        return list;
    }
    int count(const QString& name) const { return names().count(name); }
    QVariant last(const QString& name) const
    {
        for (int i = all.size() - 1; i >= 0; --i) {
            if (all.at(i).name == name)
                return all.at(i).value;
        }
        return {};
    }
    void clear() { all.clear(); }

    QList<Emitted> all;

private:
    void add(const QString& name, const QVariant& value) { all.append({name, value}); }
};

// A 2000 x 1000 page fitted into a 1000 x 800 canvas: scale 0.5, the page
// centred vertically, so even scene coordinates fall on whole pixels.
class CanvasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view = std::make_unique<EIGraphicsView>();
        view->resize(1000, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QPixmap page(2000, 1000);
        page.fill(Qt::white);
        view->setPixmap(page, false);
        scene = view->scene();
        recorder = std::make_unique<SceneRecorder>(scene);
    }

    void TearDown() override
    {
        recorder.reset();
        view.reset();
    }

    // A framing item put on the canvas the way the page viewer does: added,
    // selected and focused.
    EIRectItem* addItem(const QRectF& rect)
    {
        auto* item = new EIRectItem(rect, true, 8);
        view->addRectItem(item);
        viewdriver::paintNow(view.get());
        return item;
    }

    QPushButton* menuButton(const char* name) const { return view->menu()->findChild<QPushButton*>(name); }

    void clickMenuButton(const char* name)
    {
        QPushButton* button = menuButton(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    std::unique_ptr<EIGraphicsView> view;
    EIGraphicsScene* scene = nullptr;
    std::unique_ptr<SceneRecorder> recorder;
};
