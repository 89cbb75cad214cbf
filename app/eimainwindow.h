#pragma once

#include "widgets/cframelesswindow.h"

#include <QList>

class EIButton;
class ImageViewer;
class IndexWidget;
class MaskForm;

namespace Ui {
struct EIMainWindowClass;
}

// The one top-level window: frameless, with its own title bar, a header
// with the project buttons and the card name, the column of the eight step
// buttons and a stack of pages (start page, get-template page, page
// viewer). Every message it shows sits on the busy overlay, which keeps the
// window from being dragged while it is up.
class EIMainWindow : public CFramelessWindow
{
    Q_OBJECT

public:
    // Pages of the stack, as showStepPanel takes them.
    enum Page { StartPage = 0, GetTemplatePage = 1, ViewerPage = 2 };

    explicit EIMainWindow(QWidget* parent = nullptr);
    ~EIMainWindow() override;

    // Raises the busy overlay over the whole window and returns it, the
    // parent of every message box of the window.
    QWidget* messageParent();
    // Hides the overlay and lets the title bar drag the window again.
    void closeFloatingPanel();
    void setCardTitle(const QString& title);
    // Shows a page of the stack; the step column is hidden on the start page.
    void showStepPanel(int page);
    // One paper has no page-number step: its button is hidden and the
    // other-marks button moves up into its place.
    void updateLayoutByPaperCount();

    ImageViewer* imageViewer() const { return viewer; }
    IndexWidget* indexWidget() const { return indexPage; }

public slots:
    void showMessage(const QString& title, const QString& content);
    void onShowAbout();

protected:
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

    Ui::EIMainWindowClass* ui;
    MaskForm* busyOverlay = nullptr;
    IndexWidget* indexPage = nullptr;
    ImageViewer* viewer = nullptr;
    // Index = step value.
    QList<EIButton*> stepButtons;
};
