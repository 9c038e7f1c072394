#include "frame/component/self_registration_p.h"

#include "frame/component/catalogue_p.h"

namespace korva {

QString progIdClsidKey(const QString& progId) { return progId + QStringLiteral("\\CLSID"); }

QString inprocServerKey(const QString& clsidText) {
    return QStringLiteral("CLSID\\") + clsidText + QStringLiteral("\\InprocServer32");
}

std::vector<RegistryEntry> registrationEntries(const QString& libraryPath) {
    const LibraryInfo& lib = catalogue::library();
    const QString libid = guidToString(lib.libid);
    const QString version = QStringLiteral("%1.%2").arg(lib.majorVersion).arg(lib.minorVersion);
    const QString typeLib = QStringLiteral("TypeLib\\") + libid + u'\\' + version;

    std::vector<RegistryEntry> out;
    out.push_back({typeLib, lib.name});
    out.push_back({typeLib + QStringLiteral("\\%1\\linux").arg(lib.lcid, 0, 16), libraryPath});
    // The library describes controls (the type library's control flag).
    out.push_back({typeLib + QStringLiteral("\\FLAGS"), QStringLiteral("2")});

    for (const ClassInfo* c : catalogue::classes()) {
        const QString clsid = guidToString(c->clsid);
        const QString key = QStringLiteral("CLSID\\") + clsid;
        out.push_back({key, c->name});
        out.push_back({inprocServerKey(clsid), libraryPath});
        out.push_back({key + QStringLiteral("\\ProgID"), c->progId()});
        out.push_back({key + QStringLiteral("\\TypeLib"), libid});
        out.push_back({key + QStringLiteral("\\Version"), version});
        out.push_back({key + QStringLiteral("\\Control"), QString()});
        out.push_back({c->progId(), c->name});
        out.push_back({progIdClsidKey(c->progId()), clsid});
        for (const auto& [name, iid] :
             {std::pair{c->defaultInterface, c->defaultIid}, {c->eventInterface, c->eventIid}}) {
            const QString ikey = QStringLiteral("Interface\\") + guidToString(iid);
            out.push_back({ikey, name});
            out.push_back({ikey + QStringLiteral("\\TypeLib"), libid});
        }
    }
    return out;
}

} // namespace korva
