#include "ui/about/about_window.h"

#include "ui/theme_proof.h"
#include "ui/to_qstring.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <utility>
#include <vector>

using namespace about_layout;

namespace {

QPointer<AboutWindow> s_window;

// Chains the focus by the tab indices as designed, leaving out what takes no focus by Tab;
// Qt's default tab order is the order of creation instead.
void setTabOrderByIndex(std::vector<std::pair<int, QWidget *>> widgets)
{
    widgets.erase(std::remove_if(widgets.begin(), widgets.end(),
                      [](const auto &w) { return !(w.second->focusPolicy() & Qt::TabFocus); }),
        widgets.end());
    std::sort(widgets.begin(), widgets.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t k = 1; k < widgets.size(); ++k)
        QWidget::setTabOrder(widgets[k - 1].second, widgets[k].second);
}

} // namespace

AboutWindow *AboutWindow::open(const QIcon &icon, const QFont &font)
{
    if (s_window) {
        // Already open: no second window, but bring this one to the front.
        s_window->setWindowState(s_window->windowState() & ~Qt::WindowMinimized);
        s_window->raise();
        s_window->activateWindow();
        return s_window;
    }
    s_window = new AboutWindow(icon, font);
    s_window->show();
    return s_window;
}

AboutWindow::AboutWindow(const QIcon &icon, const QFont &font)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(toQString(Caption));
    setWindowIcon(icon);
    pinFont(this, font);
    setFixedSize(px(ClientWidth), px(ClientHeight));

    std::vector<std::pair<int, QWidget *>> order;
    for (const Control &c : Controls) {
        QWidget *widget = nullptr;
        switch (c.kind) {
        case Kind::Picture: {
            // A sunken 3-D border, 2 pixels wide (the classic two-line panel, whatever the
            // widget style), around a picture drawn at its own size at the top-left corner of
            // the inner area and clipped to it. It takes the focus by Tab only, so that a
            // screen reader reaches it, and is announced as an image.
            auto *box = new QLabel(this);
            box->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
            box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            box->setFocusPolicy(Qt::TabFocus);
            widget = box;
            break;
        }
        case Kind::CentredLabel:
            m_description = new QLabel(toQString(c.caption), this);
            m_description->setTextFormat(Qt::PlainText);
            m_description->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            m_description->setWordWrap(true);
            widget = m_description;
            break;
        case Kind::Button: {
            auto *button = new QPushButton(toQString(c.caption), this);
            connect(
                button, &QPushButton::clicked, this, [this, command = c.command] { run(command); });
            if (c.command == Command::Close)
                m_ok = button;
            widget = button;
            break;
        }
        default:
            continue; // the main window's kinds
        }
        widget->setObjectName(toQString(c.name));
        widget->setGeometry(px(c.left), px(c.top), px(c.width), px(c.height));
        order.emplace_back(c.tab, widget);
    }
    setTabOrderByIndex(std::move(order));
    colourDescription();
    m_ok->setDefault(true);

    auto *picture = findChild<QLabel *>(QStringLiteral("Picture1"));
    picture->setAccessibleName(QStringLiteral("Orvan unk4 picture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/about/about.png")));
    // Placed first, then fitted: the box keeps its corner and takes the icon's size.
    auto *iconBox = findChild<QLabel *>(QStringLiteral("picIcon"));
    iconBox->setAccessibleName(QStringLiteral("Orvan unk4 icon"));
    iconBox->setPixmap(icon.pixmap(QSize(IconSize, IconSize)));
    iconBox->resize(iconBox->sizeHint());

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

void AboutWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && m_description)
        colourDescription();
    QDialog::changeEvent(event);
}

void AboutWindow::colourDescription()
{
    // Black, as designed, whatever the theme's text colour, but on a dark window the theme's.
    QPalette black = palette();
    black.setColor(m_description->foregroundRole(), Qt::black);
    setLegibleText(m_description, black, palette(), QPalette::WindowText, QPalette::Window);
}

void AboutWindow::run(Command command)
{
    // OK is the window's one command.
    if (command == Command::Close)
        close();
}
