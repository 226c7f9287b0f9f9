#include "ui/main/appearance.h"
#include "ui/main/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanunk4"));
    QApplication::setApplicationVersion(QStringLiteral("2.2"));
    // Ties the windows to the installed desktop entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.orvanunk4.Orvanunk4"));
    const Appearance appearance; // before any window

    MainWindow window(appearance);
    window.show();
    return app.exec();
}
