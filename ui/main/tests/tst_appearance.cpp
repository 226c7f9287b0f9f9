// The program under other people's themes: the widget style the user asks for, a desktop that
// changes the application font after start-up (as qt6ct does), and the colour schemes qt6ct
// ships, light and dark, applied before and after the windows are built.

#include "form/contrast.h"
#include "ui/about/about_window.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QtTest>

namespace {

const QString SchemeFolder = QStringLiteral("/usr/share/qt6ct/colors");

// A qt6ct colour scheme: three lists of colours in QPalette's role order.
QPalette schemePalette(const QString &file)
{
    QSettings scheme(file, QSettings::IniFormat);
    QPalette palette;
    const std::pair<const char *, QPalette::ColorGroup> groups[] = {
        { "ColorScheme/active_colors", QPalette::Active },
        { "ColorScheme/inactive_colors", QPalette::Inactive },
        { "ColorScheme/disabled_colors", QPalette::Disabled },
    };
    for (const auto &[key, group] : groups) {
        const QStringList colours = scheme.value(QLatin1String(key)).toStringList();
        for (int role = 0; role < colours.size() && role < QPalette::NColorRoles; ++role)
            palette.setColor(group, QPalette::ColorRole(role), QColor(colours[role].trimmed()));
    }
    return palette;
}

// The label's text colour and how well it reads on the label's background.
QString textColour(const QWidget *label)
{
    return label->palette().color(QPalette::Active, label->foregroundRole()).name();
}
double textContrast(const QWidget *label)
{
    const QColor a = label->palette().color(QPalette::Active, label->foregroundRole());
    const QColor b = label->palette().color(QPalette::Active, label->backgroundRole());
    return contrast::ratio({ a.red(), a.green(), a.blue() }, { b.red(), b.green(), b.blue() });
}

using window_test::child;

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void style_data();
    void style();
    void fontsStay();
    void schemes_data();
    void schemes();

private:
    std::unique_ptr<Appearance> m_appearance;
    QPalette m_startPalette;
    QFont m_startFont;
};

void TestAppearance::initTestCase()
{
    window_test::quietPlatformChatter();
    m_appearance = std::make_unique<Appearance>();
    m_startPalette = QApplication::palette();
    m_startFont = QApplication::font();
}

void TestAppearance::cleanup()
{
    delete window_test::aboutWindow();
    QApplication::setPalette(m_startPalette);
    QApplication::setFont(m_startFont);
    qunsetenv("QT_STYLE_OVERRIDE");
}

void TestAppearance::style_data()
{
    QTest::addColumn<QString>("asked");    // with -style
    QTest::addColumn<QByteArray>("inEnv"); // in QT_STYLE_OVERRIDE
    QTest::addColumn<QString>("style");
    QTest::newRow("nothing asked: Windows") << "" << QByteArray() << "windows";
    QTest::newRow("-style Fusion") << "Fusion" << QByteArray() << "fusion";
    QTest::newRow("-style fusion, any case") << "fusion" << QByteArray() << "fusion";
    QTest::newRow("QT_STYLE_OVERRIDE=Fusion") << "" << QByteArray("Fusion") << "fusion";
    QTest::newRow("-style beats QT_STYLE_OVERRIDE")
        << "Windows" << QByteArray("Fusion") << "windows";
    QTest::newRow("-style of no such style: Windows") << "Motif" << QByteArray() << "windows";
    QTest::newRow("QT_STYLE_OVERRIDE of no such style: Windows")
        << "" << QByteArray("Motif") << "windows";
}

// A style the user asks for wins over the designed one, where Qt has it.
void TestAppearance::style()
{
    QFETCH(QString, asked);
    QFETCH(QByteArray, inEnv);
    QFETCH(QString, style);
    if (!inEnv.isNull())
        qputenv("QT_STYLE_OVERRIDE", inEnv);
    const Appearance appearance(asked);
    QCOMPARE(QApplication::style()->name(), style);
    MainWindow window(appearance);
    QCOMPARE(window.style()->name(), style);
}

// A platform theme that sets a 9-point application font once the program runs changes no
// control of either window, nor a menu: every text keeps the design font and its room.
void TestAppearance::fontsStay()
{
    MainWindow window(*m_appearance);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    AboutWindow *about = AboutWindow::open(QIcon(), window.font());
    QVERIFY(QTest::qWaitForWindowExposed(about));

    QWidgetList controls = window.findChildren<QWidget *>() + about->findChildren<QWidget *>();
    controls << &window << about;
    QHash<QWidget *, QString> before;
    for (QWidget *w : controls)
        before[w]
            = QFontInfo(w->font()).family() + QString::number(QFontInfo(w->font()).pixelSize());

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QCoreApplication::processEvents();
    QVERIFY(QFontInfo(QApplication::font()).pointSize() == 9); // the change took

    for (QWidget *w : controls) {
        const QString name = w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
        QCOMPARE(QFontInfo(w->font()).family() + QString::number(QFontInfo(w->font()).pixelSize()),
            before[w]);
        auto *label = qobject_cast<QLabel *>(w);
        if (label && !label->wordWrap() && !label->text().isEmpty())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                qPrintable(name));
    }
    QCOMPARE(child<QMenu>(&window, "mnuHelp")->font(), window.font());
    const auto *wrapped = child<QLabel>(about, "lblDescription");
    QVERIFY(wrapped->heightForWidth(wrapped->width()) <= wrapped->height());
}

void TestAppearance::schemes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("popupText"); // the text colour each must get, where known
    QTest::addColumn<QString>("aboutText");

    const QStringList files = QDir(SchemeFolder).entryList({ "*.conf" }, QDir::Files);
    if (files.isEmpty()) {
        if (qgetenv("CI") == "true")
            QFAIL("no qt6ct colour schemes (scripts/deps.sh test installs qt6ct)");
        QSKIP("no qt6ct colour schemes: apt-get install qt6ct");
    }
    // The design's colours (window text on the tooltip background, black on the window) where
    // they read; else the theme's text colour; else black or white. Worked out by hand from
    // Debian's qt6ct 0.7 schemes; others are checked for contrast only.
    const QHash<QString, QPair<QString, QString>> known = {
        { "airy", { "#ffffff", "#000000" } },   // black on grey #646464 tooltips; theme black too
        { "darker", { "#ffffff", "#ffffff" } }, // black on a #222020 window: the theme's white
        { "dusk", { "#000000", "#000000" } },   // black on mid grey #7f7f7f, 5.2:1
        { "ia_ora", { "#000000", "#000000" } },
        { "sand", { "#ffffff", "#000000" } }, // black tooltip text on #3f3f36, theme black too
        { "simple", { "#000000", "#000000" } },
        { "waves", { "#b0b0b0", "#b0b0b0" } }, // black on navy #010b2c: the theme's grey
    };
    for (const QString &file : files) {
        const QString scheme = QFileInfo(file).baseName();
        const auto expected = known.value(scheme);
        QTest::newRow(qPrintable(scheme))
            << SchemeFolder + '/' + file << expected.first << expected.second;
    }
}

// Under every scheme, light or dark, switched to at run time or in force when the windows are
// built, the explanation and the About text read at 4.5:1 or better, on the scheme's own
// backgrounds.
void TestAppearance::schemes()
{
    QFETCH(QString, file);
    QFETCH(QString, popupText);
    QFETCH(QString, aboutText);
    const QPalette scheme = schemePalette(file);

    MainWindow window(*m_appearance);
    auto *popup = child<QLabel>(&window, "Label1");
    for (bool switched : { true, false }) {
        // First the windows built in the light default and the scheme switched to; then the
        // About window built again under it.
        if (switched)
            QApplication::setPalette(scheme);
        delete window_test::aboutWindow();
        auto *about = child<QLabel>(AboutWindow::open(QIcon(), window.font()), "lblDescription");
        if (!switched)
            QApplication::setPalette(scheme); // the About window is built, nothing changes
        QCoreApplication::processEvents();

        QCOMPARE(
            popup->palette().color(popup->backgroundRole()), scheme.color(QPalette::ToolTipBase));
        QCOMPARE(about->palette().color(QPalette::Window), scheme.color(QPalette::Window));
        for (const QLabel *label : { popup, about })
            QVERIFY2(textContrast(label) >= contrast::Legible,
                qPrintable(QString::number(textContrast(label)) + " on " + label->objectName()));
        if (!popupText.isEmpty()) {
            QCOMPARE(textColour(popup), popupText);
            QCOMPARE(textColour(about), aboutText);
        }
    }

    // And back to the light default: the design's own colours again.
    QApplication::setPalette(m_startPalette);
    QCoreApplication::processEvents();
    QCOMPARE(textColour(popup), m_startPalette.color(QPalette::WindowText).name());
    QCOMPARE(textColour(child<QLabel>(window_test::aboutWindow(), "lblDescription")),
        QStringLiteral("#000000"));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
