// A class description with only a name and a design size (twips), for the
// stand-in controls tests build; a test adds the members and events it needs.
#pragma once

#include "frame/values/class_info.h"

namespace korva::fixtures {

inline ClassInfo bareClass(const char* name, QSize designSize) {
    ClassInfo c;
    c.name = QString::fromLatin1(name);
    c.designSize = designSize;
    return c;
}

} // namespace korva::fixtures
