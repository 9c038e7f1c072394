#include "frame/platform/fonts_p.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace korva {

void ensureFonts() {
    static bool done = false;
    if (done || !qGuiApp)
        return;
    done = true;
    // Debian ships metric-compatible stand-ins outside fontconfig's path.
    for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                             "/usr/share/wine/fonts/ms_sans_serif.ttf"})
        if (QFile::exists(QLatin1String(path)))
            QFontDatabase::addApplicationFont(QLatin1String(path));
    const QStringList families = QFontDatabase::families();
    auto pick = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (families.contains(QLatin1String(n), Qt::CaseInsensitive))
                return QString::fromLatin1(n);
        return QStringLiteral("DejaVu Sans");
    };
    if (!families.contains(QStringLiteral("Comic Sans MS"), Qt::CaseInsensitive))
        QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), pick({"Comic Neue", "DejaVu Sans"}));
    if (!families.contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
        QFont::insertSubstitution(QStringLiteral("Tahoma"), pick({"Wine Tahoma", "DejaVu Sans"}));
    if (!families.contains(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive))
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  pick({"MS Sans Serif", "Tahoma", "DejaVu Sans"}));
}

QFont toQFont(const FontSpec& f) {
    QFont q(f.name);
    q.setPointSizeF(f.size > 0 ? f.size : 8.25);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethrough);
    return q;
}

} // namespace korva
