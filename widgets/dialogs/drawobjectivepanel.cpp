#include "widgets/dialogs/drawobjectivepanel.h"

#include "widgets/dialogs/ui_drawobjectivepanel.h"
#include "widgets/kit/eititlebar.h"

#include <QStyledItemDelegate>

namespace {
constexpr int judgeType = 2;
constexpr int judgeOptions = 2;
constexpr int defaultOptions = 4;
constexpr int vertical = 1;
} // namespace

DrawObjectivePanel::DrawObjectivePanel(QWidget* parent) : EIDialog(parent), form(new Ui::DrawObjectivePanel)
{
    form->setupUi(this);
    form->boxBorderType->hide();
    form->label_6->hide();
    connectSignals();

    // Without a delegate of its own a combo box's list ignores the style
    // sheet's item rules. Owned by the dialog so it outlives the boxes.
    auto* delegate = new QStyledItemDelegate(this);
    form->boxType->setItemDelegate(delegate);
    form->boxAlign->setItemDelegate(delegate);
    form->boxBorderType->setItemDelegate(delegate);

    setTitle(QStringLiteral("客观题属性  "));
    titleBar()->setRoundClose(true);
}

DrawObjectivePanel::~DrawObjectivePanel()
{
    delete form;
}

void DrawObjectivePanel::connectSignals()
{
    connect(form->boxNumberBegin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &DrawObjectivePanel::onSubjectSizechanged);
    connect(form->boxNumberEnd, QOverload<int>::of(&QSpinBox::valueChanged), this, &DrawObjectivePanel::onBoxEnd);
    connect(form->boxType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DrawObjectivePanel::onTypeChanged);
}

void DrawObjectivePanel::setProperties(const SubArea& block, bool sameNumbers)
{
    if (block.subAreaTopicType >= 0 && block.subAreaTopicType < form->boxType->count())
        form->boxType->setCurrentIndex(block.subAreaTopicType);
    form->boxCols->setValue(block.count);
    if (!block.numList.isEmpty()) {
        const int last = block.numList.last();
        if (sameNumbers) {
            form->boxNumberBegin->setValue(block.numList.first());
            form->boxNumberEnd->setValue(last);
        } else {
            form->boxNumberBegin->setValue(last + 1);
            form->boxNumberEnd->setValue(last + block.rows);
        }
    }
    // A code from a file that the list does not hold leaves the list alone.
    if (block.borderType >= 0 && block.borderType < form->boxBorderType->count())
        form->boxBorderType->setCurrentIndex(block.borderType);
    form->boxAlign->setCurrentIndex(block.orientation >= 0 && block.orientation < 2 ? block.orientation : 0);
}

void DrawObjectivePanel::setCounts(int questionCount, int optionCount)
{
    form->boxNumberEnd->setValue(form->boxNumberBegin->value() + questionCount - 1);
    form->boxCols->setValue(optionCount);
}

SubArea DrawObjectivePanel::properties() const
{
    SubArea block;
    block.subAreaTopicType = form->boxType->currentIndex();
    block.borderType = form->boxBorderType->currentIndex();
    block.orientation = form->boxAlign->currentIndex();

    const int start = form->boxNumberBegin->value();
    const int end = form->boxNumberEnd->value();
    const int options = form->boxCols->value();
    const int questions = end - start + 1;
    if (block.orientation == vertical) {
        block.count = questions;
        block.rows = options;
    } else {
        block.rows = questions;
        block.count = options;
    }
    for (int number = start; number <= end; ++number)
        block.numList.append(number);

    if (block.subAreaTopicType == judgeType) {
        block.chooses = QStringList{QStringLiteral("T"), QStringLiteral("F")};
    } else {
        for (int i = 0; i < options; ++i)
            block.chooses.append(QString(QChar('A' + i)));
    }
    return block;
}

void DrawObjectivePanel::doOk()
{
    const int start = form->boxNumberBegin->value();
    const int end = form->boxNumberEnd->value();
    if (form->boxType->currentIndex() == judgeType && form->boxCols->value() != judgeOptions) {
        showTip(QStringLiteral("提示：请检查题型！"));
        return;
    }
    if (start <= end && end > 0) {
        EIDialog::doOk();
        return;
    }
    showTip(QStringLiteral("提示：请检查输入的题号！"));
}

void DrawObjectivePanel::showTip(const QString& text)
{
    form->infoLabel->setText(text);
    form->infoLabel->show();
}

void DrawObjectivePanel::onTypeChanged(int index)
{
    if (index == judgeType)
        form->boxCols->setValue(judgeOptions);
    else if (form->boxCols->value() == judgeOptions)
        form->boxCols->setValue(defaultOptions);
}

void DrawObjectivePanel::onSubjectSizechanged(int val)
{
    if (val < 1) {
        form->boxNumberBegin->setValue(1);
        return;
    }
    if (val > form->boxNumberEnd->value())
        form->boxNumberEnd->setValue(val);
}

void DrawObjectivePanel::onBoxEnd(int val)
{
    if (val < 1) {
        form->boxNumberEnd->setValue(1);
        return;
    }
    if (form->boxNumberBegin->value() <= val)
        form->infoLabel->hide();
}
