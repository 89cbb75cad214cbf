#pragma once

#include <QDialog>
#include <QPoint>
#include <QPointer>

class EIGraphicsScene;
class EIRectItem;

namespace Ui {
struct ItemEditPanel;
}

// "调整对话框": a small floating tool window over the main window with which
// the operator fine-tunes the option grid of one framing item: the width and
// height of one box and the spacings between box rows and columns. Each
// plus or minus press changes one value by the step set in the panel and
// lays the item's grid out again at once.
//
// The panel is bound to one item at a time and lets go of it whenever it
// hides, when the operator deletes the item and when the item is freed (a
// new card, an import, redoing step 0, re-framing the lines), so no press
// ever reaches a freed item.
class ItemEditPanel : public QDialog
{
    Q_OBJECT

public:
    explicit ItemEditPanel(QWidget* parent = nullptr);
    ~ItemEditPanel() override;

    // Binds the panel to an item with an option grid on a canvas scene and
    // shows its values; anything else leaves the panel as it was. Does not
    // show the panel.
    void setItem(EIRectItem* item);
    EIRectItem* boundItem() const { return item; }
    // Shows the four values, emits valueChanged and, when asked and an item
    // is bound, lays the item's grid out with them.
    void updateValues(bool apply);

signals:
    void valueChanged(int width, int height, double rowOffset, double colOffset);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void watchScene(EIGraphicsScene* scene);
    void releaseItem();
    void reload();
    void onItemMoved();
    void onItemDeleted(EIRectItem* deleted);
    void stepWidth(int direction);
    void stepHeight(int direction);
    void stepRowOffset(int direction);
    void stepColOffset(int direction);

    Ui::ItemEditPanel* ui;
    int width = 0;
    int height = 0;
    double colOffset = 0.0;
    double rowOffset = 0.0;
    QPoint pressPos;
    bool pressed = false;
    EIRectItem* item = nullptr;
    // Goes null when the bound item is freed, whoever frees it.
    QPointer<QObject> itemLifetime;
    QPointer<EIGraphicsScene> watchedScene;
};
