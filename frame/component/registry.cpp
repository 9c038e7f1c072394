#include "frame/component/registry_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace korva {

namespace {
const QString kSeparator = QStringLiteral(" = ");

bool storable(const QString& text) { return !text.contains(u'\n') && !text.contains(u'\r'); }
} // namespace

QString RegistryFile::defaultPath() {
    const QString env = qEnvironmentVariable("KORVA_REGISTRY");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/korva/registry");
}

bool RegistryFile::load(const QString& path, QString* error) {
    lines_.clear();
    QFile f(path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: cannot read: %2").arg(path, f.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(f.readAll());
    QStringList raw = text.split(u'\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    for (QString& r : raw) {
        if (r.endsWith(u'\r'))
            r.chop(1);
        Line line{r, false, {}};
        // An empty value may have lost its trailing blank to an editor.
        qsizetype sep = r.indexOf(kSeparator);
        if (sep < 0 && r.endsWith(QStringLiteral(" =")))
            sep = r.size() - 2;
        if (!r.startsWith(u'#') && sep > 0) {
            line.isEntry = true;
            line.entry = {r.left(sep).trimmed(), r.mid(sep + kSeparator.size())};
        }
        lines_.push_back(std::move(line));
    }
    return true;
}

bool RegistryFile::save(const QString& path, QString* error) const {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("%1: cannot create the folder").arg(info.absolutePath());
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: cannot write: %2").arg(path, f.errorString());
        return false;
    }
    QByteArray out;
    for (const Line& l : lines_) {
        out += (l.isEntry ? l.entry.key + kSeparator + l.entry.value : l.raw).toUtf8();
        out += '\n';
    }
    f.write(out);
    if (!f.commit()) {
        if (error)
            *error = QStringLiteral("%1: cannot write: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

std::optional<QString> RegistryFile::value(QStringView key) const {
    for (const Line& l : lines_)
        if (l.isEntry && key.compare(l.entry.key, Qt::CaseInsensitive) == 0)
            return l.entry.value;
    return std::nullopt;
}

bool RegistryFile::set(const QString& key, const QString& value) {
    if (key.trimmed().isEmpty() || key.trimmed() != key || key.contains(kSeparator) || key.startsWith(u'#') ||
        !storable(key) || !storable(value))
        return false;
    for (Line& l : lines_)
        if (l.isEntry && key.compare(l.entry.key, Qt::CaseInsensitive) == 0) {
            l.entry.value = value;
            return true;
        }
    lines_.push_back({QString(), true, {key, value}});
    return true;
}

bool RegistryFile::remove(QStringView key) {
    const auto before = lines_.size();
    std::erase_if(lines_, [&](const Line& l) {
        return l.isEntry && key.compare(l.entry.key, Qt::CaseInsensitive) == 0;
    });
    return lines_.size() != before;
}

std::vector<RegistryEntry> RegistryFile::entries() const {
    std::vector<RegistryEntry> out;
    for (const Line& l : lines_)
        if (l.isEntry)
            out.push_back(l.entry);
    return out;
}

} // namespace korva
