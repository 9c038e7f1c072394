// Sections: formatting helpers - formatValue / formatTypedValue - the parser
// (strings, numbers, hexadecimal, Colour, Font, Picture) - parseValue.
#include "frame/values/value_text_p.h"

#include "frame/values/convert_p.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace korva {

namespace {

// ---------------------------------------------------------------- formatting

// Characters that an editor, a terminal or a line-based reader would swallow,
// break a line on, or mangle; they are written as Chr(n) outside the quotes.
bool needsChr(char16_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029 || c == 0xFEFF ||
           QChar::isSurrogate(c); // only lone ones get here; pairs are copied as they stand
}

QString quoteString(const QString& s) {
    QString out;
    out.reserve(s.size() + 2);
    bool open = false;
    auto startPart = [&] {
        if (!out.isEmpty())
            out += QLatin1String(" & ");
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode());
        if (!pair && needsChr(c)) {
            if (open) {
                out += QLatin1Char('"');
                open = false;
            }
            startPart();
            out += QLatin1String("Chr(") + QString::number(c) + QLatin1Char(')');
            continue;
        }
        if (!open) {
            startPart();
            out += QLatin1Char('"');
            open = true;
        }
        out += s[i];
        if (pair)
            out += s[++i];
        else if (c == u'"')
            out += QLatin1Char('"');
    }
    if (open)
        out += QLatin1Char('"');
    if (out.isEmpty())
        out = QStringLiteral("\"\"");
    return out;
}

// Shortest text that reads back to the same number. With `floatForm` the text
// always shows a point or an exponent, so it cannot be mistaken for a whole number.
template <class F> QString floatText(F x, bool floatForm) {
    if (std::isnan(x))
        return QStringLiteral("NaN");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    QString t = QString::fromLatin1(buf, res.ptr - buf);
    if (floatForm && !t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e')))
        t += QLatin1String(".0");
    return t;
}

QString hexText(uint32_t v) {
    // Six digits read as BBGGRR for a plain colour; system colours need all eight.
    return QLatin1String("&H") +
           QString::number(v, 16).toUpper().rightJustified(v > 0xFFFFFF ? 8 : 6, QLatin1Char('0')) +
           QLatin1Char('&');
}

QString fontText(const FontSpec& f) {
    QString t = QLatin1String("Font(") + quoteString(f.name) + QLatin1String(", ") + floatText(f.size, false);
    if (f.bold)
        t += QLatin1String(", Bold");
    if (f.italic)
        t += QLatin1String(", Italic");
    if (f.underline)
        t += QLatin1String(", Underline");
    if (f.strikethrough)
        t += QLatin1String(", Strikethrough");
    return t + QLatin1Char(')');
}

QString pictureText(const Picture& p) {
    if (p.isNull())
        return QStringLiteral("Nothing");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!p.image.save(&buffer, "PNG"))
        return QStringLiteral("Nothing"); // callers that must not lose a picture check for this
    return QLatin1String("Picture(") + QString::fromLatin1(png.toBase64()) + QLatin1Char(')');
}

QString format(const Value& v, bool typed) {
    switch (v.type()) {
    case ValueType::Empty:
        return QStringLiteral("Empty");
    case ValueType::Boolean:
        return v.as<bool>() ? QStringLiteral("True") : QStringLiteral("False");
    case ValueType::Integer:
        return QString::number(v.as<int16_t>());
    case ValueType::Long:
        return QString::number(v.as<int32_t>()) + (typed ? QLatin1String("&") : QLatin1String(""));
    case ValueType::Single:
        return floatText(v.as<float>(), true) + QLatin1Char('!');
    case ValueType::Double:
        return floatText(v.as<double>(), true);
    case ValueType::String:
        return quoteString(v.as<QString>());
    case ValueType::Colour:
        return typed ? QLatin1String("Colour(") + hexText(v.as<Colour>().value) + QLatin1Char(')')
                     : QString::number(static_cast<int32_t>(v.as<Colour>().value));
    case ValueType::Font:
        return fontText(v.as<FontSpec>());
    case ValueType::Picture:
        return pictureText(v.as<Picture>());
    }
    return QString();
}

// ------------------------------------------------------------------- parsing

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}
bool isWordStart(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool isWordChar(QChar c) { return isWordStart(c) || (c >= u'0' && c <= u'9'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
int hexDigit(QChar c) {
    if (isDigit(c))
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}
bool isBase64(QChar c) { return isWordChar(c) ? c != u'_' : (c == u'+' || c == u'/' || c == u'='); }

class Parser {
public:
    Parser(QStringView text, ValueParseError& err) : s_(text), err_(err) {}

    bool parseWhole(Value& out) {
        skipBlanks();
        if (atEnd())
            return fail(pos_, QStringLiteral("expected a value, found nothing"));
        if (!parseAny(out))
            return false;
        skipBlanks();
        if (!atEnd())
            return fail(pos_, QLatin1String("unexpected text after the value: ") + found());
        return true;
    }

private:
    QStringView s_;
    qsizetype pos_ = 0;
    ValueParseError& err_;

    bool fail(qsizetype at, const QString& message) {
        err_.column = at + 1;
        err_.message = message;
        return false;
    }
    bool atEnd() const { return pos_ >= s_.size(); }
    QChar peek(qsizetype ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : QChar(); }
    void skipBlanks() {
        while (!atEnd() && isBlank(s_[pos_]))
            ++pos_;
    }

    // What stands at the current position, short enough to quote in a message
    // even when the text is megabytes long.
    QString found() const {
        if (atEnd())
            return QStringLiteral("found the end of the text");
        qsizetype end = pos_;
        while (end < s_.size() && end - pos_ < 24 && !isBlank(s_[end]))
            ++end;
        QString t = s_.mid(pos_, end - pos_).toString();
        for (QChar& c : t)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                c = QChar(0xFFFD); // keep terminals and logs readable
        if (end < s_.size() && !isBlank(s_[end]))
            t += QLatin1String("...");
        return QLatin1String("found \"") + t + QLatin1Char('"');
    }

    QStringView readWord() {
        const qsizetype start = pos_;
        while (!atEnd() && isWordChar(s_[pos_]))
            ++pos_;
        return s_.mid(start, pos_ - start);
    }
    static bool is(QStringView word, const char* keyword) {
        return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }

    bool expect(char c, const QString& what) {
        skipBlanks();
        if (peek() != QLatin1Char(c))
            return fail(pos_, QLatin1String("expected ") + what + QLatin1String(", ") + found());
        ++pos_;
        skipBlanks();
        return true;
    }

    bool parseAny(Value& out) {
        const QChar c = peek();
        if (c == u'"')
            return parseStringValue(out);
        if (c == u'&')
            return parseHex(out);
        if (isDigit(c) || c == u'.' || c == u'+' || c == u'-')
            return parseNumber(out);
        if (!isWordStart(c))
            return fail(pos_,
                        QLatin1String("expected a value (a number, a \"string\", True, False, Colour(...), "
                                      "Font(...), Picture(...), Nothing or Empty), ") +
                            found());
        const qsizetype start = pos_;
        const QStringView word = readWord();
        if (is(word, "True") || is(word, "False")) {
            out = Value(is(word, "True"));
            return true;
        }
        if (is(word, "Empty")) {
            out = Value();
            return true;
        }
        if (is(word, "Nothing")) {
            out = Value(Picture{});
            return true;
        }
        if (is(word, "Chr")) {
            pos_ = start;
            return parseStringValue(out);
        }
        if (is(word, "Inf") || is(word, "Infinity") || is(word, "NaN")) {
            pos_ = start;
            return parseNumber(out);
        }
        if (is(word, "Colour") || is(word, "Color"))
            return parseColour(out);
        if (is(word, "Font"))
            return parseFont(out);
        if (is(word, "Picture"))
            return parsePicture(out);
        pos_ = start;
        return fail(start,
                    QLatin1String("expected a value; a word must be True, False, Empty, Nothing, Colour, "
                                  "Font, Picture or Chr, ") +
                        found());
    }

    // ------------------------------------------------------------ strings

    bool parseStringValue(Value& out) {
        QString text;
        if (!parseStringExpr(text, "a \"string\""))
            return false;
        out = Value(text);
        return true;
    }

    bool parseStringExpr(QString& out, const char* firstWhat) {
        for (bool first = true;; first = false) {
            const qsizetype partAt = pos_;
            if (peek() == u'"') {
                if (!parseQuoted(out))
                    return false;
            } else if (isWordStart(peek()) && is(readWord(), "Chr")) {
                if (!parseChr(out))
                    return false;
            } else {
                pos_ = partAt;
                return fail(pos_, QLatin1String("expected ") +
                                      (first ? QLatin1String(firstWhat)
                                             : QLatin1String("a \"string\" or Chr(n) after &")) +
                                      QLatin1String(", ") + found());
            }
            // '&' joins parts; "&H" after a string is a hex number, which does not belong here.
            const qsizetype save = pos_;
            skipBlanks();
            if (peek() == u'&' && peek(1).toUpper() != u'H') {
                ++pos_;
                skipBlanks();
                continue;
            }
            pos_ = save;
            return true;
        }
    }

    bool parseQuoted(QString& out) {
        const qsizetype open = pos_++;
        for (;;) {
            const qsizetype quote = s_.indexOf(QLatin1Char('"'), pos_);
            if (quote < 0)
                return fail(open,
                            QStringLiteral("string is not closed: expected a double quote before the end"));
            out += s_.mid(pos_, quote - pos_);
            pos_ = quote + 1;
            if (peek() != u'"')
                return true;
            out += QLatin1Char('"');
            ++pos_;
        }
    }

    bool parseChr(QString& out) {
        if (!expect('(', QStringLiteral("'(' after Chr")))
            return false;
        const qsizetype at = pos_;
        uint32_t code = 0;
        if (peek() == u'&') {
            int digits = 0;
            bool longSuffix = false;
            if (!parseHexBits(code, digits, longSuffix))
                return false;
        } else {
            int64_t whole = 0;
            if (!parseWholeDecimal(whole))
                return false;
            code = whole < 0 || whole > 0xFFFF ? 0x10000 : static_cast<uint32_t>(whole);
        }
        if (code > 0xFFFF)
            return fail(at, QStringLiteral("Chr needs a character code from 0 to 65535"));
        out += QChar(static_cast<char16_t>(code));
        return expect(')', QStringLiteral("')' after the character code"));
    }

    // ------------------------------------------------------------ numbers

    // Optional sign and decimal digits only, for places that take a whole number.
    bool parseWholeDecimal(int64_t& out) {
        const qsizetype start = pos_;
        bool negative = false;
        if (peek() == u'+' || peek() == u'-')
            negative = s_[pos_++] == u'-';
        const qsizetype digitsStart = pos_;
        while (isDigit(peek()))
            ++pos_;
        if (pos_ == digitsStart)
            return fail(pos_, QLatin1String("expected a whole number, ") + found());
        // Ten digits of value cover every 32-bit number; more is out of range anyway.
        qsizetype first = digitsStart;
        while (first < pos_ - 1 && s_[first] == u'0')
            ++first;
        if (pos_ - first > 11)
            return fail(start, QStringLiteral("number is too large"));
        int64_t v = 0;
        for (qsizetype i = first; i < pos_; ++i)
            v = v * 10 + (s_[i].unicode() - u'0');
        out = negative ? -v : v;
        return true;
    }

    // "&H" and up to eight hexadecimal digits, with an optional '&' (or '%').
    bool parseHexBits(uint32_t& bits, int& digits, bool& longSuffix) {
        const qsizetype start = pos_;
        if (peek(1).toUpper() != u'H')
            return fail(pos_, QLatin1String("expected &H and hexadecimal digits, ") + found());
        pos_ += 2;
        uint64_t v = 0;
        digits = 0;
        while (hexDigit(peek()) >= 0) {
            v = v * 16 + static_cast<uint64_t>(hexDigit(s_[pos_++]));
            ++digits;
            if (v > 0xFFFFFFFFull)
                return fail(start, QStringLiteral("hexadecimal number is wider than 32 bits"));
        }
        if (digits == 0)
            return fail(pos_, QLatin1String("expected hexadecimal digits after &H, ") + found());
        bits = static_cast<uint32_t>(v);
        longSuffix = peek() == u'&';
        if (longSuffix)
            ++pos_;
        return true;
    }

    bool parseHex(Value& out) {
        const qsizetype start = pos_;
        uint32_t bits = 0;
        int digits = 0;
        bool longSuffix = false;
        if (!parseHexBits(bits, digits, longSuffix))
            return false;
        if (!longSuffix && peek() == u'%') {
            ++pos_;
            if (bits > 0xFFFF)
                return fail(start, QStringLiteral("hexadecimal number is too wide for an Integer (%): "
                                                  "at most four digits"));
            out = Value(static_cast<int16_t>(static_cast<uint16_t>(bits)));
            return true;
        }
        if (digits <= 4 && !longSuffix)
            out = Value(static_cast<int16_t>(static_cast<uint16_t>(bits)));
        else
            out = Value(static_cast<int32_t>(bits));
        return true;
    }

    template <class F> bool readFloat(const std::string& text, qsizetype at, const char* typeName, F& out) {
        F v{};
        const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
        if (res.ec == std::errc::result_out_of_range)
            return fail(at, QLatin1String("number is out of range for a ") + QLatin1String(typeName));
        if (res.ec != std::errc() || res.ptr != text.data() + text.size())
            return fail(at, QLatin1String("expected a number, ") + found());
        out = v;
        return true;
    }

    bool parseNumber(Value& out) {
        const qsizetype start = pos_;
        bool negative = false;
        if (peek() == u'+' || peek() == u'-')
            negative = s_[pos_++] == u'-';

        if (isWordStart(peek())) {
            const qsizetype wordAt = pos_;
            const QStringView word = readWord();
            double special = 0;
            if (is(word, "Inf") || is(word, "Infinity"))
                special = std::numeric_limits<double>::infinity();
            else if (is(word, "NaN"))
                special = std::numeric_limits<double>::quiet_NaN();
            else {
                pos_ = wordAt;
                return fail(wordAt, QLatin1String("expected a number, ") + found());
            }
            if (negative)
                special = -special;
            if (peek() == u'!') {
                ++pos_;
                out = Value(static_cast<float>(special));
            } else {
                if (peek() == u'#')
                    ++pos_;
                else if (peek() == u'%' || peek() == u'&')
                    return fail(pos_,
                                QStringLiteral("infinity and NaN exist only as Single (!) or Double (#)"));
                out = Value(special);
            }
            return true;
        }

        std::string ascii;
        if (negative)
            ascii.push_back('-');
        bool digits = false;
        bool whole = true;
        auto takeDigits = [&] {
            while (isDigit(peek())) {
                ascii.push_back(static_cast<char>(s_[pos_++].unicode()));
                digits = true;
            }
        };
        takeDigits();
        if (peek() == u'.') {
            whole = false;
            ascii.push_back('.');
            ++pos_;
            takeDigits();
        }
        if (!digits)
            return fail(start, QLatin1String("expected a number, ") + found());
        if (peek() == u'e' || peek() == u'E') {
            whole = false;
            ascii.push_back('e');
            ++pos_;
            if (peek() == u'+' || peek() == u'-')
                ascii.push_back(static_cast<char>(s_[pos_++].unicode()));
            if (!isDigit(peek()))
                return fail(pos_, QLatin1String("expected the digits of the exponent, ") + found());
            while (isDigit(peek()))
                ascii.push_back(static_cast<char>(s_[pos_++].unicode()));
        }

        const QChar suffix = peek();
        const bool hasSuffix = suffix == u'%' || suffix == u'&' || suffix == u'!' || suffix == u'#';
        if (hasSuffix)
            ++pos_;

        if (suffix == u'!') {
            float f = 0;
            if (!readFloat(ascii, start, "Single", f))
                return false;
            out = Value(f);
            return true;
        }
        if (!whole || suffix == u'#') {
            if (hasSuffix && suffix != u'#')
                return fail(pos_ - 1, suffix == u'%' ? QStringLiteral("an Integer (%) must be a whole number")
                                                     : QStringLiteral("a Long (&) must be a whole number"));
            double d = 0;
            if (!readFloat(ascii, start, "Double", d))
                return false;
            out = Value(d);
            return true;
        }

        int64_t v = 0;
        const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
        const bool inInt64 = res.ec == std::errc();
        if (suffix == u'%') {
            if (!inInt64 || !fitsInteger(v))
                return fail(start, QStringLiteral("number is out of range for an Integer (%): "
                                                  "it must be from -32768 to 32767"));
            out = Value(static_cast<int16_t>(v));
        } else if (suffix == u'&') {
            if (!inInt64 || !fitsLong(v))
                return fail(start, QStringLiteral("number is out of range for a Long (&): "
                                                  "it must be from -2147483648 to 2147483647"));
            out = Value(static_cast<int32_t>(v));
        } else if (inInt64 && fitsInteger(v)) {
            out = Value(static_cast<int16_t>(v));
        } else if (inInt64 && fitsLong(v)) {
            out = Value(static_cast<int32_t>(v));
        } else {
            double d = 0;
            if (!readFloat(ascii, start, "Double", d))
                return false;
            out = Value(d);
        }
        return true;
    }

    // ------------------------------------------------------------ objects

    bool parseColour(Value& out) {
        if (!expect('(', QStringLiteral("'(' after Colour")))
            return false;
        const qsizetype at = pos_;
        uint32_t bits = 0;
        if (peek() == u'&') {
            int digits = 0;
            bool longSuffix = false;
            if (!parseHexBits(bits, digits, longSuffix))
                return false;
        } else {
            int64_t v = 0;
            if (!parseWholeDecimal(v))
                return false;
            // Signed (as printed) or unsigned (as a person may type it), both 32 bits.
            if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<uint32_t>::max())
                return fail(at, QStringLiteral("colour is wider than 32 bits"));
            bits = static_cast<uint32_t>(v);
            if (peek() == u'&')
                ++pos_;
        }
        if (!expect(')', QStringLiteral("')' after the colour")))
            return false;
        out = Value(Colour{bits});
        return true;
    }

    bool parseFont(Value& out) {
        FontSpec f;
        if (!expect('(', QStringLiteral("'(' after Font")))
            return false;
        f.name.clear();
        if (!parseStringExpr(f.name, "the font name as a \"string\""))
            return false;
        if (!expect(',', QStringLiteral("',' and the font size after the font name")))
            return false;
        const qsizetype sizeAt = pos_;
        const QChar c = peek();
        if (!(isDigit(c) || c == u'.' || c == u'+' || c == u'-' || isWordStart(c)))
            return fail(sizeAt, QLatin1String("expected the font size in points, ") + found());
        Value size;
        if (!parseNumber(size))
            return false;
        if (!valueToDouble(size, f.size))
            return fail(sizeAt, QStringLiteral("expected the font size in points"));
        skipBlanks();
        while (peek() == u',') {
            ++pos_;
            skipBlanks();
            const qsizetype flagAt = pos_;
            const QStringView flag = readWord();
            bool* target = is(flag, "Bold")            ? &f.bold
                           : is(flag, "Italic")        ? &f.italic
                           : is(flag, "Underline")     ? &f.underline
                           : is(flag, "Strikethrough") ? &f.strikethrough
                                                       : nullptr;
            if (!target) {
                pos_ = flagAt;
                return fail(flagAt,
                            QLatin1String("expected Bold, Italic, Underline or Strikethrough, ") + found());
            }
            if (*target)
                return fail(flagAt, flag.toString() + QLatin1String(" is given twice"));
            *target = true;
            skipBlanks();
        }
        if (!expect(')', QStringLiteral("',' and a font flag, or ')' to close the font")))
            return false;
        out = Value(f);
        return true;
    }

    bool parsePicture(Value& out) {
        if (!expect('(', QStringLiteral("'(' after Picture")))
            return false;
        const qsizetype dataAt = pos_;
        QByteArray base64;
        while (!atEnd() && peek() != u')') {
            const QChar c = s_[pos_];
            if (isBase64(c))
                base64.append(static_cast<char>(c.unicode()));
            else if (!isBlank(c))
                return fail(pos_, QLatin1String("expected base64 picture data or ')', ") + found());
            ++pos_;
        }
        if (atEnd())
            return fail(dataAt - 1, QStringLiteral("picture is not closed: expected ')' after the data"));
        ++pos_;
        if (base64.isEmpty()) {
            out = Value(Picture{});
            return true;
        }
        const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(dataAt, QStringLiteral("picture data is not valid base64"));
        // Qt's image reader refuses images beyond its allocation limit, so a
        // small file that claims a gigantic size cannot exhaust memory here.
        QImage image;
        if (!image.loadFromData(*decoded, "PNG"))
            return fail(dataAt, QStringLiteral("picture data is not a readable PNG image"));
        out = Value(Picture{image});
        return true;
    }
};

} // namespace

QString formatValue(const Value& value) { return format(value, false); }
QString formatTypedValue(const Value& value) { return format(value, true); }

bool parseValue(QStringView text, Value& out, ValueParseError& error) {
    Value v;
    ValueParseError e;
    if (!Parser(text, e).parseWhole(v)) {
        error = e;
        return false;
    }
    out = std::move(v);
    return true;
}

bool parseValue(QStringView text, Value& out, QString* error) {
    ValueParseError e;
    if (parseValue(text, out, e))
        return true;
    if (error)
        *error = QLatin1String("column ") + QString::number(e.column) + QLatin1String(": ") + e.message;
    return false;
}

} // namespace korva
