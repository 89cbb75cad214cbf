#include "widgets/dialogs/optionalboxs.h"

#include "model/infra/constants.h"
#include "widgets/kit/eicheckbox.h"
#include "widgets/kit/eilabel.h"
#include "widgets/kit/eispainbox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int boxesPerRow = 5;
constexpr int rowHeight = 22;
constexpr int checkFrameWidth = 300;
// Caption, answer row and message line around the check boxes.
constexpr int groupChrome = 100;

// About half of the questions, at least one: 1 → 1, 2 → 1, 3 → 2, 5 → 3.
int halfRoundedUp(int count)
{
    return static_cast<int>(count / 2.0 + 0.5);
}
} // namespace

OptionalBoxs::OptionalBoxs(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("optionalBox"));
    setStyleSheet(QStringLiteral("QWidget#optionalBox, EILabel,QFrame#checkFrame,EICheckBox "
                                 "{background:#E9EDF4;}QWidget#optionalBox{border-radius:6px;}"));
    setMinimumSize(337, 45);

    verticalLayout = new QVBoxLayout(this);
    captionLabel = new EILabel(this);
    verticalLayout->addWidget(captionLabel);

    checkFrame = new QFrame(this);
    checkFrame->setObjectName(QStringLiteral("checkFrame"));
    checkGrid = new QGridLayout(checkFrame);
    checkGrid->setContentsMargins(2, 2, 2, 2);
    checkGrid->setSpacing(2);
    verticalLayout->addWidget(checkFrame);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setSpacing(2);
    answerLabel = new EILabel(this);
    answerBox = new EISpainBox(this);
    answerBox->setRange(0, 99);
    unitLabel = new EILabel(QStringLiteral(" 题"), this);
    horizontalLayout->addWidget(answerLabel);
    horizontalLayout->addWidget(answerBox);
    horizontalLayout->addWidget(unitLabel);
    horizontalLayout->addStretch();
    verticalLayout->addLayout(horizontalLayout);

    messageLabel = new EILabel(this);
    messageLabel->setMessageStyle();
    messageLabel->hide();
    verticalLayout->addWidget(messageLabel);

    messageTimer = new QTimer(this);
    messageTimer->setObjectName(QStringLiteral("messageTimer"));
    messageTimer->setSingleShot(true);
    connect(messageTimer, &QTimer::timeout, this, [this] {
        messageLabel->clear();
        messageLabel->hide();
    });
}

void OptionalBoxs::setGroupId(int groupId)
{
    id = groupId;
    captionLabel->setText(QStringLiteral("请选择题组%1要关联的选做题").arg(chineseNumeral(id)));
    answerLabel->setText(QStringLiteral("该组勾选的题目中, 需要学生作答的题目数量为: "));
}

void OptionalBoxs::setTopics(const QList<int>& numbers)
{
    const int rows = (numbers.size() + boxesPerRow - 1) / boxesPerRow;
    for (int i = 0; i < numbers.size(); ++i) {
        auto* box = new EICheckBox(QString::number(numbers[i]), checkFrame);
        box->setEnabled(false);
        box->setFixedSize(44, 17);
        connect(box, &EICheckBox::stateChanged, this, &OptionalBoxs::onTopicClicked);
        checkGrid->addWidget(box, i / boxesPerRow, i % boxesPerRow);
        checkBoxes.append(box);
    }
    checkGrid->setAlignment(Qt::AlignLeft);
    // Watched from here on, so a count set by setCheckedTopics is checked too.
    connect(answerBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &OptionalBoxs::onBoxSizeChnaged,
            Qt::UniqueConnection);
    checkFrame->setFixedSize(checkFrameWidth, rows * rowHeight);
    setFixedHeight(checkFrame->height() + groupChrome);
}

void OptionalBoxs::setCheckedTopics(const QList<int>& numbers, int count)
{
    int checked = 0;
    bool overfull = false;
    for (EICheckBox* box : qAsConst(checkBoxes)) {
        if (!numbers.contains(box->text().toInt()))
            continue;
        // A fixed group stays whole; an editable one holds no more than a
        // click could put in it.
        if (editable && checked == maxPerGroup) {
            overfull = true;
            continue;
        }
        box->setChecked(true);
        box->setEnabled(editable);
        ++checked;
    }
    answerBox->setValue(count != 0 ? count : qMax(1, halfRoundedUp(checked)));
    if (overfull)
        showMessage(QStringLiteral("每组选做题中最多可选%1题, 操作已被取消!  ").arg(maxPerGroup));
}

void OptionalBoxs::setTopicEnabled(int number, bool enabled)
{
    if (EICheckBox* box = boxOf(number))
        box->setEnabled(enabled);
}

QList<int> OptionalBoxs::checkedTopics() const
{
    QList<int> numbers;
    for (const EICheckBox* box : checkBoxes) {
        if (box->isChecked())
            numbers.append(box->text().toInt());
    }
    return numbers;
}

int OptionalBoxs::answerCount() const
{
    return answerBox->value();
}

void OptionalBoxs::destroyGroup()
{
    for (EICheckBox* box : qAsConst(checkBoxes)) {
        disconnect(box, nullptr, this, nullptr);
        box->deleteLater();
    }
    deleteLater();
    checkBoxes.clear();
}

void OptionalBoxs::onTopicClicked(QString val, bool checked)
{
    EICheckBox* clicked = boxOf(val.toInt());
    if (!clicked)
        return;
    if (!editable) {
        clicked->setChecked(!checked);
        showMessage(QStringLiteral("一个题块中的选做题必须为一组, 不可编辑 !    "));
        return;
    }
    const int count = checkedCount();
    if (count == 0) {
        clicked->setChecked(true);
        showMessage(QStringLiteral("至少需勾选一题, 可以通过减少组数来关联!    "));
        return;
    }
    if (count > maxPerGroup) {
        showMessage(QStringLiteral("每组选做题中最多可选%1题, 操作已被取消!  ").arg(maxPerGroup));
        clicked->setChecked(false);
        return;
    }
    answerBox->setValue(halfRoundedUp(count));
    emit checkChanged(val.toInt(), checked, id);
}

void OptionalBoxs::onBoxSizeChnaged(int val)
{
    if (val <= 0) {
        showMessage(QStringLiteral("需要选做的题目数量不能为0 !"));
        answerBox->setValue(1);
        return;
    }
    const int count = checkedCount();
    if (answerBox->value() >= count && count != 0) {
        showMessage(QStringLiteral("需要选做的题目数量不能大于等于勾选的数量 ! "));
        answerBox->setValue(count - 1 > 0 ? count - 1 : 1);
        answerBox->setFocus();
    }
}

void OptionalBoxs::showMessage(const QString& text)
{
    if (messageLabel->isHidden())
        messageLabel->show();
    messageLabel->setText(text);
    messageTimer->start(messageTime);
}

EICheckBox* OptionalBoxs::boxOf(int number) const
{
    for (EICheckBox* box : checkBoxes) {
        if (box->text().toInt() == number)
            return box;
    }
    return nullptr;
}

int OptionalBoxs::checkedCount() const
{
    return checkedTopics().size();
}
