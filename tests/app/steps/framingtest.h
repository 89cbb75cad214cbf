#pragma once

// The framing-road tests: sheets drawn at 200 dpi (an A4 page on its side),
// the real main window, a desk that answers every message box as it comes
// up, and frames sent to the window as the canvas sends them.

#include "tests/app/flowtest.h"
#include "tests/canvas/viewdriver.h"

#include "algorithms/conversions.h"
#include "algorithms/linecheck.h"
#include "model/infra/constants.h"

#include <QBuffer>
#include <QImageReader>

#include <string>
#include <utility>
#include <vector>

namespace framingtest {

using namespace flowtest;
// Message texts as failures print them, trailing blanks in sight.
using Texts = std::vector<std::string>;

constexpr int pageWidth = 2339;
constexpr int pageHeight = 1654;

// Where the pages carry things, before any tilt.
const QLineF referenceLine(300, 1470, 1400, 1470);
const QLineF thinRule(1700, 700, 2200, 700);
const QRect mainTitle(300, 100, 1700, 90);
const QRect noticeTitle(300, 400, 240, 60);  // "注意事项"
const QRect shortWord(1700, 400, 100, 60);   // "数学"
const QRect blankArea(1700, 800, 400, 80);
const QRect backTitle(1500, 100, 420, 70);
const QRect pageMark(1950, 1350, 160, 44);   // on the fronts
const QRect copiedMark(300, 1250, 160, 44);  // the first paper's mark again, on the second

// One face of paper `paper`: front (side 0) or back; the front of a tilted
// face is fed askew by 2°.
struct Face
{
    int paper = 0;
    int side = FaceFront;
    bool tilted = false;
    bool notice = false;
    bool pageMarks = false;
};

// A page of `size` fed askew by 2°, turned about its centre.
inline QTransform tiltOf(bool tilted, QSizeF size = QSizeF(pageWidth, pageHeight))
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    return tilted ? QTransform().translate(centre.x(), centre.y()).rotate(2.0).translate(-centre.x(), -centre.y())
                  : QTransform();
}

// Printed words, `size` pixels high, left in `box`.
inline void printText(QPainter& painter, const QRect& box, int size, const QString& words)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(size);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, words);
}

// The titles a face of paper `paper` (from 0) carries.
inline QString frontTitleOf(int paper)
{
    return QStringLiteral("2023—2024学年第%1学期期末考试 数学答题卡").arg(chineseNumeral(paper + 1));
}
inline QString backTitleOf(int paper) { return QStringLiteral("第%1张 反面").arg(chineseNumeral(paper + 1)); }

// White to the edges, so the intake's page finder keeps it as drawn.
inline QImage drawFace(const Face& face)
{
    QImage image(pageWidth, pageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(tiltOf(face.tilted));
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(referenceLine);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(thinRule);
    for (int row = 0; row < 3; ++row)
        painter.drawRect(QRect(1700, 1000 + row * 90, 500, 60));
    if (face.side == FaceFront) {
        printText(painter, mainTitle, 60, frontTitleOf(face.paper));
        printText(painter, shortWord, 40, QStringLiteral("数学"));
    } else {
        printText(painter, backTitle, 44, backTitleOf(face.paper));
    }
    if (face.notice)
        printText(painter, noticeTitle, 44, QStringLiteral("注意事项"));
    if (face.pageMarks && face.side == FaceFront && face.paper == 0)
        painter.fillRect(pageMark, Qt::black);
    if (face.pageMarks && face.side == FaceFront && face.paper == 1) {
        painter.fillRect(copiedMark, Qt::black);
        // A chequer, unlike the first paper's bar.
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 2; ++y)
                if ((x + y) % 2 == 0)
                    painter.fillRect(QRect(pageMark.x() + x * 20, pageMark.y() + y * 22, 20, 22), Qt::black);
    }
    return image;
}

inline QRectF around(const QRect& box, int room = 15) { return QRectF(box.adjusted(-room, -room, room, room)); }

inline QRectF aroundLine(const QLineF& line, bool tilted, QSizeF size = QSizeF(pageWidth, pageHeight))
{
    const QLineF onPage = tiltOf(tilted, size).map(line);
    return QRectF(onPage.p1(), onPage.p2()).normalized().adjusted(-20, -25, 20, 25);
}

// The tilt of the line inside `frame`, in degrees.
inline double measuredTilt(const QPixmap& picture, const QRectF& frame)
{
    double angle = 99.0;
    EXPECT_TRUE(getLineAngle(QImageToCvMat(picture.toImage().copy(frame.toRect()).convertToFormat(QImage::Format_RGB32)), &angle));
    return angle;
}

// The size of the JPEG picture a Base64 text holds.
inline QSize jpegSize(const QString& base64)
{
    QByteArray bytes = QByteArray::fromBase64(base64.toLatin1());
    QBuffer buffer(&bytes);
    return QImageReader(&buffer, "jpg").read().size();
}

// Answers every message box, on the window's overlay or on its own, with
// the next queued answer or else its first button, and keeps its text.
struct MessageDesk
{
    // `window` is where the window will be: the desk is up before it is.
    explicit MessageDesk(EIMainWindow* const* window)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, window] {
            EIMessageBox* box = *window ? apptest::visibleMessageBox(*window) : nullptr;
            onOwn.append(!box);
            box = box ? box : apptest::visibleMessageBox();
            if (!box) {
                onOwn.removeLast();
                return;
            }
            const iotest::Message message = iotest::read(box);
            seen.push_back(message.text.toStdString());
            if (whileShown)
                whileShown(message);
            if (!iotest::clickButton(box, answers.isEmpty() ? message.buttons.value(0) : answers.takeFirst()))
                ADD_FAILURE() << "no such button";
        });
        timer.start(10);
    }
    // The texts read since the last call.
    Texts texts()
    {
        onOwn.clear();
        return std::exchange(seen, {});
    }

    QStringList answers;
    // Run while each box is up, before it is answered.
    std::function<void(const iotest::Message&)> whileShown;
    Texts seen;
    QList<bool> onOwn;  // shown as a window of its own, not on the overlay
    QTimer timer;
};

class FramingRoad : public FlowTest
{
protected:
    void TearDown() override
    {
        EXPECT_TRUE(desk.texts().empty()) << "a message nobody looked at";
        FlowTest::TearDown();
    }

    // A new card through its dialog, then the drawn faces through the intake.
    void openCard(const QList<Face>& faces, const QString& name = QStringLiteral("期中卡"))
    {
        QList<QImage> images;
        for (const Face& face : faces)
            images.append(drawFace(face));
        openCardOf(images, name);
    }

    // Two faces make one paper, four two papers.
    void openCardOf(const QList<QImage>& faces, const QString& name = QStringLiteral("期中卡"))
    {
        const int twoPapers = faces.size() == 4 ? 1 : 0;
        newCard(name, twoPapers, twoPapers);
        QStringList files;
        for (const QImage& face : faces) {
            files.append(scratch.file(QStringLiteral("face%1.png").arg(files.size())));
            ASSERT_TRUE(face.save(files.last()));
        }
        importImages(files);
        ASSERT_EQ(currentStep, StepGetTemplate);
    }

    PageSheet& page(int paper, int face) { return answerSheet.sheets[paper][face]; }
    void showPage(int paper, int face) { ASSERT_TRUE(viewer->showPage(paper, static_cast<EPageFace>(face), false)); }
    std::string label() const { return pageLabel().toStdString(); }
    // A frame as the canvas reports it when the operator lets go.
    void frame(const QRectF& rect) { emit scene()->drawFinished(rect); }
    void clickNext() { iotest::click(button(QStringLiteral("下一步"))); }
    void clickSave() { iotest::click(button(QStringLiteral("保存"))); }
    void goToStep(int step) { iotest::click(stepButton(step)); }
    void answerNext(const QString& answer) { desk.answers.append(answer); }

    // A subjective section, as the next step frames one.
    static void addSubjectiveSection(PageSheet& target)
    {
        Section section;
        section.type = sectionTypeSubjective;
        section.frame = new EIRectItem(QRectF(1650, 980, 600, 300), true, 8);
        SubArea block;
        block.frame = new EIRectItem(QRectF(1650, 980, 600, 300), true, 8);
        section.addSubArea(block);
        target.addSection(section);
    }

    MessageDesk desk{&window};
};

} // namespace framingtest
