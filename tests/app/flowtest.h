#pragma once

// Shared by the tests that drive the whole program window: the real main
// window with its own I/O controller, whose file dialogs the test answers,
// and sheet pictures written to disk.

#include "tests/app/apptest.h"

#include "app/shell/gettemplatepanel.h"
#include "app/steps/imageviewer.h"
#include "app/shell/indexwidget.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "model/global.h"
#include "model/removeditems.h"
#include "platform/folderopener.h"
#include "widgets/dialogs/newprojectpanel.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStackedWidget>

#include <utility>

namespace flowtest {

using iotest::DialogScript;
using iotest::Message;

class FlowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        iotest::resetTemplate();
        currentStep = StepGetTemplate;
        config.init(scratch.file(QStringLiteral("config.ini")));
        window = new EIMainWindow;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        script = new DialogScript(window);
        dialogs.openFileName = [this](QWidget*, const QString&, const QString&, const QString&) {
            return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
        };
        dialogs.openFileNames = [this](QWidget*, const QString&, const QString&, const QString&) {
            return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
        };
        dialogs.existingDirectory = [this](QWidget*, const QString&, const QString&) {
            ++folderAsks;
            return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
        };
        window->ioController()->setFileDialogs(dialogs);
        // A finished save offers to show its folder; no test opens a window for it.
        platform::setFolderOpener([this](const QString& folder) {
            openedFolders.append(folder);
            return true;
        });
        viewer = window->imageViewer();
    }

    void TearDown() override
    {
        EXPECT_EQ(script->pending(), 0) << "a dialog the test expected never came up";
        EXPECT_FALSE(overlayUp()) << "the busy overlay was left up";
        delete script;
        answerSheet.clear();
        delete window;
        currentStep = StepGetTemplate;
        platform::setFolderOpener({});
    }

    bool overlayUp() const
    {
        const MaskForm* overlay = window->findChild<MaskForm*>();
        return overlay && overlay->isVisible();
    }

    // The visible push button with this object name or text.
    QPushButton* button(const QString& nameOrText) const
    {
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->isVisible() && (b->objectName() == nameOrText || b->text() == nameOrText))
                return b;
        return nullptr;
    }

    QPushButton* stepButton(int step) const
    {
        static const char* const names[] = {"btnGetTemplate",   "btnDrawLines",      "btnDrawTitle",
                                            "btnDrawStuNo",     "btnDrawObjective",  "btnDrawSubjective",
                                            "btnDrawPageNum",   "btnDrawMarkers"};
        return window->findChild<QPushButton*>(QLatin1String(names[step]));
    }

    // The step buttons the operator can press, by step value.
    QList<int> enabledSteps() const
    {
        QList<int> steps;
        for (int step = 0; step < 8; ++step)
            if (stepButton(step)->isEnabled())
                steps.append(step);
        return steps;
    }

    QWidget* shownPage() const { return window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentWidget(); }
    QString cardTitle() const { return window->findChild<QLabel*>(QStringLiteral("labelPaperName"))->text(); }
    QString pageLabel() const { return viewer->findChild<QLabel*>(QStringLiteral("pageLabel"))->text(); }
    QString tipText() const { return viewer->findChild<QLabel*>(QStringLiteral("themeLabel"))->text(); }
    EIGraphicsScene* scene() const { return viewer->graphicsView()->scene(); }
    QPushButton* next() const { return viewer->findChild<QPushButton*>(QStringLiteral("btnNext")); }
    QPushButton* previous() const { return viewer->findChild<QPushButton*>(QStringLiteral("btnPrevious")); }

    // The framing items the canvas shows.
    QList<EIRectItem*> shownItems() const
    {
        QList<EIRectItem*> items;
        for (QGraphicsItem* item : scene()->items())
            if (item->type() == EIRectItem::Type && item->isVisible())
                items.append(static_cast<EIRectItem*>(item));
        return items;
    }

    // Fills the new-project dialog when it comes up and presses `answer`.
    void answerNewProject(const QString& name, int paperIndex, int facesIndex, const QString& answer = QStringLiteral("确定"))
    {
        script->on<NewProjectPanel>([=](NewProjectPanel* dialog) {
            dialog->findChild<QComboBox*>(QStringLiteral("boxPaperNum"))->setCurrentIndex(paperIndex);
            dialog->findChild<QComboBox*>(QStringLiteral("boxPagesType"))->setCurrentIndex(facesIndex);
            // Typed as an input method commits Chinese text.
            QInputMethodEvent typed;
            typed.setCommitString(name);
            QApplication::sendEvent(dialog->findChild<QLineEdit*>(QStringLiteral("inputCardName")), &typed);
            if (!iotest::clickButton(dialog, answer))
                ADD_FAILURE() << "no button " << answer.toStdString();
        });
    }

    // A new card through the header button and the dialog: index 1 of the
    // paper box is two papers, and then faces index 0 is three faces, 1 four.
    void newCard(const QString& name, int paperIndex, int facesIndex)
    {
        answerNewProject(name, paperIndex, facesIndex);
        iotest::click(button(QStringLiteral("新建")));
    }

    // The intake through the get-template page's import button.
    void importImages(const QStringList& files)
    {
        openFilesAnswers = {files};
        iotest::click(button(QStringLiteral("导入答题卡图片")));
    }

    // One sheet picture per page, told apart by where its black square is.
    QStringList writeSheets(int count, QSize size = QSize(600, 420))
    {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            QImage image = iotest::sheet(size);
            QPainter(&image).fillRect(QRect(120 + 90 * i, 200, 60, 60), Qt::black);
            const QString path = scratch.file(QStringLiteral("page%1.png").arg(i));
            EXPECT_TRUE(image.save(path));
            files.append(path);
        }
        return files;
    }

    // A template folder written by the model's writer: one paper, a line on
    // the front, a title on both faces and nothing after, so it resumes on
    // the exam-number step.
    // Saves a one-paper card with a title on each face and a line; the card
    // on screen, if any, is set aside meanwhile and comes back untouched.
    QString saveTitledCard(const QString& name)
    {
        AnswerSheet shown;
        std::swap(shown, answerSheet);
        answerSheet.paperName = name;
        answerSheet.paperCnt = 1;
        IOController::setUpPages(2);
        forEachPageOf(answerSheet.sheets, [](PageSheet& page) {
            page.setPixmap(QPixmap::fromImage(iotest::sheet(QSize(600, 420))));
            ImageMark title;
            title.item = new EIRectItem(QRectF(100, 30, 300, 40), true, 8);
            title.base64 = Global::pixmapToBase64(page.image.pixmap.copy(100, 30, 300, 40));
            page.setTitle(title);
        });
        answerSheet.sheets[0][0].addLine(new EIRectItem(QRectF(40, 380, 500, 12), true, 8));
        const QByteArray json = answerSheet.serialize(false);
        EXPECT_FALSE(json.isEmpty());
        const QString folder = scratch.file(name);
        QDir().mkpath(folder);
        EXPECT_TRUE(testsupport::writeFile(QStringLiteral("%1/%2.json").arg(folder, name), json));
        answerSheet.forEachPage([&](const PageSheet& page) {
            EXPECT_TRUE(page.image.pixmap.save(QStringLiteral("%1/%2_%3.jpg").arg(folder, name).arg(page.pageIndex)));
        });
        answerSheet.clear();
        std::swap(shown, answerSheet);
        return QStringLiteral("%1/%2.json").arg(folder, name);
    }

    void importCard(const QString& path)
    {
        openFileAnswers = QStringList{path};
        iotest::click(button(QStringLiteral("导入")));
    }

    testsupport::Watchdog watchdog{120};
    testsupport::ScratchDir scratch;
    // The file dialogs the controller asks: scripted answers, unless a
    // test puts one of Qt's own back.
    FileDialogs dialogs;
    EIMainWindow* window = nullptr;
    ImageViewer* viewer = nullptr;
    DialogScript* script = nullptr;
    QStringList openFileAnswers;
    QList<QStringList> openFilesAnswers;
    // The save folder dialog: how often it came up, and its answers.
    int folderAsks = 0;
    QStringList folderAnswers;
    QStringList openedFolders;
};

} // namespace flowtest
