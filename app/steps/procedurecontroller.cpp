#include "app/steps/procedurecontroller.h"

#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "widgets/kit/busyguard.h"

#include <algorithm>

namespace {

// The limits of a page-number or absent-mark frame, in page pixels.
constexpr int minMarkWidth = 100;
constexpr int minMarkHeight = 20;
constexpr int maxMarkWidth = 500;
constexpr int maxMarkHeight = 400;

// No item counts as inside.
bool inside(const EIRectItem* item, const QRect& area)
{
    return !item || area.contains(item->sceneBoundingRect().toRect());
}

bool pageItemsInside(const PageSheet& page, int step, const QRect& area)
{
    switch (step) {
    case StepExamNumber:
        if (page.barCode.enabled && !inside(page.barCode.item, area))
            return false;
        return !page.ticketNum.enabled || inside(page.ticketNum.frame, area);
    case StepObjective:
        for (const Section& section : page.sections) {
            if (section.type != sectionTypeObject)
                continue;
            for (const SubArea& block : section.branch) {
                if (!inside(block.frame, area))
                    return false;
            }
        }
        return true;
    case StepSubjective:
        for (const Section& section : page.sections) {
            if (section.type == sectionTypeSubjective && !inside(section.frame, area))
                return false;
        }
        return true;
    case StepOtherMarks:
        if (page.testmark.enabled && !inside(page.testmark.item, area))
            return false;
        for (const ImageMark& mark : page.pageNum) {
            if (!inside(mark.item, area))
                return false;
        }
        return true;
    default:
        return true;
    }
}

} // namespace

ProcedureController::ProcedureController(QObject* parent) : QObject(parent) {}

ProcedureController::~ProcedureController() = default;

BusyOverlayHost* ProcedureController::overlayHost() const
{
    return dynamic_cast<BusyOverlayHost*>(parent());
}

int ProcedureController::checkFrameSize(int step, QRect frame)
{
    if (step != StepPageNumber && step != StepOtherMarks)
        return FrameSizeOk;
    if (frame.width() < minMarkWidth || frame.height() < minMarkHeight)
        return FrameTooSmall;
    if (frame.width() > maxMarkWidth || frame.height() > maxMarkHeight)
        return FrameTooBig;
    return FrameSizeOk;
}

bool ProcedureController::itemsInside(int step, QRect area)
{
    // Lines and titles follow the page; page-number marks are judged on the last step.
    if (step != StepExamNumber && step != StepObjective && step != StepSubjective && step != StepOtherMarks)
        return true;
    return !answerSheet.anyPage([&](const PageSheet& page) { return !pageItemsInside(page, step, area); });
}

bool ProcedureController::hasUnframedOptionalMark()
{
    return answerSheet.anyPage([](const PageSheet& page) {
        return std::any_of(page.sections.begin(), page.sections.end(),
                           [](const Section& section) { return section.step == 1; });
    });
}

bool ProcedureController::hasOptionalQuestions()
{
    return answerSheet.anyPage([](const PageSheet& page) {
        for (const Section& section : page.sections) {
            if (std::any_of(section.branch.begin(), section.branch.end(),
                            [](const SubArea& block) { return block.hasMarks(); }))
                return true;
        }
        return false;
    });
}

bool ProcedureController::lessByX(const QRectF& a, const QRectF& b)
{
    return a.x() < b.x();
}

bool ProcedureController::hasStuNoArea(const PageSheet& page, int kind)
{
    switch (kind) {
    case StuNoGrid:
        return page.ticketNum.enabled;
    case StuNoBarcode:
        return page.barCode.enabled;
    default:
        return false;
    }
}
