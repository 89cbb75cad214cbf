#include "widgets/dialogs/drawstunopanel.h"

#include "widgets/dialogs/ui_drawstunopanel.h"
#include "widgets/kit/eititlebar.h"

#include <QStyledItemDelegate>

DrawStuNoPanel::DrawStuNoPanel(QWidget* parent) : EIDialog(parent), form(new Ui::DrawStuNoPanel)
{
    form->setupUi(this);
    setTitle(QStringLiteral("准考证号属性   "));

    // Without a delegate of its own a combo box's list ignores the style
    // sheet's item rules. Owned by the dialog so it outlives the boxes.
    auto* delegate = new QStyledItemDelegate(this);
    form->boxAlign->setItemDelegate(delegate);
    form->boxBorderType->setItemDelegate(delegate);

    // Carried through from the prefill, never shown.
    form->boxBorderType->hide();
    form->label_4->hide();
    form->checkExistLine->hide();
    form->label_6->hide();

    titleBar()->setRoundClose(true);
}

DrawStuNoPanel::~DrawStuNoPanel()
{
    delete form;
}

void DrawStuNoPanel::setProperties(const TicketNum& record)
{
    if (record.direction >= 0 && record.direction < form->boxAlign->count())
        form->boxAlign->setCurrentIndex(record.direction);
    form->boxStuNoLens->setValue(record.count);
    form->boxChosenCnt->setValue(record.rows);
    // A code from a file that the list does not hold leaves the list alone.
    if (record.borderType >= 0 && record.borderType < form->boxBorderType->count())
        form->boxBorderType->setCurrentIndex(record.borderType);
    form->checkExistLine->setChecked(record.existsLine);
}

void DrawStuNoPanel::setNumberLength(int length)
{
    form->boxStuNoLens->setValue(length);
}

TicketNum DrawStuNoPanel::properties() const
{
    TicketNum record;
    record.direction = form->boxAlign->currentIndex();
    record.count = form->boxStuNoLens->value();
    record.rows = form->boxChosenCnt->value();
    record.borderType = form->boxBorderType->currentIndex();
    record.existsLine = form->checkExistLine->isChecked();
    return record;
}
