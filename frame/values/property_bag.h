// PropertyBag: the host's per-instance store of saved settings, one typed
// value per key, kept in write order so that a saved form reads the way the
// control wrote it.
#pragma once

#include "frame/values/value.h"
#include "korvactl_export.h"

#include <QHash>
#include <QString>

#include <vector>

namespace korva {

class KORVA_EXPORT PropertyBag {
public:
    struct Entry {
        QString key;
        Value value;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Keys match without regard to case, as the original hosts matched them:
    // a control may read "BackColor" what it wrote as "Backcolor".
    Value ReadProperty(const QString& key, const Value& defaultValue) const;

    // Leaves the key out (and drops an earlier entry for it) when the value
    // equals the default, so a default round-trips as an absent key.
    void WriteProperty(const QString& key, const Value& value, const Value& defaultValue);

    // A bag that stores defaults too, for tools that list what a control
    // saves and with which values (korvahost --reference); off by default.
    void setKeepDefaults(bool on) { keepDefaults_ = on; }

    // Always stores. Writing a key again replaces the value where the key
    // first stood and takes the spelling of the latest write.
    void WriteProperty(const QString& key, const Value& value);

    const std::vector<Entry>& entries() const { return entries_; }
    bool contains(const QString& key) const;
    bool isEmpty() const { return entries_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }
    void clear();

    // Exact comparison: same keys, spellings, order, types and values.
    friend bool operator==(const PropertyBag& a, const PropertyBag& b) { return a.entries_ == b.entries_; }

    // Whether a written value counts as its default: types must agree, except
    // that numbers of different widths compare by value (a Long 0 equals an
    // Integer 0, a Colour compares as its signed 32 bits).
    static bool equalsDefault(const Value& value, const Value& defaultValue);

private:
    std::vector<Entry> entries_;
    QHash<QString, size_t> index_; // case-folded key -> position in entries_
    bool keepDefaults_ = false;
};

} // namespace korva
