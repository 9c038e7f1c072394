// The runtime's number and text conversions, in one place, so every control
// rounds, parses and formats the same way.
#pragma once

#include "frame/values/rounding_p.h"
#include "frame/values/value.h"

#include <QString>

#include <cstdint>

namespace korva {

// Whole-number conversions with the range checks of Integer and Long. They
// round half to even first and fail, leaving `out` untouched, when the result
// does not fit.
bool toInteger(double x, int16_t& out);
bool toLong(double x, int32_t& out);
bool fitsInteger(int64_t x);
bool fitsLong(int64_t x);

// Text to number the way the runtime converts a string in arithmetic: the
// current locale's number format (then the C locale), surrounding blanks
// ignored, `&H`/`&O` prefixes for hexadecimal and octal. Empty or non-numeric
// text fails and leaves `out` untouched.
bool textToNumber(const QString& text, double& out);

// The leading number of a text: blanks skipped, then as much of a number as
// can be read ("12abc" -> 12, "abc" -> 0, " 1 2" -> 12, "-3.5e1x" -> -35).
// Always uses '.' as the decimal point; never fails.
double leadingNumber(const QString& text);

// The formats "0" and "0.0": rounding halves away from zero on the decimal
// value a person would read (0.15 -> "0.2"), the locale's decimal point.
QString formatWhole(double x);
QString formatOneDecimal(double x);

// A number as the runtime prints it when it turns a number into a string:
// shortest text with up to 15 significant digits, no exponent for ordinary sizes.
QString numberToText(double x);

// Conversions of a saved or passed value to a property's type. Each returns
// false, leaving `out` untouched, when the value does not convert.
bool valueToBool(const Value& v, bool& out);
bool valueToInteger(const Value& v, int16_t& out);
bool valueToLong(const Value& v, int32_t& out);
bool valueToDouble(const Value& v, double& out);
bool valueToSingle(const Value& v, float& out);
bool valueToString(const Value& v, QString& out);
bool valueToColour(const Value& v, uint32_t& out);

} // namespace korva
