#pragma once

#include "model/infra/appstate.h"

#include <QFrame>
#include <QPixmap>
#include <QPoint>

class EIGraphicsView;
class QButtonGroup;
class QLabel;
class SetFacePanel;
struct PageSheet;

namespace Ui {
struct ImageViewer;
}

// The framing page of the main window. It shows one page (one face of one
// paper of the template) at a time: the page image on the canvas with that
// page's framing items, a red page label floating over it, the step tip,
// the buttons of the current step and the page buttons. It turns the step
// buttons into signals for the main window's step machine and changes
// nothing in the template but page images (swap, rotation) and the
// exam-number kind of a page.
class ImageViewer : public QFrame
{
    Q_OBJECT

public:
    explicit ImageViewer(QWidget* parent = nullptr);
    ~ImageViewer() override;

    // Shows a page with its items for the current step; false, with
    // nothing changed, for a paper or face the template does not hold, or
    // on the subjective step while an optional mark is still to be framed.
    bool showPage(int paperIdx, EPageFace face, bool keepZoom);
    // The shown page; null before the first page or when the template no
    // longer holds it.
    PageSheet* currentPage() const;
    // The canvas; the scene is reached through it and never replaced.
    EIGraphicsView* graphicsView() const;
    // Redraws the shown page for a step: its image and, of its framing
    // items, the ones the step may edit enabled and the others locked.
    void refreshPageItems(int step, bool keepZoom);
    // Shows a copy of the page image: fitted to the view, or at the current
    // zoom with keepZoom.
    void showPixmap(const QPixmap& pixmap, bool keepZoom);
    // The tip line reads "温馨提示：" and the text.
    void setTipText(const QString& text);
    // Moves the page label to `pos` (a null point keeps it where it is) and
    // sets its text size in pixels.
    void showTip(QPoint pos, int pixelSize);
    // One paper offers "set as front"; more papers the face panel.
    void updateFaceWidgets();
    void setDrawEnabled(bool on);
    void setAssociateButtonVisible(bool visible);
    // Kind 0 is the absent mark; its button is set and its click replayed.
    void setOtherMarkChecked(int kind, bool on);

    // The shown page takes the exam-number kind of the switch.
    void onStuNoKindClicked();
    void onAbsentClicked();

signals:
    void showMessage(const QString& title, const QString& content);
    void nextStepClicked();
    void jumpClicked();
    void saveClicked();
    void optAssociate();

public slots:
    void onShowNext();
    void onShowPrevious();
    void updateProcedureBtnState(ProcedureStep sp);
    void onSetFront();
    // Puts the shown image on another paper and face by swapping it with
    // the image there, then shows that page.
    void setPageFace(int paperIdx, EPageFace face);
    void onRotate();
    void onSetPage(int paperIdx, int face);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Keeps the page label in the canvas corner and the face panel beside
    // the rotate button.
    void placeFacePanel();
    void reserveTipRoom();
    void updatePageLabel();
    void updateNavigation();
    void updateExamNumberKind();
    void updateSkipButton(int step);
    void updateSaveButton(int step);

    bool updateSubjectiveItems(int step, bool visible);
    bool updateLineItems(int step, bool visible);
    bool updateTitleItems(int step, bool visible);
    bool updateStuNoItems(int step, bool visible);
    bool updatePageNumberItems(int step, bool visible);
    bool updateAbsentMarkItem(int step, bool visible);
    bool updateObjectiveItems(int step, bool visible);

    // The room left beside the rotate button, wider without the face panel.
    static constexpr int maxFaceSpacer = 150;

    Ui::ImageViewer* ui;
    int currentPaper = -1;
    int currentPageIndex = -1;
    int currentFace = -1;
    QLabel* pageLabel = nullptr;
    SetFacePanel* facePanel = nullptr;
    QButtonGroup* examNumberKindGroup = nullptr;
    QButtonGroup* absentGroup = nullptr;
};
