#include "ui/about/about_window.h"

#include "ui/about/about_window_layout.h"
#include "ui/about/picture_box.h"
#include "ui/tab_order.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <utility>
#include <vector>

using namespace about_layout;

namespace {

QPointer<AboutWindow> s_window;

const char Description[] = "Orvanunk4   version 2.2   July 24, 2004"
                           " "
                           "Written for OrvanTrk track builders.";

} // namespace

AboutWindow *AboutWindow::open(const QIcon &icon)
{
    if (s_window) {
        // Already open: no second window, but bring this one to the front.
        s_window->setWindowState(s_window->windowState() & ~Qt::WindowMinimized);
        s_window->raise();
        s_window->activateWindow();
        return s_window;
    }
    s_window = new AboutWindow(icon);
    s_window->show();
    return s_window;
}

AboutWindow *AboutWindow::current()
{
    return s_window;
}

AboutWindow::AboutWindow(const QIcon &icon)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Orvanunk4"));
    setWindowIcon(icon);
    setFixedSize(px(ClientWidth), px(ClientHeight));

    auto *picture = new PictureBox(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    // The picture boxes take the focus, so a screen reader announces them.
    picture->setAccessibleName(QStringLiteral("Orvan unk4 picture"));
    picture->setPicture(QPixmap(QStringLiteral(":/about/about.png")));

    auto *iconBox = new PictureBox(this);
    iconBox->setObjectName(QStringLiteral("picIcon"));
    iconBox->setAccessibleName(QStringLiteral("Orvan unk4 icon"));

    auto *description = new QLabel(this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setTextFormat(Qt::PlainText);
    description->setText(QString::fromLatin1(Description));
    description->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    description->setWordWrap(true);
    QPalette black = description->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    description->setPalette(black);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &AboutWindow::okClicked);

    for (const Control &c : Controls)
        findChild<QWidget *>(QLatin1String(c.name), Qt::FindDirectChildrenOnly)
            ->setGeometry(px(c.left), px(c.top), px(c.width), px(c.height));

    // Placed first, then fitted: the box keeps its corner and takes the icon's size.
    iconBox->setAutoSize(true);
    iconBox->setPicture(icon.pixmap(QSize(IconSize, IconSize)));

    std::vector<std::pair<int, QWidget *>> order;
    for (const Control &c : Controls)
        order.emplace_back(
            c.tab, findChild<QWidget *>(QLatin1String(c.name), Qt::FindDirectChildrenOnly));
    setTabOrderByIndex(std::move(order));

    m_ok->setFocus();
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc presses OK, the window's cancel button, as Enter presses it as the default button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutWindow::okClicked()
{
    close();
}
