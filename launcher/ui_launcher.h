#pragma once

// The launcher's window form. The window is built but never shown.

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>

struct Ui_LauncherClass
{
    QMenuBar* menuBar = nullptr;
    QToolBar* mainToolBar = nullptr;
    QWidget* centralWidget = nullptr;
    QStatusBar* statusBar = nullptr;

    void setupUi(QMainWindow* window);
    void retranslateUi(QMainWindow* window);
};

namespace Ui {
using LauncherClass = Ui_LauncherClass;
}
