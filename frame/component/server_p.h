// The library's state as a component server: how many instances and locks
// keep it loaded, and the class objects DllGetClassObject hands out.
#pragma once

#include "frame/component/com_interfaces.h"

namespace korva {

struct ClassInfo;

namespace server {

// Instances alive and LockServer locks held; the library may unload when both are zero.
void instanceCreated();
void instanceDestroyed();
void lock(bool on);
bool canUnload();

// The class factory of a creatable class (its row has a factory), else null.
// Class objects live as long as the library and do not hold it loaded: a
// host that keeps one across DllCanUnloadNow must lock the server.
IClassFactory* factoryFor(const ClassInfo& info);

// The library-wide runtime object (CLSID_KorvaRuntime).
IKorvaRuntime* runtime();

} // namespace server
} // namespace korva
