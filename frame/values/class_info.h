// What the runtime knows of a control class: identity, members and events as
// the dispatch interface and the type library describe them.
#pragma once

#include "frame/values/guid.h"
#include "frame/values/value.h"
#include "korvactl_export.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace korva {

class Control;

// A property's get, let and set share one identifier; methods have their own range.
constexpr int32_t propertyId(int n) { return 0x68030000 + n; }
constexpr int32_t methodId(int n) { return 0x60030000 + n; }
constexpr int32_t kDispIdFont = static_cast<int32_t>(0xFFFFFE00u);
constexpr int32_t kDispIdForeColor = static_cast<int32_t>(0xFFFFFDFFu);
constexpr int32_t kDispIdCaption = static_cast<int32_t>(0xFFFFFDFAu);

enum MemberFlag : uint8_t {
    kGet = 1,  // property get
    kLet = 2,  // property let (by value)
    kSet = 4,  // property set (object: font, picture)
    kCall = 8, // method
};

struct ParamInfo {
    QString name;
    ValueType type = ValueType::Empty;
    bool byRef = false;
    bool optional = false;
};

struct MemberInfo {
    QString name;
    int32_t dispId = 0;
    uint8_t flags = 0;
    ValueType type = ValueType::Empty; // property type, or a method's result (Empty: none)
    std::vector<ParamInfo> params;     // a method's parameters
};

struct EventInfo {
    QString name;
    int32_t number = 0; // 1 for the first event of the interface
    std::vector<ParamInfo> params;
};

struct KORVA_EXPORT ClassInfo {
    QString name; // "Pane"
    GUID clsid;
    QString defaultInterface; // "_Pane"
    GUID defaultIid;
    QString eventInterface; // "__Pane"
    GUID eventIid;
    QSize designSize; // twips, the size a new instance gets
    std::vector<MemberInfo> members;
    std::vector<EventInfo> events;
    // Creates an instance; empty while the class is not built.
    std::unique_ptr<Control> (*create)() = nullptr;

    const MemberInfo* memberByName(QStringView name) const; // without regard to case
    const MemberInfo* memberById(int32_t dispId) const;
    const EventInfo* eventByNumber(int32_t number) const;
    QString progId() const { return QStringLiteral("korvactl.") + name; }
};

} // namespace korva
