#include "widgets/dialogs/checkcorner.h"

#include "widgets/kit/eititlebar.h"

CheckCorner::CheckCorner(QWidget* parent) : EIDialog(parent)
{
    form.setupUi(this);
    setTitle(QStringLiteral("折角检测设置"));
    titleBar()->setRoundClose(true);
    setFixedHeight(240);
}

void CheckCorner::setCheckCorner(bool on)
{
    form.btnCheck->setChecked(on);
    form.btnNotCheck->setChecked(!on);
}

bool CheckCorner::isCheckCorner() const
{
    return form.btnCheck->isChecked();
}
