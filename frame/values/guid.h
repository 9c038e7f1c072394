// 128-bit identifiers of the component model, with their text form.
#pragma once

#include "korvactl_export.h"

#include <QString>

#include <cstdint>

namespace korva {

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};

// "{EF90A53A-100F-461D-82DB-5F6D3EDC0054}" (braces optional, any case).
KORVA_EXPORT bool parseGuid(QStringView text, GUID& out);
// Upper-case text with braces.
KORVA_EXPORT QString guidToString(const GUID& g);
// For constant tables: a malformed literal is a programming error caught by tests.
KORVA_EXPORT GUID guidFrom(const char* text);

} // namespace korva
