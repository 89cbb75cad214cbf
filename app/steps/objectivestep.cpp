// Step 4, objective questions: blocks of choice questions, each with its
// grid of option boxes, all in the page's one "Object" section. The dialog
// is preset from what can be guessed: a block just deleted, the block
// before, or the boxes counted in the frame.

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/conversions.h"
#include "algorithms/optiongrid.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/removeditems.h"
#include "widgets/dialogs/drawobjectivepanel.h"

#include <utility>

namespace {

// Question-type codes of the choice blocks.
constexpr int singleChoice = 0;
constexpr int multipleChoice = 1;
constexpr int judge = 2;
constexpr int vertical = 1;
constexpr int maxQuestions = 50;
constexpr int maxOptions = 20;
// Counts above this are more often lines of text than questions.
constexpr int maxCountedQuestions = 9;
// Blocks whose tops lie closer than this were meant to stand in one row.
constexpr qreal alignDistance = 5.0;

const QString gridRefusal = QStringLiteral("框选区域校验不通过，请重新框选客观题");

Section* objectSection(PageSheet& page)
{
    for (Section& section : page.sections) {
        if (section.type == sectionTypeObject)
            return &section;
    }
    return nullptr;
}

// The block the new one most likely continues: the last of this page's
// objective blocks, else the last question framed here (or anywhere, on a
// page without questions).
SubArea previousBlock(const PageSheet& page)
{
    for (const Section& section : page.sections) {
        if (section.type == sectionTypeObject && !section.branch.isEmpty()) {
            if (!section.branch.last().numList.isEmpty())
                return section.branch.last();
            break;
        }
    }
    return answerSheet.lastQuestion(page.pageIndex, page.sections.isEmpty());
}

// A block framed like `previous` but of another size holds about as many
// more questions and options as its frame is larger. False when there is
// nothing to go by.
bool estimateFrom(const SubArea& previous, const QRectF& frame, SubArea& estimate)
{
    if (!previous.frame || previous.chooses.isEmpty())
        return false;
    const QRectF before = previous.frame->sceneRect();
    if (before.width() <= 0 || before.height() <= 0)
        return false;
    estimate = previous;
    const double rh = frame.height() / before.height();
    const double rw = frame.width() / before.width();
    const int n = previous.numList.size();
    const int r = previous.rows;
    const int c = previous.count;
    const double a = n * (1 - rh) - 0.5;
    const double b = c * (1 - rw) - 0.5;
    estimate.rows = static_cast<int>(n >= a ? r - a : r + a);
    estimate.count = static_cast<int>(c >= b ? c - b : c + b);
    if (previous.chooses.size() == 2)
        estimate.subAreaTopicType = judge;
    else if (estimate.subAreaTopicType == judge)
        estimate.subAreaTopicType = singleChoice;
    estimate.rows = qMax(estimate.rows, 1);
    return true;
}

void presetDialog(DrawObjectivePanel& dialog, const PageSheet& page, const QPixmap& pixmap, const QRectF& frame)
{
    // A block deleted a moment ago is most likely framed again.
    if (!deletedRecords.isEmpty()) {
        const RemovedItemRecord& last = deletedRecords.last();
        const int type = last.block.subAreaTopicType;
        if (last.kind == RemovedItemRecord::ObjectiveBlock && (type == singleChoice || type == multipleChoice)) {
            SubArea deleted = last.block;
            // The dialog reads rows as questions whatever the arrangement.
            if (deleted.orientation == vertical)
                std::swap(deleted.rows, deleted.count);
            dialog.setProperties(deleted, true);
            deletedRecords.removeLast();
            return;
        }
    }

    SubArea estimate;
    if (estimateFrom(previousBlock(page), frame, estimate)) {
        if (!estimate.numList.isEmpty()) {
            if (estimate.orientation == vertical)
                std::swap(estimate.rows, estimate.count);
            dialog.setProperties(estimate, false);
        }
        return;
    }

    int questions = 0;
    int options = 0;
    if (checkObjectiveArea(pixmap, frame, questions, options) == 0 && questions >= 1
        && questions <= maxCountedQuestions)
        dialog.setCounts(questions, options);
}

// The questions and options of a block, whichever way it is arranged.
int questionCount(const SubArea& block)
{
    return block.orientation == vertical ? block.count : block.rows;
}

int optionCount(const SubArea& block)
{
    return block.orientation == vertical ? block.rows : block.count;
}

// True when the earlier block's boxes and spacings, laid from this block's
// first box, keep every box of it where it was measured: boxes of about
// one size, and spacings that drift by less than a third of a box over
// the block. A block printed to other spacings keeps its own.
bool layoutFits(const EIRectItem* item, const EIRectItem* last, int rows, int columns)
{
    const QGraphicsRectItem* mine = item->boxAreaItem();
    const QGraphicsRectItem* theirs = last->boxAreaItem();
    if (!mine || !theirs)
        return false;
    const QSizeF box = mine->rect().size();
    const QSizeF other = theirs->rect().size();
    const double driftAcross = qAbs(item->columnSpacing() - last->columnSpacing()) * qMax(columns - 1, 0);
    const double driftDown = qAbs(item->rowSpacing() - last->rowSpacing()) * qMax(rows - 1, 0);
    return qAbs(box.width() - other.width()) <= box.width() / 10 && qAbs(box.height() - other.height()) <= box.height() / 10
        && driftAcross < box.width() / 3 && driftDown < box.height() / 3;
}

// A block next to earlier ones takes their box size and spacings where
// they fit its print, and their row when its top lies within a few pixels
// of theirs.
void lineUpWith(EIRectItem* item, const SubArea& block, const EIRectItem* last)
{
    const QGraphicsRectItem* box = last->boxAreaItem();
    if (box && layoutFits(item, last, block.rows, block.count))
        item->setItemRect(box->rect(), block.rows, block.count, last->rowSpacing(), last->columnSpacing());
    const QRectF mine = item->sceneRect();
    const QRectF theirs = last->sceneRect();
    if (qAbs(mine.top() - theirs.top()) < alignDistance)
        item->setPos(mine.left(), theirs.top());
}

} // namespace

bool ProcedureController::validateObjectiveFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;
    const QPixmap pixmap = page->image.pixmap;

    DrawObjectivePanel dialog(call.messageParent());
    presetDialog(dialog, *page, pixmap, frame);
    if (dialog.exec() != EIDialog::Ok)
        return false;
    SubArea block = dialog.properties();
    if (questionCount(block) > maxQuestions || optionCount(block) > maxOptions)
        return call.refuse(QStringLiteral("请检查输入的题号或选项数量是否正确！"));

    OptionGridParams grid;
    const int measured = getObjectPos(pixmap, frame, block.rows, block.count, grid);
    if (measured != 0)
        return call.refuseGrid(gridRefusal, "getObjectPos", measured);
    // Nothing goes into the page before the grid is laid out: a refused
    // block must not leave an empty section that counts as framed.
    EIRectItem* item = FramingItems::plain(frame);
    if (!item->setItemRect(toQRectF(grid), block.rows, block.count, grid.rowPitch, grid.columnPitch)) {
        delete item;
        return call.refuseInformation(gridRefusal);
    }
    item->setText(block.caption(), EIRectItem::CaptionBelow);
    block.frame = item;

    Section* section = objectSection(*page);
    if (!section) {
        Section objective;
        objective.type = sectionTypeObject;
        objective.frame = FramingItems::plain(frame);
        page->addSection(objective);
        section = &page->sections.last();
    }
    section->dropDeadItems();
    if (!section->branch.isEmpty() && section->branch.last().frame)
        lineUpWith(item, block, section->branch.last().frame);
    section->addSubArea(block);
    return true;
}
