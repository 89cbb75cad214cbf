#include "app/steps/imageviewer.h"

#include "app/steps/procedurecontroller.h"
#include "app/steps/ui_imageviewer.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/constants.h"
#include "model/infra/logger.h"
#include "widgets/dialogs/setfacepanel.h"

#include <QButtonGroup>
#include <QLabel>

namespace {

// The blanks are part of the style the page label has always carried.
const QString pageLabelStyle = QStringLiteral("color:red;font-size:%1px;        font-family:Microsoft YaHei;");

// The page of that face on that paper, or null.
PageSheet* pageOf(int paper, int face)
{
    if (paper < 0 || paper >= answerSheet.sheets.size())
        return nullptr;
    for (PageSheet& page : answerSheet.sheets[paper]) {
        if (page.side == face)
            return &page;
    }
    return nullptr;
}

void swapImages(PageSheet& a, PageSheet& b)
{
    const PageImage image = a.image;
    a.setImage(b.image);
    b.setImage(image);
}

} // namespace

ImageViewer::ImageViewer(QWidget* parent) : QFrame(parent), ui(new Ui::ImageViewer)
{
    ui->setupUi(this);
    connect(ui->btnNext, SIGNAL(clicked(bool)), this, SLOT(onShowNext()));
    connect(ui->btnPrevious, SIGNAL(clicked(bool)), this, SLOT(onShowPrevious()));

    ui->labelTips->setObjectName(QStringLiteral("themeLabel"));
    for (QPushButton* button : {ui->btnOptionalAssociate, ui->btnDrawNext, ui->btnNextStep})
        button->setObjectName(QStringLiteral("themeBtn"));

    pageLabel = new QLabel(QStringLiteral("反面"), this);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageLabel->setStyleSheet(QStringLiteral("color:red;font-size:18px;font-family:Microsoft YaHei;"));
    pageLabel->adjustSize();
    pageLabel->raise();

    facePanel = new SetFacePanel(this);
    facePanel->hide();

    // No page is shown yet, so there is nowhere to go.
    updateNavigation();
    updateProcedureBtnState(StepGetTemplate);
    placeFacePanel();

    examNumberKindGroup = new QButtonGroup(this);
    examNumberKindGroup->setExclusive(true);
    examNumberKindGroup->addButton(ui->btnStuNum);
    examNumberKindGroup->addButton(ui->btnStuBarCode);
    // A group of one: a click can never uncheck the absent mark.
    absentGroup = new QButtonGroup(this);
    absentGroup->setExclusive(true);
    absentGroup->addButton(ui->btnAbsent);

    connect(ui->btnNextStep, &QPushButton::clicked, this, &ImageViewer::nextStepClicked);
    connect(ui->btnSkip, &QPushButton::clicked, this, &ImageViewer::jumpClicked);
    connect(ui->btnSave, &QPushButton::clicked, this, &ImageViewer::saveClicked);
    connect(ui->btnOptionalAssociate, &QPushButton::clicked, this, &ImageViewer::optAssociate);
    connect(ui->btnSetFront, &QPushButton::clicked, this, &ImageViewer::onSetFront);
    connect(ui->btnRotate, &QPushButton::clicked, this, &ImageViewer::onRotate);
    connect(ui->btnStuNum, &QPushButton::clicked, this, &ImageViewer::onStuNoKindClicked);
    connect(ui->btnStuBarCode, &QPushButton::clicked, this, &ImageViewer::onStuNoKindClicked);
    connect(ui->btnAbsent, &QPushButton::clicked, this, &ImageViewer::onAbsentClicked);
    connect(facePanel, &SetFacePanel::setPage, this, &ImageViewer::onSetPage);
}

ImageViewer::~ImageViewer()
{
    // The template's records own the framing items and free them when its
    // pages are cleared; the scene must not free them first when it goes.
    EIGraphicsScene* scene = ui->graphicsView->scene();
    for (QGraphicsItem* item : scene->items()) {
        if (item->type() == EIRectItem::Type && !item->parentItem())
            scene->removeItem(item);
    }
    delete ui;
}

EIGraphicsView* ImageViewer::graphicsView() const
{
    return ui->graphicsView;
}

bool ImageViewer::showPage(int paperIdx, EPageFace face, bool keepZoom)
{
    if (paperIdx < 0 || paperIdx >= answerSheet.sheets.size())
        return false;
    // The last paper of an odd page count has no back.
    if (!pageOf(paperIdx, face))
        return false;
    if (currentStep == StepSubjective && ProcedureController::hasUnframedOptionalMark()) {
        emit showMessage(QStringLiteral("提示"), QStringLiteral("请先框选选做题标记！"));
        return false;
    }
    // The page already on the canvas stays where the operator left it: a
    // step change or a save shows it again without refitting it.
    const bool alreadyShown = paperIdx == currentPaper && face == currentFace
                              && pageOf(paperIdx, face)->image.pixmap.cacheKey()
                                     == ui->graphicsView->pixmap().cacheKey();
    currentPaper = paperIdx;
    currentFace = face;
    currentPageIndex = paperIdx * 2 + face;
    updatePageLabel();
    refreshPageItems(currentStep, keepZoom || alreadyShown);
    updateNavigation();
    return true;
}

PageSheet* ImageViewer::currentPage() const
{
    PageSheet* page = pageOf(currentPaper, currentFace);
    if (!page && currentPaper >= 0 && currentPaper < answerSheet.sheets.size())
        fileLogger(LogError) << "paper " << currentPaper << " holds no page of face " << currentFace;
    return page;
}

void ImageViewer::onShowNext()
{
    if (currentFace != FaceBack)
        showPage(currentPaper, FaceBack, false);
    else
        showPage(currentPaper + 1, FaceFront, false);
}

void ImageViewer::onShowPrevious()
{
    if (currentFace != FaceBack)
        showPage(currentPaper - 1, FaceBack, false);
    else
        showPage(currentPaper, FaceFront, false);
}

void ImageViewer::updateNavigation()
{
    const bool shown = currentPaper >= 0 && currentPaper < answerSheet.sheets.size() && answerSheet.pageCnt != 1;
    ui->btnPrevious->setEnabled(shown && !(currentPaper == 0 && currentFace == FaceFront));
    ui->btnNext->setEnabled(shown && currentPageIndex != answerSheet.pageCnt - 1);
}

void ImageViewer::updatePageLabel()
{
    const QString faceText = currentFace == FaceBack ? QStringLiteral("反面") : QStringLiteral("正面");
    if (answerSheet.paperCnt < 2)
        pageLabel->setText(faceText);
    else
        pageLabel->setText(QStringLiteral("第") + chineseNumeral(currentPaper + 1) + QStringLiteral("张") + faceText);
    pageLabel->adjustSize();
    placeFacePanel();
}

void ImageViewer::setPageFace(int paperIdx, EPageFace face)
{
    if (paperIdx < 0 || paperIdx >= answerSheet.sheets.size())
        return;
    if (paperIdx == currentPaper && face == currentFace)
        return;
    QVector<PageSheet>& paper = answerSheet.sheets[paperIdx];
    PageSheet* shown = currentPage();
    // The face panel offers only pages that exist; anything else is ignored.
    if (!shown || face < 0 || face >= paper.size())
        return;
    swapImages(*shown, paper[face]);
    showPage(paperIdx, face, false);
}

void ImageViewer::onSetPage(int paperIdx, int face)
{
    setPageFace(paperIdx, static_cast<EPageFace>(face));
}

void ImageViewer::onSetFront()
{
    if (currentFace != FaceBack || currentPaper < 0 || currentPaper >= answerSheet.sheets.size())
        return;
    QVector<PageSheet>& paper = answerSheet.sheets[currentPaper];
    if (paper.size() != 2)
        return;
    swapImages(paper[0], paper[1]);
    showPage(currentPaper, FaceFront, false);
}

void ImageViewer::onRotate()
{
    PageSheet* page = currentPage();
    if (!page)
        return;
    page->image.rotate(-90);
    showPixmap(page->image.pixmap, false);
}

void ImageViewer::showPixmap(const QPixmap& pixmap, bool keepZoom)
{
    ui->graphicsView->setPixmap(pixmap, keepZoom);
}

void ImageViewer::showTip(QPoint pos, int pixelSize)
{
    if (!pos.isNull())
        pageLabel->move(pos);
    pageLabel->setStyleSheet(pageLabelStyle.arg(pixelSize));
    pageLabel->adjustSize();
}

void ImageViewer::updateFaceWidgets()
{
    if (answerSheet.paperCnt < 2) {
        ui->btnSetFront->show();
        facePanel->hide();
    } else {
        ui->btnSetFront->hide();
        facePanel->show();
        facePanel->raise();
        facePanel->createButtons(answerSheet.pageCnt);
    }
    placeFacePanel();
}

void ImageViewer::setDrawEnabled(bool on)
{
    ui->graphicsView->setDrawEnabled(on);
}

void ImageViewer::setAssociateButtonVisible(bool visible)
{
    ui->btnOptionalAssociate->setVisible(visible);
}

void ImageViewer::setOtherMarkChecked(int kind, bool on)
{
    if (kind != 0)
        return;
    ui->btnAbsent->setChecked(on);
    emit ui->btnAbsent->clicked(true);
}

void ImageViewer::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeFacePanel();
}

void ImageViewer::placeFacePanel()
{
    reserveTipRoom();
    const QRect r = ui->graphicsView->rect();
    pageLabel->move(r.x() + r.width() - pageLabel->contentsRect().width() - 15, r.y() + r.height() - 45);
    // Hidden, not merely off screen: the viewer itself may be behind another page.
    const bool panelShown = !facePanel->isHidden();
    ui->faceSpacer->changeSize(panelShown ? 70 : maxFaceSpacer, 2, QSizePolicy::Minimum, QSizePolicy::Minimum);
    ui->topLayout->invalidate();
    if (!panelShown)
        return;
    ui->verticalLayout->activate();
    facePanel->move(ui->btnRotate->x() - facePanel->width() - 20, ui->btnRotate->y());
}
