#pragma once

// The main window on the first page of a framing step, for the benchmarks
// that frame through it. The card is emptied when the window goes.

#include "app/shell/eimainwindow.h"
#include "app/steps/imageviewer.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"

#include <QRect>

namespace benchwindow {

struct Window
{
    explicit Window(int step)
    {
        window.show();
        currentStep = step;
        window.switchStep(step);
    }
    ~Window()
    {
        answerSheet.clear();
        discardedItems.clear();
        currentStep = StepGetTemplate;
    }

    PageSheet& front() { return answerSheet.sheets[0][0]; }
    EIGraphicsScene* scene() { return window.imageViewer()->graphicsView()->scene(); }
    void frame(const QRect& rect) { emit scene()->drawFinished(QRectF(rect)); }
    // Frees what the last round added, with the scene none the wiser.
    void forget(EIRectItem* item)
    {
        scene()->forgetItems();
        delete item;
    }

    EIMainWindow window;
};

} // namespace benchwindow
