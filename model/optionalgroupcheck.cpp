// Whether the optional-question groups written in the blocks are still
// groups the association dialog could have made, and whether one more
// optional block would leave every optional question a group to go to.

#include "model/answersheet.h"

#include <QMap>
#include <QSet>

namespace {

// A block that asks the candidate to mark a choice: it has mark boxes of
// its own, not the copied marks of the block it continues.
bool ownsMarks(const SubArea& block)
{
    return block.hasMarks() && !block.merge;
}

struct GroupContent
{
    QSet<int> questions;
    int answerCount = 0;
};

// The groups as the blocks carry them, by id.
QMap<int, GroupContent> groupsByIdOf(const AnswerSheet& card)
{
    QMap<int, GroupContent> groups;
    card.forEachPage([&groups](const PageSheet& page) {
        for (const Section& section : page.sections) {
            if (section.type != sectionTypeSubjective)
                continue;
            for (const SubArea& block : section.branch) {
                if (!ownsMarks(block) || block.chooseTopicGroup <= 0)
                    continue;
                GroupContent& group = groups[block.chooseTopicGroup];
                for (int number : block.numList)
                    group.questions.insert(number);
                group.answerCount = block.chooseTopicModel;
            }
        }
    });
    return groups;
}

} // namespace

bool AnswerSheet::optionalGroupsNumbered() const
{
    const QList<int> ids = groupsByIdOf(*this).keys();
    if (ids.size() != optionalGroupCnt)
        return false;
    // The keys come sorted: 1, 2, ... n with none missing.
    for (int i = 0; i < ids.size(); ++i) {
        if (ids[i] != i + 1)
            return false;
    }
    return true;
}

bool AnswerSheet::removeFramedItem(PageSheet& page, EIRectItem* item)
{
    // The block the page gives up: a section's own frame stands for its first block.
    SubArea removed;
    bool found = false;
    for (const Section& section : qAsConst(page.sections)) {
        for (const SubArea& block : section.branch) {
            found = item && (block.frame == item || section.frame == item);
            if (found) {
                removed = block;
                break;
            }
        }
        if (found)
            break;
    }
    page.removeItem(item);
    if (!removed.hasMarks())
        return false;

    // Continuations carried the removed block's marks since the last save;
    // they would keep asking for a choice among questions no longer framed.
    if (!removed.merge) {
        forEachPageOf(sheets, [&removed](PageSheet& each) {
            for (Section& section : each.sections) {
                for (SubArea& block : section.branch) {
                    if (!block.merge || block.choosePosition != removed.choosePosition)
                        continue;
                    block.choosePosition.clear();
                    block.choseScore.clear();
                    block.chooseTopicGroup = 0;
                    block.chooseTopicModel = 0;
                }
            }
        });
    }

    const QMap<int, GroupContent> groups = groupsByIdOf(*this);
    if (groups.isEmpty()) {
        // Nothing left to associate: no count of groups that are gone.
        optionalGroupCnt = 0;
        return false;
    }
    if (!optionalGroupsNumbered())
        return true;
    const auto left = groups.constFind(removed.chooseTopicGroup);
    // A group of one question, or one whose every question is answered,
    // leaves the candidate no choice; the dialog never makes one by itself.
    return left != groups.constEnd()
           && (left->questions.size() < 2 || left->answerCount >= left->questions.size());
}

bool AnswerSheet::optionalRoomFor(int questionCount, int maxGroups, int maxPerGroup) const
{
    // Counted as the association dialog shows them: a block of several
    // questions is a fixed group of its own, always shown; single questions
    // share the groups left under the limit.
    int fixedGroups = 0;
    int singles = 0;
    for (const OptionalGroup& group : optionalGroups()) {
        if (group.oneQuestionPerBlock)
            singles += group.questions.size();
        else
            ++fixedGroups;
    }
    const auto count = [&](int questions) {
        if (questions > 1)
            ++fixedGroups;
        else
            singles += questions;
    };
    // A set still waiting for its marks is optional already.
    forEachPage([&count](const PageSheet& page) {
        for (const Section& section : page.sections) {
            if (section.type == sectionTypeSubjective && section.step == 1 && !section.branch.isEmpty())
                count(section.branch.first().numList.size());
        }
    });
    count(questionCount);
    return singles == 0 || singles <= maxPerGroup * (maxGroups - fixedGroups);
}
