// The catalogue rows are built on first use rather than as namespace-scope
// objects: the control folders register into them from their own static
// initialisers, whose order against this file's is not defined.
#include "frame/component/catalogue_p.h"

#include "frame/runtime/control.h"

#include <QDebug>

namespace korva {

namespace catalogue {
namespace {

ClassInfo makeClass(const char* name, const char* clsid, const char* iid, const char* eventIid,
                    QSize designSize) {
    ClassInfo c;
    c.name = QString::fromLatin1(name);
    c.clsid = guidFrom(clsid);
    c.defaultInterface = QStringLiteral("_") + c.name;
    c.defaultIid = guidFrom(iid);
    c.eventInterface = QStringLiteral("__") + c.name;
    c.eventIid = guidFrom(eventIid);
    c.designSize = designSize;
    return c;
}

// Rows live for the whole process; the vector of pointers hands out stable addresses.
std::vector<ClassInfo>& rows() {
    // Design sizes: Pane's is its picture's, Spin's its framed text box with
    // the buttons; the others are what a new instance needs to show its parts
    // without clipping (a tab strip over a page, a swatch button).
    static std::vector<ClassInfo> r = {
        makeClass("Spin", "{75D3E93A-B635-49FF-9539-7117E1A61569}", "{42773121-1B8D-4900-B0C3-9E93C163FF7E}",
                  "{AED87038-98E1-429B-B9D4-D5F8B7B3CF6E}", QSize(2805, 555)),
        makeClass("Pages", "{02DD5566-74A6-42F5-A281-5C17CA9046C1}", "{55CAAC77-DAAA-4895-9D0F-3C6EA28A53A5}",
                  "{07C7B03E-BA18-4FE0-8DCB-1D0E5C794899}", QSize(4800, 3600)),
        makeClass("Colors", "{EEE17B89-4055-4EDF-9C93-0AA96ED4DFF2}",
                  "{A19F61AC-985B-4887-9F82-929BDF53A87B}", "{CA50F538-4F0A-4835-A768-760147027E47}",
                  QSize(1125, 345)),
        makeClass("Pane", "{6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}", "{5DF99A74-75A0-4783-A4CE-273A4958E269}",
                  "{AB6DFAEE-8562-46AD-B2B8-14869FFC1529}", QSize(1575, 525)),
    };
    return r;
}

} // namespace

const LibraryInfo& library() {
    static const LibraryInfo lib{QStringLiteral("korvactl"),
                                 guidFrom("{EF90A53A-100F-461D-82DB-5F6D3EDC0054}"), 11, 0, 0x0409};
    return lib;
}

const std::vector<ClassInfo*>& classes() {
    static const std::vector<ClassInfo*> list = [] {
        std::vector<ClassInfo*> l;
        for (ClassInfo& c : rows())
            l.push_back(&c);
        return l;
    }();
    return list;
}

ClassInfo* byName(QStringView name) {
    const QStringView prefix = u"korvactl.";
    if (name.startsWith(prefix, Qt::CaseInsensitive))
        name = name.mid(prefix.size());
    for (ClassInfo* c : classes())
        if (c->name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

ClassInfo* byClsid(const GUID& clsid) {
    for (ClassInfo* c : classes())
        if (c->clsid == clsid)
            return c;
    return nullptr;
}

const std::vector<EnumInfo>& enumerations() {
    static const std::vector<EnumInfo> list = {
        {QStringLiteral("ButtonTypesdd"),
         guidFrom("{D03C85B7-A30D-40B4-B549-266D4A55C3DA}"),
         {
             {QStringLiteral("CButton"), 1},
             {QStringLiteral("CButton Flat"), 2},
             {QStringLiteral("Combo Box"), 3},
             {QStringLiteral("Combo Box Flat"), 4},
             {QStringLiteral("Toolbar"), 5},
             {QStringLiteral("Toolbar Checked"), 6},
             {QStringLiteral("Hyperlink"), 7},
             {QStringLiteral("Hyperlink White"), 8},
             {QStringLiteral("Spin Button"), 9},
             {QStringLiteral("Spin Button Pressed"), 10},
             {QStringLiteral("Windows XP"), 11},
             {QStringLiteral("Toolbar Tab Selected"), 12},
             // The trailing space is part of the published name.
             {QStringLiteral("Toolbar Tab "), 13},
             {QStringLiteral("Windows XP Toolbar"), 14},
         }},
        {QStringLiteral("enZAVINPalette"),
         guidFrom("{CB68F48B-4C7A-4486-BFDE-5530FC36550C}"),
         {
             {QStringLiteral("AP8X2"), 0},
             {QStringLiteral("AP9X3"), 1},
             {QStringLiteral("AP8X8"), 2},
             {QStringLiteral("AP16X8"), 3},
             {QStringLiteral("AP24X8"), 4},
             {QStringLiteral("AP24X10"), 5},
             {QStringLiteral("AP8X4X4"), 6},
             {QStringLiteral("AP8X8X6"), 7},
             {QStringLiteral("AP12X6X6"), 8},
             {QStringLiteral("AP16X8X6"), 9},
             {QStringLiteral("AP24X8X6"), 10},
             {QStringLiteral("AP32X8X6"), 11},
         }},
    };
    return list;
}

Registration::Registration(const char* className, std::vector<MemberInfo> members,
                           std::vector<EventInfo> events, std::unique_ptr<Control> (*create)()) {
    // Runs during library load: a slip here must not take the host down, so
    // it is reported and the class simply stays uncreatable.
    ClassInfo* c = byName(QString::fromLatin1(className));
    if (!c) {
        qWarning("korvactl: registration for unknown class %s ignored", className);
        return;
    }
    if (c->create) {
        qWarning("korvactl: class %s registered twice; the first registration stays", className);
        return;
    }
    c->members = std::move(members);
    c->events = std::move(events);
    c->create = create;
}

} // namespace catalogue
} // namespace korva
