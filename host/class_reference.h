// korvahost --reference CLASS: a control class's reference tables in
// Markdown, made from what the library itself publishes, so the pages in
// docs/controls/ never drift from the code:
//   members of the default interface with their identifiers, kinds and types;
//   events with their numbers and arguments;
//   saved keys with the value each takes when a saved form lacks it (what a
//   new instance writes after reading an empty property bag).
#pragma once

#include "frame/component/com_interfaces.h"

#include <QStringList>

namespace korva {
struct ClassInfo;
class PropertyBag;
} // namespace korva

namespace korva::host {

// The members and events tables.
QStringList interfaceTables(const ClassInfo& info);
// The saved keys table from what a control wrote.
QStringList savedKeysTable(const PropertyBag& written);
// All three for a new instance of `control` (delivers Initialize, ReadProperties
// with an empty bag and WriteProperties to it).
QStringList classReference(IKorvaControl& control);

} // namespace korva::host
