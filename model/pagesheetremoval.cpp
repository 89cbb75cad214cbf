#include "model/pagesheet.h"

#include "model/removeditems.h"

#include "canvas/item/eirectitem.h"

namespace {

void copyBlock(const SubArea& from, RemovedItemRecord& record)
{
    record.block.numList = from.numList;
    record.block.subAreaTopicType = from.subAreaTopicType;
    record.block.rows = from.rows;
    record.block.count = from.count;
    record.block.borderType = from.borderType;
    // Without it a vertical block would come back horizontal, and rows and
    // count would be read the wrong way round.
    record.block.orientation = from.orientation;
    record.kind = from.isChoice() ? RemovedItemRecord::ObjectiveBlock : RemovedItemRecord::SubjectiveBlock;
}

// An item of a record the page drops besides the one the operator deleted
// (which the caller handed over). One on the canvas stays with the scene;
// one that never was (an answer area's own block frame, the frame of a
// choice section) would have no owner left and is handed over too.
void handOver(EIRectItem* dropped, const EIRectItem* deleted)
{
    if (dropped && dropped != deleted && !dropped->scene() && !deletedItems.contains(dropped))
        deletedItems.append(dropped);
}

} // namespace

void PageSheet::removeItem(EIRectItem* item)
{
    if (!item)
        return;
    RemovedItemRecord record;

    const int line = lines.indexOf(item);
    if (line >= 0) {
        lines.removeAt(line);
        record.kind = RemovedItemRecord::Line;
        removedRecords.append(record);
        return;
    }

    if (title.item == item) {
        record.kind = RemovedItemRecord::Title;
        title.reset(false);
    }
    for (int i = 0; i < pageNum.size();) {
        if (pageNum[i].item == item) {
            record.kind = RemovedItemRecord::Mark;
            pageNum.removeAt(i);
        } else {
            ++i;
        }
    }

    if (testmark.item == item) {
        record.kind = RemovedItemRecord::Mark;
        testmark.reset(false);
        removedRecords.append(record);
        return;
    }
    if (ticketNum.frame == item) {
        record.kind = RemovedItemRecord::ExamNumber;
        ticketNum.reset(false);
        removedRecords.append(record);
        return;
    }
    if (barCode.item == item) {
        record.kind = RemovedItemRecord::ExamNumber;
        barCode.reset(false);
        removedRecords.append(record);
        return;
    }

    // A match on a section's own frame takes its first block. A section
    // left without blocks goes, and the next one moves into its index, so
    // the index only advances past a section that stays.
    for (int s = 0; s < sections.size();) {
        Section& section = sections[s];
        for (int b = 0; b < section.branch.size(); ++b) {
            if (section.branch[b].frame == item || section.frame == item) {
                copyBlock(section.branch[b], record);
                handOver(section.branch[b].frame, item);
                section.branch.removeAt(b);
                break;
            }
        }
        if (section.branch.isEmpty()) {
            handOver(section.frame, item);
            sections.removeAt(s);
        } else {
            ++s;
        }
    }

    // An item the page does not hold (an optional-mark box, or one removed
    // already) leaves no record, so it cannot hide the validators' last one.
    if (record.kind != RemovedItemRecord::None)
        removedRecords.append(record);
}
