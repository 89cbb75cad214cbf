#include "app/shell/eimainwindow.h"

#include "app/shell/gettemplatepanel.h"
#include "app/steps/imageviewer.h"
#include "app/shell/indexwidget.h"
#include "app/steps/procedurecontroller.h"
#include "app/shell/ui_eimainwindow.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "canvas/itemeditpanel.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/infra/eiconfig.h"
#include "platform/windowsversion.h"
#include "widgets/dialogs/checkcorner.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/maskform.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPixmap>

EIMainWindow::EIMainWindow(QWidget* parent) : CFramelessWindow(parent), ui(new Ui::EIMainWindowClass)
{
    ui->setupUi(this);
    initWidgets();
    initConnect();
}

EIMainWindow::~EIMainWindow()
{
    delete ui;
}

void EIMainWindow::initWidgets()
{
    initTitleBar();

    io = new IOController(this);
    procedure = new ProcedureController(this);
    indexPage = new IndexWidget(this);
    ui->stackedWidget->addWidget(indexPage);
    templatePage = new GetTemplatePanel(this);
    ui->stackedWidget->addWidget(templatePage);
    viewer = new ImageViewer(this);
    ui->stackedWidget->addWidget(viewer);

    showStepPanel(StartPage);
    ui->titleFrame->hide();
    ui->btnNewProject->setObjectName(QStringLiteral("themeBtn"));
    ui->btnImportProject->setObjectName(QStringLiteral("themeBtn"));

    stepButtons = {ui->btnGetTemplate,   ui->btnDrawLines,      ui->btnDrawTitle,   ui->btnDrawStuNo,
                   ui->btnDrawObjective, ui->btnDrawSubjective, ui->btnDrawPageNum, ui->btnDrawMarkers};
}

void EIMainWindow::initTitleBar()
{
    EITitleBar* bar = ui->titlebar;
    setTitleBar(bar);
    bar->setLogoVisible(false);
    bar->setRestoreVisible(false);
    bar->setMenuVisible(true);
    bar->setTitle(QString());
    bar->titleLabel()->setPixmap(
        QPixmap(QStringLiteral(":/Resources/titlebar/maintitle.png")).scaled(280, 26));
    addIgnoreWidget(bar->titleLabel());

    connect(bar, &EITitleBar::onMin, this, [this] { showMinimized(); });
    connect(bar, &EITitleBar::onMax, this, &EIMainWindow::onMaxClicked);
    connect(bar, &EITitleBar::onRestore, this, &EIMainWindow::onRestoreClicked);
    connect(bar, &EITitleBar::onClose, this, &EIMainWindow::onCloseClicked);

    QAction* checkCorner = bar->menu()->addAction(QStringLiteral("折角检测"));
    connect(checkCorner, &QAction::triggered, this, &EIMainWindow::onSetCheckCorner);
    QAction* about = bar->menu()->addAction(QStringLiteral("版本信息"));
    connect(about, &QAction::triggered, this, &EIMainWindow::onShowAbout);
}

void EIMainWindow::initConnect()
{
    connect(indexPage, &IndexWidget::newProject, this, &EIMainWindow::onNewProject);
    connect(ui->btnNewProject, &QPushButton::clicked, this, &EIMainWindow::onNewProject);
    connect(indexPage, &IndexWidget::importProject, this, &EIMainWindow::onImportProject);
    connect(ui->btnImportProject, &QPushButton::clicked, this, &EIMainWindow::onImportProject);

    connect(io, &IOController::newProjectDone, this, &EIMainWindow::onNewProjectDone);
    connect(io, &IOController::importProjectDone, this, &EIMainWindow::onImportProjectDone);
    connect(io, &IOController::importImagesDone, this, &EIMainWindow::onImagesReady);
    connect(io, &IOController::saveProjectDone, this, &EIMainWindow::onSaveProjectDone);
    connect(io, &IOController::scanComplete, this, &EIMainWindow::onImagesReady);

    connect(templatePage, &GetTemplatePanel::importImage, io, &IOController::importImages);
    connect(templatePage, &GetTemplatePanel::scanImage, this, [this] {
        BusyGuard busy(this);
        // Lets the overlay paint before the scanner dialog takes over.
        QCoreApplication::processEvents();
        // The I/O controller closes it when the scan ends.
        busy.handOver();
        io->scanImage();
    });

    connect(ui->btnGetTemplate, &QPushButton::clicked, this, &EIMainWindow::onRedoTemplateStep);
    for (int step = StepLines; step < stepButtons.size(); ++step)
        connect(stepButtons[step], &QPushButton::clicked, this, [this, step] { onStepClicked(step); });

    connect(viewer, &ImageViewer::nextStepClicked, this, &EIMainWindow::onNextStep);
    connect(viewer, &ImageViewer::jumpClicked, this, &EIMainWindow::onJumpStep);
    connect(viewer, &ImageViewer::saveClicked, this, &EIMainWindow::onSave);
    connect(viewer, &ImageViewer::optAssociate, this, &EIMainWindow::onOptAssociate);
    connect(viewer, &ImageViewer::showMessage, this, &EIMainWindow::showMessage);
    connect(viewer->graphicsView()->scene(), &EIGraphicsScene::drawFinished, this, &EIMainWindow::onDrawFinished);
    connect(viewer->graphicsView()->scene(), &EIGraphicsScene::itemDeleted, this, &EIMainWindow::onItemDeleted);
    connect(viewer->graphicsView()->scene(), &EIGraphicsScene::editItem, this, &EIMainWindow::onEditItem);
}

void EIMainWindow::onEditItem(EIRectItem* item)
{
    if (!editPanel)
        editPanel = new ItemEditPanel(this);
    editPanel->setItem(item);
    // A panel bound to nothing would offer buttons that do nothing.
    if (editPanel->boundItem())
        editPanel->show();
}

void EIMainWindow::hideEditPanel()
{
    if (editPanel && editPanel->isVisible())
        editPanel->hide();
}

QRect EIMainWindow::overlayGeometry() const
{
    return QRect(0, 0, width() + contentsMargins().right(), height());
}

QWidget* EIMainWindow::messageParent()
{
    if (!busyOverlay)
        busyOverlay = new MaskForm(this);
    if (busyOverlay->isHidden())
        busyOverlay->show();
    busyOverlay->setGeometry(overlayGeometry());
    setTitleBar(nullptr);
    return busyOverlay;
}

void EIMainWindow::closeFloatingPanel()
{
    if (!busyOverlay)
        return;
    if (busyOverlay->isVisible())
        busyOverlay->close();
    setTitleBar(ui->titlebar);
}

void EIMainWindow::showMessage(const QString& title, const QString& content)
{
    BusyGuard busy(this);
    EIMessageBox::information(busy.parent(), title, content);
}

void EIMainWindow::setCardTitle(const QString& title)
{
    ui->labelPaperName->setText(title);
}

QWidget* EIMainWindow::pageWidget(int page) const
{
    switch (page) {
    case StartPage:
        return indexPage;
    case GetTemplatePage:
        return templatePage;
    case ViewerPage:
        return viewer;
    default:
        return nullptr;
    }
}

void EIMainWindow::showStepPanel(int page)
{
    ui->titleFrame->setVisible(page != StartPage);
    QWidget* widget = pageWidget(page);
    if (widget && ui->stackedWidget->currentWidget() != widget)
        ui->stackedWidget->setCurrentWidget(widget);
}

void EIMainWindow::updateLayoutByPaperCount()
{
    constexpr int markersTop = 280;
    constexpr int frameTop = 325;
    if (answerSheet.paperCnt != 1) {
        ui->btnDrawPageNum->show();
        ui->btnDrawMarkers->move(-1, markersTop);
        ui->frame->move(50, frameTop);
        return;
    }
    ui->btnDrawPageNum->hide();
    // Measured from where the button is now, so a second call moves nothing.
    const int rise = ui->btnDrawMarkers->y() - ui->btnDrawPageNum->y();
    ui->btnDrawMarkers->move(-1, ui->btnDrawPageNum->y());
    ui->frame->move(50, ui->frame->y() - rise);
}

void EIMainWindow::resizeEvent(QResizeEvent* event)
{
    CFramelessWindow::resizeEvent(event);
    if (busyOverlay)
        busyOverlay->setGeometry(overlayGeometry());
}

void EIMainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates state = windowState() & ~Qt::WindowActive;
        const bool enlarged = state == Qt::WindowMaximized || state == Qt::WindowFullScreen;
        ui->titlebar->setRestoreVisible(enlarged);
        ui->titlebar->setMaxVisible(!enlarged);
    }
    CFramelessWindow::changeEvent(event);
}

void EIMainWindow::onMaxClicked()
{
    if (platform::windowsVersion() == platform::WindowsVersion10)
        showMaximized();
    else
        showFullScreen();
}

void EIMainWindow::onRestoreClicked()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        showNormal();
}

void EIMainWindow::onCloseClicked()
{
    BusyGuard busy(this);
    const int answer = EIMessageBox::warning(busy.parent(), QStringLiteral("提示"),
                                             QStringLiteral("确定要退出程序吗？"), 1);
    if (answer == EIDialog::Ok) {
        busy.close();
        close();
    }
}

void EIMainWindow::onSetCheckCorner()
{
    const bool stored = config.value(configGroupAlgorithm, configKeyCheckCorner).toBool();
    // On the overlay like every other dialog of the window, so it cannot
    // fall behind the window that the overlay blocks.
    CheckCorner dialog(messageParent());
    dialog.setCheckCorner(stored);
    // Cancel and close keep the setting, whatever was chosen meanwhile.
    if (dialog.exec() == EIDialog::Ok && dialog.isCheckCorner() != stored)
        config.setValue(configGroupAlgorithm, configKeyCheckCorner, dialog.isCheckCorner());
    closeFloatingPanel();
}

void EIMainWindow::onShowAbout()
{
    BusyGuard busy(this);
    EIMessageBox::information(busy.parent(), QStringLiteral("信息"),
                              QStringLiteral("当前版本号：%1").arg(appVersion));
}
