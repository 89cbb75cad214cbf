#include "widgets/dialogs/optionalassociatepanel.h"

#include "widgets/dialogs/optionalboxs.h"
#include "widgets/dialogs/ui_optionalassociatepanel.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/eispainbox.h"
#include "widgets/kit/eititlebar.h"

#include <QGridLayout>
#include <QSignalBlocker>

OptionalAssociatePanel::OptionalAssociatePanel(QWidget* parent)
    : EIDialog(parent), form(new Ui::OptionalAssociatePanel)
{
    form->setupUi(this);
    groupLayout = new QGridLayout(form->widget);
    // A group's answer row needs nearly the whole width of the scroll area.
    groupLayout->setContentsMargins(0, 0, 0, 0);
    titleBar()->setRoundClose(true);
    connect(form->boxGroupCnt, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &OptionalAssociatePanel::onBoxGroupCntChanged);
    setTitle(QStringLiteral("关联选做题  "));
}

OptionalAssociatePanel::~OptionalAssociatePanel()
{
    delete form;
}

void OptionalAssociatePanel::setMaxGroupCount(int count)
{
    maxGroupCount = count;
}

void OptionalAssociatePanel::setMaxPerGroup(int count)
{
    maxPerGroup = count;
    for (OptionalBoxs* group : qAsConst(groups))
        group->setMaxPerGroup(count);
}

void OptionalAssociatePanel::setAssociations(const OptionalGroupList& given)
{
    for (OptionalBoxs* group : qAsConst(groups)) {
        groupLayout->removeWidget(group);
        group->hide();
        group->destroyGroup();
    }
    groups.clear();
    candidateNumbers.clear();
    fixedNumbers.clear();
    storedGroups.clear();
    fixedCount = 0;
    // A second fill must rebuild even when it asks for the same count.
    {
        const QSignalBlocker quiet(form->boxGroupCnt);
        form->boxGroupCnt->setValue(0);
    }
    form->boxGroupCnt->setEnabled(true);

    for (const OptionalGroup& group : given) {
        if (group.oneQuestionPerBlock) {
            candidateNumbers += group.questions;
        } else {
            fixedNumbers += group.questions;
            ++fixedCount;
        }
        storedGroups.append(group);
    }

    const int shown = qMin(given.size(), maxGroupCount);
    form->boxGroupCnt->setValue(shown);
    if (fixedCount == shown)
        form->boxGroupCnt->setEnabled(false);
    else if (fixedCount == shown - 1)
        ++fixedCount;
    renumberGroups();
}

void OptionalAssociatePanel::onBoxGroupCntChanged(int count)
{
    if (count < 1) {
        form->boxGroupCnt->setValue(1);
        return;
    }
    if (count > maxGroupCount) {
        form->boxGroupCnt->setValue(maxGroupCount);
        showInformation(QStringLiteral("关联的选做题组数最大为5组!"));
        return;
    }
    if (count < fixedCount) {
        form->boxGroupCnt->setValue(fixedCount);
        return;
    }
    const int shown = groups.size();
    for (int i = count; i < shown; ++i) {
        if (!removeLastEditableGroup())
            break;
    }
    for (int i = shown; i < count; ++i)
        addGroup(i);
    refreshTopicStates();
}

void OptionalAssociatePanel::addGroup(int position)
{
    auto* group = new OptionalBoxs(form->widget);
    group->setMaxPerGroup(maxPerGroup);
    connect(group, &OptionalBoxs::checkChanged, this, &OptionalAssociatePanel::onCheckChanged);
    group->setGroupId(position + 1);

    const bool stored = position < storedGroups.size();
    if (stored && !storedGroups[position].oneQuestionPerBlock) {
        const OptionalGroup& fixed = storedGroups[position];
        group->setTopics(fixed.questions);
        group->setEditable(false);
        group->setCheckedTopics(fixed.questions, fixed.answerCount);
    } else {
        group->setTopics(candidateNumbers);
        group->setEditable(true);
        if (stored) {
            // Rebuilt after a removal, a group takes back only what no
            // other group took meanwhile.
            QList<int> numbers;
            const QList<int> free = freeNumbers();
            for (int number : qAsConst(storedGroups[position].questions))
                if (free.contains(number))
                    numbers.append(number);
            group->setCheckedTopics(numbers, storedGroups[position].answerCount);
        } else {
            // A new group takes what is free, but no more than a group may hold.
            group->setCheckedTopics(freeNumbers().mid(0, maxPerGroup), 0);
        }
    }
    // Appended below the others: rows of removed groups stay empty.
    groupLayout->addWidget(group, groupLayout->rowCount(), 0);
    groups.append(group);
}

bool OptionalAssociatePanel::removeLastEditableGroup()
{
    for (int i = groups.size() - 1; i >= 0; --i) {
        OptionalBoxs* group = groups[i];
        if (!group->isEditable())
            continue;
        groupLayout->removeWidget(group);
        group->hide();
        const QList<int> released = group->checkedTopics();
        const int id = group->groupId();
        disconnect(group, &OptionalBoxs::checkChanged, this, &OptionalAssociatePanel::onCheckChanged);
        group->destroyGroup();
        groups.removeAt(i);
        for (int number : released)
            onCheckChanged(number, false, id);
        renumberGroups();
        return true;
    }
    return false;
}

void OptionalAssociatePanel::renumberGroups()
{
    for (int i = 0; i < groups.size(); ++i)
        groups[i]->setGroupId(i + 1);
}

void OptionalAssociatePanel::onCheckChanged(int num, bool checked, int groupId)
{
    for (OptionalBoxs* group : qAsConst(groups)) {
        if (!group->isEditable())
            continue;
        if (!checked)
            group->setTopicEnabled(num, true);
        else if (group->groupId() != groupId)
            group->setTopicEnabled(num, false);
    }
}

QList<int> OptionalAssociatePanel::freeNumbers() const
{
    QList<int> free;
    for (int number : candidateNumbers) {
        bool taken = false;
        for (const OptionalBoxs* group : groups)
            taken = taken || (group->isEditable() && group->checkedTopics().contains(number));
        if (!taken)
            free.append(number);
    }
    return free;
}

void OptionalAssociatePanel::refreshTopicStates()
{
    for (OptionalBoxs* group : qAsConst(groups)) {
        if (!group->isEditable())
            continue;
        for (int number : qAsConst(candidateNumbers)) {
            bool elsewhere = false;
            for (const OptionalBoxs* other : qAsConst(groups))
                elsewhere = elsewhere || (other != group && other->isEditable() && other->checkedTopics().contains(number));
            group->setTopicEnabled(number, !elsewhere);
        }
    }
}

OptionalGroupList OptionalAssociatePanel::associations() const
{
    OptionalGroupList result;
    for (const OptionalBoxs* group : groups) {
        const QList<int> numbers = group->checkedTopics();
        if (numbers.isEmpty() || group->answerCount() <= 0)
            continue;
        result.append(OptionalGroup(numbers, group->groupId(), group->answerCount(), group->isEditable()));
    }
    return result;
}

void OptionalAssociatePanel::doOk()
{
    if (!associations().isEmpty()) {
        EIDialog::doOk();
        return;
    }
    showInformation(QStringLiteral("没有进行关联的题组, 当前操作无效！"));
    EIDialog::doCancel();
}

void OptionalAssociatePanel::showInformation(const QString& text)
{
    // Out of the way while the box is up, which takes the same parent.
    const bool shown = isVisible();
    hide();
    EIMessageBox::information(parentWidget(), QStringLiteral("提示"), text);
    if (shown)
        show();
}
