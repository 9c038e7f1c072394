#include "frame/values/convert_p.h"

#include <QLocale>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace korva {

const char* typeName(ValueType t) {
    switch (t) {
    case ValueType::Empty:
        return "Empty";
    case ValueType::Boolean:
        return "Boolean";
    case ValueType::Integer:
        return "Integer";
    case ValueType::Long:
        return "Long";
    case ValueType::Single:
        return "Single";
    case ValueType::Double:
        return "Double";
    case ValueType::String:
        return "String";
    case ValueType::Colour:
        return "Colour";
    case ValueType::Font:
        return "Font";
    case ValueType::Picture:
        return "Picture";
    }
    return "?";
}

bool fitsInteger(int64_t x) {
    return x >= std::numeric_limits<int16_t>::min() && x <= std::numeric_limits<int16_t>::max();
}
bool fitsLong(int64_t x) {
    return x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max();
}

bool toInteger(double x, int16_t& out) {
    const double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) // also rejects NaN
        return false;
    out = static_cast<int16_t>(r);
    return true;
}

bool toLong(double x, int32_t& out) {
    const double r = roundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return false;
    out = static_cast<int32_t>(r);
    return true;
}

namespace {

bool parseRadix(const QString& t, double& out) {
    if (t.size() < 3 || t[0] != QLatin1Char('&'))
        return false;
    const QChar kind = t[1].toUpper();
    int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (base == 0)
        return false;
    QString digits = t.mid(2);
    if (digits.endsWith(QLatin1Char('&')))
        digits.chop(1);
    bool ok = false;
    const qulonglong v = digits.toULongLong(&ok, base);
    if (!ok || v > 0xFFFFFFFFull)
        return false;
    // Short hexadecimal literals are 16-bit, longer ones 32-bit, both signed.
    if (v <= 0xFFFF && digits.size() <= (base == 16 ? 4 : 6))
        out = static_cast<int16_t>(static_cast<uint16_t>(v));
    else
        out = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

} // namespace

bool textToNumber(const QString& text, double& out) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (parseRadix(t, out))
        return true;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double leadingNumber(const QString& text) {
    // Blanks are skipped everywhere, as the runtime's reader does.
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r'))
            continue;
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
    }
    if (s.size() >= 2 && s[0] == '&') {
        double v = 0;
        size_t end = 2;
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : (s[1] == 'O' || s[1] == 'o') ? 8 : 0;
        if (base != 0) {
            while (end < s.size() && std::isxdigit(static_cast<unsigned char>(s[end])) &&
                   (base == 16 || (s[end] >= '0' && s[end] <= '7')))
                ++end;
            if (parseRadix(QString::fromLatin1(s.substr(0, end)), v))
                return v;
        }
        return 0.0;
    }
    size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        num.push_back(s[i++]);
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        num.push_back(s[i++]);
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        num.push_back(s[i++]);
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            num.push_back(s[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp.push_back(s[j++]);
        bool expDigits = false;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            exp.push_back(s[j++]);
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    const double v = std::strtod(num.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

namespace {

// Rounds the decimal reading of |x| to `decimals` places, halves away from
// zero. The reading is the shortest text that converts back to x: what a
// person typed or sees (0.15, not 0.1499...), and every digit of a number
// beyond fifteen of them (4503599627370496 stays as it is).
QString formatFixed(double x, int decimals) {
    if (!std::isfinite(x))
        return QString::number(x);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    *res.ptr = '\0';
    // d.ddde+XX: the significant digits and the exponent of the first one.
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits.push_back(*p);
    const int e = std::atoi(p + 1);
    auto increment = [](std::string& d) {
        int k = static_cast<int>(d.size()) - 1;
        while (k >= 0 && d[static_cast<size_t>(k)] == '9')
            d[static_cast<size_t>(k--)] = '0';
        if (k < 0) {
            d.insert(d.begin(), '1');
            return true;
        }
        ++d[static_cast<size_t>(k)];
        return false;
    };
    // Place the point: value = 0.d1d2... * 10^(e+1)
    std::string intPart, fracPart;
    const int pointPos = e + 1;
    if (pointPos <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-pointPos), '0') + digits;
    } else if (pointPos >= static_cast<int>(digits.size())) {
        intPart = digits + std::string(static_cast<size_t>(pointPos) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<size_t>(pointPos));
        fracPart = digits.substr(static_cast<size_t>(pointPos));
    }
    fracPart.resize(std::max<size_t>(fracPart.size(), static_cast<size_t>(decimals) + 1), '0');
    const bool up = fracPart[static_cast<size_t>(decimals)] >= '5';
    std::string kept = intPart + fracPart.substr(0, static_cast<size_t>(decimals));
    if (up)
        increment(kept); // a carry out of the first digit makes the text one digit longer
    std::string whole = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
    std::string frac = kept.substr(kept.size() - static_cast<size_t>(decimals));
    size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? "0" : whole.substr(nz);
    QString out;
    const bool zero = whole == "0" && frac.find_first_not_of('0') == std::string::npos;
    if (x < 0 && !zero)
        out += QLatin1Char('-');
    out += QString::fromLatin1(whole);
    if (decimals > 0)
        out += QLocale().decimalPoint() + QString::fromLatin1(frac);
    return out;
}

} // namespace

QString formatWhole(double x) { return formatFixed(x, 0); }
QString formatOneDecimal(double x) { return formatFixed(x, 1); }

QString numberToText(double x) {
    if (x == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(x, 'g', 15);
    // Fifteen digits of the largest doubles round past the range; more read back.
    if (!std::isfinite(s.toDouble()))
        s = QString::number(x, 'g', 17);
    if (s.contains(QLatin1Char('e'))) {
        // Plain digits up to the range where a person still reads them so.
        const double a = std::fabs(x);
        if (a >= 1e-4 && a < 1e15) {
            s = QString::number(x, 'f', 15 - static_cast<int>(std::floor(std::log10(a))) - 1);
            if (s.contains(QLatin1Char('.'))) {
                while (s.endsWith(QLatin1Char('0')))
                    s.chop(1);
                if (s.endsWith(QLatin1Char('.')))
                    s.chop(1);
            }
        } else {
            s.replace(QLatin1String("e+"), QLatin1String("E+"))
                .replace(QLatin1String("e-"), QLatin1String("E-"));
        }
    }
    return s;
}

bool valueToDouble(const Value& v, double& out) {
    switch (v.type()) {
    case ValueType::Empty:
        out = 0;
        return true;
    case ValueType::Boolean:
        out = v.as<bool>() ? -1.0 : 0.0;
        return true;
    case ValueType::Integer:
        out = v.as<int16_t>();
        return true;
    case ValueType::Long:
        out = v.as<int32_t>();
        return true;
    case ValueType::Single:
        out = v.as<float>();
        return true;
    case ValueType::Double:
        out = v.as<double>();
        return true;
    case ValueType::Colour:
        out = static_cast<int32_t>(v.as<Colour>().value);
        return true;
    case ValueType::String:
        return textToNumber(v.as<QString>(), out);
    case ValueType::Font:
    case ValueType::Picture:
        return false;
    }
    return false;
}

bool valueToBool(const Value& v, bool& out) {
    if (const bool* b = v.ptr<bool>()) {
        out = *b;
        return true;
    }
    if (const QString* s = v.ptr<QString>()) {
        const QString t = s->trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
            out = true;
            return true;
        }
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            out = false;
            return true;
        }
    }
    double d = 0;
    if (!valueToDouble(v, d))
        return false;
    out = d != 0.0;
    return true;
}

bool valueToInteger(const Value& v, int16_t& out) {
    double d = 0;
    return valueToDouble(v, d) && toInteger(d, out);
}

bool valueToLong(const Value& v, int32_t& out) {
    double d = 0;
    return valueToDouble(v, d) && toLong(d, out);
}

bool valueToSingle(const Value& v, float& out) {
    double d = 0;
    if (!valueToDouble(v, d) || std::fabs(d) > std::numeric_limits<float>::max())
        return false;
    out = static_cast<float>(d);
    return true;
}

bool valueToString(const Value& v, QString& out) {
    switch (v.type()) {
    case ValueType::Empty:
        out.clear();
        return true;
    case ValueType::Boolean:
        out = v.as<bool>() ? QStringLiteral("True") : QStringLiteral("False");
        return true;
    case ValueType::String:
        out = v.as<QString>();
        return true;
    case ValueType::Font:
    case ValueType::Picture:
        return false;
    default: {
        double d = 0;
        if (!valueToDouble(v, d))
            return false;
        out = numberToText(d);
        return true;
    }
    }
}

bool valueToColour(const Value& v, uint32_t& out) {
    if (const Colour* c = v.ptr<Colour>()) {
        out = c->value;
        return true;
    }
    int32_t l = 0;
    if (!valueToLong(v, l))
        return false;
    out = static_cast<uint32_t>(l);
    return true;
}

} // namespace korva
