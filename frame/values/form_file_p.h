// Form files: a saved form as plain text, one control block after another.
//
//   korvactl form 1
//   # a comment (whole lines only)
//   Begin korvactl.Pane Pane1
//       Left = 240
//       Top = 240
//       Width = 3000
//       Height = 800
//       Property "Backcolor" = Colour(&H8000000F&)
//       Property "TextCaption" = "Open"
//       Property "Picture" = Picture(
//           iVBORw0KGgoAAAANSUhEUgAA...
//       )
//   End
//
// Keywords are matched without regard to case; geometry is in twips and all
// four of Left, Top, Width and Height are required; property values use the
// syntax of value_text.h and keep their exact type. Control names are unique
// without regard to case, and a key appears at most once in a control.
#pragma once

#include "frame/values/property_bag.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace korva {

struct FormControl {
    QString className; // as written, e.g. "korvactl.Pane"
    QString name;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    PropertyBag bag;

    friend bool operator==(const FormControl&, const FormControl&) = default;
};

struct FormDocument {
    std::vector<FormControl> controls;

    friend bool operator==(const FormDocument&, const FormDocument&) = default;
};

struct FormError {
    QString file;
    int line = 0;   // 1-based; 0 when the error concerns the whole file
    int column = 0; // 1-based; 0 when not known
    QString message;

    // "file:line:col: message", shortened to "file: message" for whole-file errors.
    QString toString() const;
};

// Form files larger than this are refused on load and on save alike, so that
// every file this library writes it can also read.
inline constexpr qint64 kMaxFormFileBytes = 64 * 1024 * 1024;

// Parse the text of a form file. On failure `out` is left empty and `err`
// says where and what was expected; nothing is loaded half-way.
bool parseForm(const QString& text, const QString& fileName, FormDocument& out, FormError& err);

// Read a UTF-8 form file (a byte-order mark is allowed) and parse it.
bool loadForm(const QString& path, FormDocument& out, FormError& err);

// The text of a form file for the document. Use saveForm to learn about a
// document that cannot be written faithfully (an invalid name, a picture that
// does not encode).
QString writeForm(const FormDocument& doc);

// Write the document to a temporary file beside `path` and rename it over
// `path`, so a failed save leaves the old file as it was.
bool saveForm(const QString& path, const FormDocument& doc, QString* error);

} // namespace korva
