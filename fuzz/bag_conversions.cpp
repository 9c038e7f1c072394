// Property bag conversions, alone and through every control that is built:
//  - a saved value converts to a property's type consistently (an Integer
//    that converts is a Long of the same value, a number's text reads back
//    as a finite number, a Single is never infinite from a finite value);
//  - a control that reads a bag of any values writes every key with the
//    type it always writes it with, and what it wrote reads back the same:
//    read again into a fresh instance and written out, nothing changes;
//  - a bag goes through a form file unchanged.
#include "frame/component/catalogue_p.h"
#include "frame/runtime/control.h"
#include "frame/values/convert_p.h"
#include "frame/values/form_file_p.h"
#include "frame/values/property_bag.h"
#include "fuzz/fuzz_support.h"

#include <QHash>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>

using namespace korva;

namespace {

QString consumeText(FuzzedDataProvider& in, size_t max) {
    const std::string bytes = in.ConsumeRandomLengthString(max);
    if (in.ConsumeBool())
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // Raw UTF-16 as well: lone surrogates and control characters included.
    return QString(reinterpret_cast<const QChar*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2));
}

Value consumeValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
        return Value();
    case 1:
        return Value(in.ConsumeBool());
    case 2:
        return Value(in.ConsumeIntegral<int16_t>());
    case 3:
        return Value(in.ConsumeIntegral<int32_t>());
    case 4:
        return Value(in.ConsumeFloatingPoint<float>());
    case 5:
        return Value(in.ConsumeFloatingPoint<double>());
    case 6:
        return Value(consumeText(in, 64));
    case 7:
        return Value(Colour{in.ConsumeIntegral<uint32_t>()});
    case 8: {
        FontSpec f;
        f.name = consumeText(in, 32);
        f.size = in.ConsumeFloatingPoint<double>();
        f.bold = in.ConsumeBool();
        f.italic = in.ConsumeBool();
        return Value(f);
    }
    default: {
        if (in.ConsumeBool())
            return Value(Picture{});
        QImage img(in.ConsumeIntegralInRange(1, 4), in.ConsumeIntegralInRange(1, 4), QImage::Format_ARGB32);
        img.fill(in.ConsumeIntegral<uint32_t>());
        return Value(Picture{img});
    }
    }
}

void checkConversions(const Value& v) {
    int16_t i = 0;
    int32_t l = 0;
    double d = 0;
    float f = 0;
    QString s;
    uint32_t c = 0;
    bool b = false;
    const bool asDouble = valueToDouble(v, d);
    if (valueToInteger(v, i)) {
        FUZZ_CHECK(valueToLong(v, l) && l == i);
    }
    if (valueToLong(v, l)) {
        FUZZ_CHECK(asDouble);
        int32_t again = 0;
        FUZZ_CHECK(toLong(d, again) && again == l);
        FUZZ_CHECK(valueToColour(v, c));
    }
    if (valueToSingle(v, f))
        FUZZ_CHECK(!std::isinf(f) || std::isinf(d));
    if (valueToBool(v, b) && asDouble && !v.is<QString>())
        FUZZ_CHECK(b == (d != 0.0));
    const bool object = v.is<FontSpec>() || v.is<Picture>();
    FUZZ_CHECK(valueToString(v, s) != object);
    const bool number =
        v.is<int16_t>() || v.is<int32_t>() || v.is<float>() || v.is<double>() || v.is<Colour>();
    if (number && std::isfinite(d)) {
        // A number's text reads back as a finite number, near enough to the
        // number for its fifteen digits.
        double back = 0;
        FUZZ_CHECK(textToNumber(s, back) && std::isfinite(back));
        FUZZ_CHECK(std::fabs(back - d) <= std::fabs(d) * 1e-14);
        for (const QString& t : {formatWhole(d), formatOneDecimal(d)})
            FUZZ_CHECK(textToNumber(t, back) && std::isfinite(back));
    }
}

bool sameBag(const PropertyBag& a, const PropertyBag& b) {
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.entries().size(); ++k)
        if (a.entries()[k].key != b.entries()[k].key ||
            !fuzz::sameValue(a.entries()[k].value, b.entries()[k].value))
            return false;
    return true;
}

PropertyBag readThenWrite(const ClassInfo& info, const PropertyBag& in) {
    std::unique_ptr<Control> c = info.create();
    c->Initialize();
    c->ReadProperties(in);
    PropertyBag out;
    c->WriteProperties(out);
    c->Terminate();
    return out;
}

// Every key a control is known to write, with its type, and the keys of all
// classes for the fuzzer to pick from.
struct Known {
    std::map<const ClassInfo*, QHash<QString, ValueType>> types;
    QStringList keys;
};

const Known& known() {
    static const Known k = [] {
        Known r;
        for (const ClassInfo* info : catalogue::classes()) {
            if (!info->create)
                continue;
            for (bool initialised : {false, true}) {
                std::unique_ptr<Control> c = info->create();
                c->Initialize();
                if (initialised)
                    c->InitProperties();
                else
                    c->ReadProperties(PropertyBag());
                PropertyBag bag;
                c->WriteProperties(bag);
                c->Terminate();
                for (const auto& e : bag.entries()) {
                    r.types[info].insert(e.key.toCaseFolded(), e.value.type());
                    if (!r.keys.contains(e.key))
                        r.keys << e.key;
                }
            }
        }
        return r;
    }();
    return k;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    FuzzedDataProvider in(data, size);
    const Known& k = known();

    PropertyBag bag;
    const int entries = in.ConsumeIntegralInRange(0, 12);
    for (int n = 0; n < entries && in.remaining_bytes() > 0; ++n) {
        QString key = !k.keys.isEmpty() && in.ConsumeBool()
                          ? k.keys[in.ConsumeIntegralInRange<qsizetype>(0, k.keys.size() - 1)]
                          : consumeText(in, 16);
        const Value v = consumeValue(in);
        checkConversions(v);
        bag.WriteProperty(key, v);
    }

    // The bag through a form file.
    FormDocument doc;
    doc.controls.push_back(
        FormControl{QStringLiteral("korvactl.Pane"), QStringLiteral("P"), 0, 0, 0, 0, bag});
    FormDocument back;
    FormError error;
    const QString text = writeForm(doc);
    FUZZ_CHECK(parseForm(text, QStringLiteral("bag.form"), back, error));
    FUZZ_CHECK(back.controls.size() == 1 && sameBag(back.controls[0].bag, bag));

    // The bag through every control that is built.
    for (const ClassInfo* info : catalogue::classes()) {
        if (!info->create)
            continue;
        const PropertyBag first = readThenWrite(*info, bag);
        const auto& types = k.types.at(info);
        for (const auto& e : first.entries()) {
            const auto t = types.constFind(e.key.toCaseFolded());
            FUZZ_CHECK(t == types.constEnd() || *t == e.value.type());
        }
        const PropertyBag second = readThenWrite(*info, first);
        const PropertyBag third = readThenWrite(*info, second);
        FUZZ_CHECK(sameBag(second, third));
    }
    return 0;
}
