// The four functions the library exports, with the component model's
// signatures. A host resolves them by name after loading the library; the
// pointer types below are for that.
#pragma once

#include "frame/component/com_types.h"
#include "korvactl_export.h"

extern "C" {
// The class factory (IID_IClassFactory) of a creatable class of the catalogue,
// or the runtime object (CLSID_KorvaRuntime). CLASS_E_CLASSNOTAVAILABLE for
// any other identifier and for a class that is not built into this library.
KORVA_EXPORT korva::HRESULT DllGetClassObject(const korva::GUID& rclsid, const korva::GUID& riid, void** ppv);
// Writes the classes, their ProgIDs and the type library into the per-user
// registry file (see frame/component/registry_p.h for where it lives).
KORVA_EXPORT korva::HRESULT DllRegisterServer();
// Removes exactly the entries DllRegisterServer writes.
KORVA_EXPORT korva::HRESULT DllUnregisterServer();
// S_OK when no instance and no LockServer lock is alive, else S_FALSE.
KORVA_EXPORT korva::HRESULT DllCanUnloadNow();
}

namespace korva {
using DllGetClassObjectFn = HRESULT (*)(const GUID&, const GUID&, void**);
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllCanUnloadNowFn = HRESULT (*)();
} // namespace korva
