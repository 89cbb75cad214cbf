#include "launcher/ui_launcher.h"

#include <QCoreApplication>

void Ui_LauncherClass::setupUi(QMainWindow* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("LauncherClass"));
    window->resize(600, 400);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    window->setMenuBar(menuBar);
    mainToolBar = new QToolBar(window);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    window->addToolBar(mainToolBar);
    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    window->setCentralWidget(centralWidget);
    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);

    retranslateUi(window);
    QMetaObject::connectSlotsByName(window);
}

void Ui_LauncherClass::retranslateUi(QMainWindow* window)
{
    window->setWindowTitle(QCoreApplication::translate("LauncherClass", "Launcher"));
}
