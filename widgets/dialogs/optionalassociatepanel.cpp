#include "widgets/dialogs/optionalassociatepanel.h"

#include "widgets/dialogs/optionalboxs.h"
#include "widgets/dialogs/ui_optionalassociatepanel.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/eispainbox.h"
#include "widgets/kit/eititlebar.h"

#include <QGridLayout>
#include <QSignalBlocker>

#include <algorithm>

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

    // Every fixed group is shown, even past the limit: its questions can
    // go nowhere else. Editable groups fill what room is left, in order.
    const int shown = qBound(fixedCount, given.size(), qMax(maxGroupCount, fixedCount));
    int editableRoom = shown - fixedCount;
    for (const OptionalGroup& stored : qAsConst(storedGroups)) {
        if (!stored.oneQuestionPerBlock)
            addFixedGroup(stored);
        else if (editableRoom-- > 0)
            addEditableGroup(stored.questions, stored.answerCount);
    }
    {
        const QSignalBlocker quiet(form->boxGroupCnt);
        form->boxGroupCnt->setValue(shown);
    }
    refreshTopicStates();
    if (fixedCount == shown)
        form->boxGroupCnt->setEnabled(false);
    else if (fixedCount == shown - 1)
        ++fixedCount;
    renumberGroups();
}

void OptionalAssociatePanel::onBoxGroupCntChanged(int count)
{
    // The count is put in range once, with the box quiet: clamping it
    // through its own signal could swing between two limits for ever.
    const int highest = qMax(maxGroupCount, fixedCount);
    const int wanted = qBound(qMax(1, fixedCount), count, highest);
    if (wanted != count) {
        const QSignalBlocker quiet(form->boxGroupCnt);
        form->boxGroupCnt->setValue(wanted);
    }
    const int shown = groups.size();
    for (int i = wanted; i < shown; ++i) {
        if (!removeLastEditableGroup())
            break;
    }
    // Fixed groups are all shown from the start, so a group added is an
    // editable one: back with what its stored group still finds free, or
    // else with free questions only.
    for (int i = groups.size(); i < wanted; ++i) {
        const int editable = editableGroupCount();
        const OptionalGroupList stored = storedEditableGroups();
        if (editable < stored.size())
            addEditableGroup(stored[editable].questions, stored[editable].answerCount);
        else
            addEditableGroup(freeNumbers().mid(0, maxPerGroup), 0);
    }
    refreshTopicStates();
    renumberGroups();
    if (count > highest)
        showInformation(QStringLiteral("关联的选做题组数最大为5组!"));
}

OptionalBoxs* OptionalAssociatePanel::addGroup(const QList<int>& topics, bool editable)
{
    auto* group = new OptionalBoxs(form->widget);
    group->setMaxPerGroup(maxPerGroup);
    connect(group, &OptionalBoxs::checkChanged, this, &OptionalAssociatePanel::onCheckChanged);
    group->setGroupId(groups.size() + 1);
    group->setTopics(topics);
    group->setEditable(editable);
    // Appended below the others: rows of removed groups stay empty.
    groupLayout->addWidget(group, groupLayout->rowCount(), 0);
    groups.append(group);
    return group;
}

void OptionalAssociatePanel::addFixedGroup(const OptionalGroup& fixed)
{
    addGroup(fixed.questions, false)->setCheckedTopics(fixed.questions, fixed.answerCount);
}

void OptionalAssociatePanel::addEditableGroup(const QList<int>& wanted, int answerCount)
{
    // Only what no other group holds: a question is in one group at a time.
    QList<int> numbers;
    const QList<int> free = freeNumbers();
    for (int number : wanted)
        if (free.contains(number))
            numbers.append(number);
    addGroup(candidateNumbers, true)->setCheckedTopics(numbers, answerCount);
}

int OptionalAssociatePanel::editableGroupCount() const
{
    return static_cast<int>(std::count_if(groups.begin(), groups.end(),
                                          [](const OptionalBoxs* group) { return group->isEditable(); }));
}

OptionalGroupList OptionalAssociatePanel::storedEditableGroups() const
{
    OptionalGroupList editable;
    for (const OptionalGroup& stored : storedGroups)
        if (stored.oneQuestionPerBlock)
            editable.append(stored);
    return editable;
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
        // Ids follow the groups kept, so a group left empty leaves no gap.
        result.append(OptionalGroup(numbers, result.size() + 1, group->answerCount(), group->isEditable()));
    }
    return result;
}

void OptionalAssociatePanel::doOk()
{
    if (associations().isEmpty()) {
        showInformation(QStringLiteral("没有进行关联的题组, 当前操作无效！"));
        EIDialog::doCancel();
        return;
    }
    // An optional question in no group would be saved as no choice at
    // all; the dialog stays open with what the operator set up.
    const QList<int> left = freeNumbers();
    if (!left.isEmpty()) {
        QStringList numbers;
        for (int number : left)
            numbers.append(QString::number(number));
        showInformation(QStringLiteral("第%1题没有关联到任何题组, 请勾选!").arg(numbers.join(QStringLiteral("、"))));
        return;
    }
    EIDialog::doOk();
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
