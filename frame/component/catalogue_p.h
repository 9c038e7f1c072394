// The class catalogue: the library's identity and its four control classes,
// the one source of truth for every identifier the library publishes.
#pragma once

#include "frame/values/class_info.h"

#include <utility>
#include <vector>

namespace korva {

struct LibraryInfo {
    QString name; // "korvactl"
    GUID libid;
    int majorVersion;
    int minorVersion;
    uint32_t lcid;
};

struct EnumInfo {
    QString name;
    GUID id;
    std::vector<std::pair<QString, int32_t>> members;
};

namespace catalogue {

const LibraryInfo& library();
const std::vector<ClassInfo*>& classes();
ClassInfo* byName(QStringView name); // "Pane" or "korvactl.Pane", without regard to case
ClassInfo* byClsid(const GUID& clsid);
const std::vector<EnumInfo>& enumerations(); // ButtonTypesdd, enZAVINPalette

// A control folder hands its members, events and factory to its catalogue
// entry once, at library load (see KORVA_REGISTER_CLASS).
struct Registration {
    Registration(const char* className, std::vector<MemberInfo> members, std::vector<EventInfo> events,
                 std::unique_ptr<Control> (*create)());
};

} // namespace catalogue
} // namespace korva

#define KORVA_REGISTER_CLASS(name, members, events, factory)                                                 \
    static const ::korva::catalogue::Registration korva_registration_##name(#name, members, events, factory)
