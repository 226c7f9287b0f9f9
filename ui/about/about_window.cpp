#include "ui/about/about_window.h"

#include <QPointer>

namespace {
QPointer<AboutWindow> s_window;
}

AboutWindow *AboutWindow::open(const QIcon &icon)
{
    if (!s_window)
        s_window = new AboutWindow(icon);
    s_window->show();
    return s_window;
}

AboutWindow *AboutWindow::current() { return s_window; }

AboutWindow::AboutWindow(const QIcon &icon)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Orvanunk4"));
    setWindowIcon(icon);
}
