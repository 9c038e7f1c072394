#include "pages/tab_string_p.h"

namespace korva::pages {

namespace {

const QString kHyphenBreak = QStringLiteral("-\r\n");
const QString kBreak = QStringLiteral("\r\n");

} // namespace

QString GetField(const QString& text, const QString& sep, int32_t n) {
    // Positions are 1-based below, as the field numbers are.
    qsizetype fieldStart = 1;
    int64_t count = 0;
    if (sep.size() == 1) {
        const QChar s = sep.front();
        for (qsizetype p = 1; p <= text.size(); ++p) {
            if (text.at(p - 1) != s)
                continue;
            ++count;
            if (count == static_cast<int64_t>(n) - 1)
                fieldStart = p + 1;
            else if (count == n)
                return text.mid(fieldStart - 1, p - fieldStart);
        }
    }
    if (count == static_cast<int64_t>(n) - 1)
        return text.mid(fieldStart - 1);
    return QStringLiteral("0");
}

QString trimSpaces(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == u' ')
        ++from;
    while (to > from && text.at(to - 1) == u' ')
        --to;
    return from == 0 && to == text.size() ? text : text.mid(from, to - from);
}

QString normaliseTabString(const QString& text) {
    QString s = text;
    s.replace(kHyphenBreak, QStringLiteral(","));
    s = trimSpaces(s);
    s.replace(kBreak, QStringLiteral(","));
    return trimSpaces(s);
}

int32_t CountFields(const QString& text) {
    const QString s = normaliseTabString(text);
    if (s.isEmpty())
        return 0;
    const qsizetype commas = s.count(u',');
    // More fields than a Long can count cannot occur in a QString, but stay in range.
    return commas >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(commas + 1);
}

QStringList splitFields(const QString& normalised) {
    if (normalised.isEmpty())
        return {};
    return normalised.split(u',', Qt::KeepEmptyParts);
}

QString captionOfField(const QString& field, int32_t index) {
    const QString trimmed = trimSpaces(field);
    if (trimmed.isEmpty())
        return QStringLiteral("Tab ") + QString::number(index);
    return trimmed;
}

SpecialCaption specialCaption(const QString& caption) {
    return {caption.contains(QLatin1String("Help")), caption.contains(QLatin1String("Video")),
            caption.contains(QLatin1String("Chalkboard"))};
}

} // namespace korva::pages
