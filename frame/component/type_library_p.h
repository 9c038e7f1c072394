// The type library description as IDL text, written from the class catalogue.
// frame/component/korvactl.idl is this text checked in; a test fails when the two part.
#pragma once

#include <QString>

namespace korva {

QString typeLibraryIdl();

} // namespace korva
