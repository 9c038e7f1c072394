#include "host/library.h"

#include "frame/component/registry_p.h"

#include <QFileInfo>

namespace korva::host {

QString describeResult(HRESULT hr) {
    const QString code =
        QStringLiteral("0x") +
        QStringLiteral("%1").arg(static_cast<uint32_t>(hr), 8, 16, QLatin1Char('0')).toUpper();
    const char* name = hresultName(hr);
    return name ? QStringLiteral("%1 (%2)").arg(QLatin1String(name), code) : code;
}

bool KorvaLibrary::tryLoad(const QString& path, QString* error) {
    lib_.setFileName(path);
    if (!lib_.load()) {
        if (error)
            *error = lib_.errorString();
        return false;
    }
    getClassObject_ = reinterpret_cast<DllGetClassObjectFn>(lib_.resolve("DllGetClassObject"));
    register_ = reinterpret_cast<DllRegisterServerFn>(lib_.resolve("DllRegisterServer"));
    unregister_ = reinterpret_cast<DllUnregisterServerFn>(lib_.resolve("DllUnregisterServer"));
    canUnload_ = reinterpret_cast<DllCanUnloadNowFn>(lib_.resolve("DllCanUnloadNow"));
    if (!getClassObject_ || !register_ || !unregister_ || !canUnload_) {
        if (error)
            *error = QStringLiteral("%1 does not export the four entry points").arg(path);
        lib_.unload();
        return false;
    }
    const HRESULT hr =
        getClassObject_(CLSID_KorvaRuntime, IID_IKorvaRuntime, reinterpret_cast<void**>(runtime_.put()));
    if (FAILED(hr)) {
        if (error)
            *error = QStringLiteral("%1 has no runtime object: %2").arg(path, describeResult(hr));
        return false;
    }
    return true;
}

bool KorvaLibrary::load(const QString& explicitPath, QString* error) {
    // A library named by the user is the only one tried: falling back to
    // another would hide that the named one is broken.
    QStringList candidates;
    const QString named = explicitPath.isEmpty() ? qEnvironmentVariable("KORVA_LIBRARY") : explicitPath;
    if (!named.isEmpty()) {
        candidates << named;
    } else {
#ifdef KORVA_BUILD_LIBRARY
        if (QFileInfo::exists(QStringLiteral(KORVA_BUILD_LIBRARY)))
            candidates << QStringLiteral(KORVA_BUILD_LIBRARY);
#endif
        RegistryFile reg;
        if (reg.load(RegistryFile::defaultPath())) {
            if (const auto clsid = reg.value(u"korvactl.Pane\\CLSID"))
                if (const auto path = reg.value(QStringLiteral("CLSID\\%1\\InprocServer32").arg(*clsid)))
                    candidates << *path;
        }
        candidates << QStringLiteral("libkorvactl.so.%1").arg(KORVA_LIBRARY_MAJOR);
    }
    QStringList failures;
    for (const QString& c : candidates) {
        QString why;
        if (tryLoad(c, &why))
            return true;
        failures << why;
    }
    if (error)
        *error = QStringLiteral("cannot load korvactl: %1").arg(failures.join(QStringLiteral("; ")));
    return false;
}

bool KorvaLibrary::createControl(const QString& className, ComPtr<IKorvaControl>& out, QString* error) {
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!runtime_)
        return fail(QStringLiteral("the library is not loaded"));
    GUID clsid;
    HRESULT hr = runtime_->ClassIdFromProgId(reinterpret_cast<const char16_t*>(className.utf16()), &clsid);
    if (FAILED(hr))
        return fail(QStringLiteral("unknown class %1").arg(className));
    ComPtr<IClassFactory> factory;
    hr = getClassObject_(clsid, IID_IClassFactory, factory.put());
    if (hr == CLASS_E_CLASSNOTAVAILABLE)
        return fail(QStringLiteral("class %1 is not available in %2")
                        .arg(className, QFileInfo(fileName()).fileName()));
    if (FAILED(hr))
        return fail(QStringLiteral("no class factory for %1: %2").arg(className, describeResult(hr)));
    hr = factory->CreateInstance(nullptr, IID_IKorvaControl, out.put());
    if (FAILED(hr))
        return fail(QStringLiteral("cannot create %1: %2").arg(className, describeResult(hr)));
    return true;
}

} // namespace korva::host
