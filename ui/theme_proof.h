#pragma once

// What keeps both windows as designed under any desktop theme. A platform theme (qt6ct, a
// desktop's settings daemon) may set the application font after start-up and may bring any
// palette, light or dark; the windows pin their font and choose their text colours by contrast.

#include "form/contrast.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

// Gives the window the font for good: every property set, so that none of them follows a later
// change of the application font, and its controls inherit it whole.
inline void pinFont(QWidget *window, QFont font)
{
    font.setResolveMask(QFont::AllPropertiesResolved);
    window->setFont(font);
}

// Colours the label's text (its foreground role) in each colour group: as `wanted` colours it
// where that reads on the theme's background role (WCAG's 4.5:1), else in the theme's own text
// colour for that background, else in black or white. Call it again when the theme changes.
inline void setLegibleText(QWidget *label, const QPalette &wanted, const QPalette &theme,
    QPalette::ColorRole themeText, QPalette::ColorRole background)
{
    const auto rgb = [](const QColor &c) { return contrast::Rgb { c.red(), c.green(), c.blue() }; };
    QPalette palette = label->palette();
    for (QPalette::ColorGroup group :
        { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        const contrast::Rgb chosen
            = contrast::legibleText(rgb(wanted.color(group, label->foregroundRole())),
                rgb(theme.color(group, themeText)), rgb(theme.color(group, background)));
        palette.setColor(
            group, label->foregroundRole(), QColor(chosen.red, chosen.green, chosen.blue));
    }
    label->setPalette(palette);
}
