#pragma once

#include <QList>

// One association of optional questions, as the association dialog edits
// it. The card keeps no list of these: each group's id and answer count live
// in its question blocks, and the list is rebuilt from there.
struct OptionalGroup
{
    QList<int> questions;
    int groupId = 0;
    int answerCount = 0;
    // False for the fixed group of one block that holds all its questions;
    // the dialog does not let the operator split such a group.
    bool oneQuestionPerBlock = true;

    OptionalGroup() = default;
    OptionalGroup(const QList<int>& questions, int groupId, int answerCount, bool oneQuestionPerBlock)
        : questions(questions), groupId(groupId), answerCount(answerCount),
          oneQuestionPerBlock(oneQuestionPerBlock)
    {
    }
};

using OptionalGroupList = QList<OptionalGroup>;

// Where a subjective question was found (AnswerSheet::findSubjectiveByNumList).
struct QuestionLocation
{
    int side = -1;
    int pageIndex = -1;
    bool hasMarks = false;
};
