#pragma once

#include "widgets/dialogs/ui_checkcorner.h"
#include "widgets/kit/eidialog.h"

// "折角检测设置": whether intake pages are checked for folded corners. It
// only shows and collects the choice; the caller keeps the setting and
// reads the choice after an OK.
class CheckCorner : public EIDialog
{
    Q_OBJECT

public:
    explicit CheckCorner(QWidget* parent = nullptr);

    void setCheckCorner(bool on);
    bool isCheckCorner() const;

private:
    Ui::CheckCorner form;
};
