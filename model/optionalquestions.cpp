#include "model/answersheet.h"

#include "algorithms/imagebasics.h"
#include "algorithms/optionalmarks.h"
#include "canvas/item/eirectitem.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

namespace {

// A block's place in the card. Indexes rather than pointers, because the
// mark check lets the event loop run between papers.
struct BlockAt
{
    int paper;
    int face;
    int section;
    int block;
};

// Calls visit(page, section, block) for every block of the card in walk
// order until it returns true; returns whether it did.
template <typename Sheets, typename Visit>
bool anyBlock(Sheets& sheets, Visit visit)
{
    return anyPageOf(sheets, [&visit](auto& page) {
        for (auto& section : page.sections) {
            for (auto& block : section.branch) {
                if (visit(page, section, block))
                    return true;
            }
        }
        return false;
    });
}

bool groupHasId(const OptionalGroupList& groups, int id)
{
    return std::any_of(groups.begin(), groups.end(),
                       [id](const OptionalGroup& group) { return group.groupId == id; });
}

bool groupsContain(const OptionalGroupList& groups, int number)
{
    return std::any_of(groups.begin(), groups.end(),
                       [number](const OptionalGroup& group) { return group.questions.contains(number); });
}

// A merged block carries its partner's marks from the last save; its
// questions are the partner's and are listed with the partner.
bool isOptional(const SubArea& block)
{
    return block.hasMarks() && !block.merge;
}

int answerCountFor(int questions)
{
    return questions > 3 ? 2 : 1;
}

// The mark boxes of a block as rectangles relative to one origin, and that
// origin in whole page pixels. A box's position is relative to its parent
// (the mark area, itself inside the section frame), so the origin is the
// parent's position on the page.
void markRectsOnPage(const SubArea& block, QList<QRectF>& rects, int& dx, int& dy)
{
    QPointF origin;
    bool haveOrigin = false;
    for (EIRectItem* mark : block.choosePosition) {
        if (!mark || !mark->isValid())
            continue;
        const QPointF parentPos = mark->parentItem() ? mark->parentItem()->scenePos() : QPointF();
        if (!haveOrigin) {
            origin = parentPos;
            haveOrigin = true;
        }
        rects.append(mark->sceneRect().translated(parentPos - origin));
    }
    dx = saturatedInt(origin.x());
    dy = saturatedInt(origin.y());
}

} // namespace

OptionalGroupList AnswerSheet::optionalGroups() const
{
    OptionalGroupList groups;
    QList<int> singles;
    int nextId = 1;

    // Every grouped block with marks in the card that carries `id`.
    const auto collectGroup = [this](int id) {
        OptionalGroup group;
        group.groupId = id;
        anyBlock(sheets, [&](const PageSheet&, const Section& section, const SubArea& block) {
            if (section.type != sectionTypeSubjective || !isOptional(block) || block.chooseTopicGroup != id)
                return false;
            for (int number : block.numList) {
                if (!group.questions.contains(number))
                    group.questions.append(number);
            }
            group.answerCount = block.chooseTopicModel;
            group.oneQuestionPerBlock = block.numList.size() < 2;
            return false;
        });
        return group;
    };

    for (const QVector<PageSheet>& paper : sheets) {
        for (const PageSheet& page : paper) {
            for (const Section& section : page.sections) {
                if (section.type != sectionTypeSubjective || section.branch.isEmpty())
                    continue;
                const SubArea& block = section.branch.first();
                if (!isOptional(block))
                    continue;
                if (block.chooseTopicGroup > 0 && block.chooseTopicModel > 0) {
                    if (!groupHasId(groups, block.chooseTopicGroup))
                        groups.append(collectGroup(block.chooseTopicGroup));
                } else if (block.choosePosition.size() > 1) {
                    if (block.numList.isEmpty())
                        continue;
                    groups.append(OptionalGroup(block.numList, nextId, answerCountFor(block.numList.size()), false));
                    ++nextId;
                } else if (!block.numList.isEmpty() && !groupsContain(groups, block.numList.last())) {
                    singles.append(block.numList.last());
                }
            }
        }
        // The singles of a paper share the next id without taking it, so a
        // multi-mark block met later gets the same id.
        if (!singles.isEmpty()) {
            groups.append(OptionalGroup(singles, nextId, answerCountFor(singles.size()), true));
            singles.clear();
        }
    }

    const auto firstQuestion = [](const OptionalGroup& group) {
        return group.questions.isEmpty() ? INT_MIN : group.questions.first();
    };
    std::stable_sort(groups.begin(), groups.end(), [&](const OptionalGroup& a, const OptionalGroup& b) {
        return firstQuestion(a) < firstQuestion(b);
    });
    return groups;
}

bool AnswerSheet::setOptionalGroups(const OptionalGroupList& groups)
{
    if (groups.isEmpty())
        return false;

    // A block that the new association leaves out belongs to no group any
    // more, so every block starts from none.
    anyBlock(sheets, [](PageSheet&, Section&, SubArea& block) {
        block.chooseTopicGroup = 0;
        block.chooseTopicModel = 0;
        return false;
    });
    for (const OptionalGroup& group : groups) {
        for (int number : group.questions) {
            anyBlock(sheets, [&](PageSheet&, Section&, SubArea& block) {
                if (block.hasMarks() && block.numList.contains(number)) {
                    block.chooseTopicGroup = group.groupId;
                    block.chooseTopicModel = group.answerCount;
                }
                return false;
            });
        }
    }
    optionalGroupCnt = groups.size();
    return true;
}

bool AnswerSheet::hasUnassociatedOptional() const
{
    return anyBlock(sheets, [](const PageSheet&, const Section& section, const SubArea& block) {
        return section.type == sectionTypeSubjective && isOptional(block)
               && (block.chooseTopicGroup <= 0 || block.chooseTopicModel <= 0);
    });
}

bool AnswerSheet::checkOptionalMarks()
{
    const auto blockAt = [this](const BlockAt& at) -> SubArea& {
        return sheets[at.paper][at.face].sections[at.section].branch[at.block];
    };
    // Read-only lookups never detach a container under `block` below. The
    // event loop runs between papers and may change the card, so a block
    // numbered earlier is looked up again and skipped when its place is gone.
    const auto& card = sheets;
    const auto subjectiveBlockAt = [&card](const BlockAt& at) -> const SubArea* {
        if (at.paper >= card.size() || at.face >= card[at.paper].size())
            return nullptr;
        const PageSheet& page = card[at.paper][at.face];
        if (at.section >= page.sections.size())
            return nullptr;
        const Section& section = page.sections[at.section];
        if (section.type != sectionTypeSubjective || at.block >= section.branch.size())
            return nullptr;
        return &section.branch[at.block];
    };

    // Only blocks numbered by this check can be partners: a block further
    // on still holds the indexes of an earlier save.
    QVector<BlockAt> numbered;
    const auto findPartner = [&](const QList<int>& numbers) -> const SubArea* {
        for (int i = numbered.size() - 1; i >= 0; --i) {
            const SubArea* candidate = subjectiveBlockAt(numbered[i]);
            if (candidate && candidate->numList == numbers && candidate->ixList.size() == numbers.size())
                return candidate;
        }
        return nullptr;
    };

    int runningIndex = 1;
    for (int p = 0; p < sheets.size(); ++p) {
        QCoreApplication::processEvents();
        for (int f = 0; f < sheets[p].size(); ++f) {
            for (int s = 0; s < sheets[p][f].sections.size(); ++s) {
                for (int b = 0; b < sheets[p][f].sections[s].branch.size(); ++b) {
                    const BlockAt at{p, f, s, b};
                    SubArea& block = blockAt(at);
                    if (block.hasMarks()) {
                        QList<QRectF> rects;
                        int dx = 0;
                        int dy = 0;
                        markRectsOnPage(block, rects, dx, dy);
                        block.choseScore.clear();
                        if (getChooseScore(sheets[p][f].image.pixmap, rects, block.choseScore, dx, dy) != 0) {
                            errorText = pollutedMarkMessage;
                            return false;
                        }
                    }

                    block.ixList.clear();
                    const SubArea* partner = block.merge ? findPartner(block.numList) : nullptr;
                    if (partner) {
                        block.ixList = partner->ixList;
                        if (partner->hasMarks()) {
                            block.choosePosition = partner->choosePosition;
                            block.chooseTopicModel = partner->chooseTopicModel;
                            block.chooseTopicGroup = partner->chooseTopicGroup;
                        }
                    } else {
                        for (int i = 0; i < block.numList.size(); ++i)
                            block.ixList.append(runningIndex++);
                    }
                    numbered.append(at);
                }
            }
        }
    }
    return true;
}

bool AnswerSheet::findSubjectiveByNumList(const QList<int>& numbers, QuestionLocation& where) const
{
    return anyBlock(sheets, [&](const PageSheet& page, const Section& section, const SubArea& block) {
        if (section.type != sectionTypeSubjective || block.numList != numbers)
            return false;
        where.side = page.side;
        where.pageIndex = page.pageIndex;
        if (block.hasMarks())
            where.hasMarks = true;
        return true;
    });
}

SubArea AnswerSheet::lastQuestion(int pageIndex, bool anyPage) const
{
    for (auto paper = sheets.crbegin(); paper != sheets.crend(); ++paper) {
        for (auto page = paper->crbegin(); page != paper->crend(); ++page) {
            if (!anyPage && page->pageIndex != pageIndex)
                continue;
            for (auto section = page->sections.crbegin(); section != page->sections.crend(); ++section) {
                if (!section->branch.isEmpty())
                    return section->branch.last();
            }
        }
    }
    return SubArea();
}
