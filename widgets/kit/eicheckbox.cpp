#include "widgets/kit/eicheckbox.h"

#include "widgets/kit/kitstyle.h"

EICheckBox::EICheckBox(QString text, QWidget* parent) : QCheckBox(text, parent)
{
    connect(this, &QCheckBox::clicked, this, &EICheckBox::reportClick, Qt::DirectConnection);
    QString sheet;
    if (readKitStyleSheet(sheet))
        setStyleSheet(sheet);
}

void EICheckBox::reportClick()
{
    // The text and state as they are now, not as they were at construction.
    emit stateChanged(text(), isChecked());
}
