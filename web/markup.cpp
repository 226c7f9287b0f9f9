// Writes the page's static HTML from the layout tables: the menu bar, every control of the main
// window at its place in pixels, the About window and the message box, all as the page shows
// them before the program's code has loaded. Run at build time (under node); the page's code
// then only finds these elements by their ids.
//
// Usage: web_markup > controls.html

#include "flags/flag_model.h"
#include "form/about_form_layout.h"
#include "form/main_form_layout.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace {

using twips::px;

std::string escaped(std::string_view text)
{
    // The characters that markup reads as its own, and the references that stand for them.
    constexpr std::string_view special = "&<>\"";
    constexpr std::string_view references[] = { "&amp;", "&lt;", "&gt;", "&quot;" };
    std::string out;
    for (char c : text) {
        const auto at = special.find(c);
        out += at == std::string_view::npos ? std::string_view(&c, 1) : references[at];
    }
    return out;
}

// A style attribute of lengths in pixels, from twips: style({{"left", 120}, {"top", 60}}).
std::string style(std::initializer_list<std::pair<const char *, int>> lengths)
{
    std::string out;
    for (const auto &[name, twips] : lengths)
        out += (out.empty() ? " style=\"" : ";") + std::string(name) + ":"
            + std::to_string(px(twips)) + "px";
    return out + "\"";
}

template <typename CommandT> std::string place(const form::ControlOf<CommandT> &c)
{
    return style(
        { { "left", c.left }, { "top", c.top }, { "width", c.width }, { "height", c.height } });
}

// A menu caption with its access key (after the ampersand) underlined.
std::string menuCaption(std::string_view caption)
{
    const auto amp = caption.find('&');
    if (amp == std::string_view::npos)
        return escaped(caption);
    return escaped(caption.substr(0, amp)) + "<u>" + escaped(caption.substr(amp + 1, 1)) + "</u>"
        + escaped(caption.substr(amp + 2));
}

char accessKey(std::string_view caption)
{
    const auto amp = caption.find('&');
    return amp == std::string_view::npos ? 0 : caption[amp + 1];
}

// A command as the page carries it, in a data-command attribute: its number, which the page's
// script hands back to the form.
std::string commandName(form::Command command)
{
    return std::to_string(static_cast<int>(command));
}

void menus(std::string &out)
{
    out += "<div id=menubar role=menubar aria-label=\"Menu\">";
    bool open = false;
    for (const layout::MenuEntry &m : layout::Menus) {
        const std::string name(m.name), key(1, accessKey(m.caption));
        switch (m.kind) {
        case layout::MenuKind::Menu:
            if (open)
                out += "</div></div>";
            out += "<div class=menu><span id=" + name
                + " class=top role=menuitem tabindex=-1 aria-haspopup=menu aria-expanded=false"
                + " data-key=" + key + " aria-keyshortcuts=Alt+" + key + ">"
                + menuCaption(m.caption)
                + "</span><div class=drop role=menu aria-labelledby=" + name + " hidden>";
            open = true;
            break;
        case layout::MenuKind::Separator:
            out += "<hr id=" + name + " role=separator>";
            break;
        case layout::MenuKind::Entry:
            out += "<div id=" + name + " role=menuitem tabindex=-1 data-command="
                + commandName(m.command) + " data-key=" + key + " aria-keyshortcuts=" + key + ">"
                + menuCaption(m.caption) + "</div>";
            break;
        }
    }
    out += "</div></div></div>";
}

// One control of the main window's table.
std::string tableControl(const form::Control &c)
{
    const std::string name(c.name), caption = escaped(c.caption), at = place(c);
    switch (c.kind) {
    case form::Kind::Button:
        return "<button id=" + name + at + " data-command=" + commandName(c.command) + ">" + caption
            + "</button>";
    case form::Kind::TextBox:
        return "<input id=" + name + at + " value=0 inputmode=numeric autocomplete=off"
            + " spellcheck=false aria-label=\"" + escaped(layout::control("Label2").caption)
            + "\">";
    case form::Kind::Popup:
        return "<div id=" + name + at + " role=tooltip hidden></div>";
    case form::Kind::WrapLabel:
        return "<div id=" + name + " class=\"label wrap\"" + at + ">" + caption + "</div>";
    default:
        // Labels keep their left and top; their own text gives the rest, as designed.
        return "<div id=" + name + " class=\"label \""
            + style({ { "left", c.left }, { "top", c.top } }) + ">" + caption + "</div>";
    }
}

// A flag row's box (with its value as its caption) or its description; data-flag carries the
// flag's index, which the page's script hands back to the form.
std::string flagControl(layout::Slot slot)
{
    const std::string n = std::to_string(slot.index);
    const int top = layout::rowTop(slot.index);
    if (slot.what == layout::Slot::FlagBox)
        return "<label class=flag"
            + style({ { "left", layout::FlagBoxLeft }, { "top", top },
                { "width", layout::FlagBoxWidth } })
            + "><input type=checkbox id=Check1_" + n + " data-flag=" + n
            + " aria-describedby=Label3_" + n + " aria-keyshortcuts=F1><span>"
            + escaped(flags::caption(slot.index)) + "</span></label>";
    return "<div id=Label3_" + n + " data-flag=" + n
        + " class=description role=button tabindex=-1 aria-expanded=false aria-controls=Label1"
        + " aria-describedby=\"explains Check1_" + n + "\""
        + style({ { "left", layout::DescriptionLeft }, { "top", top } }) + ">"
        + escaped(flags::description(slot.index)) + "</div>";
}

// The main window's controls in the window's order: the order they stack in, and the order the
// page's Tab walks the ones that take the focus (layout::FocusOrder).
void mainWindow(std::string &out)
{
    out += "<div id=client>";
    for (const layout::Slot &slot : layout::WindowOrder)
        out += slot.what == layout::Slot::Table ? tableControl(layout::Controls[slot.index])
                                                : flagControl(slot);
    out += "</div>";
}

void aboutWindow(std::string &out)
{
    using namespace about_layout;
    // A window of its own: moved by its title bar, which holds the program's icon, the caption
    // and a close button that, as on the desktop, Tab does not visit.
    out += "<section id=about role=dialog aria-labelledby=aboutTitle "
           "aria-describedby=lblDescription hidden"
        + style({ { "width", ClientWidth } })
        + "><div id=aboutBar class=title><img id=aboutIcon alt=\"\">" + "<span id=aboutTitle>"
        + escaped(Caption) + "</span>"
        + "<button id=aboutClose data-close tabindex=-1 aria-label=Close></button></div>"
        + "<div class=area" + style({ { "height", ClientHeight } }) + ">";
    for (const Control &c : Controls) {
        // The controls that take the focus carry their place in the tab order, which the page's
        // Tab walks: OK, the icon, the picture.
        const std::string name(c.name), at = place(c), tab = " data-tab=" + std::to_string(c.tab);
        switch (c.kind) {
        case form::Kind::Picture:
            // The frame is the picture that takes the focus, named for screen readers.
            out += "<div id=" + name + " class=picture role=img tabindex=0" + tab + at
                + " aria-label=\""
                + (name == "picIcon" ? "Orvan unk4 program icon" : "Orvan unk4 race track banner")
                + "\"><img alt=\"\"></div>";
            break;
        case form::Kind::Button:
            // The About window's commands are the page's own: its OK closes it.
            out += "<button id=" + name + tab + at
                + (c.command == about_layout::Command::Close ? " data-close" : "") + ">"
                + escaped(c.caption) + "</button>";
            break;
        default:
            out += "<div id=" + name + " class=\"label centred\"" + at + ">" + escaped(c.caption)
                + "</div>";
        }
    }
    out += "</div></section>";
}

void messageBox(std::string &out)
{
    // The text describes OK, where the focus lands: that way every screen reader says it with OK.
    out += "<dialog id=message role=alertdialog aria-labelledby=messageTitle>"
           "<div id=messageTitle class=title>"
        + escaped(layout::ProgramTitle)
        + "</div><p id=messageText></p><div class=buttons>"
          "<button id=messageOK autofocus aria-describedby=messageText>OK</button></div></dialog>";
}

} // namespace

int main()
{
    // Inert until the program has loaded: a click or a key before then does nothing.
    // A region of the page, not an application: screen readers stay in browse mode among its
    // ordinary controls and texts.
    std::string out = "<section id=Form1 inert aria-label=\"" + escaped(layout::Caption) + "\""
        + style({ { "width", layout::ClientWidth } }) + ">";
    menus(out);
    mainWindow(out);
    out += "<div id=clipNotice role=status></div>"
           "<div id=announce0 class=unseen aria-live=polite></div>"
           "<div id=announce1 class=unseen aria-live=polite></div>"
           "<div id=ended role=alert hidden>Orvan unk4 has ended. The last total stays on the "
           "clipboard.<br>Close this tab, or reload the page to start again.</div>"
           "<span id=explains hidden>Opens the explanation of flag</span></section>";
    aboutWindow(out);
    messageBox(out);
    std::puts(out.c_str());
    return 0;
}
