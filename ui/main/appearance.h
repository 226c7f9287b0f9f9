#pragma once

// How the program looks, decided once at start-up: the widget style (the classic Windows style
// unless the user asks for another), the fonts the layout was measured in (form::fontSpec: MS
// Sans Serif, compiled in) and the program icon.
//
// Create one Appearance after the QApplication and before any window; the windows take it in
// their constructors, so no window can be built before the fonts are settled.

#include "form/control_table.h"

#include <QFont>
#include <QIcon>

class Appearance
{
public:
    // Sets the style and makes the window font the application font. `style` is the style
    // asked for with Qt's -style option, read before QApplication takes it out of argv.
    explicit Appearance(const QString &style = QString());

    // The widget style to use: the one asked for on the command line, else the one in
    // QT_STYLE_OVERRIDE, where Qt has such a style; else "Windows", the style the layout was
    // designed in.
    static QString styleName(const QString &asked);

    // The font a control's table row asks for: the window's, or the value box's.
    QFont font(form::Font which) const
    {
        return which == form::Font::ValueBox ? m_valueBoxFont : m_windowFont;
    }

    // The program icon, shown in both windows' title bars and in the About window.
    static QIcon programIcon();

private:
    QFont m_windowFont;
    QFont m_valueBoxFont;
};
