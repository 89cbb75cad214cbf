#pragma once

// Shared by the project I/O tests: a main window whose overlay carries the
// controller's dialogs, a script that answers those dialogs as they come
// up, and sheet pictures written to disk.

// Mouse events go through the window system, as a real pointer's would;
// every test of this suite must agree on it.
#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

#include "tests/support/testsupport.h"

#include "app/shell/eimainwindow.h"
#include "app/project/iocontroller.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/infra/eiconfig.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/eititlebar.h"
#include "widgets/kit/maskform.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QList>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace iotest {

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Clicks the visible button with this text inside `root`; false when none.
inline bool clickButton(const QWidget* root, const QString& text)
{
    for (QPushButton* button : root->findChildren<QPushButton*>())
        if (button->isVisible() && button->text() == text) {
            click(button);
            return true;
        }
    return false;
}

// What the operator read in a message box.
struct Message
{
    QString title;
    QString text;
    QStringList buttons;
};

inline Message read(EIMessageBox* box)
{
    Message message;
    message.title = box->titleBar()->titleLabel()->text();
    if (auto* content = box->findChild<QLabel*>(QStringLiteral("messageContent")))
        message.text = content->text();
    const auto* card = box->findChild<QWidget*>(QStringLiteral("centeralFrame"));
    for (const QPushButton* button : card->findChildren<QPushButton*>())
        if (button->isVisible())
            message.buttons.append(button->text());
    return message;
}

// Presses the title bar's close button of a dialog.
inline void closeByTitleBar(EIDialog* dialog)
{
    for (QPushButton* button : dialog->titleBar()->findChildren<QPushButton*>())
        if (button->isVisible()) {
            click(button);
            return;
        }
    ADD_FAILURE() << "no close button";
}

// Answers the dialogs of one operation in order: each step waits until a
// dialog of its type is visible under `root`, then acts on it once.
class DialogScript : public QObject
{
public:
    explicit DialogScript(QWidget* root) : root(root)
    {
        connect(&timer, &QTimer::timeout, this, [this] { tick(); });
        timer.start(10);
    }

    template <typename T>
    DialogScript& on(std::function<void(T*)> act)
    {
        steps.append([this, act] {
            for (T* dialog : root->findChildren<T*>())
                if (dialog->isVisible()) {
                    act(dialog);
                    return true;
                }
            return false;
        });
        return *this;
    }

    // Records a message box and presses its button `answer` (the title
    // bar's close button when empty).
    DialogScript& message(Message* record, const QString& answer)
    {
        return on<EIMessageBox>([record, answer](EIMessageBox* box) {
            *record = read(box);
            if (answer.isEmpty())
                closeByTitleBar(box);
            else if (!clickButton(box, answer))
                ADD_FAILURE() << "no button " << answer.toStdString();
        });
    }

    int pending() const { return steps.size(); }

private:
    void tick()
    {
        if (!steps.isEmpty() && steps.first()())
            steps.removeFirst();
    }

    QWidget* root;
    QTimer timer;
    QList<std::function<bool()>> steps;
};

// A sheet on a dark scanner lid, with a black square in its top-left
// corner to tell how it was turned; `cutCorner` folds its top-right corner.
inline QImage sheet(const QSize& size, int cutCorner = 0)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 20, 20));
    QPainter painter(&image);
    const QRect paper = image.rect().adjusted(8, 8, -8, -8);
    QPolygon outline;
    outline << paper.topLeft() << QPoint(paper.right() - cutCorner, paper.top())
            << QPoint(paper.right(), paper.top() + cutCorner) << paper.bottomRight() << paper.bottomLeft();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.fillRect(QRect(paper.left() + 20, paper.top() + 20, 60, 60), Qt::black);
    return image;
}

// The darkness of the square of side 40 around `centre`, 0 white to 255 black.
inline int darkness(const QImage& image, const QPoint& centre)
{
    long sum = 0;
    int count = 0;
    for (int y = centre.y() - 20; y < centre.y() + 20; ++y)
        for (int x = centre.x() - 20; x < centre.x() + 20; ++x)
            if (image.rect().contains(x, y)) {
                sum += 255 - qGray(image.pixel(x, y));
                ++count;
            }
    return count ? static_cast<int>(sum / count) : 0;
}

// A new card's template and no import warning, as at program start.
inline void resetTemplate()
{
    answerSheet.clear();
    answerSheet.redCard = false;
    answerSheet.absentMarkCnt = 2;
    importError.clear();
}

// A shown main window, a controller on it with scripted file dialogs, a
// scratch folder and a settings file of its own.
class IOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetTemplate();
        config.init(scratch.file(QStringLiteral("config.ini")));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        FileDialogs dialogs;
        dialogs.openFileName = [this](QWidget*, const QString& caption, const QString&, const QString& filter) {
            fileDialogCaptions.append(caption);
            fileDialogFilters.append(filter);
            return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
        };
        dialogs.openFileNames = [this](QWidget*, const QString& caption, const QString&, const QString& filter) {
            fileDialogCaptions.append(caption);
            fileDialogFilters.append(filter);
            return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
        };
        dialogs.existingDirectory = [this](QWidget*, const QString& caption, const QString&) {
            fileDialogCaptions.append(caption);
            return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
        };
        io.setFileDialogs(dialogs);
    }

    void TearDown() override
    {
        EXPECT_EQ(script.pending(), 0) << "a dialog the test expected never came up";
        EXPECT_FALSE(overlayShown()) << "the busy overlay was left up";
        answerSheet.clear();
        importError.clear();
    }

    bool overlayShown() const
    {
        const MaskForm* overlay = window.findChild<MaskForm*>();
        return overlay && overlay->isVisible();
    }

    // A project of `pages` pages on `papers` papers, as a new project makes it.
    static void project(int papers, int pages, const QString& orientation = QStringLiteral("horizontal"))
    {
        answerSheet.paperName = QStringLiteral("期中卡");
        answerSheet.paperCnt = papers;
        answerSheet.orientation = orientation;
        IOController::setUpPages(pages);
    }

    QString writeImage(const QString& name, const QImage& image)
    {
        const QString path = scratch.file(name);
        EXPECT_TRUE(image.save(path)) << name.toStdString();
        return path;
    }

    testsupport::Watchdog watchdog{120};
    testsupport::ScratchDir scratch;
    EIMainWindow window;
    IOController io{&window};
    DialogScript script{&window};
    QStringList openFileAnswers;
    QList<QStringList> openFilesAnswers;
    QStringList folderAnswers;
    QStringList fileDialogCaptions;
    QStringList fileDialogFilters;
};

} // namespace iotest
