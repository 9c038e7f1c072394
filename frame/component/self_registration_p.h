// What the library writes into the registry file when it registers itself:
// its classes, their ProgIDs, their interfaces and its type library, all
// pointing at the library's file. Unregistering removes the same keys.
#pragma once

#include "frame/component/registry_p.h"

#include <vector>

namespace korva {

std::vector<RegistryEntry> registrationEntries(const QString& libraryPath);

// The keys a host reads to find the library serving a ProgID ("korvactl.Pane").
QString progIdClsidKey(const QString& progId);
QString inprocServerKey(const QString& clsidText);

} // namespace korva
