#include "ui/main/appearance.h"

#include "flags/flag_model.h"
#include "form/main_form_layout.h"
#include "ui/main/images/orvanunk4_xpm.h"
#include "ui/to_qstring.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPixmap>
#include <QStyleFactory>

#ifdef ORVAN_DESIGN_FONT_STRIKES
#include "ui/main/fonts/design_font_strikes.h" // written by the build
#endif

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr form::FontSpec WindowFont = form::fontSpec(form::Font::Window);
constexpr form::FontSpec ValueBoxFont = form::fontSpec(form::Font::ValueBox);

// The font the layout was measured in, compiled in where the build found it: a bitmap font
// whose strikes of 13, 16 and 20 pixels the build wrote as fonts of their own, so that Qt
// offers all three, with a table of their sizes.
struct Strike
{
    int pixelSize;
    int ascent;
};

struct DesignFont
{
    QString family = toQString(WindowFont.face);
    std::vector<Strike> strikes; // empty where the font is not compiled in
};

DesignFont registerDesignFont()
{
    DesignFont design;
#ifdef ORVAN_DESIGN_FONT_STRIKES
    for (const auto &strike : DesignFontStrikes) {
        const QString file
            = QStringLiteral(":/main/fonts/ms_sans_serif_%1.ttf").arg(strike.pixelSize);
        const QStringList families
            = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
        if (families.isEmpty())
            continue;
        design.family = families.first();
        design.strikes.push_back({ strike.pixelSize, strike.ascent });
    }
#endif
    return design;
}

// Sizes font for a point size. A bitmap font is sized as Windows sizes it, by its character
// height (the cell less its internal leading, which in this font is the ascent) in pixels at
// the layout's 96 dpi: the window's 8.25 points ask for 11 and take the 13-pixel strike, the
// value box's 9.75 ask for 13 and take the 16-pixel one. Qt would match the cell instead and
// take 13 for both, so the strike is chosen here and asked for by its pixel size.
void setSize(QFont &font, double points, const std::vector<Strike> &strikes)
{
    if (strikes.empty()) {
        font.setPointSizeF(points);
        return;
    }
    const double wanted = points * twips::TwipsPerPoint / twips::TwipsPerPixel;
    const auto miss = [wanted](const Strike &strike) { return std::abs(strike.ascent - wanted); };
    const auto nearest = std::min_element(strikes.begin(), strikes.end(),
        [&](const Strike &a, const Strike &b) { return miss(a) < miss(b); });
    font.setPixelSize(nearest->pixelSize);
}

} // namespace

Appearance::Appearance(const QString &style)
{
    QApplication::setStyle(styleName(style));

    const DesignFont design = registerDesignFont();
    QFont font(design.family);
    font.setStyleHint(QFont::SansSerif); // where MS Sans Serif is missing: a plain sans-serif
    font.setWeight(QFont::Normal);
    setSize(font, WindowFont.points, design.strikes);

    // The strikes serve only screens with one device pixel per logical pixel: scaled, Qt
    // spaces the glyphs of one strike by the advances of another and the words fall apart.
    // There, and where the font is missing, a scalable sans-serif face takes over, sized so
    // that the widest description keeps its designed width.
    const bool strikes
        = qApp->devicePixelRatio() == 1.0 && QFontInfo(font).family() == toQString(WindowFont.face);
    if (!strikes) {
        font = QFont();
        font.setFamilies({ QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Sans Serif") });
        font.setStyleHint(QFont::SansSerif);
        font.setWeight(QFont::Normal);
        font.setPointSizeF(WindowFont.points);
        const auto *widths = std::begin(layout::DescriptionWidths);
        const int widest = std::max_element(widths, std::end(layout::DescriptionWidths)) - widths;
        const qreal designed = widths[widest] / qreal(layout::TwipsPerPixel);
        const std::string_view text = flags::description(widest);
        const qreal actual = QFontMetricsF(font).horizontalAdvance(toQString(text));
        if (actual > designed)
            font.setPointSizeF(WindowFont.points * designed / actual);
    }
    m_windowFont = font;
    QApplication::setFont(font);

    m_valueBoxFont = font;
    if (strikes)
        setSize(m_valueBoxFont, ValueBoxFont.points, design.strikes);
    else
        m_valueBoxFont.setPointSizeF(font.pointSizeF() * ValueBoxFont.points / WindowFont.points);
}

QString Appearance::styleName(const QString &asked)
{
    const QStringList known = QStyleFactory::keys();
    for (const QString &name : { asked, qEnvironmentVariable("QT_STYLE_OVERRIDE") }) {
        if (!name.isEmpty() && known.contains(name, Qt::CaseInsensitive))
            return name;
    }
    // The check box of the classic Windows style is 13 pixels, like the flag rows; Fusion's is
    // 14 and overflows them by a pixel, which a user who picks Fusion accepts.
    return QStringLiteral("Windows");
}

QIcon Appearance::programIcon()
{
    // From XPM data rather than the PNG: reading a PNG sets up Qt's image plugins first, the
    // largest single cost of building the main window.
    return QIcon(QPixmap::fromImage(QImage(ProgramIconXpm)));
}
