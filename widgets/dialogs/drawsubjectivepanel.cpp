#include "widgets/dialogs/drawsubjectivepanel.h"

#include "model/infra/constants.h"
#include "widgets/dialogs/ui_drawsubjectivepanel.h"
#include "widgets/kit/eititlebar.h"

#include <QStyledItemDelegate>

namespace {
constexpr int answerQuestionIndex = 1;   // "解答题", the one type that can be optional
} // namespace

DrawSubjectivePanel::DrawSubjectivePanel(QWidget* parent)
    : EIDialog(parent), form(new Ui::DrawSubjectivePanel), maxOptionalQuestions(5)
{
    form->setupUi(this);

    // Without a delegate of its own a combo box's list ignores the style
    // sheet's item rules. Owned by the dialog so it outlives the box.
    form->boxType->setItemDelegate(new QStyledItemDelegate(this));

    setTitle(QStringLiteral("主观题属性  "));
    titleBar()->setRoundClose(true);
    connectSignals();
    // The box belongs to answer questions from the start, also when no
    // prefill comes.
    onTypeChanged(form->boxType->currentIndex());
}

DrawSubjectivePanel::~DrawSubjectivePanel()
{
    delete form;
}

void DrawSubjectivePanel::connectSignals()
{
    connect(form->boxNumberBegin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &DrawSubjectivePanel::onSubjectSizechanged);
    connect(form->boxNumberEnd, QOverload<int>::of(&QSpinBox::valueChanged), this, &DrawSubjectivePanel::onBoxEnd);
    connect(form->boxType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DrawSubjectivePanel::onTypeChanged);
}

void DrawSubjectivePanel::setProperties(const SubjectiveProperties& values)
{
    const int index = values.type - firstSubjectiveType;
    if (index >= 0 && index < form->boxType->count())
        form->boxType->setCurrentIndex(index);
    form->checkOptional->setVisible(form->boxType->currentIndex() == answerQuestionIndex);
    form->boxNumberBegin->setValue(values.start);
    form->boxNumberEnd->setValue(values.end);
}

SubjectiveProperties DrawSubjectivePanel::properties() const
{
    SubjectiveProperties values;
    values.type = form->boxType->currentIndex() + firstSubjectiveType;
    values.start = form->boxNumberBegin->value();
    values.end = form->boxNumberEnd->value();
    values.optional = isOptionalChosen();
    return values;
}

bool DrawSubjectivePanel::isOptionalChosen() const
{
    // isHidden, not isVisible: the answer must not depend on whether the
    // dialog itself is on screen.
    return form->checkOptional->isChecked() && !form->checkOptional->isHidden();
}

void DrawSubjectivePanel::doOk()
{
    const int start = form->boxNumberBegin->value();
    const int end = form->boxNumberEnd->value();
    const int count = end - start + 1;
    if (start > end || end <= 0) {
        showTip(QStringLiteral("提示：请检查输入的题号！"));
        return;
    }
    if (isOptionalChosen() && count > maxOptionalQuestions) {
        showTip(QStringLiteral("提示：选做题题目数最大为%1个！").arg(maxOptionalQuestions));
        return;
    }
    EIDialog::doOk();
}

void DrawSubjectivePanel::showTip(const QString& text)
{
    form->infoLabel->setText(text);
    form->infoLabel->show();
}

void DrawSubjectivePanel::onTypeChanged(int index)
{
    form->checkOptional->setVisible(index == answerQuestionIndex);
}

void DrawSubjectivePanel::onSubjectSizechanged(int val)
{
    if (val < 1) {
        // Comes back here with 1.
        form->boxNumberBegin->setValue(1);
        return;
    }
    if (form->boxNumberEnd->value() < 1)
        form->boxNumberEnd->setValue(1);
    if (val > form->boxNumberEnd->value())
        form->boxNumberEnd->setValue(val);
}

void DrawSubjectivePanel::onBoxEnd(int val)
{
    const int start = form->boxNumberBegin->value();
    if (val < 1)
        form->boxNumberEnd->setValue(1);
    if (start <= val)
        form->infoLabel->hide();
}
