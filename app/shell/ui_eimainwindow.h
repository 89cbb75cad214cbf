#pragma once

// The main window's form, laid out as the designer form it was drawn in:
// title bar, header with the project buttons and the card name, then the
// column of step buttons beside the page stack.

#include "widgets/kit/eibutton.h"
#include "widgets/kit/eititlebar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Ui {

struct EIMainWindowClass
{
    QWidget* centralWidget = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    ::EITitleBar* titlebar = nullptr;
    QWidget* bodyWidget = nullptr;
    QVBoxLayout* bodyLayout = nullptr;
    QFrame* headerFrame = nullptr;
    QHBoxLayout* headerLayout = nullptr;
    QPushButton* btnNewProject = nullptr;
    QPushButton* btnImportProject = nullptr;
    QLabel* labelPaperName = nullptr;
    QHBoxLayout* contentLayout = nullptr;
    QFrame* titleFrame = nullptr;
    ::EIButton* btnGetTemplate = nullptr;
    ::EIButton* btnDrawLines = nullptr;
    ::EIButton* btnDrawTitle = nullptr;
    ::EIButton* btnDrawStuNo = nullptr;
    ::EIButton* btnDrawObjective = nullptr;
    ::EIButton* btnDrawSubjective = nullptr;
    ::EIButton* btnDrawPageNum = nullptr;
    ::EIButton* btnDrawMarkers = nullptr;
    QFrame* frame = nullptr;
    QStackedWidget* stackedWidget = nullptr;

    void setupUi(QMainWindow* window);
    void retranslateUi(QMainWindow* window);
};

} // namespace Ui
