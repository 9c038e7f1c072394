// KorvaLibrary: korvactl as the host sees it, loaded at run time and reached
// only through its four entry points. Which file is loaded, first match wins:
//
//   1. the path given with --library, else $KORVA_LIBRARY: when either
//      names a library, no other is tried
//   2. the library built together with this host
//   3. the file the per-user registry names for korvactl.Pane
//   4. libkorvactl.so.<major> through the system's library search
#pragma once

#include "frame/component/com_interfaces.h"
#include "frame/component/entry_points.h"

#include <QLibrary>
#include <QString>

namespace korva::host {

class KorvaLibrary {
public:
    KorvaLibrary() = default;
    KorvaLibrary(const KorvaLibrary&) = delete;
    KorvaLibrary& operator=(const KorvaLibrary&) = delete;
    // The library stays loaded: the controls' Qt types live in it until exit.
    ~KorvaLibrary() = default;

    bool load(const QString& explicitPath, QString* error);
    QString fileName() const { return lib_.fileName(); }

    // A new instance of CLASS ("Pane" or "korvactl.Pane"), not yet initialised.
    bool createControl(const QString& className, ComPtr<IKorvaControl>& out, QString* error);

    IKorvaRuntime* runtime() const { return runtime_.get(); }
    HRESULT registerServer() const { return register_(); }
    HRESULT unregisterServer() const { return unregister_(); }
    HRESULT canUnloadNow() const { return canUnload_(); }

private:
    bool tryLoad(const QString& path, QString* error);

    QLibrary lib_;
    DllGetClassObjectFn getClassObject_ = nullptr;
    DllRegisterServerFn register_ = nullptr;
    DllUnregisterServerFn unregister_ = nullptr;
    DllCanUnloadNowFn canUnload_ = nullptr;
    ComPtr<IKorvaRuntime> runtime_;
};

// "CLASS_E_CLASSNOTAVAILABLE (0x80040111)"
QString describeResult(HRESULT hr);

} // namespace korva::host
