#include "widgets/kit/eilabel.h"

#include "widgets/kit/kitstyle.h"

#include <QStyle>

EILabel::EILabel(QWidget* parent, Qt::WindowFlags flags) : QLabel(parent, flags)
{
    applyKitStyle();
}

EILabel::EILabel(const QString& text, QWidget* parent, Qt::WindowFlags flags) : QLabel(text, parent, flags)
{
    applyKitStyle();
}

void EILabel::applyKitStyle()
{
    setObjectName(QStringLiteral("eilabel"));
    QString sheet;
    if (readKitStyleSheet(sheet))
        setStyleSheet(sheet);
}

void EILabel::setMessageStyle()
{
    setObjectName(QStringLiteral("eilabelMsg"));
    // Style sheets select by object name only when the widget is polished,
    // so a label already on screen must be polished again.
    style()->unpolish(this);
    style()->polish(this);
    update();
}
