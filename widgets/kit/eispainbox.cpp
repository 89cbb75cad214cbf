#include "widgets/kit/eispainbox.h"

#include "widgets/kit/kitstyle.h"

EISpainBox::EISpainBox(QWidget* parent) : QSpinBox(parent)
{
    QString sheet;
    if (readKitStyleSheet(sheet))
        setStyleSheet(sheet);
}
