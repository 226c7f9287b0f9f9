#pragma once

// The main window, Form1: the value box, GO, the twenty flag rows and the detail popup.
//
// The window is built in code from the twips table of main_window_layout.h. All state lives in
// the controls: the value box text, the twenty box states, GO's enabled state and the popup.
// The handlers talk to each other only through those controls: GO and the value-box reset set
// the boxes, and every change of a box runs flagClicked() at once (it is connected to toggled,
// which fires on setChecked too), which writes the running total into the value box and onto
// the clipboard. The flag model (flags/flag_model.h) does the arithmetic and holds the texts.

#include "flags/flag_model.h"

#include <QIcon>
#include <QMainWindow>

#include <array>

class QCheckBox;
class QPushButton;
class ClickableLabel;
class ValueBox;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Makes the font the layout was measured in (8.25-point MS Sans Serif, compiled in where
    // the build found it) the application font, with the classic Windows style whose 13-pixel
    // check box fits the flag rows. Call once, after creating the application and before any
    // window.
    static void useDesignFont();

    // The value box's font, derived from the application font.
    static QFont valueBoxFont();

    // The program icon, shown in both windows' title bars and in the About window.
    static QIcon programIcon();

private slots:
    void valueClicked();
    void goClicked();
    void flagClicked(int index);
    void cancelClicked();
    void exitClicked();
    void descriptionClicked(int index);
    void popupClicked();
    void fwoClicked();
    void aboutClicked();

private:
    void createControls();
    void createFlagRows();
    void createMenus();
    void buildTabOrder();
    void load();
    static void endProgram();
    void showPopup(const QString &text, int left, int top, int width, int height);

    QPushButton *m_cancel = nullptr;
    ValueBox *m_value = nullptr;
    QPushButton *m_go = nullptr;
    std::array<QCheckBox *, flags::FlagCount> m_flags {};
    std::array<ClickableLabel *, flags::FlagCount> m_descriptions {};
    ClickableLabel *m_popup = nullptr;
    // On Wayland the clipboard gets the total once per event (see flagClicked()).
    bool m_clipboardOncePerEvent = false;
    bool m_clipboardPending = false;
};
