#include "frame/component/registry_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

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
    endsOpen_ = false;
    QFile f(path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: cannot read: %2").arg(path, f.errorString());
        return false;
    }
    const QByteArray bytes = f.readAll();
    endsOpen_ = !bytes.isEmpty() && !bytes.endsWith('\n');
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        Line line{bytes.mid(start, end - start), false, false, {}};
        start = end;
        // The text of the line: without its line end (any CRs before the LF)
        // and, on the first line, without a byte-order mark.
        QByteArrayView body(line.raw);
        if (body.endsWith('\n'))
            body.chop(1);
        while (body.endsWith('\r'))
            body.chop(1);
        if (lines_.empty() && body.startsWith("\xEF\xBB\xBF"))
            body = body.sliced(3);
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString r = decode(body);
        // A line that is not UTF-8 is someone else's: it is kept, never parsed.
        if (!decode.hasError() && !r.trimmed().startsWith(u'#')) {
            // An empty value may have lost its trailing blank to an editor.
            qsizetype sep = r.indexOf(kSeparator);
            if (sep < 0 && r.endsWith(QStringLiteral(" =")))
                sep = r.size() - 2;
            if (sep > 0 && !r.left(sep).trimmed().isEmpty()) {
                line.isEntry = true;
                line.entry = {r.left(sep).trimmed(), r.mid(sep + kSeparator.size())};
            }
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
        // A last line without a line end gets one when something follows it;
        // the file as a whole keeps ending the way it did.
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += '\n';
        out += l.changed ? (l.entry.key + kSeparator + l.entry.value).toUtf8() + '\n' : l.raw;
    }
    if (endsOpen_ && out.endsWith('\n'))
        out.chop(1);
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
            if (l.entry.value != value) {
                l.entry.value = value;
                l.changed = true;
            }
            return true;
        }
    lines_.push_back({QByteArray(), true, true, {key, value}});
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
