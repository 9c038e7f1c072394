// Scripts: korvahost --script FILE drives a form line by line, the way the
// library's automation interface is used from host code. The language is
// described in full in docs/korvahost-scripts.md; in short (WINDOW is NAME,
// NAME.ELEMENT or NAME.ELEMENT(INDEX)):
//
//   new CLASS NAME [WIDTH HEIGHT]      load FILE      save FILE
//   get NAME.Member                    -> NAME.Member = VALUE
//   let NAME.Member VALUE              set NAME.Member VALUE
//   call NAME.Method [ARG ...]         -> NAME.Method = VALUE (when it returns one)
//   notify WINDOW NOTIFICATION [ARG ...]
//   mouse WINDOW ACTION X Y [BUTTON]   key WINDOW ACTION CODE [SHIFT]
//   focus WINDOW                       window WINDOW -> window WINDOW = (L,T)-(R,B) visible|hidden
//   cursor X Y                         tick MS
//   resize NAME WIDTH HEIGHT           bag NAME -> KEY = VALUE, one a line
//   pixel WINDOW X Y                   -> WINDOW(X,Y) = &HBBGGRR&
//   grab WINDOW FILE.png
//   screen WIDTH HEIGHT                the scripted screen, pixels
//   dialog colour VALUE | dialog cancel  the next colour dialog's answer
//   a11y NAME                          -> the accessible tree, one object a line
//
// '#' at the start of a line or after a blank (outside strings) starts a
// comment. Values use the syntax of frame/values/value_text_p.h; `set` also takes
// LoadPicture("file.png"). Events print "event NAME.Event(ARG, ...)" while
// they are raised; a failing line prints "error LINE: message" and the script
// goes on. Files are found relative to the script's folder. Sizes and
// positions of controls are twips, of the mouse and pixels pixels of the
// window named.
#pragma once

#include "host/form_host.h"
#include "host/input.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

namespace korva::host {

struct Token {
    QString text;
    qsizetype start = 0; // offset in the line
};

// Splits a line at blanks outside double quotes and parentheses, after
// removing its comment. False with a message for an unclosed string or
// unbalanced parentheses.
bool tokenizeLine(const QString& line, std::vector<Token>& out, QString* error);

class ScriptRunner {
public:
    using Print = std::function<void(const QString&)>;

    // `form`'s events must already print through `print`.
    ScriptRunner(FormHost& form, KorvaLibrary& library, Print print, QString baseDir);

    // Runs every line; returns how many failed.
    int run(const QString& script);
    // One line, numbered for its error message; false when it failed.
    bool runLine(const QString& line, int number);

    // A file named in the script, relative to the script's folder. While
    // confined, only files inside that folder: any other path resolves to
    // an empty one, which no command can open.
    QString resolve(const QString& path) const;
    void confineFilesToBaseDir(bool on) { confined_ = on; }

private:
    // A window a script names: a control's own, or one of its elements'.
    struct Window {
        HostedControl* control = nullptr;
        QString label; // as the script wrote it, for output and messages
        QWidget* widget = nullptr;
        // What the name covers in `widget`, in its pixels: the whole window,
        // or the rectangle a windowless element occupies in the window that paints it.
        QRect area;
        // False for a windowless element that is hidden, or lies in a hidden box.
        bool elementShown = true;
        bool shown() const { return elementShown && widget->isVisible(); }
    };

    bool execute(const QString& line, const std::vector<Token>& t, QString* error);
    HostedControl* control(const QString& name, QString* error) const;
    bool window(const QString& text, Window& out, QString* error) const;
    // Where a window is on the screen, as the controls see it.
    QRect screenRect(QWidget* w) const;
    bool screenCommand(const std::vector<Token>& t, QString* error);
    bool dialogCommand(const QString& line, const std::vector<Token>& t, QString* error);
    bool memberTarget(const QString& text, HostedControl*& c, QString& member, QString* error) const;

    FormHost& form_;
    KorvaLibrary& library_;
    Print print_;
    QString baseDir_;
    bool confined_ = false;
    InputSender input_;
};

} // namespace korva::host
