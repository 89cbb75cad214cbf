#include "bench/a3page.h"
#include "bench/benchwindow.h"
#include "widgets/dialogs/drawobjectivepanel.h"
#include "widgets/kit/eidialog.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QSpinBox>
#include <QTimer>

#include <benchmark/benchmark.h>

// One frame on a 200-dpi A3 page, from the canvas's drawFinished through
// the step's property dialog, answered the moment it shows, and its
// measurement to the accepted grid, block or marks. Each must stay under
// 300 ms.

namespace {

// A ruled exam-number table of ten digit columns of ten bubbles.
const QPoint examOrigin(300, 400);
constexpr int examColumns = 10;
constexpr int cellWidth = 46;
constexpr int rowPitch = 31;
// Twenty questions of four printed-size boxes.
const QPoint blockOrigin(1200, 300);
constexpr int blockRows = 20;
// An answer area with the mark boxes of its three optional questions.
const QRect answerArea(2000, 300, 1000, 800);
const QRect markArea(2040, 330, 360, 80);

QRect examFrame()
{
    return QRect(examOrigin - QPoint(15, 15), QSize(examColumns * cellWidth + 30, 28 + 9 * rowPitch + 16 + 30));
}

QRect blockFrame()
{
    return QRect(blockOrigin - QPoint(20, 20), QSize(qRound(3 * 109.656) + 68 + 40, qRound(19 * 80.583) + 48 + 40));
}

QImage questionPage()
{
    QImage image(a3page::width, a3page::height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRect table = examFrame().adjusted(15, 15, -15, -15);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(table);
    painter.setPen(QPen(Qt::black, 2));
    for (int c = 1; c < examColumns; ++c)
        painter.drawLine(table.left() + c * cellWidth, table.top(), table.left() + c * cellWidth, table.bottom());
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(11);
    painter.setFont(font);
    for (int c = 0; c < examColumns; ++c) {
        for (int r = 0; r < 10; ++r) {
            const QRectF bubble(table.left() + c * cellWidth + 11, table.top() + 15 + r * rowPitch, 24, 14);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }

    for (int r = 0; r < blockRows; ++r)
        for (int c = 0; c < 4; ++c)
            painter.fillRect(QRect(blockOrigin.x() + qRound(c * 109.656), blockOrigin.y() + qRound(r * 80.583), 68, 48),
                             Qt::black);

    painter.drawRect(answerArea);
    for (int i = 0; i < 3; ++i)
        painter.drawRect(QRect(markArea.x() + 20 + i * 110, markArea.y() + 25, 40, 26));
    return image;
}

void onePaper()
{
    answerSheet.clear();
    answerSheet.paperCnt = 1;
    answerSheet.pageCnt = 2;
    answerSheet.sheets.resize(1);
    const QPixmap picture = QPixmap::fromImage(questionPage());
    for (int side = 0; side < 2; ++side) {
        PageSheet page;
        page.setSide(side);
        page.setPageIndex(side);
        page.setPixmap(picture);
        answerSheet.sheets[0].append(page);
    }
}

// Presses OK on every property dialog as soon as it shows; the objective
// dialog first takes the block's twenty questions.
class InstantAnswers : public QObject
{
public:
    InstantAnswers() { qApp->installEventFilter(this); }
    ~InstantAnswers() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<EIDialog*>(watched)) {
                QTimer::singleShot(0, dialog, [dialog] {
                    if (qobject_cast<DrawObjectivePanel*>(dialog))
                        dialog->findChild<QSpinBox*>(QStringLiteral("boxNumberEnd"))->setValue(blockRows);
                    dialog->doOk();
                });
            }
        }
        return false;
    }
};

// The bench window with every property dialog answered at once.
struct Window : benchwindow::Window
{
    using benchwindow::Window::Window;

    void forgetSections()
    {
        for (const Section& section : qAsConst(front().sections)) {
            for (const SubArea& block : section.branch)
                forget(block.frame);
            forget(section.frame);
        }
        front().sections.clear();
    }

    InstantAnswers answers;
};

} // namespace

static void BM_FrameExamNumberGrid(benchmark::State& state)
{
    onePaper();
    Window w(StepExamNumber);
    for (auto _ : state) {
        state.PauseTiming();
        w.forget(w.front().ticketNum.frame);
        w.front().ticketNum.reset(false);
        state.ResumeTiming();
        w.frame(examFrame());
        if (!w.front().ticketNum.enabled)
            state.SkipWithError("the grid was refused");
    }
}
BENCHMARK(BM_FrameExamNumberGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

static void BM_FrameObjectiveBlock20x4(benchmark::State& state)
{
    onePaper();
    Window w(StepObjective);
    for (auto _ : state) {
        state.PauseTiming();
        w.forgetSections();
        state.ResumeTiming();
        w.frame(blockFrame());
        if (w.front().sections.size() != 1 || w.front().sections[0].branch[0].rows != blockRows)
            state.SkipWithError("the block was refused");
    }
}
BENCHMARK(BM_FrameObjectiveBlock20x4)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// Three optional questions wait for their marks in their answer area.
static void BM_FrameOptionalMarks(benchmark::State& state)
{
    onePaper();
    Window w(StepSubjective);
    Section pending;
    pending.type = sectionTypeSubjective;
    pending.frame = new EIRectItem(QRectF(answerArea), true, 8);
    pending.step = 1;
    SubArea block;
    block.subAreaTopicType = 4;
    block.appendNumRange(6, 8);
    block.frame = new EIRectItem(QRectF(answerArea), true, 8);
    pending.addSubArea(block);
    w.front().addSection(pending);
    for (auto _ : state) {
        state.PauseTiming();
        Section& section = w.front().sections[0];
        SubArea& marked = section.branch[0];
        if (marked.chooseArea) {
            marked.chooseArea->setParentItem(nullptr);
            w.forget(marked.chooseArea);
        }
        marked.chooseArea = nullptr;
        marked.choosePosition.clear();
        marked.choseScore.clear();
        section.step = 1;
        state.ResumeTiming();
        w.frame(markArea);
        if (w.front().sections[0].branch[0].choosePosition.size() != 3)
            state.SkipWithError("the marks were refused");
    }
}
BENCHMARK(BM_FrameOptionalMarks)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
