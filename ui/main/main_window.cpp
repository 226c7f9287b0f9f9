#include "ui/main/main_window.h"

#include "flags/flag_model.h"
#include "ui/about/about_window.h"
#include "ui/main/bitmap_strikes.h"
#include "ui/main/clickable_label.h"
#include "ui/main/flag_box.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/value_box.h"
#include "ui/tab_order.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using layout::px;

namespace {

// The title of the message box; the application's own name may differ (a test program).
const char *const ProgramTitle = "Orvanunk4";

constexpr double WindowPointSize = 8.25;
constexpr double ValueBoxPointSize = 9.75;

QString toQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixelRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// The font the layout was measured in, compiled in where the build found it: a bitmap font
// with strikes of 13, 16 and 20 pixels, registered one strike at a time so that Qt offers all
// three.
struct Strike
{
    int pixelSize;
    int ascent;
};

struct DesignFont
{
    QString family = QStringLiteral("MS Sans Serif");
    std::vector<Strike> strikes; // empty where the font is not compiled in
};

const DesignFont &designFont()
{
    static const DesignFont font = [] {
        DesignFont design;
        QFile file(QStringLiteral(":/main/fonts/ms_sans_serif.ttf"));
        if (!file.open(QIODevice::ReadOnly))
            return design;
        const QByteArray data = file.readAll();
        for (const BitmapStrike &strike : splitBitmapStrikes(data)) {
            const QStringList families = QFontDatabase::applicationFontFamilies(
                QFontDatabase::addApplicationFontFromData(strike.font));
            if (!families.isEmpty()) {
                design.family = families.first();
                design.strikes.push_back({ strike.pixelSize, strike.ascent });
            }
        }
        if (design.strikes.empty()) { // not split into strikes: as it is
            const QStringList families = QFontDatabase::applicationFontFamilies(
                QFontDatabase::addApplicationFontFromData(data));
            if (!families.isEmpty())
                design.family = families.first();
        }
        return design;
    }();
    return font;
}

// Sizes font for a point size. A bitmap font is sized as Windows sizes it, by its character
// height (the cell less its internal leading, which in this font is the ascent) in pixels at
// the layout's 96 dpi: 8.25 points ask for 11 and take the 13-pixel strike, 9.75 points ask
// for 13 and take the 16-pixel one. Qt would match the cell instead and take 13 for both, so
// the strike is chosen here and asked for by its pixel size.
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

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvan unk4 ver.2.2"));
    m_clipboardOncePerEvent = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    setWindowIcon(programIcon());
    // Fixed single border: title, system menu and close button, but no minimize or maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    createMenus();
    createControls();
    createFlagRows();
    // The popup lies above every label and takes the clicks that land on it.
    m_popup->raise();
    buildTabOrder();
    load();
}

void MainWindow::useDesignFont()
{
    // The check box of the classic Windows style is 13 pixels, like the flag rows; Fusion's is
    // 14 and overflows them.
    QApplication::setStyle(QStringLiteral("Windows"));

    const DesignFont &design = designFont();
    QFont font(design.family);
    font.setStyleHint(QFont::SansSerif); // where MS Sans Serif is missing: a plain sans-serif
    font.setWeight(QFont::Normal);
    setSize(font, WindowPointSize, design.strikes);

    // The strikes serve only screens with one device pixel per logical pixel: scaled, Qt
    // spaces the glyphs of one strike by the advances of another and the words fall apart.
    // There, and where the font is missing, a scalable sans-serif face takes over, sized so
    // that the widest description keeps its designed width.
    if (qApp->devicePixelRatio() != 1.0
        || QFontInfo(font).family() != QLatin1String("MS Sans Serif")) {
        font = QFont();
        font.setFamilies({ QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Sans Serif") });
        font.setStyleHint(QFont::SansSerif);
        font.setWeight(QFont::Normal);
        font.setPointSizeF(WindowPointSize);
        const int widest = std::max_element(std::begin(layout::DescriptionWidths),
                               std::end(layout::DescriptionWidths))
            - std::begin(layout::DescriptionWidths);
        const qreal designed = layout::DescriptionWidths[widest] / qreal(layout::TwipsPerPixel);
        const qreal actual
            = QFontMetricsF(font).horizontalAdvance(toQString(flags::description(widest)));
        if (actual > designed)
            font.setPointSizeF(WindowPointSize * designed / actual);
    }
    QApplication::setFont(font);
}

// The value box's font: the window font at 9.75 instead of 8.25 points.
QFont MainWindow::valueBoxFont()
{
    QFont font = QApplication::font();
    if (font.pixelSize() > 0)
        setSize(font, ValueBoxPointSize, designFont().strikes);
    else
        font.setPointSizeF(font.pointSizeF() * ValueBoxPointSize / WindowPointSize);
    return font;
}

QIcon MainWindow::programIcon()
{
    return QIcon(QStringLiteral(":/main/orvanunk4.png"));
}

void MainWindow::createMenus()
{
    // Keep the menu bar inside the window even where the desktop offers a global menu: the
    // client area is laid out below it.
    menuBar()->setNativeMenuBar(false);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exit, &QAction::triggered, this, &MainWindow::exitClicked);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction *fwo = help->addAction(QStringLiteral("&What is [FWO]?..."));
    fwo->setObjectName(QStringLiteral("mnuFWO"));
    connect(fwo, &QAction::triggered, this, &MainWindow::fwoClicked);
    help->addSeparator()->setObjectName(QStringLiteral("mnuSeparator"));
    QAction *about = help->addAction(QStringLiteral("&About Orvanunk4..."));
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(about, &QAction::triggered, this, &MainWindow::aboutClicked);
}

void MainWindow::createControls()
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
        QRect place = pixelRect(c.left, c.top, c.width, c.height);
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
            auto *button = new QPushButton(caption, client);
            // Enter and Esc press nothing in this window.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case layout::Kind::TextBox: {
            m_value = new ValueBox(client);
            m_value->setFont(valueBoxFont());
            m_value->setMaxLength(std::numeric_limits<int>::max());
            m_value->setAccessibleName(toQString(layout::control("Label2").caption));
            connect(m_value, &ValueBox::clicked, this, &MainWindow::valueClicked);
            widget = m_value;
            break;
        }
        case layout::Kind::Popup: {
            m_popup = new ClickableLabel(client);
            m_popup->setText(caption);
            m_popup->setFrameStyle(QFrame::Box | QFrame::Plain);
            m_popup->setLineWidth(1);
            // No indent beside the frame: the heights were designed for the full inner width.
            m_popup->setIndent(0);
            m_popup->setAutoFillBackground(true);
            m_popup->setBackgroundRole(QPalette::ToolTipBase);
            m_popup->setForegroundRole(QPalette::WindowText); // the labels' text colour
            m_popup->setWordWrap(true);
            m_popup->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Shown exactly as written: no character may turn the text into markup.
            m_popup->setTextFormat(Qt::PlainText);
            connect(m_popup, &ClickableLabel::clicked, this, &MainWindow::popupClicked);
            widget = m_popup;
            break;
        }
        }
        widget->setObjectName(toQString(c.name));
        widget->setGeometry(place);
    }

    m_cancel = client->findChild<QPushButton *>(QStringLiteral("cmdCancel"));
    m_go = client->findChild<QPushButton *>(QStringLiteral("cmdGo"));
    connect(m_go, &QPushButton::clicked, this, &MainWindow::goClicked);
    connect(m_cancel, &QPushButton::clicked, this, &MainWindow::cancelClicked);
}

void MainWindow::createFlagRows()
{
    QWidget *client = centralWidget();
    for (int i = 0; i < flags::FlagCount; ++i) {
        const QString description = toQString(flags::description(i));

        auto *box = new FlagBox(toQString(flags::caption(i)), client);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(pixelRect(
            layout::FlagBoxLeft, layout::rowTop(i), layout::FlagBoxWidth, layout::RowHeight));
        box->setAccessibleDescription(description);
        // toggled, not clicked: the total must follow every change, also those that GO and
        // the reset make with setChecked(), and at once, nested inside their loops.
        connect(box, &QCheckBox::toggled, this, [this, i] { flagClicked(i); });
        m_flags[i] = box;

        // As wide as its text, so that a click beside the text is no click on the description,
        // and one row high whatever the font, so that a popup standing up from it ends level
        // with it.
        auto *label = new ClickableLabel(client);
        label->setObjectName(QStringLiteral("Label3_%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setText(description);
        label->setGeometry(px(layout::DescriptionLeft), px(layout::rowTop(i)),
            label->sizeHint().width(), px(layout::RowHeight));
        connect(label, &ClickableLabel::clicked, this, [this, i] { descriptionClicked(i); });
        m_descriptions[i] = label;
    }
}

void MainWindow::buildTabOrder()
{
    std::vector<std::pair<int, QWidget *>> order;
    for (const layout::Control &c : layout::Controls)
        order.emplace_back(layout::tabAfterLoad(c.name, c.tab),
            centralWidget()->findChild<QWidget *>(toQString(c.name)));
    for (int i = 0; i < flags::FlagCount; ++i)
        order.emplace_back(layout::tabAfterLoad("Check1", layout::FlagBoxTabBase + i), m_flags[i]);
    setTabOrderByIndex(std::move(order));
}

void MainWindow::load()
{
    m_value->setText(QString::number(0));
    // The tab order already puts the value box first (buildTabOrder).
    m_value->setSelection(0, static_cast<int>(m_value->text().size()));
    m_popup->hide();
    m_value->setFocus();
}

// Reset: every left click on the value box, after it has placed the caret.
void MainWindow::valueClicked()
{
    m_go->setEnabled(true);
    for (QCheckBox *box : m_flags)
        box->setChecked(false);
    m_value->setText(QStringLiteral("0"));
    m_value->setSelection(0, static_cast<int>(m_value->text().size()));
}

void MainWindow::goClicked()
{
    // Each untick rewrites the value box, so with boxes ticked it reads "0" afterwards.
    for (QCheckBox *box : m_flags)
        box->setChecked(false);

    const QByteArray text = m_value->text().toUtf8();
    const flags::Decomposition split = flags::decompose(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    // Highest flag first; each tick runs flagClicked() before the next.
    for (int index : split.ticks)
        m_flags[index]->setChecked(true);

    if (!flags::isValid(split)) {
        QMessageBox message(QMessageBox::NoIcon, QString::fromLatin1(ProgramTitle),
            toQString(flags::InvalidValueMessage), QMessageBox::Ok, this);
        message.exec();
    }
    m_go->setEnabled(false);
}

// The same for every box: the running total of all ticked boxes, into the value box and onto
// the clipboard.
void MainWindow::flagClicked(int /*index*/)
{
    flags::FlagSet ticked {};
    for (int k = 0; k < flags::FlagCount; ++k)
        ticked[k] = m_flags[k]->isChecked();
    m_value->setText(QString::fromStdString(flags::runningTotal(ticked)));
    // Plain text on the CLIPBOARD selection. Should another program hold the clipboard, the
    // write is lost and the previous content stays; there is nothing to report.
    if (!m_clipboardOncePerEvent) {
        QGuiApplication::clipboard()->setText(m_value->text(), QClipboard::Clipboard);
        return;
    }
    // A Wayland compositor may take one clipboard offer per input event: weston ignores a
    // second one with the same event serial, while Qt has already withdrawn the first, so GO's
    // several ticks would leave the clipboard empty. There the event's last total goes out
    // once, when control is back in the event loop.
    if (m_clipboardPending)
        return;
    m_clipboardPending = true;
    QTimer::singleShot(0, this, [this] {
        m_clipboardPending = false;
        QGuiApplication::clipboard()->setText(m_value->text(), QClipboard::Clipboard);
    });
}

void MainWindow::cancelClicked()
{
    endProgram();
}

void MainWindow::exitClicked()
{
    endProgram();
}

void MainWindow::endProgram()
{
    // Close every window (the About window destroys itself on close), then leave the event
    // loop. main() then returns normally, so QClipboard's destructor can hand the last total
    // to the desktop's clipboard manager.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::descriptionClicked(int index)
{
    showPopup(QString::fromStdString(flags::detailText(index)), layout::PopupLeft,
        layout::popupTop(index), layout::PopupWidth, layout::PopupHeights[index]);
}

void MainWindow::popupClicked()
{
    m_popup->hide();
}

void MainWindow::fwoClicked()
{
    const layout::Rect r = layout::FwoPopup;
    showPopup(toQString(flags::fwoNote()), r.left, r.top, r.width, r.height);
}

void MainWindow::aboutClicked()
{
    AboutWindow::open(windowIcon());
}

// Refills and moves the one popup; it never sizes itself to the text, which it wraps within its
// width and clips at its lower edge. The text keeps its CR LF breaks and runs of spaces.
void MainWindow::showPopup(const QString &text, int left, int top, int width, int height)
{
    m_popup->setText(text);
    m_popup->setGeometry(pixelRect(left, top, width, height));
    m_popup->show();
}
