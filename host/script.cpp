#include "host/script.h"

#include "frame/values/value_text_p.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>

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
            *error = QStringLiteral("bad value %1: %2").arg(text.trimmed(), why);
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
        *error = QStringLiteral("no control named %1").arg(name);
    return c;
}

bool ScriptRunner::memberTarget(const QString& text, HostedControl*& c, QString& member,
                                QString* error) const {
    const qsizetype dot = text.indexOf(u'.');
    if (dot <= 0 || dot == text.size() - 1) {
        if (error)
            *error = QStringLiteral("%1 is not NAME.Member").arg(text);
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
                return fail(
                    QStringLiteral("size %1 x %2 is not two numbers of twips").arg(t[3].text, t[4].text));
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
        static const QRegularExpression target(
            QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\.([A-Za-z_][A-Za-z0-9_]*)(?:\\((\\d+)\\))?)?$"));
        const QRegularExpressionMatch m = target.match(t[1].text);
        if (!m.hasMatch())
            return fail(QStringLiteral("%1 is not NAME, NAME.ELEMENT or NAME.ELEMENT(INDEX)").arg(t[1].text));
        HostedControl* c = control(m.captured(1), error);
        if (!c)
            return false;
        int index = -1;
        if (m.hasCaptured(3) && !toInt(m.captured(3), index))
            return fail(QStringLiteral("index %1 is too large").arg(m.captured(3)));
        std::vector<Value> args(argc - 2);
        for (std::size_t i = 3; i < t.size(); ++i)
            if (!scriptValue(t[i].text, *this, args[i - 3], error))
                return fail(QStringLiteral("argument %1: %2").arg(i - 2).arg(error ? *error : QString()));
        const QString element = m.captured(2);
        QString why;
        const HRESULT hr = c->control()->Notify(reinterpret_cast<const char16_t*>(element.utf16()), index,
                                                reinterpret_cast<const char16_t*>(t[2].text.utf16()),
                                                args.data(), static_cast<uint32_t>(args.size()), &why);
        if (FAILED(hr))
            return fail(why.isEmpty() ? describeResult(hr) : why);
        return true;
    }

    if (cmd == u"mouse") {
        if (argc != 4 && argc != 5)
            return fail(needs("mouse NAME ACTION X Y [BUTTON]"));
        HostedControl* c = control(t[1].text, error);
        int x = 0, y = 0;
        if (!c)
            return false;
        if (!toInt(t[3].text, x) || !toInt(t[4].text, y))
            return fail(QStringLiteral("position %1, %2 is not two whole numbers of pixels")
                            .arg(t[3].text, t[4].text));
        // The pointer moves with the mouse: the runtime reads where it is.
        const QPoint onScreen = c->window()->mapTo(form_.surface(), QPoint(x, y));
        if (IKorvaRuntime* rt = library_.runtime())
            rt->SetCursorPos(onScreen.x(), onScreen.y());
        return input_.mouse(c->window(), t[2].text, QPoint(x, y), argc == 5 ? t[5].text : QString(), error);
    }

    if (cmd == u"key") {
        if (argc != 3 && argc != 4)
            return fail(needs("key NAME ACTION CODE [SHIFT]"));
        HostedControl* c = control(t[1].text, error);
        int code = 0, shift = 0;
        if (!c)
            return false;
        if (!toInt(t[3].text, code))
            return fail(QStringLiteral("key code %1 is not a whole number").arg(t[3].text));
        if (argc == 4 && (!toInt(t[4].text, shift) || shift < 0 || shift > 7))
            return fail(QStringLiteral("shift %1 is not a mask from 0 to 7").arg(t[4].text));
        return input_.key(c->window(), t[2].text, code, shift, error);
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
            return fail(QStringLiteral("size %1 x %2 is not two numbers of twips").arg(t[2].text, t[3].text));
        return form_.resize(*c, static_cast<float>(w), static_cast<float>(h), error);
    }

    if (cmd == u"pixel") {
        if (argc != 3)
            return fail(needs("pixel NAME X Y"));
        HostedControl* c = control(t[1].text, error);
        int x = 0, y = 0;
        if (!c)
            return false;
        if (!toInt(t[2].text, x) || !toInt(t[3].text, y))
            return fail(QStringLiteral("position %1, %2 is not two whole numbers of pixels")
                            .arg(t[2].text, t[3].text));
        const QImage image = c->window()->grab().toImage();
        if (!image.rect().contains(x, y))
            return fail(QStringLiteral("(%1,%2) lies outside %3, which is %4 x %5 pixels")
                            .arg(x)
                            .arg(y)
                            .arg(c->name())
                            .arg(image.width())
                            .arg(image.height()));
        const QRgb p = image.pixel(x, y);
        const auto bgr = static_cast<uint32_t>(qBlue(p) << 16 | qGreen(p) << 8 | qRed(p));
        print_(QStringLiteral("%1(%2,%3) = &H%4&")
                   .arg(c->name())
                   .arg(x)
                   .arg(y)
                   .arg(QStringLiteral("%1").arg(bgr, 6, 16, QLatin1Char('0')).toUpper()));
        return true;
    }

    if (cmd == u"grab") {
        if (argc < 2)
            return fail(needs("grab NAME FILE.png"));
        HostedControl* c = control(t[1].text, error);
        if (!c)
            return false;
        const QString path = resolve(fileArgument(rest(2)));
        if (!c->window()->grab().save(path, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(path));
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

    // A stray line may be anything, up to a whole pasted file: quote only its start.
    constexpr qsizetype kShown = 40;
    const QString word =
        t[0].text.size() > kShown ? t[0].text.left(kShown) + QStringLiteral("...") : t[0].text;
    return fail(QStringLiteral("unknown command %1").arg(word));
}

} // namespace korva::host
