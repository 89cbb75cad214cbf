#pragma once

// Shared by the framing-road tests: answer sheets drawn at 200 dpi (an A4
// page lying on its side), the real main window, a desk that answers every
// message box as it comes up, and frames sent to the window as the canvas
// sends them.

#include "tests/app/flowtest.h"
#include "tests/canvas/viewdriver.h"

#include "algorithms/conversions.h"
#include "algorithms/linecheck.h"
#include "model/infra/constants.h"

#include <QBuffer>
#include <QFont>
#include <QImageReader>
#include <QTransform>

#include <cmath>
#include <string>
#include <vector>

namespace framingtest {

using namespace flowtest;

constexpr int pageWidth = 2339;
constexpr int pageHeight = 1654;
constexpr double tilt = 2.0;

// Where the pages carry things, on the page as drawn before any tilt.
const QLineF referenceLine(300, 1470, 1400, 1470);
const QRect mainTitle(300, 100, 1700, 90);
const QRect noticeTitle(300, 400, 240, 60);     // "注意事项", on both faces of the first paper
const QRect shortWord(1700, 400, 100, 60);      // "数学"
const QLineF thinRule(1700, 700, 2200, 700);
const QRect blankArea(1700, 800, 400, 80);
const QRect backTitle(1500, 100, 420, 70);
const QRect pageMark(1950, 1350, 160, 44);      // the page-number mark of the fronts
const QRect copiedMark(300, 1250, 160, 44);     // the first paper's mark again, on the second paper

// What one face carries.
struct Face
{
    int paper = 0;
    int side = FaceFront;
    bool tilted = false;
    bool notice = false;     // "注意事项" where the other face has it too
    bool pageMarks = false;  // page-number marks on the fronts
};

// Turns the page's drawing about its centre, as a sheet fed askew.
inline QTransform tiltOf(bool tilted)
{
    QTransform t;
    if (tilted)
        t.translate(pageWidth / 2.0, pageHeight / 2.0).rotate(tilt).translate(-pageWidth / 2.0, -pageHeight / 2.0);
    return t;
}

inline void drawText(QPainter& painter, const QRect& box, int pixelSize, const QString& text)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// A white page edge to edge, so the intake's page finder keeps it as drawn.
inline QImage drawFace(const Face& face)
{
    QImage image(pageWidth, pageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(tiltOf(face.tilted));
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(referenceLine);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(thinRule);
    const QString paper = chineseNumeral(face.paper + 1);
    if (face.side == FaceFront) {
        drawText(painter, mainTitle, 60, QStringLiteral("2023—2024学年第%1学期期末考试 数学答题卡").arg(paper));
        drawText(painter, shortWord, 40, QStringLiteral("数学"));
    } else {
        drawText(painter, backTitle, 44, QStringLiteral("第%1张 反面").arg(paper));
    }
    if (face.notice)
        drawText(painter, noticeTitle, 44, QStringLiteral("注意事项"));
    if (face.pageMarks && face.side == FaceFront) {
        if (face.paper == 0) {
            painter.fillRect(pageMark, Qt::black);
        } else {
            // A chequer of 20 x 22 squares, unlike the first paper's bar.
            for (int x = 0; x < pageMark.width() / 20; ++x)
                for (int y = 0; y < pageMark.height() / 22; ++y)
                    if ((x + y) % 2 == 0)
                        painter.fillRect(QRect(pageMark.x() + x * 20, pageMark.y() + y * 22, 20, 22), Qt::black);
            painter.fillRect(copiedMark, Qt::black);
        }
    }
    // Ruled answer boxes in the lower half, as a sheet has them.
    painter.setPen(QPen(Qt::black, 2));
    for (int row = 0; row < 3; ++row)
        painter.drawRect(QRect(1700, 1000 + row * 90, 500, 60));
    return image;
}

// A frame around `box` with room on every side.
inline QRectF around(const QRect& box, int room = 15)
{
    return QRectF(box.adjusted(-room, -room, room, room));
}

// A frame around a line as the page carries it.
inline QRectF aroundLine(const QLineF& line, bool tilted)
{
    const QLineF onPage = tiltOf(tilted).map(line);
    return QRectF(onPage.p1(), onPage.p2()).normalized().adjusted(-20, -25, 20, 25);
}

// The tilt of the line inside `frame` on `picture`, in degrees.
inline double measuredTilt(const QPixmap& picture, const QRectF& frame)
{
    const QImage image = picture.toImage().copy(frame.toRect());
    double angle = 99.0;
    EXPECT_TRUE(getLineAngle(QImageToCvMat(image.convertToFormat(QImage::Format_RGB32)), &angle));
    return angle;
}

// The size of the JPEG picture in a Base64 text; empty when it is none.
inline QSize jpegSize(const QString& base64)
{
    QByteArray bytes = QByteArray::fromBase64(base64.toLatin1());
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "jpg");
    return reader.read().size();
}

// Message texts as failures print them, trailing blanks in sight.
using Texts = std::vector<std::string>;

// Answers every message box that comes up, in the window or on its own:
// with the next queued answer, else with the box's first button. Keeps
// what it read.
class MessageDesk
{
public:
    explicit MessageDesk(const QWidget* window)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, window] {
            EIMessageBox* box = apptest::visibleMessageBox(window);
            const bool onItsOwn = !box;
            if (!box)
                box = apptest::visibleMessageBox();
            if (!box)
                return;
            iotest::Message message = iotest::read(box);
            seen.append(message);
            onOwn.append(onItsOwn);
            const QString answer = answers.isEmpty() ? message.buttons.value(0) : answers.takeFirst();
            if (!iotest::clickButton(box, answer))
                ADD_FAILURE() << "no button " << answer.toStdString();
        });
        timer.start(10);
    }

    // The texts read since the last call.
    Texts texts()
    {
        Texts read;
        for (const iotest::Message& message : qAsConst(seen))
            read.push_back(message.text.toStdString());
        seen.clear();
        onOwn.clear();
        return read;
    }

    QStringList answers;
    QList<iotest::Message> seen;
    QList<bool> onOwn;   // shown as a window of its own, not on the overlay

private:
    QTimer timer;
};

// The real window on a card drawn by the test, with a desk for its messages.
class FramingRoad : public FlowTest
{
protected:
    void SetUp() override
    {
        FlowTest::SetUp();
        desk = new MessageDesk(window);
    }

    void TearDown() override
    {
        EXPECT_TRUE(desk->texts().empty()) << "a message nobody looked at";
        delete desk;
        FlowTest::TearDown();
    }

    // A new card through the dialog, then its faces through the intake.
    void openCard(const QString& name, const QList<Face>& faces)
    {
        if (faces.size() == 2)
            newCard(name, 0, 0);
        else
            newCard(name, 1, 1);
        QStringList files;
        for (int i = 0; i < faces.size(); ++i) {
            files.append(scratch.file(QStringLiteral("face%1.png").arg(i)));
            ASSERT_TRUE(drawFace(faces[i]).save(files.last()));
        }
        importImages(files);
        ASSERT_EQ(shownPage(), viewer);
        ASSERT_EQ(currentStep, StepGetTemplate);
    }

    PageSheet& page(int paper, int face) { return answerSheet.sheets[paper][face]; }
    void showPage(int paper, int face) { ASSERT_TRUE(viewer->showPage(paper, static_cast<EPageFace>(face), false)); }

    // A frame as the canvas reports it when the operator lets go.
    void frame(const QRectF& rect) { emit scene()->drawFinished(rect); }

    void clickNext() { iotest::click(button(QStringLiteral("下一步"))); }
    void clickSave() { iotest::click(button(QStringLiteral("保存"))); }
    void goToStep(int step) { iotest::click(stepButton(step)); }

    // A subjective section over most of the page, as the next step frames it.
    void addSubjectiveSection(PageSheet& target)
    {
        Section section;
        section.type = sectionTypeSubjective;
        section.frame = new EIRectItem(QRectF(1650, 980, 600, 300), true, 8);
        SubArea block;
        block.frame = new EIRectItem(QRectF(1650, 980, 600, 300), true, 8);
        section.addSubArea(block);
        target.addSection(section);
    }

    MessageDesk* desk = nullptr;
};

} // namespace framingtest
