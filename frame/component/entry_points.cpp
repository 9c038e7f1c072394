#include "frame/component/entry_points.h"

#include "frame/component/catalogue_p.h"
#include "frame/component/self_registration_p.h"
#include "frame/component/server_p.h"

#include <QFileInfo>

#include <dlfcn.h>

using namespace korva;

namespace {

// The file this code was loaded from, as the registry should name it.
QString libraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

template <class F> HRESULT guarded(HRESULT onFailure, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        return onFailure;
    }
}

HRESULT updateRegistry(bool add) {
    const QString path = libraryPath();
    if (path.isEmpty())
        return SELFREG_E_CLASS;
    RegistryFile reg;
    const QString file = RegistryFile::defaultPath();
    QString error;
    if (!reg.load(file, &error)) {
        qWarning("korvactl: %s", qPrintable(error));
        return SELFREG_E_CLASS;
    }
    for (const RegistryEntry& e : registrationEntries(path)) {
        if (!add)
            reg.remove(e.key);
        else if (!reg.set(e.key, e.value))
            return SELFREG_E_CLASS;
    }
    if (!reg.save(file, &error)) {
        qWarning("korvactl: %s", qPrintable(error));
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

} // namespace

extern "C" {

HRESULT DllGetClassObject(const GUID& rclsid, const GUID& riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return guarded(E_FAIL, [&]() -> HRESULT {
        if (rclsid == CLSID_KorvaRuntime)
            return server::runtime()->QueryInterface(riid, ppv);
        const ClassInfo* info = catalogue::byClsid(rclsid);
        IClassFactory* factory = info ? server::factoryFor(*info) : nullptr;
        if (!factory)
            return CLASS_E_CLASSNOTAVAILABLE;
        return factory->QueryInterface(riid, ppv);
    });
}

HRESULT DllRegisterServer() {
    return guarded(SELFREG_E_CLASS, [] { return updateRegistry(true); });
}

HRESULT DllUnregisterServer() {
    return guarded(SELFREG_E_CLASS, [] { return updateRegistry(false); });
}

HRESULT DllCanUnloadNow() { return server::canUnload() ? S_OK : S_FALSE; }

} // extern "C"
