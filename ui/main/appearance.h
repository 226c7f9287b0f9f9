#pragma once

// How the program looks, decided once at start-up: the widget style (the classic Windows style
// unless the user asks for another), the font the layout was measured in (8.25-point MS Sans
// Serif, compiled in) and the program icon.
//
// Create one Appearance after the QApplication and before any window; the windows take it in
// their constructors, so no window can be built before the fonts are settled.

#include <QFont>
#include <QIcon>

#include <vector>

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

    // 8.25 points, for the windows and every control but the value box.
    QFont windowFont() const { return m_windowFont; }
    // 9.75 points, for the value box.
    QFont valueBoxFont() const { return m_valueBoxFont; }

    // The program icon, shown in both windows' title bars and in the About window.
    static QIcon programIcon();

private:
    QFont m_windowFont;
    QFont m_valueBoxFont;
};
