#include "widgets/eispainbox.h"

#include "widgets/kitstyle.h"

EISpainBox::EISpainBox(QWidget* parent) : QSpinBox(parent)
{
    QString sheet;
    if (readKitStyleSheet(sheet))
        setStyleSheet(sheet);
}
