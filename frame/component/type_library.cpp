#include "frame/component/type_library_p.h"

#include "frame/component/catalogue_p.h"

#include <QTextStream>

namespace korva {

namespace {

QString idlType(ValueType t) {
    switch (t) {
    case ValueType::Empty:
        return QStringLiteral("VARIANT");
    case ValueType::Boolean:
        return QStringLiteral("VARIANT_BOOL");
    case ValueType::Integer:
        return QStringLiteral("short");
    case ValueType::Long:
        return QStringLiteral("long");
    case ValueType::Single:
        return QStringLiteral("single");
    case ValueType::Double:
        return QStringLiteral("double");
    case ValueType::String:
        return QStringLiteral("BSTR");
    case ValueType::Colour:
        return QStringLiteral("OLE_COLOR");
    case ValueType::Font:
        return QStringLiteral("IFontDisp*");
    case ValueType::Picture:
        return QStringLiteral("IPictureDisp*");
    }
    return QStringLiteral("VARIANT");
}

// IDL writes identifiers without braces.
QString uuid(const GUID& g) { return guidToString(g).mid(1, 36); }

QString dispId(int32_t id) {
    return QStringLiteral("0x%1").arg(static_cast<uint32_t>(id), 8, 16, QLatin1Char('0'));
}

QString param(const ParamInfo& p) {
    QString attrs = p.byRef ? QStringLiteral("in, out") : QStringLiteral("in");
    if (p.optional)
        attrs += QStringLiteral(", optional");
    return QStringLiteral("[%1] %2%3 %4")
        .arg(attrs, idlType(p.type), p.byRef ? QStringLiteral("*") : QString(), p.name);
}

QString paramList(const std::vector<ParamInfo>& params, const QString& extra = {}) {
    QStringList parts;
    for (const ParamInfo& p : params)
        parts << param(p);
    if (!extra.isEmpty())
        parts << extra;
    return parts.join(QStringLiteral(", "));
}

void writeDefaultInterface(QTextStream& s, const ClassInfo& c) {
    s << "    [odl, uuid(" << uuid(c.defaultIid)
      << "), version(1.0), hidden, dual, nonextensible, oleautomation]\n";
    s << "    interface " << c.defaultInterface << " : IDispatch {\n";
    for (const MemberInfo& m : c.members) {
        const QString id = dispId(m.dispId);
        if (m.flags & kCall) {
            const QString ret = m.type == ValueType::Empty
                                    ? QString()
                                    : QStringLiteral("[out, retval] %1* result").arg(idlType(m.type));
            s << "        [id(" << id << ")]\n";
            s << "        HRESULT " << m.name << "(" << paramList(m.params, ret) << ");\n";
            continue;
        }
        const QString type = idlType(m.type);
        if (m.flags & kGet) {
            s << "        [id(" << id << "), propget]\n";
            s << "        HRESULT " << m.name << "([out, retval] " << type << "* result);\n";
        }
        if (m.flags & kLet) {
            s << "        [id(" << id << "), propput]\n";
            s << "        HRESULT " << m.name << "([in] " << type << " rhs);\n";
        }
        if (m.flags & kSet) {
            s << "        [id(" << id << "), propputref]\n";
            s << "        HRESULT " << m.name << "([in] " << type << " rhs);\n";
        }
    }
    s << "    };\n\n";
}

void writeEventInterface(QTextStream& s, const ClassInfo& c) {
    s << "    [uuid(" << uuid(c.eventIid) << "), version(1.0), hidden, nonextensible]\n";
    s << "    dispinterface " << c.eventInterface << " {\n";
    s << "        properties:\n";
    s << "        methods:\n";
    for (const EventInfo& e : c.events) {
        s << "            [id(" << dispId(e.number) << ")]\n";
        s << "            void " << e.name << "(" << paramList(e.params) << ");\n";
    }
    s << "    };\n\n";
}

void writeCoclass(QTextStream& s, const ClassInfo& c) {
    s << "    [uuid(" << uuid(c.clsid) << "), version(1.0), control]\n";
    s << "    coclass " << c.name << " {\n";
    s << "        [default] interface " << c.defaultInterface << ";\n";
    s << "        [default, source] dispinterface " << c.eventInterface << ";\n";
    s << "    };\n\n";
}

void writeEnum(QTextStream& s, const EnumInfo& e) {
    s << "    typedef [uuid(" << uuid(e.id) << "), version(1.0)]\n";
    s << "    enum {\n";
    for (std::size_t i = 0; i < e.members.size(); ++i) {
        const auto& [name, value] = e.members[i];
        s << "        " << name << " = " << value << (i + 1 < e.members.size() ? ",\n" : "\n");
    }
    s << "    } " << e.name << ";\n\n";
}

} // namespace

QString typeLibraryIdl() {
    const LibraryInfo& lib = catalogue::library();
    QString text;
    QTextStream s(&text);
    s << "// Type library of korvactl, written from the class catalogue (frame/component/catalogue.cpp).\n";
    s << "// Enumeration member names may contain blanks; they stand as published,\n";
    s << "// between the leading indent and \" = \" (\"Toolbar Tab \" ends in a blank).\n\n";
    s << "[\n";
    s << "    uuid(" << uuid(lib.libid) << "),\n";
    s << "    version(" << lib.majorVersion << "." << lib.minorVersion << "),\n";
    s << "    lcid(" << QStringLiteral("0x%1").arg(lib.lcid, 4, 16, QLatin1Char('0')) << "),\n";
    s << "    control\n";
    s << "]\n";
    s << "library " << lib.name << "\n{\n";
    s << "    importlib(\"stdole2.tlb\");\n\n";
    for (const EnumInfo& e : catalogue::enumerations())
        writeEnum(s, e);
    for (const ClassInfo* c : catalogue::classes()) {
        writeDefaultInterface(s, *c);
        writeEventInterface(s, *c);
        writeCoclass(s, *c);
    }
    s << "};\n";
    return text;
}

} // namespace korva
