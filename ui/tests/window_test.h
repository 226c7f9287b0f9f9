#pragma once

// What the window tests share: quiet platform chatter, controls and windows found by their
// names, a designed place in pixels, pictures to compare, and the driver that plays the
// behaviour table's actions on the main window.

#include "flags/flag_model.h"
#include "form/main_form_layout.h"
#include "form/tests/behaviour.h"
#include "form/twips.h"
#include "ui/to_qstring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest>

namespace window_test {

// The offscreen platform reports each window feature it lacks (size hints, raise, keyboard
// grab) every time; those lines would bury the ones that matter. Drops them, passes the rest.
inline void quietPlatformChatter()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, text);
        });
}

// The control of that object name under parent; a missing one ends the test program, since
// every check after it would be meaningless.
template <typename T = QWidget> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A place designed in twips, in the pixels a window of the design's 96 dpi has.
inline QRect pixels(const twips::Rect &r)
{
    return QRect(twips::px(r.left), twips::px(r.top), twips::px(r.width), twips::px(r.height));
}

// Pictures compared pixel for pixel: an image, an icon at a size, a control as drawn.
inline QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}
inline QImage rgb(const QIcon &icon, int size)
{
    return rgb(icon.pixmap(QSize(size, size)).toImage());
}
inline QImage rgb(QWidget *widget)
{
    return rgb(widget->grab().toImage());
}

// The About windows while they exist, or only those shown: the top-level windows named frmAbout.
inline QWidgetList aboutWindows(bool shownOnly = false)
{
    QWidgetList found = QApplication::topLevelWidgets();
    found.removeIf([shownOnly](const QWidget *window) {
        return window->objectName() != QLatin1String("frmAbout")
            || (shownOnly && !window->isVisible());
    });
    return found;
}

// The About window while it exists; else nullptr.
inline QWidget *aboutWindow()
{
    return aboutWindows().value(0);
}

// Plays the behaviour table's actions on a main window as a user gives them: a click lands on
// the window where the control lies (what lies on top there takes it), keys go to whatever has
// the focus, the clipboard is the real one, and the message box is answered with its OK once it
// shows. Keys carry the characters X11 gives them (Delete its DEL), but a chord with Ctrl none,
// as some platforms send it, so that only the value box's command check can stop it. Two more
// verbs: middleclick NAME, and undo (the value box's context menu's Undo). Puts the text "start"
// on the clipboard and shows the window, activated (no window manager does it on a bare server).
class Driver
{
public:
    explicit Driver(QMainWindow *window)
        : m_window(window)
    {
        QGuiApplication::clipboard()->setText(QString::fromStdString(behaviour::StartClipboard));
        m_watcher.setInterval(5);
        QObject::connect(&m_watcher, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            ++messages;
            limitShown = box->windowTitle() == "Orvanunk4"
                && box->text() == toQString(flags::InvalidValueMessage)
                && box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1;
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        m_watcher.start();
        window->show();
        window->activateWindow();
    }

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return window_test::child<T>(m_window, name);
    }
    QList<int> ticked() const
    {
        QList<int> list;
        for (int i = 0; i < flags::FlagCount; ++i)
            if (child<QAbstractButton>(QStringLiteral("Check1_%1").arg(i))->isChecked())
                list << i;
        return list;
    }

    // Opens the value box's context menu with a right click, chooses the entry of that text if
    // any, and returns the entries as shown.
    QStringList contextMenu(const QString &choice)
    {
        play({ "rightclick", "Text1" });
        QStringList shown;
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *action : menu->actions()) {
                shown << action->text();
                if (action->text() == choice)
                    action->trigger();
            }
            menu->close();
        }
        return shown;
    }

    void play(const behaviour::Action &action)
    {
        const QString text = QString::fromStdString(action.text);
        QWindow *window = m_window->windowHandle();
        const auto at = [&] { return child(text)->mapTo(m_window, child(text)->rect().center()); };
        if (action.verb == "click" || action.verb == "rightclick" || action.verb == "middleclick") {
            const Qt::MouseButton button = action.verb == "click" ? Qt::LeftButton
                : action.verb == "rightclick"                     ? Qt::RightButton
                                                                  : Qt::MiddleButton;
            QTest::mouseClick(window, button, {}, at());
        } else if (action.verb == "doubleclick") {
            QTest::mouseDClick(window, Qt::LeftButton, {}, at());
        } else if (action.verb == "type") {
            for (QChar c : text) { // a character without a key of its own comes as X11 gives it
                if (c > ' ' && c < QChar(127))
                    QTest::keyClick(window, c.toLatin1());
                else
                    QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(c), {});
            }
        } else if (action.verb == "key") {
            const QKeySequence chord(text == "Escape" ? QStringLiteral("Esc") : text);
            QVERIFY2(chord.count() == 1, qPrintable(text));
            const Qt::Key key = chord[0].key();
            const Qt::KeyboardModifiers mods = chord[0].keyboardModifiers();
            const char character = mods & Qt::ControlModifier ? '\0'
                : key == Qt::Key_Delete                       ? '\x7f'
                                                              : QTest::keyToAscii(key);
            for (int n = 0; n < action.times; ++n)
                QTest::sendKeyEvent(QTest::Click, window, key, character, mods);
        } else if (action.verb == "menu") {
            // The entry's access key, and its menu's: the last menu before it in the bar.
            const auto accessKey = [](std::string_view caption) {
                return Qt::Key(QChar(caption[caption.find('&') + 1]).toUpper().unicode());
            };
            Qt::Key menu = Qt::Key_unknown;
            for (const layout::MenuEntry &entry : layout::Menus) {
                if (entry.kind == layout::MenuKind::Menu) {
                    menu = accessKey(entry.caption);
                } else if (entry.name == action.text) {
                    QTest::keyClick(window, menu, Qt::AltModifier);
                    QTRY_VERIFY(QApplication::activePopupWidget());
                    QTest::keyClick(QApplication::activePopupWidget(), accessKey(entry.caption));
                }
            }
        } else if (action.verb == "copy") {
            QGuiApplication::clipboard()->setText(text);
        } else if (action.verb == "paste" || action.verb == "undo") {
            contextMenu(
                action.verb == "paste" ? QStringLiteral("&Paste") : QStringLiteral("&Undo"));
        } else if (action.verb == "insert") {
            QInputMethodEvent event;
            event.setCommitString(text);
            QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);
        } else {
            QFAIL(qPrintable("no such action: " + QString::fromStdString(action.verb)));
        }
    }

    bool limitShown = false; // the last message box was the limit message
    int messages = 0;

private:
    QMainWindow *m_window;
    QTimer m_watcher;
};

} // namespace window_test
