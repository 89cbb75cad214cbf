#include "widgets/kitstyle.h"

#include <QFile>

bool readKitStyleSheet(QString& text)
{
    QFile file(kitStyleSheetPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}
