#include "app/steps/imageviewer.h"

#include "app/steps/ui_imageviewer.h"
#include "model/answersheet.h"
#include "model/global.h"
#include "model/section.h"
#include "widgets/dialogs/setfacepanel.h"

#include <QStyle>

namespace {

const QString tipPrefix = QStringLiteral("温馨提示：");

QString stepTip(int step)
{
    const bool onePaper = answerSheet.paperCnt <= 1;
    switch (step) {
    case StepGetTemplate:
        return answerSheet.paperCnt > 1 ? QStringLiteral("请根据实际情况设置答题卡的页码与正反面")
                                        : QStringLiteral("请根据实际情况设置答题卡的正反面");
    case StepLines:
        return QStringLiteral("如果图像有偏移请框选连续线段进行纠偏");
    case StepTitles:
        return onePaper ? QStringLiteral("请框选正面长标题以及反面短标题")
                        : QStringLiteral("请框选第一张、第二张正反面标记，确保框选的各页面标记互不干扰");
    case StepExamNumber:
        return QStringLiteral("请根据答题卡考号版式选择准考证号或条形码，框选时请框选完整的准考证号或条形码区域");
    case StepObjective:
        return QStringLiteral("客观题包括单选题、多选题、判断题，请框选完整的客观题选项区域，要求框选题目不要超过5个小题，"
                              "且框选区域内不要有题目序号;\n")
               + QString(17, QLatin1Char(' '))
               + QStringLiteral("无客观题时，请点击“无客观题，直接跳过”按钮");
    case StepSubjective:
        return QStringLiteral("主观题包括填空题、解答题、作文题，请框选完整的主观题题框，如有题目跨页跨栏时，"
                              "需分别框选每一块题框，且将题号设置相同;若有\n选做题请框选并关联选做题; "
                              "无主观题时，请点击“无主观题，直接跳过”按钮");
    case StepPageNumber:
        return QStringLiteral("请框选页码标记，第一面和第三面必须框选页码!");
    case StepOtherMarks:
        return QStringLiteral("请框选缺考标记");
    default:
        return QString();
    }
}

} // namespace

void ImageViewer::updateProcedureBtnState(ProcedureStep sp)
{
    ui->graphicsView->onItemSelected(false);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->btnSkip, ui->btnSetFront, facePanel, ui->btnDrawNext,
                                                           ui->btnNextStep, ui->btnRotate, ui->btnStuNum,
                                                           ui->btnStuBarCode, ui->btnAbsent})
        widget->hide();
    setDrawEnabled(true);

    if (sp >= StepGetTemplate && sp <= StepOtherMarks)
        setTipText(stepTip(sp));
    switch (sp) {
    case StepGetTemplate:
        updateFaceWidgets();
        ui->btnRotate->show();
        ui->btnNextStep->show();
        // The pages are only sorted here; nothing is framed.
        setDrawEnabled(false);
        break;
    case StepLines:
    case StepTitles:
    case StepPageNumber:
        ui->btnNextStep->show();
        break;
    case StepExamNumber:
        ui->btnNextStep->show();
        ui->btnStuNum->show();
        ui->btnStuBarCode->show();
        updateExamNumberKind();
        break;
    case StepObjective:
    case StepSubjective:
        ui->btnNextStep->show();
        updateSkipButton(sp);
        break;
    case StepOtherMarks:
        ui->btnAbsent->show();
        ui->btnSave->show();
        ui->btnAbsent->setChecked(true);
        emit ui->btnAbsent->clicked(true);
        break;
    default:
        break;
    }
    updateSaveButton(sp);
    placeFacePanel();
}

void ImageViewer::updateExamNumberKind()
{
    if (ui->btnStuBarCode->isChecked()) {
        emit ui->btnStuBarCode->clicked(true);
        return;
    }
    if (ui->btnStuNum->isChecked()) {
        emit ui->btnStuNum->clicked(true);
        return;
    }
    const PageSheet* page = currentPage();
    if (!page)
        return;
    if (page->barCode.enabled) {
        ui->btnStuBarCode->setChecked(true);
        emit ui->btnStuBarCode->clicked(true);
    } else if (page->pageIndex == 0) {
        ui->btnStuNum->setChecked(true);
        emit ui->btnStuNum->clicked(true);
    }
}

void ImageViewer::updateSkipButton(int step)
{
    const bool objective = Global::hasFramedKind(sectionTypeObject);
    if (step == StepObjective) {
        ui->btnSkip->setText(QStringLiteral("无客观题，直接跳过"));
        ui->btnSkip->setVisible(!objective);
        return;
    }
    ui->btnSkip->setText(QStringLiteral("无主观题，直接跳过"));
    // With nothing framed yet there is nothing to skip to.
    ui->btnSkip->setVisible(objective && !Global::hasFramedKind(sectionTypeSubjective));
}

void ImageViewer::updateSaveButton(int step)
{
    // Saving finishes the card on the last step only, where the button
    // leads the row in the theme colour.
    const bool last = step == StepOtherMarks;
    ui->saveSpacer->changeSize(last ? 1 : 105, 5, QSizePolicy::Minimum, QSizePolicy::Minimum);
    ui->bottomLayout->invalidate();
    ui->btnSave->setObjectName(last ? QStringLiteral("themeBtn") : QStringLiteral("themeBtn2"));
    // A new object name only restyles once the style sheet is applied again.
    ui->btnSave->setStyleSheet(QString());
    ui->btnSave->style()->unpolish(ui->btnSave);
    ui->btnSave->style()->polish(ui->btnSave);
}

void ImageViewer::setTipText(const QString& text)
{
    ui->labelTips->setText(tipPrefix + text);
}

void ImageViewer::reserveTipRoom()
{
    // The top row is as high on every step as the longest tip needs with
    // the widest buttons beside it: a row that grew or shrank with the step
    // would resize the canvas and move the page under the operator's aim.
    const int widestButtons = ui->btnStuNum->maximumWidth() + ui->btnStuBarCode->maximumWidth();
    const QMargins margins = ui->verticalLayout->contentsMargins();
    const int width = this->width() - margins.left() - margins.right() - maxFaceSpacer - widestButtons
                      - 3 * ui->topLayout->spacing();
    int tallest = ui->btnOptionalAssociate->maximumHeight();
    const QFontMetrics metrics = ui->labelTips->fontMetrics();
    for (int step = StepGetTemplate; step <= StepOtherMarks; ++step) {
        const QRect text = metrics.boundingRect(QRect(0, 0, qMax(width, 1), 4000), Qt::AlignLeft | Qt::TextWordWrap,
                                                tipPrefix + stepTip(step));
        tallest = qMax(tallest, text.height());
    }
    ui->labelTips->setMinimumHeight(tallest);
}
