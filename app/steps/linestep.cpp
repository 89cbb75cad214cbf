// Step 1, lines: a framed horizontal line straightens its page, and the
// lines framed earlier on the page turn with the picture.

#include "app/steps/framingstep.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/linecheck.h"
#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"

#include <QCoreApplication>

bool ProcedureController::validateLineFrame(QRectF frame, PageSheet* page)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    // The overlay shows before the check keeps the window busy.
    QCoreApplication::processEvents();
    if (!page)
        return false;

    QList<EIRectItem*> earlier;
    QVector<QRectF> earlierRects;
    for (EIRectItem* item : qAsConst(page->lines)) {
        if (item) {
            earlier.append(item);
            earlierRects.append(item->sceneRect());
        }
    }
    const QPixmap source = page->image.pixmap;
    QPixmap straightened;
    if (!checkLine(source, &straightened, &frame, &earlierRects) || earlierRects.size() != earlier.size())
        return call.refuse(QStringLiteral("校验不通过，请框选不少于3cm且连续的横向线段"));

    for (int i = 0; i < earlier.size(); ++i)
        earlier[i]->setItemGeometry(earlierRects[i]);
    page->setPixmap(straightened);
    page->addLine(FramingItems::plain(frame));
    call.leaveOverlay();
    return true;
}
