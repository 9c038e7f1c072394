#include "frame/values/property_bag.h"

#include <optional>

namespace korva {

namespace {

QString fold(const QString& key) { return key.toCaseFolded(); }

// The value of a number of any width, exactly; nothing for non-numbers.
std::optional<double> numeric(const Value& v) {
    switch (v.type()) {
    case ValueType::Integer:
        return v.as<int16_t>();
    case ValueType::Long:
        return v.as<int32_t>();
    case ValueType::Single:
        return v.as<float>();
    case ValueType::Double:
        return v.as<double>();
    case ValueType::Colour:
        return static_cast<int32_t>(v.as<Colour>().value);
    default:
        return std::nullopt;
    }
}

} // namespace

bool PropertyBag::equalsDefault(const Value& value, const Value& defaultValue) {
    const auto a = numeric(value);
    const auto b = numeric(defaultValue);
    if (a && b)
        return *a == *b;
    return value == defaultValue;
}

Value PropertyBag::ReadProperty(const QString& key, const Value& defaultValue) const {
    const auto it = index_.constFind(fold(key));
    return it == index_.constEnd() ? defaultValue : entries_[*it].value;
}

void PropertyBag::WriteProperty(const QString& key, const Value& value, const Value& defaultValue) {
    if (keepDefaults_ || !equalsDefault(value, defaultValue)) {
        WriteProperty(key, value);
        return;
    }
    const auto it = index_.find(fold(key));
    if (it == index_.end())
        return;
    const size_t gone = *it;
    index_.erase(it);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(gone));
    for (auto& pos : index_)
        if (pos > gone)
            --pos;
}

void PropertyBag::WriteProperty(const QString& key, const Value& value) {
    const QString folded = fold(key);
    const auto it = index_.constFind(folded);
    if (it != index_.constEnd()) {
        entries_[*it] = Entry{key, value};
        return;
    }
    index_.insert(folded, entries_.size());
    entries_.push_back(Entry{key, value});
}

bool PropertyBag::contains(const QString& key) const { return index_.contains(fold(key)); }

void PropertyBag::clear() {
    entries_.clear();
    index_.clear();
}

} // namespace korva
