#include "ui/main/main_window.h"

#include "form/main_form_layout.h"
#include "ui/about/about_window.h"
#include "ui/main/announcer.h"
#include "ui/main/appearance.h"
#include "ui/main/clickable_label.h"
#include "ui/main/clipboard.h"
#include "ui/main/detail_popup.h"
#include "ui/main/flag_box.h"
#include "ui/main/value_box.h"
#include "ui/theme_proof.h"
#include "ui/to_qstring.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

using layout::px;

namespace {

QRect pixelRect(const twips::Rect &r)
{
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

} // namespace

MainWindow::MainWindow(const Appearance &appearance, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(layout::Caption));
    setWindowIcon(Appearance::programIcon());
    m_clipboard = new Clipboard(this);
    m_announcer = new Announcer(this);
    // Fixed single border: title, system menu and close button, but no minimize or maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    pinFont(this, appearance.font(form::Font::Window));

    createMenus();
    createControls(appearance);
    createFlagRows();
    // The popup lies above every label and takes the clicks that land on it.
    m_popup->raise();
    buildTabOrder();
    colourTexts();
    m_form.load();
    m_value->setFocus();
    createShortcuts();
}

MainWindow::~MainWindow()
{
    // QWidget's destructor moves the focus off the controls it deletes; by then this is no
    // MainWindow any more, and the connection would only go with QObject's.
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::focusChanged);
}

void MainWindow::changeEvent(QEvent *event)
{
    // The window's palette is already the new one here; its controls take theirs after.
    if (event->type() == QEvent::PaletteChange && m_popup)
        colourTexts();
    QMainWindow::changeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // F1 reaches the window as every control passes it on; not as a shortcut, which would take
    // the key before screen readers hear it, and they read the explanation (a tool tip) only
    // when they heard the F1 that opened it.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier)
        m_form.helpRequested(flagIndex(QApplication::focusWidget()));
    else
        QMainWindow::keyPressEvent(event);
}

void MainWindow::createShortcuts()
{
    // A shortcut of the window comes before the focused control sees the key: the value box
    // swallows Esc as a character it does not take.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { m_form.escapePressed(); });
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::focusChanged);
}

void MainWindow::focusChanged(QWidget *old, QWidget *now)
{
    // Only moves between this window's controls: the focus leaving for another window (the
    // About window, a message box) and coming back has not moved in here.
    if (old && now && isAncestorOf(old) && isAncestorOf(now))
        m_form.focusMoved();
}

int MainWindow::flagIndex(const QWidget *widget) const
{
    const auto found = std::find(m_flags.begin(), m_flags.end(), widget);
    return found == m_flags.end() ? -1 : static_cast<int>(found - m_flags.begin());
}

void MainWindow::colourTexts()
{
    // The explanation is in the labels' text colour on the tooltip background, as designed,
    // where that reads; a theme that pairs a light tooltip with light window text (or dark with
    // dark) gets its tooltip text colour instead.
    setLegibleText(m_popup, palette(), palette(), QPalette::ToolTipText, QPalette::ToolTipBase);
}

void MainWindow::createMenus()
{
    // Keep the menu bar inside the window even where the desktop offers a global menu: the
    // client area is laid out below it.
    menuBar()->setNativeMenuBar(false);

    QMenu *menu = nullptr;
    for (const layout::MenuEntry &entry : layout::Menus) {
        const QString name = toQString(entry.name);
        switch (entry.kind) {
        case layout::MenuKind::Menu:
            menu = menuBar()->addMenu(toQString(entry.caption));
            menu->setObjectName(name);
            // A menu is a window of its own and would follow the application font.
            menu->setFont(font());
            break;
        case layout::MenuKind::Separator:
            menu->addSeparator()->setObjectName(name);
            break;
        case layout::MenuKind::Entry: {
            QAction *action = menu->addAction(toQString(entry.caption));
            action->setObjectName(name);
            connect(action, &QAction::triggered, this, [this, command = entry.command] {
                const QScopedValueRollback<bool> menuRuns(m_menuRuns, true);
                m_form.run(command);
            });
            break;
        }
        }
    }
}

void MainWindow::createControls(const Appearance &appearance)
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(layout::ClientWidth), px(layout::ClientHeight));
    setCentralWidget(client);
    // The window follows the fixed client area plus the menu bar; a fixed size on the window
    // itself would take the menu bar's height out of the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (const layout::Control &c : layout::Controls) {
        const QString caption = toQString(c.caption);
        QRect place = pixelRect({ c.left, c.top, c.width, c.height });
        QWidget *widget = nullptr;

        switch (c.kind) {
        case layout::Kind::Label:
        case layout::Kind::AutoLabel:
        case layout::Kind::WrapLabel: {
            auto *label = new QLabel(caption, client);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (c.kind == layout::Kind::AutoLabel) {
                place.setSize(label->sizeHint());
            } else if (c.kind == layout::Kind::WrapLabel) {
                label->setWordWrap(true);
                place.setHeight(label->heightForWidth(place.width()));
            }
            widget = label;
            break;
        }
        case layout::Kind::Button: {
            // Enter and Esc press nothing in this window: outside a dialog a push button is
            // neither the default nor an auto-default one.
            auto *button = new QPushButton(caption, client);
            connect(button, &QPushButton::clicked, this,
                [this, command = c.command] { m_form.run(command); });
            if (c.command == form::Command::Go)
                m_go = button;
            widget = button;
            break;
        }
        case layout::Kind::TextBox:
            m_value = new ValueBox(client);
            // Typing stops at the limit; a paste past it is refused whole (ValueBox).
            m_value->setMaxLength(layout::ValueBoxLimit);
            m_value->setAccessibleName(toQString(layout::control("Label2").caption));
            connect(m_value, &ValueBox::clicked, this, [this] { m_form.valueClicked(); });
            connect(m_value, &QLineEdit::textEdited, this, [this] { m_form.valueEdited(); });
            widget = m_value;
            break;
        case layout::Kind::Popup:
            m_popup = new DetailPopup(client);
            m_popup->setText(caption);
            connect(m_popup, &ClickableLabel::clicked, this, [this] { m_form.popupClicked(); });
            widget = m_popup;
            break;
        case layout::Kind::CentredLabel:
        case layout::Kind::Picture:
            continue; // the About window's kinds
        }
        widget->setObjectName(toQString(c.name));
        widget->setGeometry(place);
        // The rest inherit the window's font.
        if (c.font != form::Font::Window)
            widget->setFont(appearance.font(c.font));
    }
}

void MainWindow::createFlagRows()
{
    QWidget *client = centralWidget();
    for (int i = 0; i < flags::FlagCount; ++i) {
        const QString description = toQString(flags::description(i));

        auto *box = new FlagBox(toQString(flags::caption(i)), client);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(pixelRect(
            { layout::FlagBoxLeft, layout::rowTop(i), layout::FlagBoxWidth, layout::RowHeight }));
        box->setAccessibleDescription(description);
        // Every change the user makes, whatever the route: a click and Space emit clicked, but
        // the accessible Toggle action only toggled. The form runs the flag-box step itself
        // after every box it sets, so those changes are not reported (setTicked()).
        connect(box, &QCheckBox::toggled, this, [this, i] {
            if (!m_formSetsBox)
                m_form.flagClicked(i);
        });
        m_flags[i] = box;

        // As wide as its text, so that a click beside the text is no click on the description,
        // and one row high whatever the font, so that a popup standing up from it ends level
        // with it.
        auto *label = new ClickableLabel(client);
        label->setObjectName(QStringLiteral("Label3_%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setText(description);
        // The text's advance is the width a size hint gives, without laying the text out:
        // twenty size hints were the largest single cost of building the window.
        label->setGeometry(px(layout::DescriptionLeft), px(layout::rowTop(i)),
            label->fontMetrics().horizontalAdvance(description), px(layout::RowHeight));
        connect(label, &ClickableLabel::clicked, this, [this, i] { m_form.descriptionClicked(i); });
    }
}

void MainWindow::buildTabOrder()
{
    QWidget *previous = nullptr;
    for (const layout::Slot &stop : layout::FocusOrder) {
        QWidget *widget = stop.what == layout::Slot::FlagBox
            ? m_flags[stop.index]
            : centralWidget()->findChild<QWidget *>(toQString(layout::Controls[stop.index].name));
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

bool MainWindow::isTicked(int index) const
{
    return m_flags[index]->isChecked();
}

void MainWindow::setTicked(int index, bool ticked)
{
    // The box still repaints and tells screen readers as usual; only the form is not told.
    const QScopedValueRollback<bool> formSetsBox(m_formSetsBox, true);
    m_flags[index]->setChecked(ticked);
}

std::string MainWindow::valueText() const
{
    return m_value->text().toStdString();
}

void MainWindow::setValueText(std::string_view text)
{
    m_value->setText(toQString(text));
}

void MainWindow::selectValueText(int start, int length)
{
    m_value->setSelection(start, length);
}

void MainWindow::focusValueBox()
{
    m_value->setFocus(Qt::OtherFocusReason);
}

void MainWindow::setGoEnabled(bool enabled)
{
    m_go->setEnabled(enabled);
}

void MainWindow::setClipboardText(std::string_view text)
{
    m_clipboard->setText(toQString(text));
}

void MainWindow::showMessage(std::string_view title, std::string_view text)
{
    QMessageBox message(
        QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok, this);
    message.setFont(font());
    message.exec();
}

void MainWindow::announce(std::string_view text)
{
    m_announcer->say(toQString(text));
}

void MainWindow::showPopup(std::string_view text, const twips::Rect &place, int /*flag*/)
{
    const QString shown = toQString(text);
    m_popup->showText(shown, pixelRect(place));
    // Screen readers read a tool tip that a key opened (F1), not one opened from the menu; and
    // the focus coming back from the closing menu is read after it. Said once the menu is
    // closed, the explanation comes after the focus.
    if (m_menuRuns)
        QTimer::singleShot(0, m_announcer, [this, shown] { m_announcer->say(shown); });
}

void MainWindow::hidePopup()
{
    m_popup->hide();
}

void MainWindow::openAbout()
{
    AboutWindow::open(windowIcon(), font());
}

void MainWindow::endProgram()
{
    emit endRequested();
}
