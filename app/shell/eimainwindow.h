#pragma once

#include "app/project/iocontroller.h"
#include "widgets/kit/busyguard.h"
#include "widgets/kit/cframelesswindow.h"

#include <QList>
#include <QRect>
#include <QRectF>

class EIButton;
class EIRectItem;
class GetTemplatePanel;
class ImageViewer;
class IndexWidget;
class ItemEditPanel;
class MaskForm;
class ProcedureController;

namespace Ui {
struct EIMainWindowClass;
}

// The one top-level window: frameless, with its own title bar, a header
// with the project buttons and the card name, the column of the eight step
// buttons and a stack of pages (start page, get-template page, page
// viewer). Every message it shows sits on the busy overlay, which keeps the
// window from being dragged while it is up; a BusyGuard on the window
// raises it for a command and closes it on the command's way out.
class EIMainWindow : public CFramelessWindow, public BusyOverlayHost
{
    Q_OBJECT

public:
    // Pages of the stack, as showStepPanel takes them.
    enum Page { StartPage = 0, GetTemplatePage = 1, ViewerPage = 2 };

    explicit EIMainWindow(QWidget* parent = nullptr);
    ~EIMainWindow() override;

    // Raises the busy overlay over the whole window and returns it, the
    // parent of every message box of the window.
    QWidget* messageParent() override;
    // Hides the overlay and lets the title bar drag the window again.
    void closeFloatingPanel() override;
    void setCardTitle(const QString& title);
    // Shows a page of the stack; the step column is hidden on the start page.
    void showStepPanel(int page);
    // One paper has no page-number step: its button is hidden and the
    // other-marks button moves up into its place.
    void updateLayoutByPaperCount();

    ImageViewer* imageViewer() const { return viewer; }
    IndexWidget* indexWidget() const { return indexPage; }
    GetTemplatePanel* getTemplatePanel() const { return templatePage; }
    IOController* ioController() const { return io; }
    ProcedureController* procedureController() const { return procedure; }

    // Makes `step` current and shows its first page, unless an optional
    // mark still has to be framed: then the subjective step is current.
    void switchStep(int step);
    // Enables the step buttons from..to and disables those after `to`.
    void setStepButtonsEnabled(int from, int to);
    // Styles the buttons for the current step: passed ones before it.
    void updateStepButtons();
    void refreshViewer();

public slots:
    void showMessage(const QString& title, const QString& content);
    // The folded-corner check of intake pages, switched from the title-bar menu.
    void onSetCheckCorner();
    void onShowAbout();

protected:
    // No native-event hook for the scanner: its pages reach the GUI thread
    // through the event loop (scanner/saneconnection.h).
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void initWidgets();
    void initTitleBar();
    void initConnect();
    QWidget* pageWidget(int page) const;
    QRect overlayGeometry() const;

    void onMaxClicked();
    void onRestoreClicked();
    void onCloseClicked();

    // The step buttons 1 to 7.
    void onStepClicked(int step);
    void onItemDeleted(EIRectItem* item);
    // The edit menu's "编辑": the item edit panel, bound to the item.
    void onEditItem(EIRectItem* item);
    void hideEditPanel();

    // A frame drawn on the canvas: filtered by size and place, then judged
    // by the current step's validator.
    void onDrawFinished(QRectF rect);
    // Step 5: a subjective block, or the marks of the optional set that
    // waits for them.
    bool frameSubjectiveStep(const QRectF& rect, BusyGuard& busy);
    // The viewer's "关联选做题".
    void onOptAssociate();
    // On the lines step, once titles exist, a new line clears all framing
    // first; false when the operator keeps it.
    bool confirmLinesReframe();

    // The viewer's Next, Skip and Save.
    void onNextStep();
    void onJumpStep();
    void onSave();
    // Moves on when every step up to the current one is complete;
    // otherwise names the first incomplete step and its page.
    void advanceOrPointBack(BusyGuard& busy);
    // The picture the canvas shows, where every framed item must lie.
    QRect shownPageArea() const;
    // Optional questions wait for the association: new marks since the
    // last one, or a question in no group (an imported file may hold one).
    bool associationPending() const;

    // Project commands and the I/O controller's answers.
    void onNewProject();
    void onImportProject();
    void onRedoTemplateStep(bool checked);
    void onNewProjectDone(IOController::State state);
    void onImportProjectDone(IOController::State state);
    void onImagesReady(IOController::State state);
    void onSaveProjectDone(IOController::State state);
    // Anything but the start page holds work that a new card would discard.
    bool isWorkOpen() const;
    // The question asked before work is cleared; true on "是".
    bool confirmDiscard(QWidget* parent, const QString& question);

    Ui::EIMainWindowClass* ui;
    MaskForm* busyOverlay = nullptr;
    GetTemplatePanel* templatePage = nullptr;
    IndexWidget* indexPage = nullptr;
    IOController* io = nullptr;
    ImageViewer* viewer = nullptr;
    ProcedureController* procedure = nullptr;
    // Created on the first edit request.
    ItemEditPanel* editPanel = nullptr;
    // Index = step value.
    QList<EIButton*> stepButtons;
    // False while framed optional marks wait to be associated into groups.
    bool optionalAssociated = true;
};
