#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QRectF>

class BusyOverlayHost;
class ImageViewer;
struct PageSheet;

// Where a step test found the template incomplete: the step tested and,
// when incomplete, the face and page index of the page concerned. What
// `detail` holds depends on the step (the exam-number kind, whether an
// optional mark is missing, or -1).
struct StepPosition
{
    bool complete = false;
    int step = 0;
    int side = 0;
    int pageIndex = 0;
    int detail = -1;
};

// Turns one frame drawn on the current step into template records, and
// answers the step machine's questions about the template as a whole: is
// a step complete on every page, where work resumes after an import, do
// the framed items still lie on the page image, is an optional-question
// mark still missing. It works on the program-wide template directly.
//
// The questions are static: they need no controller. The validators run on
// the main window's own controller (its child), whose overlay carries their
// messages; on a controller without that parent they raise no overlay and
// show their messages as top-level windows.
class ProcedureController : public QObject
{
    Q_OBJECT

public:
    // The exam-number kinds a page can take.
    enum StuNoKind { StuNoGrid = 1, StuNoBarcode = 2 };
    // What checkFrameSize finds of a frame on the mark steps.
    enum FrameSize { FrameSizeOk = 0, FrameTooSmall = 1, FrameTooBig = 2 };

    explicit ProcedureController(QObject* parent = nullptr);
    ~ProcedureController() override;

    // The validators, one per step, each in the step's own file. True when
    // the template changed; false when nothing was added (the refusal has
    // been shown, or the operator kept what was there).
    bool validateLineFrame(QRectF frame, PageSheet* page);
    bool validateTitleFrame(QRectF frame, ImageViewer* viewer);
    bool validateStuNoFrame(QRectF frame, ImageViewer* viewer);
    bool validateObjectiveFrame(QRectF frame, ImageViewer* viewer);
    bool validateSubjectiveFrame(QRectF frame, ImageViewer* viewer);
    // The mark boxes of the optional block that waits for them, one per
    // number of `questionNumbers`, found inside the frame.
    bool validateOptionalMarkFrame(QRectF frame, ImageViewer* viewer, const QList<int>& questionNumbers);
    bool validatePageMarkFrame(QRectF frame, ImageViewer* viewer);
    bool validateAbsentMarkFrame(QRectF frame, ImageViewer* viewer);

    // The association dialog; true once groups were stored, false when the
    // operator cancelled or left no group.
    bool associateOptional();

    // Only the page-number and absent-mark steps limit the frame size.
    static int checkFrameSize(int step, QRect frame);
    // True when every item framed on `step` lies within `area` (borders
    // included) on every page.
    static bool itemsInside(int step, QRect area);
    // `mode` is the exam-number kind on step 3 and must be 0 on step 7.
    static StepPosition stepStatus(int step, int mode);
    // The first page without sections or with an optional mark to frame.
    static StepPosition checkSectionsFramed();
    // The first step that is not complete, or step 7 when all are.
    static StepPosition resumePosition(int paperCount);
    static bool hasUnframedOptionalMark();
    static bool hasOptionalQuestions();
    // Left to right, for sorting optional-mark boxes.
    static bool lessByX(const QRectF& a, const QRectF& b);
    // Whether the page's exam-number area (kind 1) or barcode (kind 2) is on.
    static bool hasStuNoArea(const PageSheet& page, int kind);

private:
    // The main window when it is the parent; null otherwise.
    BusyOverlayHost* overlayHost() const;
};
