#pragma once

// How the program looks, decided once at start-up: the widget style, the font the layout was
// measured in (8.25-point MS Sans Serif, compiled in) and the program icon.
//
// Create one Appearance after the QApplication and before any window; the windows take it in
// their constructors, so no window can be built before the fonts are settled.

#include <QFont>
#include <QIcon>

#include <vector>

class Appearance
{
public:
    // Sets the style and makes the window font the application font.
    Appearance();

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
