#include "host/script.h"

#include "frame/values/convert_p.h"
#include "frame/values/value_text_p.h"
#include "host/accessible_command.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QWidget>

#include <cmath>
#include <exception>
#include <limits>

namespace korva::host {

bool tokenizeLine(const QString& line, std::vector<Token>& out, QString* error) {
    out.clear();
    bool inString = false;
    int depth = 0;
    qsizetype start = -1;
    auto finish = [&](qsizetype end) {
        if (start >= 0)
            out.push_back({line.mid(start, end - start), start});
        start = -1;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inString) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"')
                    ++i; // a doubled quote stays inside the string
                else
                    inString = false;
            }
            continue;
        }
        if (c.isSpace() && depth == 0) {
            finish(i);
            continue;
        }
        // A '#' glued to a number is the Double suffix (5#), not a comment.
        if (c == u'#' && depth == 0 && start < 0)
            break;
        if (start < 0)
            start = i;
        if (c == u'"')
            inString = true;
        else if (c == u'(')
            ++depth;
        else if (c == u')' && --depth < 0) {
            if (error)
                *error = QStringLiteral("column %1: ')' without '('").arg(i + 1);
            return false;
        }
    }
    if (inString || depth > 0) {
        if (error)
            *error = inString ? QStringLiteral("unclosed string") : QStringLiteral("unclosed '('");
        return false;
    }
    finish(line.size());
    return true;
}

namespace {

bool toNumber(const QString& text, double& out) {
    bool ok = false;
    const double v = text.toDouble(&ok); // C locale on purpose: scripts read the same everywhere
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool toInt(const QString& text, int& out) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        return false;
    out = v;
    return true;
}

// Values of a script line: the value syntax, plus LoadPicture("file") for pictures.
bool scriptValue(const QString& text, const ScriptRunner& runner, Value& out, QString* error) {
    static const QRegularExpression loadPicture(QStringLiteral("^\\s*LoadPicture\\s*\\((.*)\\)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = loadPicture.match(text);
    if (m.hasMatch()) {
        Value path;
        QString why;
        if (!parseValue(m.captured(1), path, &why) || !path.is<QString>()) {
            if (error)
                *error = QStringLiteral("LoadPicture takes a file name in quotes");
            return false;
        }
        const QString file = runner.resolve(path.as<QString>());
        QImage image(file);
        if (image.isNull()) {
            if (error)
                *error = QStringLiteral("cannot read a picture from %1").arg(file);
            return false;
        }
        out = Value(Picture{image});
        return true;
    }
    QString why;
    if (!parseValue(text, out, &why)) {
        if (error)
            *error = QStringLiteral("bad value %1: %2").arg(startOf(text.trimmed()), why);
        return false;
    }
    return true;
}

// `text` as a file name: a quoted string, or the bare text.
QString fileArgument(const QString& text) {
    Value v;
    QString why;
    if (text.startsWith(u'"') && parseValue(text, v, &why) && v.is<QString>())
        return v.as<QString>();
    return text;
}

QString needs(const char* usage) { return QStringLiteral("usage: %1").arg(QLatin1String(usage)); }

const char16_t* utf16(const QString& s) { return reinterpret_cast<const char16_t*>(s.utf16()); }

// NAME, NAME.ELEMENT or NAME.ELEMENT(INDEX), as `notify` and the window commands take it.
struct TargetName {
    QString control;
    QString element; // empty for the control itself
    int index = -1;  // -1 outside element arrays
};

bool parseTarget(const QString& text, TargetName& out, QString* error) {
    static const QRegularExpression target(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\.([A-Za-z_][A-Za-z0-9_]*)(?:\\((\\d+)\\))?)?$"));
    const QRegularExpressionMatch m = target.match(text);
    if (!m.hasMatch()) {
        if (error)
            *error = QStringLiteral("%1 is not NAME, NAME.ELEMENT or NAME.ELEMENT(INDEX)").arg(startOf(text));
        return false;
    }
    out.control = m.captured(1);
    out.element = m.captured(2);
    out.index = -1;
    if (m.hasCaptured(3) && !toInt(m.captured(3), out.index)) {
        if (error)
            *error = QStringLiteral("index %1 is too large").arg(startOf(m.captured(3)));
        return false;
    }
    return true;
}

QString hexColour(QRgb p) {
    const auto bgr = static_cast<uint32_t>(qBlue(p) << 16 | qGreen(p) << 8 | qRed(p));
    return QStringLiteral("&H%1&").arg(QStringLiteral("%1").arg(bgr, 6, 16, QLatin1Char('0')).toUpper());
}

// What a window shows in `area` (its own pixels): a shown window as it
// appears on its top-level window, with what shines through it and what lies
// on it; a hidden one rendered on its own.
QPixmap shown(QWidget* w, const QRect& area) {
    QWidget* top = w->window();
    if (!w->isVisible() || top == w)
        return w->grab(area);
    return top->grab(QRect(w->mapTo(top, area.topLeft()), area.size()));
}

// Larger windows are refused by `grab` rather than rendered into gigabytes.
constexpr qint64 kMaxGrabPixels = qint64{8192} * 8192;

} // namespace

ScriptRunner::ScriptRunner(FormHost& form, KorvaLibrary& library, Print print, QString baseDir)
    : form_(form), library_(library), print_(std::move(print)), baseDir_(std::move(baseDir)) {}

QString ScriptRunner::resolve(const QString& path) const {
    const QString full = QDir::isAbsolutePath(path) ? path : QDir(baseDir_).filePath(path);
    if (!confined_)
        return full;
    const QString clean = QDir::cleanPath(full);
    return clean.startsWith(QDir::cleanPath(baseDir_) + QLatin1Char('/')) ? clean : QString();
}

int ScriptRunner::run(const QString& script) {
    int failed = 0;
    const QStringList lines = script.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!runLine(line, static_cast<int>(i + 1)))
            ++failed;
    }
    return failed;
}

bool ScriptRunner::runLine(const QString& line, int number) {
    QString error;
    bool ok = false;
    try {
        std::vector<Token> tokens;
        ok = tokenizeLine(line, tokens, &error) && (tokens.empty() || execute(line, tokens, &error));
    } catch (const std::exception& e) {
        error = QStringLiteral("internal failure: %1").arg(QString::fromUtf8(e.what()));
    } catch (...) {
        error = QStringLiteral("internal failure");
    }
    if (!ok)
        print_(QStringLiteral("error %1: %2").arg(number).arg(error));
    return ok;
}

HostedControl* ScriptRunner::control(const QString& name, QString* error) const {
    HostedControl* c = form_.find(name);
    if (!c && error)
        *error = QStringLiteral("no control named %1").arg(startOf(name));
    return c;
}

bool ScriptRunner::window(const QString& text, Window& out, QString* error) const {
    TargetName n;
    if (!parseTarget(text, n, error))
        return false;
    out.control = control(n.control, error);
    if (!out.control)
        return false;
    out.label = text;
    if (n.element.isEmpty()) {
        out.widget = out.control->window();
    } else {
        QWidget* w = nullptr;
        int32_t left = 0, top = 0, right = 0, bottom = 0;
        const HRESULT hr =
            out.control->control()->ElementArea(utf16(n.element), n.index, &w, &left, &top, &right, &bottom);
        QString why;
        if (hr == E_INVALIDARG)
            why = QStringLiteral("%1 (%2) has no element %3")
                      .arg(out.control->name(), out.control->classInfo().name,
                           n.index < 0 ? n.element : QStringLiteral("%1(%2)").arg(n.element).arg(n.index));
        else if (hr == E_UNEXPECTED)
            why = QStringLiteral("%1 has been terminated").arg(out.control->name());
        else if (FAILED(hr))
            why = QStringLiteral("the window of %1 is out of reach: %2").arg(text, describeResult(hr));
        if (!why.isEmpty()) {
            if (error)
                *error = why;
            return false;
        }
        out.widget = w;
        out.area = QRect(QPoint(left, top), QSize(right - left, bottom - top));
        out.elementShown = hr == S_OK;
    }
    if (!out.widget) {
        if (error)
            *error = QStringLiteral("%1 has no window").arg(text);
        return false;
    }
    if (n.element.isEmpty())
        out.area = out.widget->rect();
    return true;
}

QRect ScriptRunner::screenRect(QWidget* w) const {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (IKorvaRuntime* rt = library_.runtime();
        rt && SUCCEEDED(rt->GetWindowRect(w, &left, &top, &right, &bottom)))
        return QRect(QPoint(left, top), QSize(right - left, bottom - top));
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

bool ScriptRunner::memberTarget(const QString& text, HostedControl*& c, QString& member,
                                QString* error) const {
    const qsizetype dot = text.indexOf(u'.');
    if (dot <= 0 || dot == text.size() - 1) {
        if (error)
            *error = QStringLiteral("%1 is not NAME.Member").arg(startOf(text));
        return false;
    }
    c = control(text.left(dot), error);
    member = text.mid(dot + 1);
    return c != nullptr;
}

bool ScriptRunner::execute(const QString& line, const std::vector<Token>& t, QString* error) {
    const QString cmd = t[0].text.toLower();
    const auto argc = t.size() - 1;
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    // The rest of the line from token i on, for values that contain blanks.
    auto rest = [&](std::size_t i) { return line.mid(t[i].start).trimmed(); };

    if (cmd == u"new") {
        if (argc != 2 && argc != 4)
            return fail(needs("new CLASS NAME [WIDTH HEIGHT]"));
        std::optional<QSizeF> size;
        if (argc == 4) {
            double w = 0, h = 0;
            if (!toNumber(t[3].text, w) || !toNumber(t[4].text, h) || w < 0 || h < 0)
                return fail(QStringLiteral("size %1 x %2 is not two numbers of twips")
                                .arg(startOf(t[3].text), startOf(t[4].text)));
            size = QSizeF(w, h);
        }
        return form_.addNew(t[1].text, t[2].text, size, error) != nullptr;
    }

    if (cmd == u"load" || cmd == u"save") {
        if (argc < 1)
            return fail(needs(cmd == u"load" ? "load FORMFILE" : "save FORMFILE"));
        const QString path = resolve(fileArgument(rest(1)));
        return cmd == u"load" ? form_.load(path, error) : form_.save(path, error);
    }

    if (cmd == u"get") {
        if (argc != 1)
            return fail(needs("get NAME.Member"));
        HostedControl* c = nullptr;
        QString member, name;
        Value v;
        if (!memberTarget(t[1].text, c, member, error) || !c->get(member, v, &name, error))
            return false;
        print_(QStringLiteral("%1.%2 = %3").arg(c->name(), name, formatValue(v)));
        return true;
    }

    if (cmd == u"let" || cmd == u"set") {
        if (argc < 2)
            return fail(needs(cmd == u"let" ? "let NAME.Member VALUE" : "set NAME.Member VALUE"));
        HostedControl* c = nullptr;
        QString member;
        Value v;
        if (!memberTarget(t[1].text, c, member, error) || !scriptValue(rest(2), *this, v, error))
            return false;
        return c->put(member, v, cmd == u"set", error);
    }

    if (cmd == u"call") {
        if (argc < 1)
            return fail(needs("call NAME.Method [ARG ...]"));
        HostedControl* c = nullptr;
        QString member, name;
        if (!memberTarget(t[1].text, c, member, error))
            return false;
        std::vector<Value> args(argc - 1);
        for (std::size_t i = 2; i < t.size(); ++i)
            if (!scriptValue(t[i].text, *this, args[i - 2], error))
                return fail(QStringLiteral("argument %1: %2").arg(i - 1).arg(error ? *error : QString()));
        Value result;
        if (!c->call(member, args, result, &name, error))
            return false;
        if (!result.isEmpty())
            print_(QStringLiteral("%1.%2 = %3").arg(c->name(), name, formatValue(result)));
        return true;
    }

    if (cmd == u"notify") {
        if (argc < 2)
            return fail(needs("notify NAME[.ELEMENT[(INDEX)]] NOTIFICATION [ARG ...]"));
        TargetName target;
        if (!parseTarget(t[1].text, target, error))
            return false;
        HostedControl* c = control(target.control, error);
        if (!c)
            return false;
        std::vector<Value> args(argc - 2);
        for (std::size_t i = 3; i < t.size(); ++i)
            if (!scriptValue(t[i].text, *this, args[i - 3], error))
                return fail(QStringLiteral("argument %1: %2").arg(i - 2).arg(error ? *error : QString()));
        QString why;
        const HRESULT hr = c->control()->Notify(utf16(target.element), target.index, utf16(t[2].text),
                                                args.data(), static_cast<uint32_t>(args.size()), &why);
        if (FAILED(hr))
            return fail(why.isEmpty() ? describeResult(hr) : why);
        return true;
    }

    if (cmd == u"mouse") {
        if (argc != 4 && argc != 5)
            return fail(needs("mouse WINDOW ACTION X Y [BUTTON]"));
        Window w;
        int x = 0, y = 0;
        if (!window(t[1].text, w, error))
            return false;
        if (!toInt(t[3].text, x) || !toInt(t[4].text, y))
            return fail(QStringLiteral("position %1, %2 is not two whole numbers of pixels")
                            .arg(startOf(t[3].text), startOf(t[4].text)));
        const QString button = argc == 5 ? t[5].text : QString();
        // The pointer moves with the mouse: the runtime reads where it is.
        const QPoint at = w.area.topLeft() + QPoint(x, y);
        const QPoint onScreen = screenRect(w.widget).topLeft() + at;
        IKorvaRuntime* rt = library_.runtime();
        if (rt)
            rt->SetCursorPos(onScreen.x(), onScreen.y());
        // While a window holds the capture, it gets the mouse wherever the pointer is.
        QWidget* capture = nullptr;
        if (rt && rt->GetCapture(&capture) == S_OK && capture)
            return input_.mouse(capture, onScreen - screenRect(capture).topLeft(), true, t[2].text, button,
                                error);
        if (!w.shown())
            return fail(QStringLiteral("%1 is not shown: it gets no mouse input").arg(w.label));
        return input_.mouse(w.widget, at, false, t[2].text, button, error);
    }

    if (cmd == u"key") {
        if (argc != 3 && argc != 4)
            return fail(needs("key WINDOW ACTION CODE [SHIFT]"));
        Window w;
        int code = 0, shift = 0;
        if (!window(t[1].text, w, error))
            return false;
        if (!toInt(t[3].text, code))
            return fail(QStringLiteral("key code %1 is not a whole number").arg(startOf(t[3].text)));
        if (argc == 4 && (!toInt(t[4].text, shift) || shift < 0 || shift > 7))
            return fail(QStringLiteral("shift %1 is not a mask from 0 to 7").arg(startOf(t[4].text)));
        if (!w.shown())
            return fail(QStringLiteral("%1 is not shown: it gets no keys").arg(w.label));
        return input_.key(w.control->window(), w.widget, t[2].text, code, shift, error);
    }

    if (cmd == u"focus") {
        if (argc != 1)
            return fail(needs("focus WINDOW"));
        Window w;
        if (!window(t[1].text, w, error))
            return false;
        if (!w.shown())
            return fail(QStringLiteral("%1 is not shown: it cannot take the focus").arg(w.label));
        if (!w.widget->isEnabled())
            return fail(QStringLiteral("%1 is disabled: it cannot take the focus").arg(w.label));
        return input_.focus(w.widget, nullptr) ||
               fail(QStringLiteral("%1 does not take the focus").arg(w.label));
    }

    if (cmd == u"window") {
        if (argc != 1)
            return fail(needs("window WINDOW"));
        Window w;
        if (!window(t[1].text, w, error))
            return false;
        const QRect r = w.area.translated(screenRect(w.widget).topLeft());
        print_(QStringLiteral("window %1 = (%2,%3)-(%4,%5) %6")
                   .arg(w.label)
                   .arg(r.left())
                   .arg(r.top())
                   .arg(r.left() + r.width())
                   .arg(r.top() + r.height())
                   .arg(w.shown() ? QStringLiteral("visible") : QStringLiteral("hidden")));
        return true;
    }

    if (cmd == u"cursor") {
        int x = 0, y = 0;
        if (argc != 2 || !toInt(t[1].text, x) || !toInt(t[2].text, y))
            return fail(needs("cursor X Y (whole numbers of screen pixels)"));
        const HRESULT hr = library_.runtime()->SetCursorPos(x, y);
        return SUCCEEDED(hr) ||
               fail(QStringLiteral("the cursor cannot be placed: %1").arg(describeResult(hr)));
    }

    if (cmd == u"tick") {
        bool ok = false;
        const qlonglong ms = argc == 1 ? t[1].text.toLongLong(&ok) : 0;
        if (!ok || ms < 0 || ms > std::numeric_limits<uint32_t>::max())
            return fail(needs("tick MS (whole milliseconds, 0 or more)"));
        const HRESULT hr = library_.runtime()->Advance(static_cast<uint32_t>(ms));
        return SUCCEEDED(hr) ||
               fail(QStringLiteral("the clock cannot be advanced: %1").arg(describeResult(hr)));
    }

    if (cmd == u"resize") {
        if (argc != 3)
            return fail(needs("resize NAME WIDTH HEIGHT"));
        HostedControl* c = control(t[1].text, error);
        double w = 0, h = 0;
        if (!c)
            return false;
        if (!toNumber(t[2].text, w) || !toNumber(t[3].text, h) || w < 0 || h < 0)
            return fail(QStringLiteral("size %1 x %2 is not two numbers of twips")
                            .arg(startOf(t[2].text), startOf(t[3].text)));
        return form_.resize(*c, static_cast<float>(w), static_cast<float>(h), error);
    }

    if (cmd == u"pixel") {
        if (argc != 3)
            return fail(needs("pixel WINDOW X Y"));
        Window w;
        int x = 0, y = 0;
        if (!window(t[1].text, w, error))
            return false;
        if (!toInt(t[2].text, x) || !toInt(t[3].text, y))
            return fail(QStringLiteral("position %1, %2 is not two whole numbers of pixels")
                            .arg(startOf(t[2].text), startOf(t[3].text)));
        const QSize size = w.area.size();
        if (!QRect(QPoint(0, 0), size).contains(x, y))
            return fail(QStringLiteral("(%1,%2) lies outside %3, which is %4 x %5 pixels")
                            .arg(x)
                            .arg(y)
                            .arg(w.label)
                            .arg(size.width())
                            .arg(size.height()));
        // Only the pixel asked for is rendered: a window may be far larger than any image.
        const QImage image = shown(w.widget, QRect(w.area.topLeft() + QPoint(x, y), QSize(1, 1))).toImage();
        if (image.isNull())
            return fail(QStringLiteral("%1 cannot be rendered at (%2,%3)").arg(w.label).arg(x).arg(y));
        print_(QStringLiteral("%1(%2,%3) = %4").arg(w.label).arg(x).arg(y).arg(hexColour(image.pixel(0, 0))));
        return true;
    }

    if (cmd == u"grab") {
        if (argc < 2)
            return fail(needs("grab WINDOW FILE.png"));
        Window w;
        if (!window(t[1].text, w, error))
            return false;
        const QSize size = w.area.size();
        if (size.isEmpty() || qint64{size.width()} * size.height() > kMaxGrabPixels)
            return fail(QStringLiteral("%1 is %2 x %3 pixels: only windows of 1 to %4 pixels can be grabbed")
                            .arg(w.label)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(kMaxGrabPixels));
        const QString path = resolve(fileArgument(rest(2)));
        if (!shown(w.widget, w.area).save(path, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(startOf(path)));
        return true;
    }

    if (cmd == u"bag") {
        if (argc != 1)
            return fail(needs("bag NAME"));
        HostedControl* c = control(t[1].text, error);
        if (!c)
            return false;
        const PropertyBag bag = form_.bagOf(*c);
        for (const PropertyBag::Entry& e : bag.entries())
            print_(QStringLiteral("%1 = %2").arg(e.key, formatValue(e.value)));
        return true;
    }

    if (cmd == u"screen")
        return screenCommand(t, error);

    if (cmd == u"dialog")
        return dialogCommand(line, t, error);

    if (cmd == u"a11y") {
        if (argc != 1)
            return fail(needs("a11y NAME"));
        HostedControl* c = control(t[1].text, error);
        return c && printAccessibleTree(c->window(), print_, error);
    }

    // A stray line may be anything, up to a whole pasted file: quote only its start.
    return fail(QStringLiteral("unknown command %1").arg(startOf(t[0].text)));
}

// screen WIDTH HEIGHT: the scripted screen's size in pixels, for controls
// that place windows of their own (the Colors drop-down).
bool ScriptRunner::screenCommand(const std::vector<Token>& t, QString* error) {
    int w = 0, h = 0;
    if (t.size() != 3 || !toInt(t[1].text, w) || !toInt(t[2].text, h) || w <= 0 || h <= 0) {
        if (error)
            *error = needs("screen WIDTH HEIGHT (whole numbers of pixels, above 0)");
        return false;
    }
    const HRESULT hr = library_.runtime()->SetScreenSize(w, h);
    if (FAILED(hr) && error)
        *error = QStringLiteral("the screen cannot be sized: %1").arg(describeResult(hr));
    return SUCCEEDED(hr);
}

// dialog colour VALUE | dialog cancel: how the next colour dialog answers.
// Answers queue up; a dialog with none queued is cancelled.
bool ScriptRunner::dialogCommand(const QString& line, const std::vector<Token>& t, QString* error) {
    const QString kind = t.size() > 1 ? t[1].text.toLower() : QString();
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    bool choose = false;
    uint32_t colour = 0;
    if ((kind == u"colour" || kind == u"color") && t.size() >= 3) {
        Value v;
        QString why;
        if (!parseValue(line.mid(t[2].start).trimmed(), v, &why) || !valueToColour(v, colour))
            return fail(QStringLiteral("%1 is not a colour").arg(line.mid(t[2].start).trimmed()));
        if (colour & 0xFF000000u)
            return fail(QStringLiteral("a dialog answers with a plain colour, not &H%1")
                            .arg(colour, 8, 16, QLatin1Char('0')));
        choose = true;
    } else if (kind != u"cancel" || t.size() != 2) {
        return fail(needs("dialog colour VALUE | dialog cancel"));
    }
    const HRESULT hr = library_.runtime()->AnswerColourDialog(choose, colour);
    if (FAILED(hr))
        return fail(QStringLiteral("the dialog cannot be answered: %1").arg(describeResult(hr)));
    return true;
}

} // namespace korva::host
