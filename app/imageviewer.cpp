#include "app/imageviewer.h"

#include "app/ui_imageviewer.h"

#include <QButtonGroup>
#include <QLabel>

namespace {
const QString tipPrefix = QStringLiteral("温馨提示：");
// The blanks are part of the style the page label has always carried.
const QString pageLabelStyle = QStringLiteral("color:red;font-size:%1px;        font-family:Microsoft YaHei;");
} // namespace

ImageViewer::ImageViewer(QWidget* parent) : QFrame(parent), ui(new Ui::ImageViewer)
{
    ui->setupUi(this);

    ui->labelTips->setObjectName(QStringLiteral("themeLabel"));
    for (QPushButton* button : {ui->btnOptionalAssociate, ui->btnDrawNext, ui->btnNextStep})
        button->setObjectName(QStringLiteral("themeBtn"));

    pageLabel = new QLabel(QStringLiteral("反面"), this);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageLabel->setStyleSheet(QStringLiteral("color:red;font-size:18px;font-family:Microsoft YaHei;"));
    pageLabel->adjustSize();
    pageLabel->raise();

    // No page is shown yet, so there is nowhere to go.
    ui->btnPrevious->setEnabled(false);
    ui->btnNext->setEnabled(false);
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
}

ImageViewer::~ImageViewer()
{
    delete ui;
}

EIGraphicsView* ImageViewer::graphicsView() const
{
    return ui->graphicsView;
}

void ImageViewer::showPixmap(const QPixmap& pixmap, bool keepZoom)
{
    ui->graphicsView->setPixmap(pixmap, keepZoom);
}

void ImageViewer::setTipText(const QString& text)
{
    ui->labelTips->setText(tipPrefix + text);
}

void ImageViewer::showTip(QPoint pos, int pixelSize)
{
    if (!pos.isNull())
        pageLabel->move(pos);
    pageLabel->setStyleSheet(pageLabelStyle.arg(pixelSize));
    pageLabel->adjustSize();
}

void ImageViewer::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeFacePanel();
}

void ImageViewer::placeFacePanel()
{
    const QRect r = ui->graphicsView->rect();
    pageLabel->move(r.x() + r.width() - pageLabel->contentsRect().width() - 15, r.y() + r.height() - 45);
    ui->faceSpacer->changeSize(150, 2, QSizePolicy::Minimum, QSizePolicy::Minimum);
    ui->topLayout->invalidate();
}
