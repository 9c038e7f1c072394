#include "frame/values/class_info.h"

namespace korva {

const MemberInfo* ClassInfo::memberByName(QStringView n) const {
    for (const MemberInfo& m : members)
        if (n.compare(m.name, Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

const MemberInfo* ClassInfo::memberById(int32_t dispId) const {
    for (const MemberInfo& m : members)
        if (m.dispId == dispId)
            return &m;
    return nullptr;
}

const EventInfo* ClassInfo::eventByNumber(int32_t number) const {
    for (const EventInfo& e : events)
        if (e.number == number)
            return &e;
    return nullptr;
}

} // namespace korva
