#include "host/class_reference.h"

#include "frame/values/class_info.h"
#include "frame/values/property_bag.h"
#include "frame/values/value_text_p.h"

namespace korva::host {

namespace {

QString hex(int32_t id) {
    return QStringLiteral("0x") +
           QString::number(static_cast<uint32_t>(id), 16).toUpper().rightJustified(8, u'0');
}

QString kinds(uint8_t flags) {
    QStringList k;
    if (flags & kGet)
        k << QStringLiteral("get");
    if (flags & kLet)
        k << QStringLiteral("let");
    if (flags & kSet)
        k << QStringLiteral("set");
    if (flags & kCall)
        k << QStringLiteral("method");
    return k.join(QStringLiteral(", "));
}

QString params(const std::vector<ParamInfo>& ps) {
    if (ps.empty())
        return QStringLiteral("none");
    QStringList out;
    for (const ParamInfo& p : ps)
        out << QStringLiteral("%1%2`%3` %4")
                   .arg(p.optional ? QStringLiteral("optional ") : QString(),
                        p.byRef ? QStringLiteral("by reference ") : QString(), p.name,
                        QString::fromLatin1(typeName(p.type)));
    return out.join(QStringLiteral(", "));
}

} // namespace

QStringList interfaceTables(const ClassInfo& info) {
    QStringList out;
    out << QStringLiteral("Members of `%1`:").arg(info.defaultInterface) << QString()
        << QStringLiteral("| Member | Identifier | Kind | Type | Parameters |")
        << QStringLiteral("|---|---|---|---|---|");
    for (const MemberInfo& m : info.members) {
        const QString type =
            m.type == ValueType::Empty ? QStringLiteral("none") : QString::fromLatin1(typeName(m.type));
        out << QStringLiteral("| `%1` | %2 | %3 | %4 | %5 |")
                   .arg(m.name, hex(m.dispId), kinds(m.flags), type,
                        m.flags & kCall ? params(m.params) : QStringLiteral("-"));
    }
    out << QString() << QStringLiteral("Events of `%1`:").arg(info.eventInterface) << QString()
        << QStringLiteral("| Event | Number | Arguments |") << QStringLiteral("|---|---|---|");
    for (const EventInfo& e : info.events)
        out << QStringLiteral("| `%1` | %2 | %3 |").arg(e.name).arg(e.number).arg(params(e.params));
    return out;
}

QStringList savedKeysTable(const PropertyBag& written) {
    QStringList out;
    out << QStringLiteral("| Key | Type | When missing |") << QStringLiteral("|---|---|---|");
    for (const PropertyBag::Entry& e : written.entries())
        out << QStringLiteral("| \"%1\" | %2 | `%3` |")
                   .arg(e.key, QString::fromLatin1(typeName(e.value.type())), formatValue(e.value));
    return out;
}

QStringList classReference(IKorvaControl& control) {
    const ClassInfo* info = control.GetClassInfo();
    if (!info)
        return {};
    QStringList out = interfaceTables(*info);
    control.Initialize();
    const PropertyBag empty;
    control.ReadProperties(&empty);
    // Every key the control writes, also where it equals the value the
    // control reads when the key is missing.
    PropertyBag written;
    written.setKeepDefaults(true);
    control.WriteProperties(&written);
    out << QString() << QStringLiteral("Saved keys:") << QString() << savedKeysTable(written);
    return out;
}

} // namespace korva::host
