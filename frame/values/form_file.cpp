// Sections: shared helpers - the reader (one statement per line, pictures
// spread over continuation lines) - the writer - files on disk.
#include "frame/values/form_file_p.h"

#include "frame/values/value_text_p.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace korva {

namespace {

constexpr int kFormVersion = 1;
constexpr qsizetype kPictureLineWidth = 76;

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; }
bool isWordStart(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool isWordChar(QChar c) { return isWordStart(c) || (c >= u'0' && c <= u'9'); }
bool isBase64(QChar c) { return (isWordChar(c) && c != u'_') || c == u'+' || c == u'/' || c == u'='; }

bool isIdentifier(QStringView s) {
    if (s.isEmpty() || !isWordStart(s[0]))
        return false;
    for (QChar c : s)
        if (!isWordChar(c))
            return false;
    return true;
}

// "korvactl.Pane": identifiers joined by dots.
bool isClassName(QStringView s) {
    for (QStringView part : s.split(u'.'))
        if (!isIdentifier(part))
            return false;
    return !s.isEmpty();
}

// A piece of the input short and clean enough to quote in a message.
QString excerpt(QStringView s) {
    QString t = s.left(40).toString();
    for (QChar& c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar(0xFFFD);
    if (s.size() > 40)
        t += QLatin1String("...");
    return QLatin1Char('"') + t + QLatin1Char('"');
}

// -------------------------------------------------------------------- reader

// The control block being read. At namespace scope: nested in Reader, its
// member initialisers would not be usable where std::optional asks for them.
struct Open {
    FormControl control;
    int beginLine = 0;
    int geometryLine[4] = {0, 0, 0, 0}; // Left, Top, Width, Height
    QHash<QString, int> keyLines;       // case-folded key -> line
};

class Reader {
public:
    Reader(const QString& text, const QString& fileName, FormError& err) : text_(text), err_(err) {
        err_ = FormError{};
        err_.file = fileName;
    }

    bool read(FormDocument& doc) {
        if (text_.size() > kMaxFormFileBytes)
            return failFile(QStringLiteral("file is larger than the 64 MiB a form file may hold"));
        bool headerSeen = false;
        while (nextLine()) {
            skipBlanks();
            if (atEnd() || line_[pos_] == u'#')
                continue;
            if (!headerSeen) {
                if (!readHeader())
                    return false;
                headerSeen = true;
                continue;
            }
            if (!readStatement(doc))
                return false;
        }
        if (!headerSeen)
            return fail(lineNo_ > 0 ? lineNo_ : 1, 1,
                        QStringLiteral("expected the header \"korvactl form 1\", found an empty file"));
        if (current_)
            return fail(lineNo_, static_cast<int>(line_.size()) + 1,
                        QLatin1String("expected End for control ") + current_->control.name +
                            QLatin1String(" (begun on line ") + QString::number(current_->beginLine) +
                            QLatin1String(") before the end of the file"));
        return true;
    }

private:
    QStringView text_;
    FormError& err_;
    qsizetype next_ = 0; // start of the next line in text_
    int lineNo_ = 0;
    QStringView line_;
    qsizetype pos_ = 0;
    std::optional<Open> current_;
    QHash<QString, int> nameLines_; // case-folded control name -> line

    bool fail(int line, qsizetype column, const QString& message) {
        err_.line = line;
        err_.column = static_cast<int>(column);
        err_.message = message;
        return false;
    }
    bool failHere(const QString& message) { return fail(lineNo_, pos_ + 1, message); }
    bool failFile(const QString& message) { return fail(0, 0, message); }

    bool nextLine() {
        if (next_ > text_.size() || (next_ == text_.size() && lineNo_ > 0 && text_.endsWith(u'\n')))
            return false;
        qsizetype end = text_.indexOf(u'\n', next_);
        if (end < 0)
            end = text_.size();
        line_ = text_.mid(next_, end - next_);
        if (line_.endsWith(u'\r'))
            line_.chop(1);
        next_ = end + 1;
        pos_ = 0;
        ++lineNo_;
        return true;
    }

    bool atEnd() const { return pos_ >= line_.size(); }
    void skipBlanks() {
        while (!atEnd() && isBlank(line_[pos_]))
            ++pos_;
    }
    QStringView rest() const { return line_.mid(pos_); }
    QString found() const {
        return atEnd() ? QStringLiteral("found the end of the line")
                       : QLatin1String("found ") + excerpt(rest());
    }

    // A run of word characters and dots (class names carry a dot).
    QStringView readWord() {
        const qsizetype start = pos_;
        while (!atEnd() && (isWordChar(line_[pos_]) || line_[pos_] == u'.'))
            ++pos_;
        return line_.mid(start, pos_ - start);
    }
    static bool is(QStringView word, const char* keyword) {
        return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }

    bool expectLineEnd(const char* after) {
        skipBlanks();
        if (atEnd())
            return true;
        return failHere(QLatin1String("unexpected text after ") + QLatin1String(after) + QLatin1String(": ") +
                        found());
    }

    bool readHeader() {
        const qsizetype start = pos_;
        const QStringView product = readWord();
        skipBlanks();
        const QStringView kind = readWord();
        skipBlanks();
        const qsizetype versionAt = pos_;
        const QStringView version = readWord();
        if (!is(product, "korvactl") || !is(kind, "form") || version.isEmpty()) {
            pos_ = start;
            return failHere(QLatin1String("expected the header \"korvactl form 1\", ") + found());
        }
        bool ok = false;
        const int v = version.toInt(&ok);
        if (!ok || v < 1) {
            pos_ = versionAt;
            return failHere(QLatin1String("expected the form version number, ") + found());
        }
        if (v > kFormVersion) {
            pos_ = versionAt;
            return failHere(QLatin1String("form version ") + version.toString() +
                            QLatin1String(" is newer than this library reads (version 1)"));
        }
        return expectLineEnd("the header");
    }

    bool readStatement(FormDocument& doc) {
        const qsizetype wordAt = pos_;
        const QStringView word = readWord();
        if (!current_) {
            if (is(word, "Begin"))
                return readBegin();
            pos_ = wordAt;
            if (is(word, "End"))
                return failHere(QStringLiteral("End without a matching Begin"));
            return failHere(QLatin1String("expected Begin CLASS NAME, ") + found());
        }
        if (is(word, "Begin")) {
            pos_ = wordAt;
            return failHere(QLatin1String("Begin inside control ") + current_->control.name +
                            QLatin1String(" (begun on line ") + QString::number(current_->beginLine) +
                            QLatin1String("): expected End first"));
        }
        if (is(word, "End"))
            return readEnd(doc);
        if (is(word, "Property"))
            return readProperty();
        static const char* const geometry[] = {"Left", "Top", "Width", "Height"};
        for (int i = 0; i < 4; ++i)
            if (is(word, geometry[i]))
                return readGeometry(i, geometry[i]);
        pos_ = wordAt;
        return failHere(QLatin1String("unknown statement in control ") + current_->control.name +
                        QLatin1String(": expected Left, Top, Width, Height, Property or End, ") + found());
    }

    bool readBegin() {
        skipBlanks();
        const qsizetype classAt = pos_;
        const QStringView className = readWord();
        if (!isClassName(className)) {
            pos_ = classAt;
            return failHere(QLatin1String("expected the control's class, such as korvactl.Pane, ") + found());
        }
        skipBlanks();
        const qsizetype nameAt = pos_;
        const QStringView name = readWord();
        if (!isIdentifier(name) || (!atEnd() && !isBlank(line_[pos_]))) {
            pos_ = nameAt;
            return failHere(QLatin1String("expected the control's name (letters, digits and _), ") + found());
        }
        const QString folded = name.toString().toCaseFolded();
        if (const auto it = nameLines_.constFind(folded); it != nameLines_.constEnd()) {
            pos_ = nameAt;
            return failHere(QLatin1String("duplicate control name ") + name.toString() +
                            QLatin1String(": a control of that name is defined on line ") +
                            QString::number(*it));
        }
        if (!expectLineEnd("the control's name"))
            return false;
        nameLines_.insert(folded, lineNo_);
        current_.emplace();
        current_->control.className = className.toString();
        current_->control.name = name.toString();
        current_->beginLine = lineNo_;
        return true;
    }

    bool readEnd(FormDocument& doc) {
        if (!expectLineEnd("End"))
            return false;
        static const char* const geometry[] = {"Left", "Top", "Width", "Height"};
        for (int i = 0; i < 4; ++i)
            if (current_->geometryLine[i] == 0)
                return fail(lineNo_, 1,
                            QLatin1String("control ") + current_->control.name + QLatin1String(" has no ") +
                                QLatin1String(geometry[i]) + QLatin1String(": expected \"") +
                                QLatin1String(geometry[i]) + QLatin1String(" = <twips>\" before End"));
        doc.controls.push_back(std::move(current_->control));
        current_.reset();
        return true;
    }

    bool expectEquals(const QString& after) {
        skipBlanks();
        if (atEnd() || line_[pos_] != u'=')
            return failHere(QLatin1String("expected '=' after ") + after + QLatin1String(", ") + found());
        ++pos_;
        skipBlanks();
        return true;
    }

    // Parses the rest of the line as one value; errors point into the line.
    bool readValue(Value& out) {
        const qsizetype valueAt = pos_;
        ValueParseError e;
        if (!parseValue(rest(), out, e))
            return fail(lineNo_, valueAt + e.column, e.message);
        return true;
    }

    bool readGeometry(int which, const char* word) {
        Open& c = *current_;
        if (c.geometryLine[which] != 0) {
            pos_ = 0;
            skipBlanks();
            return failHere(QLatin1String(word) + QLatin1String(" is given twice in control ") +
                            c.control.name + QLatin1String(" (first on line ") +
                            QString::number(c.geometryLine[which]) + QLatin1Char(')'));
        }
        if (!expectEquals(QLatin1String(word)))
            return false;
        const qsizetype valueAt = pos_;
        Value v;
        if (!readValue(v))
            return false;
        int32_t twips = 0;
        if (const int16_t* i = v.ptr<int16_t>())
            twips = *i;
        else if (const int32_t* l = v.ptr<int32_t>())
            twips = *l;
        else
            return fail(lineNo_, valueAt + 1,
                        QLatin1String("expected a whole number of twips for ") + QLatin1String(word) +
                            QLatin1String(", found ") + excerpt(line_.mid(valueAt).trimmed()));
        if (which >= 2 && twips < 0)
            return fail(lineNo_, valueAt + 1, QLatin1String(word) + QLatin1String(" must not be negative"));
        int32_t* fields[] = {&c.control.left, &c.control.top, &c.control.width, &c.control.height};
        *fields[which] = twips;
        c.geometryLine[which] = lineNo_;
        return true;
    }

    // The key is a string up to the first '=' outside quotes; doubled quotes
    // inside it toggle twice, so they need no special case.
    bool readProperty() {
        skipBlanks();
        const qsizetype keyAt = pos_;
        qsizetype equals = -1;
        bool quoted = false;
        for (qsizetype i = pos_; i < line_.size(); ++i) {
            if (line_[i] == u'"')
                quoted = !quoted;
            else if (line_[i] == u'=' && !quoted) {
                equals = i;
                break;
            }
        }
        if (equals < 0)
            return failHere(QLatin1String("expected Property \"KEY\" = VALUE, ") + found());
        Value key;
        ValueParseError e;
        if (!parseValue(line_.mid(keyAt, equals - keyAt), key, e))
            return fail(lineNo_, keyAt + e.column, QLatin1String("in the property key: ") + e.message);
        if (!key.is<QString>())
            return failHere(QLatin1String("expected the property key as a \"string\", ") + found());
        const QString keyText = key.as<QString>();
        const QString folded = keyText.toCaseFolded();
        Open& c = *current_;
        if (const auto it = c.keyLines.constFind(folded); it != c.keyLines.constEnd())
            return failHere(QLatin1String("property ") + excerpt(keyText) +
                            QLatin1String(" is given twice in control ") + c.control.name +
                            QLatin1String(" (first on line ") + QString::number(*it) + QLatin1Char(')'));
        const int propertyLine = lineNo_;
        pos_ = equals + 1;
        skipBlanks();
        Value value;
        if (opensPictureBlock()) {
            if (!readPictureBlock(value))
                return false;
        } else if (!readValue(value)) {
            return false;
        }
        c.keyLines.insert(folded, propertyLine);
        c.control.bag.WriteProperty(keyText, value);
        return true;
    }

    // "Picture(" alone at the end of the line: the data follows on its own lines.
    bool opensPictureBlock() const {
        QStringView r = rest().trimmed();
        if (!r.endsWith(u'('))
            return false;
        r.chop(1);
        return r.trimmed().compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0;
    }

    bool readPictureBlock(Value& out) {
        const int startLine = lineNo_;
        const qsizetype startColumn = pos_ + 1;
        const QString unclosed =
            QLatin1String("expected ')' on a line of its own to close the picture begun on line ") +
            QString::number(startLine);
        QString joined = QStringLiteral("Picture(");
        for (;;) {
            if (!nextLine())
                return fail(lineNo_, static_cast<int>(line_.size()) + 1,
                            unclosed + QLatin1String(", found the end of the file"));
            skipBlanks();
            if (atEnd())
                continue;
            const QStringView data = rest().trimmed();
            if (data == u")")
                break;
            if (is(data, "End"))
                return failHere(unclosed + QLatin1String(", found End"));
            for (qsizetype i = 0; i < data.size(); ++i)
                if (!isBase64(data[i])) {
                    pos_ += i;
                    return failHere(
                        QLatin1String("expected base64 picture data, or ')' to close the picture begun "
                                      "on line ") +
                        QString::number(startLine) + QLatin1String(", ") + found());
                }
            joined += data;
        }
        joined += QLatin1Char(')');
        ValueParseError e;
        if (!parseValue(joined, out, e))
            return fail(startLine, startColumn, e.message);
        return true;
    }
};

// -------------------------------------------------------------------- writer

bool writeChecked(const FormDocument& doc, QString& text, QString* error) {
    auto failed = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    text = QStringLiteral("korvactl form 1\n");
    QHash<QString, qsizetype> names;
    for (const FormControl& c : doc.controls) {
        if (!isClassName(c.className))
            return failed(QLatin1String("control ") + excerpt(c.name) +
                          QLatin1String(" has an invalid class name ") + excerpt(c.className));
        if (!isIdentifier(c.name))
            return failed(QLatin1String("invalid control name ") + excerpt(c.name) +
                          QLatin1String(": a name is a letter or _ followed by letters, digits and _"));
        if (names.contains(c.name.toCaseFolded()))
            return failed(QLatin1String("duplicate control name ") + c.name);
        names.insert(c.name.toCaseFolded(), 0);
        if (c.width < 0 || c.height < 0)
            return failed(QLatin1String("control ") + c.name + QLatin1String(" has a negative size"));

        text += QLatin1String("\nBegin ") + c.className + QLatin1Char(' ') + c.name + QLatin1Char('\n');
        text += QLatin1String("    Left = ") + QString::number(c.left) + QLatin1Char('\n');
        text += QLatin1String("    Top = ") + QString::number(c.top) + QLatin1Char('\n');
        text += QLatin1String("    Width = ") + QString::number(c.width) + QLatin1Char('\n');
        text += QLatin1String("    Height = ") + QString::number(c.height) + QLatin1Char('\n');
        for (const PropertyBag::Entry& e : c.bag.entries()) {
            text += QLatin1String("    Property ") + formatTypedValue(Value(e.key)) + QLatin1String(" = ");
            const QString value = formatTypedValue(e.value);
            const Picture* picture = e.value.ptr<Picture>();
            if (!picture || picture->isNull()) {
                text += value + QLatin1Char('\n');
                continue;
            }
            if (!value.startsWith(QLatin1String("Picture(")))
                return failed(QLatin1String("the picture in property ") + excerpt(e.key) +
                              QLatin1String(" of ") + c.name + QLatin1String(" could not be encoded as PNG"));
            // Short lines keep the file readable and make a changed picture a small diff.
            const QStringView data = QStringView(value).mid(8, value.size() - 9);
            text += QLatin1String("Picture(\n");
            for (qsizetype i = 0; i < data.size(); i += kPictureLineWidth) {
                text += QLatin1String("        ");
                text += data.mid(i, kPictureLineWidth);
                text += QLatin1Char('\n');
            }
            text += QLatin1String("    )\n");
        }
        text += QLatin1String("End\n");
    }
    return true;
}

} // namespace

QString FormError::toString() const {
    if (line <= 0)
        return file + QLatin1String(": ") + message;
    QString where = file + QLatin1Char(':') + QString::number(line);
    if (column > 0)
        where += QLatin1Char(':') + QString::number(column);
    return where + QLatin1String(": ") + message;
}

bool parseForm(const QString& text, const QString& fileName, FormDocument& out, FormError& err) {
    FormDocument doc;
    out.controls.clear();
    if (!Reader(text, fileName, err).read(doc))
        return false;
    out = std::move(doc);
    return true;
}

bool loadForm(const QString& path, FormDocument& out, FormError& err) {
    out.controls.clear();
    err = FormError{};
    err.file = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err.message = QLatin1String("cannot open the form file: ") + file.errorString();
        return false;
    }
    const QString tooLarge = QStringLiteral("file is larger than the 64 MiB a form file may hold");
    if (file.size() > kMaxFormFileBytes) {
        err.message = tooLarge;
        return false;
    }
    // Read at most one byte past the limit: devices and growing files report no useful size.
    QByteArray bytes = file.read(kMaxFormFileBytes + 1);
    if (bytes.size() > kMaxFormFileBytes) {
        err.message = tooLarge;
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        err.message = QLatin1String("cannot read the form file: ") + file.errorString();
        return false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    if (decode.hasError()) {
        // Find the first line that does not decode, to point the reader at it.
        int line = 1;
        for (QByteArrayView rest = bytes; !rest.isEmpty(); ++line) {
            qsizetype end = rest.indexOf('\n');
            if (end < 0)
                end = rest.size();
            QStringDecoder lineDecode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = lineDecode(rest.first(end)); // decoding happens on conversion
            Q_UNUSED(decoded);
            if (lineDecode.hasError())
                break;
            rest = rest.sliced(std::min(end + 1, rest.size()));
        }
        err.line = line;
        err.column = 1;
        err.message = QStringLiteral("line is not valid UTF-8 text");
        return false;
    }
    return parseForm(text, path, out, err);
}

QString writeForm(const FormDocument& doc) {
    QString text;
    writeChecked(doc, text, nullptr);
    return text;
}

bool saveForm(const QString& path, const FormDocument& doc, QString* error) {
    auto failed = [&](const QString& message) {
        if (error)
            *error = path + QLatin1String(": ") + message;
        return false;
    };
    QString text;
    QString why;
    if (!writeChecked(doc, text, &why))
        return failed(why);
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > kMaxFormFileBytes)
        return failed(QStringLiteral("the form would be larger than the 64 MiB a form file may hold"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(QLatin1String("cannot write the form file: ") + file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failed(QLatin1String("cannot write the form file: ") + reason);
    }
    if (!file.commit())
        return failed(QLatin1String("cannot write the form file: ") + file.errorString());
    return true;
}

} // namespace korva
