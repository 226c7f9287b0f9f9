#pragma once

// The About window: the program's name, version and date, its icon and a picture, and OK.
//
// There is one About window at a time. open() builds it afresh (window and controls) unless
// it is open already, and shows it without blocking; OK, Enter, Esc and the close button
// destroy it again. It is a parentless top-level window, so it outlives a closed main window
// and keeps the program running until it is closed too. Its controls are placed from the
// twips table in about_window_layout.h; the picture is compiled in as ":/about/about.png".
// Like the main window, it keeps the font it is given whatever the desktop's font, and colours
// its description by contrast with the palette.

#include "form/about_form_layout.h"

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // Shows the About window, creating it if it is not open, in the given font (the main
    // window's); returns at once.
    static AboutWindow *open(const QIcon &icon, const QFont &font);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    AboutWindow(const QIcon &icon, const QFont &font);

    // A command button was clicked: the command its table row carries.
    void run(about_layout::Command command);
    void colourDescription();

    QPushButton *m_ok = nullptr;
    QLabel *m_description = nullptr;
};
