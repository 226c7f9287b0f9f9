#pragma once

// The main window, Form1: the value box, GO, the twenty flag rows and the detail popup.
//
// The window is a view of the toolkit-free form (form/main_form.h), which holds the behaviour:
// it is built from the twips table of form/main_form_layout.h, forwards each of the user's
// actions to the form and shows what the form sets. All state lives in the controls. The boxes
// report only the user's own changes, by whatever route: when GO or the reset sets a box, the
// form runs the flag-box step itself.
//
// The keyboard reaches the form too: F1 asks for the focused flag's explanation, Esc closes it,
// and each move of the focus inside the window is reported. The window keeps its design font
// when the desktop changes the application font, and picks its texts' colours by contrast with
// the palette, again whenever the palette changes.

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_view.h"

#include <QMainWindow>

#include <array>

class Announcer;
class Appearance;
class Clipboard;
class DetailPopup;
class QCheckBox;
class QPushButton;
class QWidget;
class ValueBox;

class MainWindow : public QMainWindow, private form::MainView
{
    Q_OBJECT

public:
    explicit MainWindow(const Appearance &appearance, QWidget *parent = nullptr);
    ~MainWindow() override;

signals:
    // Cancel or File > Exit: the program is to end at once, closing every window of it. The
    // program's entry does that (app/), as it does for the signals that end it.
    void endRequested();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createShortcuts();
    void createMenus();
    void createControls(const Appearance &appearance);
    void createFlagRows();
    void buildTabOrder();
    void focusChanged(QWidget *old, QWidget *now);
    // The flag box's index, or -1 for any other widget.
    int flagIndex(const QWidget *widget) const;
    void colourTexts();

    // form::MainView
    bool isTicked(int index) const override;
    void setTicked(int index, bool ticked) override;
    std::string valueText() const override;
    void setValueText(std::string_view text) override;
    void selectValueText(int start, int length) override;
    void focusValueBox() override;
    void setGoEnabled(bool enabled) override;
    void setClipboardText(std::string_view text) override;
    void showMessage(std::string_view title, std::string_view text) override;
    void announce(std::string_view text) override;
    void showPopup(std::string_view text, const twips::Rect &place, int flag) override;
    void hidePopup() override;
    void openAbout() override;
    void endProgram() override;

    form::MainForm m_form { *this };
    ValueBox *m_value = nullptr;
    QPushButton *m_go = nullptr;
    std::array<QCheckBox *, flags::FlagCount> m_flags {};
    DetailPopup *m_popup = nullptr;
    Clipboard *m_clipboard = nullptr;
    Announcer *m_announcer = nullptr;
    bool m_formSetsBox = false; // while setTicked() sets a box for the form
    bool m_menuRuns = false;    // while a menu entry's command runs
};
