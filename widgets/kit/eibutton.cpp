#include "widgets/kit/eibutton.h"

#include "widgets/kit/kitstyle.h"

namespace {
const QByteArray defaultImage = QByteArrayLiteral(":/Resources/Quindle/images/titleBtnDefault.png");
const QByteArray passedImage = QByteArrayLiteral(":/Resources/Quindle/images/titleBtnPassed.png");
} // namespace

EIButton::EIButton(QWidget* parent) : QPushButton(parent)
{
    QString sheet;
    if (!readKitStyleSheet(sheet))
        return;
    styleText = sheet.toUtf8();
    setStyleSheet(sheet);
}

void EIButton::setPassedStyle()
{
    styleText.replace(defaultImage, passedImage);
    setStyleSheet(QString::fromUtf8(styleText));
}

void EIButton::setDefaultStyle()
{
    styleText.replace(passedImage, defaultImage);
    setStyleSheet(QString::fromUtf8(styleText));
}
