// What a keystroke costs in the value box, when it holds 100 digits and when it holds 4,000
// (near the 4,096 it takes): the value box in the main window beside a plain QLineEdit in the same
// font, each alone in the foreground. A keystroke is a digit typed at the end of the text, sent to
// the window as the platform would send it, with the repaint it causes. Run it on the platform to
// measure (offscreen, or xcb on an X server); it prints figures and checks nothing.
//
// The figure is keystrokes per second of this process's CPU time, the median of batches of
// 20 keystrokes, each batch starting again from the full length so that the text grows by no
// more than 20 digits.

#include "ui/main/appearance.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int BatchKeys = 20;
constexpr double MinimumSeconds = 1.0; // of CPU time per case
constexpr int MinimumBatches = 7;

// Keystrokes per CPU second while box, in window, holds digits digits.
double keystrokesPerSecond(QWidget *window, QLineEdit *box, int digits)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        std::fprintf(stderr, "%s is not the active window\n", qPrintable(window->windowTitle()));
    box->setFocus();
    const QString text(digits, QLatin1Char('7'));
    std::vector<double> rates;
    double total = 0;
    while (total < MinimumSeconds || rates.size() < MinimumBatches) {
        box->setText(text);
        box->end(false);
        QCoreApplication::processEvents();
        const std::clock_t start = std::clock();
        for (int k = 0; k < BatchKeys; ++k) {
            QTest::keyClick(window->windowHandle(), '1');
            QCoreApplication::processEvents();
        }
        const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
        total += seconds;
        rates.push_back(BatchKeys / std::max(seconds, 1e-6));
    }
    if (box->text().size() != digits + BatchKeys)
        std::fprintf(stderr, "the box did not take the keys: %lld digits\n",
            static_cast<long long>(box->text().size()));
    std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
    return rates[rates.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const Appearance appearance;
    MainWindow window(appearance);
    window.show();
    auto *value = window.findChild<QLineEdit *>(QStringLiteral("Text1"));

    QWidget plainWindow;
    plainWindow.setWindowTitle(QStringLiteral("plain QLineEdit"));
    auto *plain = new QLineEdit(&plainWindow);
    plain->setFont(appearance.font(form::Font::ValueBox));
    plain->setGeometry(value->geometry());
    plainWindow.resize(window.size());
    plainWindow.show();

    // The same at the same pixel size in the system's scalable sans-serif face.
    QWidget scalableWindow;
    scalableWindow.setWindowTitle(QStringLiteral("scalable QLineEdit"));
    auto *scalable = new QLineEdit(&scalableWindow);
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    sans.setPixelSize(value->font().pixelSize() > 0 ? value->font().pixelSize() : 16);
    scalable->setFont(sans);
    scalable->setGeometry(value->geometry());
    scalableWindow.resize(window.size());
    scalableWindow.show();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowExposed(&plainWindow)
        || !QTest::qWaitForWindowExposed(&scalableWindow))
        return 1;

    std::printf("%s platform; value box font %s %d px, scalable face %s\n\n",
        qPrintable(QGuiApplication::platformName()), qPrintable(QFontInfo(value->font()).family()),
        QFontInfo(value->font()).pixelSize(), qPrintable(QFontInfo(sans).family()));
    std::printf("| box | 100 digits, keys/s | 4,000 digits, keys/s | ratio |\n");
    std::printf("|---|---:|---:|---:|\n");
    const struct
    {
        const char *name;
        QWidget *window;
        QLineEdit *box;
    } cases[] = {
        { "value box in the main window", &window, value },
        { "plain QLineEdit, same font", &plainWindow, plain },
        { "plain QLineEdit, scalable sans-serif", &scalableWindow, scalable },
    };
    for (const auto &c : cases) {
        const double few = keystrokesPerSecond(c.window, c.box, 100);
        const double many = keystrokesPerSecond(c.window, c.box, 4000);
        std::printf("| %s | %.0f | %.0f | %.1f |\n", c.name, few, many, few / many);
        std::fflush(stdout);
    }
    return 0;
}
