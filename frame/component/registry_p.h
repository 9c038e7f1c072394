// The per-user registry file: where registered classes, ProgIDs and type
// libraries say which library serves them. Plain text, one entry a line:
//
//   # comment
//   CLSID\{6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}\InprocServer32 = /usr/lib/libkorvactl.so.11
//   korvactl.Pane\CLSID = {6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}
//
// Keys match without regard to case, as registry keys do. Several libraries
// share the file, so lines this code does not understand are kept as they
// stand and entries keep their order.
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace korva {

struct RegistryEntry {
    QString key;
    QString value;
    friend bool operator==(const RegistryEntry&, const RegistryEntry&) = default;
};

class RegistryFile {
public:
    // $KORVA_REGISTRY when set, else korva/registry under the user's
    // configuration directory ($XDG_CONFIG_HOME, normally ~/.config).
    static QString defaultPath();

    // A missing file reads as empty. False with a message when the file
    // exists but cannot be read.
    bool load(const QString& path, QString* error = nullptr);
    // Writes through a temporary file, so a failed write leaves the old file.
    bool save(const QString& path, QString* error = nullptr) const;

    std::optional<QString> value(QStringView key) const;
    // Replaces the value in place, or appends the entry. False (and nothing
    // changed) for a key or value that cannot be stored on one line.
    bool set(const QString& key, const QString& value);
    // True when the key was there.
    bool remove(QStringView key);

    std::vector<RegistryEntry> entries() const;

private:
    // Every line keeps its bytes, line end included, so whatever this code
    // does not change is written back exactly as it was read, in whatever
    // encoding and with whatever line ends its writer used.
    struct Line {
        QByteArray raw;
        bool isEntry = false;
        bool changed = false; // written from `entry` instead of `raw`
        RegistryEntry entry;
    };
    std::vector<Line> lines_;
    bool endsOpen_ = false; // the file as read did not end with a line end, and stays so
};

} // namespace korva
