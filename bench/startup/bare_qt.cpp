// The floor for a Qt 6 Widgets program: one 500 x 442 window titled "bare-qt" holding a label,
// in Qt's default style and font.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare-qt"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("bare-qt")));
    window.resize(500, 442);
    window.show();
    return app.exec();
}
