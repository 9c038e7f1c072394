#include "frame/values/guid.h"

namespace korva {

bool parseGuid(QStringView text, GUID& out) {
    QStringView t = text.trimmed();
    if (t.startsWith(u'{') && t.endsWith(u'}'))
        t = t.mid(1, t.size() - 2);
    if (t.size() != 36 || t[8] != u'-' || t[13] != u'-' || t[18] != u'-' || t[23] != u'-')
        return false;
    auto hex = [&](qsizetype from, qsizetype len, uint64_t& v) {
        v = 0;
        for (qsizetype i = from; i < from + len; ++i) {
            const int d = QChar(t[i]).isDigit()            ? t[i].unicode() - '0'
                          : (t[i] >= u'a' && t[i] <= u'f') ? t[i].unicode() - 'a' + 10
                          : (t[i] >= u'A' && t[i] <= u'F') ? t[i].unicode() - 'A' + 10
                                                           : -1;
            if (d < 0)
                return false;
            v = v * 16 + static_cast<uint64_t>(d);
        }
        return true;
    };
    GUID g;
    uint64_t v = 0;
    if (!hex(0, 8, v))
        return false;
    g.Data1 = static_cast<uint32_t>(v);
    if (!hex(9, 4, v))
        return false;
    g.Data2 = static_cast<uint16_t>(v);
    if (!hex(14, 4, v))
        return false;
    g.Data3 = static_cast<uint16_t>(v);
    const qsizetype starts[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!hex(starts[i], 2, v))
            return false;
        g.Data4[i] = static_cast<uint8_t>(v);
    }
    out = g;
    return true;
}

QString guidToString(const GUID& g) {
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                             g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                             g.Data4[6], g.Data4[7]);
}

GUID guidFrom(const char* text) {
    GUID g;
    parseGuid(QString::fromLatin1(text), g);
    return g;
}

} // namespace korva
