#include "algorithms/openmpwaiting.h"
#include "app/shell/appfont.h"
#include "app/shell/crashhandler.h"
#include "app/shell/eimainwindow.h"
#include "app/shell/startup.h"
#include "canvas/item/eirectitem.h"
#include "model/infra/eiconfig.h"
#include "platform/brokenpipe.h"
#include "platform/imagebuffers.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char** argv)
{
    restartWithPassiveOpenMpWaiting(argv);
    // Before anything could write to a scanner's connection.
    platform::ignoreBrokenPipes();
    platform::keepImageBuffers();
    // Locals in this order are destroyed window first, then the translator,
    // then the application, which must outlive both.
    QApplication app(argc, argv);
    setupAppFont();
    setupCrashHandler();

    QTranslator translator;
    // Without it Qt's own dialogs keep their English texts; nothing to report.
    if (translator.load(QStringLiteral(":/Resources/Quindle/translations/qt_zh_CN.qm")))
        QApplication::installTranslator(&translator);

    qRegisterMetaType<EIRectItem*>("EIRectItem*");
    config.init(QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini"));

    EIMainWindow window;
    showMainWindow(window);
    return QApplication::exec();
}
