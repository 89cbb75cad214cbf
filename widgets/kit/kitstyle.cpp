#include "widgets/kit/kitstyle.h"

#include <QFile>
#include <QWidget>

bool readKitStyleSheet(QString& text)
{
    QFile file(kitStyleSheetPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}

void appendStyleSheet(QWidget* widget, const QString& rules)
{
    // Only a polished widget has its sheet parsed again on a change.
    widget->ensurePolished();
    widget->setStyleSheet(widget->styleSheet() + rules);
}
