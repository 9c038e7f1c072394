// The tab string: one text that lists every tab, fields separated by commas,
// by CR LF, or by a hyphen directly followed by CR LF. Pure text logic, no
// widgets: the control and its tests share it.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace korva::pages {

// Field n (1-based) of `text`, fields separated by the one-character `sep`
// (a longer separator never matches). "0" when there is no field n, so n
// below 1 or beyond the last field answers "0"; field 1 of "" is "".
QString GetField(const QString& text, const QString& sep, int32_t n);

// The tab string with its line breaks turned into commas: every "-" CR LF
// first, then every remaining CR LF, trimming surrounding spaces after each
// step. Tabs, lone CR and lone LF stay as they are.
QString normaliseTabString(const QString& text);

// Number of fields of the normalised text: commas plus one, 0 when empty.
int32_t CountFields(const QString& text);

// Every field of a normalised tab string, in order: field i is exactly
// GetField(normalised, ",", i), found in one pass instead of one scan per field.
QStringList splitFields(const QString& normalised);

// Leading and trailing spaces removed; other blanks (tab, CR, LF) stay.
QString trimSpaces(const QString& text);

// The caption a field gives tab `index`: the field without its surrounding
// spaces, or "Tab <index>" when nothing is left.
QString captionOfField(const QString& field, int32_t index);

// Whether the layout pass treats a caption specially (case-sensitive).
struct SpecialCaption {
    bool help = false;
    bool video = false;
    bool chalkboard = false;
};
SpecialCaption specialCaption(const QString& caption);

} // namespace korva::pages
