#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel shell(QStringLiteral("Velmora第三方卡制作工具客户端"));
    shell.setWindowTitle(QStringLiteral("Velmora第三方卡制作工具客户端"));
    shell.resize(800, 500);
    shell.show();
    return app.exec();
}
