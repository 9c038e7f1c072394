// The one text syntax for values: what korvahost scripts accept and print and
// what form files hold.
//
//   "Open"  "Say ""hi"""  "a" & Chr(10) & "b"   strings; control characters
//                                               are spelled Chr(n) so a value
//                                               always stays on one line
//   True  False                                 Boolean (any case)
//   12  -32768                                  Integer when it fits 16 bits,
//   70000                                       else Long, else Double
//   1.5  1e-3  -0.0  Inf  NaN                   Double
//   &HFF  &H8000  &HFFFF&  &H12345              hexadecimal: up to 4 digits
//                                               without a trailing & is Integer,
//                                               anything else Long; the bits
//                                               give the sign
//   5%  5&  5!  5#                              suffixes for an exact type:
//                                               Integer, Long, Single, Double
//   Colour(&H8000000F&)                         a colour-typed value
//   Font("Tahoma", 8.25, Bold, Italic)          flags: Bold Italic Underline
//                                               Strikethrough, any order
//   Picture(<base64 PNG>)  Nothing              a picture, or no picture
//   Empty                                       the empty value
#pragma once

#include "frame/values/value.h"

#include <QString>
#include <QStringView>

namespace korva {

// A value as korvahost prints it. Colours print as the signed decimal of their
// 32 bits and a Long that fits 16 bits prints like an Integer, so this text
// does not always parse back to the same type; formatTypedValue does.
QString formatValue(const Value& value);

// A value as a form file stores it: the same syntax, but every value parses
// back to exactly its type (a Long carries a '&' suffix, a colour is written
// Colour(&H...&)).
QString formatTypedValue(const Value& value);

struct ValueParseError {
    qsizetype column = 0; // 1-based, in UTF-16 code units of the parsed text
    QString message;
};

// The inverse of both formatters, plus what a person types. The whole text
// must be one value; blanks around it are ignored. On failure `out` is left
// untouched and `error` says what was expected where.
bool parseValue(QStringView text, Value& out, ValueParseError& error);

// As above, with the error as "column N: message".
bool parseValue(QStringView text, Value& out, QString* error);

} // namespace korva
