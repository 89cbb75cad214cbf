#pragma once

#include "model/optionalgroup.h"
#include "widgets/kit/eidialog.h"

class OptionalBoxs;
class QGridLayout;

namespace Ui {
struct OptionalAssociatePanel;
}

// "关联选做题": the operator sorts the framed optional questions into at
// most five groups and says how many of each group a candidate answers.
// A question is checked in one group at a time; the fixed group of one
// block (oneQuestionPerBlock false) is shown but cannot be changed.
//
// Fixed groups are always all shown, so the group count never goes below
// their number. OK with at least one group that has questions and an
// answer count, and no candidate question left outside every group, closes
// with 1 and associations() returns those groups, numbered from 1. OK without any such
// group says "没有进行关联的题组, 当前操作无效！" and ends the dialog as
// cancelled: exec() returns 0 and associations() is empty, so the caller
// stores nothing and reports the association as not done.
class OptionalAssociatePanel : public EIDialog
{
    Q_OBJECT

public:
    explicit OptionalAssociatePanel(QWidget* parent = nullptr);
    ~OptionalAssociatePanel() override;

    void setMaxGroupCount(int count);
    void setMaxPerGroup(int count);
    // Replaces every group shown: every fixed group, and editable ones up to
    // the maximum group count. An editable group checks at most the
    // maximum per group and says so in its message line.
    void setAssociations(const OptionalGroupList& groups);
    // The groups shown that have questions and an answer count above 0, in
    // display order; shows nothing.
    OptionalGroupList associations() const;

    void doOk() override;

public slots:
    void onBoxGroupCntChanged(int count);
    void onCheckChanged(int num, bool checked, int groupId);

private:
    // A group at the end of the list, its topics not yet checked.
    OptionalBoxs* addGroup(const QList<int>& topics, bool editable);
    void addFixedGroup(const OptionalGroup& fixed);
    void addEditableGroup(const QList<int>& wanted, int answerCount);
    int editableGroupCount() const;
    OptionalGroupList storedEditableGroups() const;
    bool removeLastEditableGroup();
    void renumberGroups();
    // Candidates no editable group has checked.
    QList<int> freeNumbers() const;
    // A number is open in an editable group when it is checked there or
    // in no editable group at all.
    void refreshTopicStates();
    void showInformation(const QString& text);

    QGridLayout* groupLayout;
    Ui::OptionalAssociatePanel* form;
    QList<int> candidateNumbers;
    QList<int> fixedNumbers;
    QList<OptionalBoxs*> groups;
    OptionalGroupList storedGroups;
    int maxGroupCount = 5;
    int maxPerGroup = 5;
    int fixedCount = 0;
};
