#include "canvas/itemeditpanel.h"

#include "canvas/eigraphicsscene.h"
#include "canvas/item/eirectitem.h"
#include "canvas/ui_itemeditpanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// Below these a box or a spacing is too small to be a printed option.
constexpr int minBoxSide = 2;
constexpr double minOffset = 2.0;

// A value below its floor is raised to it and refused, so nothing is shown
// or applied and the next step starts from the floor.
template<typename T>
bool holdsFloor(T& value, T floor)
{
    if (value < floor) {
        value = floor;
        return false;
    }
    return true;
}

constexpr int shadowWidth = 4;

} // namespace

ItemEditPanel::ItemEditPanel(QWidget* parent) : QDialog(parent), ui(new Ui::ItemEditPanel)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    connect(ui->btnMinWidth, &QPushButton::clicked, this, [this] { stepWidth(-1); });
    connect(ui->btnAddWidth, &QPushButton::clicked, this, [this] { stepWidth(1); });
    connect(ui->btnMinHeight, &QPushButton::clicked, this, [this] { stepHeight(-1); });
    connect(ui->btnAddHeight, &QPushButton::clicked, this, [this] { stepHeight(1); });
    connect(ui->btnMinRowOffset, &QPushButton::clicked, this, [this] { stepRowOffset(-1); });
    connect(ui->btnAddRowOffset, &QPushButton::clicked, this, [this] { stepRowOffset(1); });
    connect(ui->btnMinColOffset, &QPushButton::clicked, this, [this] { stepColOffset(-1); });
    connect(ui->btnAddColOffset, &QPushButton::clicked, this, [this] { stepColOffset(1); });

    // The style sheet picks the plus and minus look by these names.
    for (QPushButton* add : {ui->btnAddColOffset, ui->btnAddHeight, ui->btnAddWidth, ui->btnAddRowOffset})
        add->setObjectName(QStringLiteral("editAdd"));
    for (QPushButton* minus : {ui->btnMinColOffset, ui->btnMinHeight, ui->btnMinWidth, ui->btnMinRowOffset})
        minus->setObjectName(QStringLiteral("editMin"));

    ui->btnClose->hide();
}

ItemEditPanel::~ItemEditPanel()
{
    delete ui;
}

void ItemEditPanel::setItem(EIRectItem* target)
{
    if (!target || !target->hasGrid())
        return;
    // Without the scene's signals the panel could not tell when the item
    // moves, goes or is drawn over.
    auto* scene = qobject_cast<EIGraphicsScene*>(target->scene());
    if (!scene)
        return;
    watchScene(scene);

    releaseItem();
    item = target;
    itemLifetime = target->grid().lifetime();
    connect(itemLifetime.data(), &QObject::destroyed, this, [this] {
        // The item is half destroyed here: forget it without reading it.
        item = nullptr;
        itemLifetime.clear();
        hide();
    });
    reload();
}

void ItemEditPanel::watchScene(EIGraphicsScene* scene)
{
    // Connected once per scene, however often the panel is bound.
    if (scene == watchedScene)
        return;
    if (watchedScene)
        disconnect(watchedScene, nullptr, this, nullptr);
    watchedScene = scene;
    connect(scene, &EIGraphicsScene::drawStart, this, &QWidget::hide);
    connect(scene, &EIGraphicsScene::itemMoved, this, &ItemEditPanel::onItemMoved);
    connect(scene, &EIGraphicsScene::itemDeleted, this, &ItemEditPanel::onItemDeleted);
}

void ItemEditPanel::releaseItem()
{
    if (itemLifetime)
        disconnect(itemLifetime, nullptr, this, nullptr);
    itemLifetime.clear();
    item = nullptr;
}

void ItemEditPanel::reload()
{
    if (!item)
        return;
    const QSizeF box = item->grid().boxSize();
    width = static_cast<int>(box.width());
    height = static_cast<int>(box.height());
    colOffset = item->columnSpacing();
    rowOffset = item->rowSpacing();
    updateValues(false);
}

void ItemEditPanel::onItemMoved()
{
    // A move changes neither box size nor spacing; the values are read
    // again all the same, then the panel gets out of the way.
    reload();
    hide();
}

void ItemEditPanel::onItemDeleted(EIRectItem* deleted)
{
    if (deleted && deleted == item)
        hide();
}

void ItemEditPanel::updateValues(bool apply)
{
    ui->widthLabel->setText(QString::number(width));
    ui->heightLabel->setText(QString::number(height));
    ui->rowOffsetLabel->setText(QString::number(rowOffset, 'f', 3));
    ui->colOffsetLabel->setText(QString::number(colOffset, 'f', 3));
    emit valueChanged(width, height, rowOffset, colOffset);
    // The grid may raise a box below its own smallest size; the panel keeps
    // showing its own value.
    if (apply && item && itemLifetime)
        item->grid().relayOut(QSizeF(width, height), rowOffset, colOffset);
}

// Without a bound item the values belong to nothing: a press does nothing.
void ItemEditPanel::stepWidth(int direction)
{
    if (!item)
        return;
    width += direction * ui->boxSizeStep->value();
    if (holdsFloor(width, minBoxSide))
        updateValues(true);
}

void ItemEditPanel::stepHeight(int direction)
{
    if (!item)
        return;
    height += direction * ui->boxSizeStep->value();
    if (holdsFloor(height, minBoxSide))
        updateValues(true);
}

void ItemEditPanel::stepRowOffset(int direction)
{
    if (!item)
        return;
    rowOffset += direction * ui->boxOffsetStep->value();
    if (holdsFloor(rowOffset, minOffset))
        updateValues(true);
}

void ItemEditPanel::stepColOffset(int direction)
{
    if (!item)
        return;
    colOffset += direction * ui->boxOffsetStep->value();
    if (holdsFloor(colOffset, minOffset))
        updateValues(true);
}

void ItemEditPanel::hideEvent(QHideEvent* /*event*/)
{
    // Showing the panel again takes a new edit request, so nothing needs
    // the item until then.
    releaseItem();
}

void ItemEditPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed = true;
        pressPos = event->pos();
    }
}

void ItemEditPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed)
        move(pos() + event->pos() - pressPos);
}

void ItemEditPanel::mouseReleaseEvent(QMouseEvent* /*event*/)
{
    pressed = false;
}

void ItemEditPanel::paintEvent(QPaintEvent* event)
{
    const QRect r = rect();
    QPainter painter(this);
    // A soft shadow: four outlines fading outwards around the white card.
    for (int i = 0; i < shadowWidth; ++i) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        const int inset = shadowWidth - i;
        path.addRect(inset, inset, r.width() - 2 * inset, r.height() - 2 * inset);
        QColor shade(0, 0, 0);
        shade.setAlpha(50 - 10 * i);
        painter.setPen(shade);
        painter.drawPath(path);
    }
    QPainterPath card;
    card.setFillRule(Qt::WindingFill);
    card.addRect(QRect(shadowWidth, shadowWidth, r.width() - 2 * shadowWidth, r.height() - 2 * shadowWidth));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.fillPath(card, QBrush(Qt::white));
    painter.end();
    QWidget::paintEvent(event);
}
