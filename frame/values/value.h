// Value: the typed datum that travels between host code, the property bag,
// form files, the dispatch interface and event arguments.
#pragma once

#include "korvactl_export.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <variant>

namespace korva {

// The host's standard font object, as a plain value.
struct FontSpec {
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The host's standard picture object. An empty image is "no picture".
struct Picture {
    QImage image;
    // For a picture the library draws itself: the same picture drawn at any
    // pixel size. A stretched picture on a high-density screen is drawn from
    // this at device resolution instead of scaling `image` up; at 1x `image`
    // is what shows. Empty for pictures loaded from files.
    QImage (*draw)(QSize pixels) = nullptr;
    // Which picture this is: a snapshot of a drawing layer is a picture of
    // its own each time it is taken, also when its pixels are shared with
    // another. 0 for other pictures, which are told apart by their pixels'
    // identity. (Serials stay below 2^32; image cache keys never do.)
    qint64 serial = 0;

    bool isNull() const { return image.isNull(); }
    qint64 handle() const { return isNull() ? 0 : serial ? serial : image.cacheKey(); }
    friend bool operator==(const Picture& a, const Picture& b) { return a.image == b.image; }
};

// A colour kept as given: 0x00BBGGRR, or a system colour with the top bit set.
struct Colour {
    uint32_t value = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

enum class ValueType { Empty, Boolean, Integer, Long, Single, Double, String, Colour, Font, Picture };

class Value {
public:
    Value() = default;
    Value(bool b) : v_(b) {}
    Value(int16_t i) : v_(i) {}
    Value(int32_t l) : v_(l) {}
    Value(float f) : v_(f) {}
    Value(double d) : v_(d) {}
    Value(const QString& s) : v_(s) {}
    Value(const char* s) : v_(QString::fromUtf8(s)) {}
    Value(Colour c) : v_(c) {}
    Value(const FontSpec& f) : v_(f) {}
    Value(const Picture& p) : v_(p) {}

    ValueType type() const { return static_cast<ValueType>(v_.index()); }
    bool isEmpty() const { return type() == ValueType::Empty; }

    template <class T> bool is() const { return std::holds_alternative<T>(v_); }
    template <class T> const T& as() const { return std::get<T>(v_); }
    template <class T> T* ptr() { return std::get_if<T>(&v_); }
    template <class T> const T* ptr() const { return std::get_if<T>(&v_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, bool, int16_t, int32_t, float, double, QString, Colour, FontSpec, Picture>
        v_;
};

KORVA_EXPORT const char* typeName(ValueType t);

} // namespace korva
