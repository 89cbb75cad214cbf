#pragma once

// The end-to-end roads: the program's real main window, set up as the
// program sets itself up (fonts, Qt's own texts in Chinese), an A3 card
// drawn at 200 dpi, frames drawn with the mouse, every dialog answered as
// it comes up, and a picture of the window after each step.

#include "tests/app/savetest.h"
#include "tests/app/steps/questionstest.h"

#include "app/shell/appfont.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QTranslator>

namespace roadtest {

using namespace questionstest;
using namespace savetest;

// A3 lying, at 200 dpi: 420 x 297 mm.
const QSize a3Page(3307, 2339);
// What the A3 faces carry beyond the step tests' sheets, in the room below
// and beside them; the option blocks stand right of where a dialog covers
// the page, so a picture shows the dialog and the blocks.
const QLineF roadLine(300, 2150, 1400, 2150);
const BoxGrid firstRoadBlock{QPoint(2550, 300)};
const BoxGrid secondRoadBlock{QPoint(2550, 800)};
const ExamGrid examGrid{QPoint(200, 300), 10};
const QRect pageNumberMark(2600, 2100, 160, 44);
const QRect absentBox(2600, 1900, 160, 44);

// One face of a paper of the road's card: the titles, a reference line,
// the answer areas and, on the fronts, the exam-number grid, the option
// blocks, the page-number mark (a bar on the first paper, a chequer on the
// second) and the absent-mark box. A tilted face is fed askew by 2°.
inline QImage roadFace(int paper, int side, bool tilted = false)
{
    QImage image(a3Page, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(tiltOf(tilted, a3Page));
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(roadLine);
    if (side == FaceFront) {
        printText(painter, mainTitle, 60, frontTitleOf(paper));
        printExamGrid(painter, examGrid);
        printOptionBlocks(painter, {firstRoadBlock, secondRoadBlock});
        if (paper == 0) {
            painter.fillRect(pageNumberMark, Qt::black);
        } else {
            for (int x = 0; x < 8; ++x)
                for (int y = 0; y < 2; ++y)
                    if ((x + y) % 2 == 0)
                        painter.fillRect(QRect(pageNumberMark.x() + x * 20, pageNumberMark.y() + y * 22, 20, 22),
                                         Qt::black);
        }
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(absentBox.adjusted(100, 6, 0, -6));
        printText(painter, absentBox, 36, QStringLiteral("缺考"));
    } else {
        printText(painter, backTitle, 44, backTitleOf(paper));
    }
    printAnswerAreas(painter);
    return image;
}

// Where the roads put their pictures: TOLLIVAR_SHOTS_DIR, else the working folder.
inline QString shotsFolder()
{
    const QString chosen = qEnvironmentVariable("TOLLIVAR_SHOTS_DIR");
    return chosen.isEmpty() ? QDir::currentPath() : chosen;
}

class Road : public QuestionRoad
{
protected:
    void SetUp() override
    {
        // As the program starts: the style sheets' font found, Qt's own
        // dialogs in Chinese.
        static QTranslator translator;
        static const bool translated = translator.load(QStringLiteral(":/Resources/Quindle/translations/qt_zh_CN.qm"))
                                       && QApplication::installTranslator(&translator);
        ASSERT_TRUE(translated);
        setupAppFont();
        QuestionRoad::SetUp();
        desk.whileShown = [this](const Message&) { shoot(std::exchange(messageShot, QStringLiteral("message"))); };
        QDir().mkpath(out);
    }

    // A picture of the window with what lies over it (overlay, dialog,
    // message), named after the road, the count of its pictures and
    // `label`; written smallest, as the README shows some of them.
    void shoot(const QString& label)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QString name = QStringLiteral("%1/%2-%3-%4.png")
                                 .arg(shotsFolder(),
                                      QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()))
                                 .arg(++shots, 2, 10, QLatin1Char('0'))
                                 .arg(label);
        EXPECT_TRUE(window->grab().toImage().save(name, "png", 0)) << name.toStdString();
    }

    // The label of the picture taken while the next message is up.
    void shootNextMessage(const QString& label) { messageShot = label; }

    // A frame drawn with the mouse, each from the next corner round, as an
    // operator starts from wherever the hand is.
    void drawFrame(const QRectF& rect)
    {
        const QPointF corners[] = {rect.topLeft(), rect.topRight(), rect.bottomRight(), rect.bottomLeft()};
        const int from = framesDrawn++ % 4;
        viewdriver::drag(viewer->graphicsView(), corners[from], corners[(from + 2) % 4]);
    }

    // Turns pages with "上一页" and "下一页" until the face is shown.
    void turnTo(int paper, int side)
    {
        const int wanted = paper * 2 + side;
        for (int turns = 0; turns < 4; ++turns) {
            const PageSheet* shown = viewer->currentPage();
            if (!shown || shown->pageIndex == wanted)
                break;
            iotest::click(shown->pageIndex < wanted ? next() : previous());
        }
        ASSERT_TRUE(viewer->currentPage() && viewer->currentPage()->pageIndex == wanted) << paper << side;
    }

    // The step the program is on, with its button shown as the current one.
    bool onStep(int step) const { return currentStep == step && stepButton(step)->isChecked(); }

    // One picture file per face, `tilted` the index of the one fed askew.
    QStringList writeFaces(int count, int tilted = -1)
    {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            files.append(scratch.file(QStringLiteral("face%1.png").arg(i)));
            EXPECT_TRUE(roadFace(i / 2, i % 2, i == tilted).save(files.last()));
        }
        return files;
    }

    // A subjective area of `type` numbered first to last, "选做题" checked when optional.
    void frameAnswerArea(const QRect& area, const QString& type, int first, int last, bool optional = false)
    {
        subjectiveDialogs.then(answerSubjective(type, first, last, optional));
        drawFrame(around(area, 10));
    }

    QString out = scratch.file(QStringLiteral("out"));

private:
    int shots = 0;
    int framesDrawn = 0;
    QString messageShot = QStringLiteral("message");
};

// Answers Qt's own file dialog when it comes up, as the operator would:
// types the pictures' folder and Enter, then the file names, each in quotes
// as the dialog takes several, and presses its open button.
inline void answerFileDialog(const QStringList& files)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, files] {
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QFileDialog*>(widget); shown && shown->isVisible())
                dialog = shown;
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        // The completer's list would take the key or the click meant for the dialog.
        const auto closeCompletions = [name] {
            if (name->completer() && name->completer()->popup())
                name->completer()->popup()->hide();
        };
        const QString folder = QFileInfo(files.first()).absolutePath();
        QTest::keyClicks(name, folder);
        closeCompletions();
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog->directory().absolutePath(), folder);
        QStringList names;
        for (const QString& file : files)
            names.append(QFileInfo(file).fileName());
        QTest::keyClicks(name, QLatin1Char('"') + names.join(QStringLiteral("\" \"")) + QLatin1Char('"'));
        closeCompletions();
        QPushButton* open = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
        ASSERT_TRUE(open && open->isEnabled());
        iotest::click(open);
    });
    poll->start();
}

} // namespace roadtest
