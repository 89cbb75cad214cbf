#include "canvas/editmenu.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QPushButton>

namespace {

const char* const menuStyle =
    "QPushButton{\n"
    "    min-width:60px;\n"
    "    min-height:25px;\n"
    "    border-radius:2px;\n"
    "    font-family:Microsoft YaHei;\n"
    "    font-size:14px;\n"
    "    color:white;\n"
    "\n"
    "    border-image:url(:/Resources/Quindle/images/edit_button_normal.png);\n"
    "}\n"
    "QPushButton:pressed{\n"
    "padding-top:2px;\n"
    "    border-image:url(:/Resources/Quindle/images/edit_button_normal.png);\n"
    "}\n"
    "QPushButton:hover{\n"
    "    border-image:url(:/Resources/Quindle/images/edit_button_hover.png);\n"
    "}";

constexpr int fadeInMs = 1000;

} // namespace

EditMenu::EditMenu(QWidget* parent) : QWidget(parent)
{
    setupUi();

    fadeIn = new QPropertyAnimation(this, "windowOpacity", this);
    fadeIn->setDuration(fadeInMs);
    fadeIn->setStartValue(0);
    fadeIn->setEndValue(1);

    // The menu hides before the request goes out, so a receiver that opens
    // a dialog or deletes the item never sees it floating.
    connect(btnDelete, &QPushButton::clicked, this, [this] {
        hide();
        emit deleteItem();
    });
    connect(btnEdit, &QPushButton::clicked, this, [this] {
        hide();
        emit editeItem();
    });
}

void EditMenu::setupUi()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("EditMenu"));
    resize(152, 45);
    setStyleSheet(QString::fromUtf8(menuStyle));

    horizontalLayout = new QHBoxLayout(this);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalLayout->setContentsMargins(0, 0, 0, 5);

    btnDelete = new QPushButton(this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    btnDelete->setMinimumSize(QSize(62, 25));
    btnDelete->setMaximumSize(QSize(51, 27));
    btnDelete->setStyleSheet(QStringLiteral("margin-left:2px;"));
    horizontalLayout->addWidget(btnDelete);

    btnEdit = new QPushButton(this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setMinimumSize(QSize(60, 25));
    btnEdit->setMaximumSize(QSize(51, 27));
    horizontalLayout->addWidget(btnEdit);

    retranslateUi();
}

void EditMenu::retranslateUi()
{
    setWindowTitle(QCoreApplication::translate("EditMenu", "EditMenu"));
    btnDelete->setText(QCoreApplication::translate("EditMenu", "删除"));
    btnEdit->setText(QCoreApplication::translate("EditMenu", "编辑"));
}

void EditMenu::setMode(int mode)
{
    btnEdit->setVisible(mode != DeleteOnly);
    btnDelete->show();
}

void EditMenu::showEvent(QShowEvent* event)
{
    fadeIn->start();
    QWidget::showEvent(event);
}
