#pragma once

// What every framing step's validator shares: the busy overlay for its
// messages, the replace question, taking a replaced item off the canvas,
// the look of the items it makes, and the images a new mark is compared
// with. A step's own file holds only what that step checks and stores.

#include "widgets/kit/busyguard.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

class EIRectItem;
class QGraphicsItem;

// One validator call's busy overlay and messages. Without a host (a
// controller that is not the main window's) no overlay is raised and the
// messages are top-level windows.
class FramingCall
{
public:
    enum Overlay {
        RaiseNow,          // up for the whole check, which may take a moment
        RaiseForMessages,  // up only while a message or question is shown
    };

    FramingCall(BusyOverlayHost* host, Overlay overlay);

    // The parent of the call's message boxes.
    QWidget* messageParent() { return busy.parent(); }
    // A refusal ("提示", one "确定"); always false, for `return call.refuse(...)`.
    bool refuse(const QString& text);
    // The same refusal as an information box, where the step words it so.
    bool refuseInformation(const QString& text);
    // A grid check's refusal: the step's own text for the operator, and
    // why in the log (`check` names the step's check, `code` is its result).
    bool refuseGrid(const QString& text, const char* check, int code);
    // The step's question before its earlier framing is replaced; true on "是".
    bool confirmReplace(const QString& question);
    // Leaves the overlay up for the main window, which closes it after
    // refreshing the page.
    void leaveOverlay() { busy.handOver(); }

private:
    BusyGuard busy;
};

// Takes a replaced item off the canvas into discardedItems, where it waits
// to be freed with the template's pages. Nothing for null.
void discardItem(EIRectItem* item);

// The framing items as each step makes them; none is put on the scene
// here, the viewer's refresh shows them.
namespace FramingItems {
// Lines and question frames: the red outline, margin 8.
EIRectItem* plain(const QRectF& rect);
// Titles, page-number marks and the barcode: filled light red.
EIRectItem* filledMark(const QRectF& rect);
// The absent mark: filled, a thin red border that thickens under the mouse.
EIRectItem* absentMark(const QRectF& rect);
// The optional-question mark area inside its section's frame, and one mark
// box inside that area; `rect` is in the parent's coordinates.
EIRectItem* optionalMarkArea(const QRectF& rect, QGraphicsItem* sectionFrame);
EIRectItem* optionalMarkBox(const QRectF& rect, QGraphicsItem* markArea);
} // namespace FramingItems

// The images a new title or page-number mark must not resemble, read from
// the program-wide template.
namespace ReferenceImages {
// The paper that holds the page with this page index; 0 when none does.
int paperOf(int pageIndex);
// The other face of the paper: the page whose side differs from `side`;
// a null image when the paper has no such page or it has no picture.
QImage otherFace(int paper, int side);
// Every page picture of every paper but `paper`.
QVector<QImage> otherPapersPages(int paper);
// What lies under every framed page-number mark, and under every title.
QVector<QImage> pageNumberMarks();
QVector<QImage> titles();
} // namespace ReferenceImages

// For each source the part around `frame` where a copy of the framed mark
// would be looked for: four times the frame's size with the frame in its
// middle, moved back inside the image where it would leave it, and cut to
// the image where it is larger. Workers fill their own slot.
void cutSearchWindows(const QVector<QImage>& sources, const QRectF& frame, QVector<QImage>& windows);
// The same windows of the sources turned by 180 degrees. Only the windows
// are turned: turning whole pages would cost a page-sized picture each.
void cutTurnedSearchWindows(const QVector<QImage>& sources, const QRectF& frame, QVector<QImage>& windows);
// Each source turned by 180 degrees, one worker per slot.
void rotateImages180(const QVector<QImage>& sources, QVector<QImage>& turned);
