#pragma once

// The question-framing tests: sheets drawn at 200 dpi with an exam-number
// grid, blocks of option boxes and answer areas with optional marks, and a
// desk for each property dialog that answers it the moment it shows.

#include "tests/app/steps/framingtest.h"

#include "app/steps/procedurecontroller.h"
#include "canvas/item/eitextitem.h"
#include "widgets/dialogs/drawobjectivepanel.h"
#include "widgets/dialogs/drawstunopanel.h"
#include "widgets/dialogs/drawsubjectivepanel.h"
#include "widgets/dialogs/optionalassociatepanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QSpinBox>

#include <functional>

namespace questionstest {

using namespace framingtest;

// A ruled exam-number grid: one column of ten bubbles per digit, the
// digit printed in each. The pitches, 5.8 and 4 mm, are no whole number
// of pixels, as on a scanned sheet.
struct ExamGrid
{
    static constexpr double cellWidth = 45.67;
    static constexpr int rows = 10;
    static constexpr double rowPitch = 31.5;
    static constexpr int topMargin = 14;
    static constexpr int bubbleWidth = 26;
    static constexpr int bubbleHeight = 16;

    QPoint origin;
    int columns = 10;

    int width() const { return qRound(columns * cellWidth); }
    int height() const { return topMargin * 2 + qRound((rows - 1) * rowPitch) + bubbleHeight; }
    QRectF firstBubble() const
    {
        return QRectF(origin.x() + (cellWidth - bubbleWidth) / 2, origin.y() + topMargin, bubbleWidth, bubbleHeight);
    }
    QRectF frame(int margin = 15) const
    {
        return QRectF(origin.x() - margin, origin.y() - margin, width() + 2 * margin, height() + 2 * margin);
    }
};

// rows x columns option boxes of the printed 200-dpi size.
struct BoxGrid
{
    QPoint origin;
    int rows = 5;
    int columns = 4;
    QSize box{68, 48};
    QSizeF pitch{109.656, 80.583};

    QRectF boxAt(int row, int column) const
    {
        return QRectF(origin.x() + qRound(column * pitch.width()), origin.y() + qRound(row * pitch.height()),
                      box.width(), box.height());
    }
    QRectF frame(int margin = 20) const
    {
        const QRectF last = boxAt(rows - 1, columns - 1);
        return QRectF(QPointF(origin) - QPointF(margin, margin), last.bottomRight() + QPointF(margin, margin));
    }
};

// Where the question sheet carries things.
const BoxGrid firstBlock{QPoint(900, 250)};
const BoxGrid secondBlock{QPoint(1350, 252)};             // 2 px lower than the first
const BoxGrid verticalBlock{QPoint(900, 720), 4, 5};       // five questions across, four options down
const BoxGrid tallerBlock{QPoint(1800, 640), 5, 4, QSize(68, 48), QSizeF(109.656, 96.0)};  // rows 15 px further apart
const QRect blankPaper(1820, 250, 300, 300);
const QRect answerAreas[] = {QRect(200, 1100, 500, 250), QRect(800, 1100, 500, 250), QRect(1400, 1100, 700, 400)};
const QRect markBoxes[] = {QRect(1450, 1140, 40, 26), QRect(1560, 1140, 40, 26), QRect(1670, 1140, 40, 26)};
const QRectF markFrame(1430, 1120, 300, 66);

// A ruled grid of bubbles, the digit printed in each.
inline void printExamGrid(QPainter& painter, const ExamGrid& exam)
{
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(QRect(exam.origin, QSize(exam.width(), exam.height())));
    painter.setPen(QPen(Qt::black, 2));
    for (int c = 1; c < exam.columns; ++c) {
        const double x = exam.origin.x() + c * ExamGrid::cellWidth;
        painter.drawLine(QPointF(x, exam.origin.y()), QPointF(x, exam.origin.y() + exam.height()));
    }
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(ExamGrid::bubbleHeight - 5);
    painter.setFont(font);
    const QRectF first = exam.firstBubble();
    for (int c = 0; c < exam.columns; ++c) {
        for (int r = 0; r < ExamGrid::rows; ++r) {
            // Inset by half the pen, so the ink covers the bubble exactly.
            const QRectF bubble(first.x() + c * ExamGrid::cellWidth + 1, first.y() + r * ExamGrid::rowPitch + 1,
                                ExamGrid::bubbleWidth - 2, ExamGrid::bubbleHeight - 2);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }
}

// The option boxes as the sheets print them: light grey, the option's
// letter dark on each.
inline void printOptionBlocks(QPainter& painter,
                              std::initializer_list<BoxGrid> blocks = {firstBlock, secondBlock, verticalBlock, tallerBlock})
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(30);
    painter.setFont(font);
    painter.setPen(QColor(50, 50, 50));
    for (const BoxGrid& block : blocks)
        for (int r = 0; r < block.rows; ++r)
            for (int c = 0; c < block.columns; ++c) {
                painter.fillRect(block.boxAt(r, c), QColor(205, 205, 205));
                painter.drawText(block.boxAt(r, c), Qt::AlignCenter, QString(QChar('A' + c)));
            }
}

// The three answer areas, the last with its optional marks.
inline void printAnswerAreas(QPainter& painter)
{
    painter.setPen(QPen(Qt::black, 2));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(28);
    painter.setFont(font);
    for (const QRect& area : answerAreas) {
        painter.drawRect(area);
        painter.drawText(area.adjusted(20, 100, -20, -20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("解答："));
    }
    for (const QRect& box : markBoxes)
        painter.drawRect(box);
}

inline QImage questionSheet(const ExamGrid& exam)
{
    QImage image(pageWidth, pageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    printExamGrid(painter, exam);
    printOptionBlocks(painter);
    printAnswerAreas(painter);
    return image;
}

// Answers every dialog of type T as it shows, each with the next queued
// act; a dialog with nothing queued fails the test and is cancelled.
template <typename T>
class DialogDesk
{
public:
    explicit DialogDesk(EIMainWindow* const* window)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, window] {
            if (!*window)
                return;
            for (T* dialog : (*window)->template findChildren<T*>()) {
                if (!dialog->isVisible() || dialog == current)
                    continue;
                current = dialog;
                ++shown;
                if (acts.isEmpty()) {
                    ADD_FAILURE() << "an unexpected " << dialog->metaObject()->className();
                    iotest::clickButton(dialog, QStringLiteral("取消"));
                    return;
                }
                acts.takeFirst()(dialog);
                return;
            }
        });
        timer.start(10);
    }
    ~DialogDesk() { EXPECT_TRUE(acts.isEmpty()) << "a dialog the test expected never came up"; }

    void then(std::function<void(T*)> act) { acts.append(std::move(act)); }

    int shown = 0;

private:
    QList<std::function<void(T*)>> acts;
    QPointer<T> current;
    QTimer timer;
};

template <typename T>
T* field(const QWidget* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(found) << name;
    return found;
}

inline int spin(const QWidget* dialog, const char* name) { return field<QSpinBox>(dialog, name)->value(); }
inline void setSpin(const QWidget* dialog, const char* name, int value) { field<QSpinBox>(dialog, name)->setValue(value); }
inline void choose(const QWidget* dialog, const char* name, const QString& item)
{
    QComboBox* box = field<QComboBox>(dialog, name);
    box->setCurrentIndex(box->findText(item));
}
inline QString chosen(const QWidget* dialog, const char* name) { return field<QComboBox>(dialog, name)->currentText(); }

inline void press(QWidget* dialog, const QString& button)
{
    if (!iotest::clickButton(dialog, button))
        ADD_FAILURE() << "no button " << button.toStdString();
}
inline void pressOk(QWidget* dialog) { press(dialog, QStringLiteral("确定")); }

// Fills the subjective dialog: type, numbers and, when asked, "选做题"
// checked, then confirms it (by default a press on OK).
inline std::function<void(DrawSubjectivePanel*)> answerSubjective(const QString& type, int first, int last,
                                                                  bool optional = false,
                                                                  std::function<void(QWidget*)> confirm = pressOk)
{
    return [=](DrawSubjectivePanel* dialog) {
        choose(dialog, "boxType", type);
        setSpin(dialog, "boxNumberBegin", first);
        setSpin(dialog, "boxNumberEnd", last);
        if (optional)
            iotest::click(field<QCheckBox>(dialog, "checkOptional"));
        confirm(dialog);
    };
}

// Where an item lies on the page, whatever its parents.
inline QRectF onPage(const EIRectItem* item)
{
    return QRectF(item->mapToScene(QPointF(0, 0)), item->sceneRect().size());
}

// The first option box of a framed grid, and its spacings, on the page.
inline QRectF firstBoxOnPage(const EIRectItem* item)
{
    return item->boxAreaItem()->rect().translated(item->sceneRect().topLeft());
}

// The caption the operator reads on a framing item once the canvas is
// painted (an item shows its caption as it paints); empty when hidden.
inline QString captionOf(EIRectItem* item)
{
    if (item->scene())
        for (QGraphicsView* view : item->scene()->views())
            viewdriver::paintNow(view);
    const auto captions = viewdriver::childrenOfType<EITextItem>(item);
    return captions.size() == 1 && captions[0]->isVisible() ? captions[0]->toPlainText() : QString();
}

// What the item's grid lays out against what the page carries: the first
// and the last box within `tolerance` pixels.
inline void expectGridOver(const EIRectItem* item, const QRectF& first, const QRectF& last, double tolerance)
{
    ASSERT_TRUE(item && item->hasGrid());
    const QRectF box = firstBoxOnPage(item);
    const QPointF lastCorner = box.topLeft()
                             + QPointF((item->columnCount() - 1) * item->columnSpacing(),
                                       (item->rowCount() - 1) * item->rowSpacing());
    EXPECT_NEAR(box.x(), first.x(), tolerance);
    EXPECT_NEAR(box.y(), first.y(), tolerance);
    EXPECT_NEAR(box.width(), first.width(), tolerance);
    EXPECT_NEAR(box.height(), first.height(), tolerance);
    EXPECT_NEAR(lastCorner.x(), last.x(), tolerance);
    EXPECT_NEAR(lastCorner.y(), last.y(), tolerance);
}

class QuestionRoad : public FramingRoad
{
protected:
    // A card of the drawn sheets, with the steps before the questions done
    // as an operator would leave them: lines skipped, every page titled,
    // the exam number framed as a barcode on the fronts.
    void openSheets(const QList<QImage>& faces, bool earlierStepsDone)
    {
        openCardOf(faces);
        if (!earlierStepsDone)
            return;
        answerSheet.jumpLines = true;
        forEachPageOf(answerSheet.sheets, [](PageSheet& each) {
            ImageMark title;
            title.item = new EIRectItem(QRectF(300, 100, 600, 80), true, 8);
            title.base64 = Global::pixmapToBase64(each.image.pixmap.copy(300, 100, 600, 80));
            each.setTitle(title);
            if (each.side == FaceFront)
                each.setBarCode(BarCode{new EIRectItem(QRectF(300, 200, 300, 60), true, 8), true});
        });
    }

    DialogDesk<DrawStuNoPanel> examNumberDialogs{&window};
    DialogDesk<DrawObjectivePanel> objectiveDialogs{&window};
    DialogDesk<DrawSubjectivePanel> subjectiveDialogs{&window};
    DialogDesk<OptionalAssociatePanel> associationDialogs{&window};
};

// The question sheet on both faces of one paper, every step open.
class QuestionSheetRoad : public QuestionRoad
{
protected:
    void SetUp() override
    {
        QuestionRoad::SetUp();
        if (HasFatalFailure())
            return;
        const QImage sheet = questionSheet(ExamGrid{QPoint(200, 300), 9});
        openSheets({sheet, sheet}, true);
        window->setStepButtonsEnabled(0, StepOtherMarks);
    }
};

} // namespace questionstest
