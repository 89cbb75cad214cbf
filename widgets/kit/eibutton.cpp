#include "widgets/kit/eibutton.h"

#include "widgets/kit/kitstyle.h"

namespace {
const QByteArray defaultImage = QByteArrayLiteral(":/Resources/Quindle/images/titleBtnDefault.png");
const QByteArray passedImage = QByteArrayLiteral(":/Resources/Quindle/images/titleBtnPassed.png");
// The passed image carries a tick at its right end; the text moves left to
// keep clear of it ("3 - 框选文字标题" fills the button almost edge to edge).
const QByteArray passedPadding = QByteArrayLiteral("\nQPushButton:!checked{padding-right:12px;}");
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
    if (!styleText.endsWith(passedPadding))
        styleText.append(passedPadding);
    setStyleSheet(QString::fromUtf8(styleText));
}

void EIButton::setDefaultStyle()
{
    styleText.replace(passedImage, defaultImage);
    if (styleText.endsWith(passedPadding))
        styleText.chop(passedPadding.size());
    setStyleSheet(QString::fromUtf8(styleText));
}
