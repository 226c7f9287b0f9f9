#include "ui/main/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanunk4"));
    QApplication::setApplicationVersion(QStringLiteral("2.2"));
    MainWindow::useDesignFont();

    MainWindow window;
    window.show();
    return app.exec();
}
