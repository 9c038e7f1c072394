#include "host/hosted_control.h"

#include "frame/values/value_text_p.h"
#include "host/library.h"

#include <atomic>

namespace korva::host {

QString startOf(const QString& text) {
    constexpr qsizetype kShown = 40;
    return text.size() > kShown ? text.left(kShown) + QStringLiteral("...") : text;
}

QString formatEvent(const QString& control, const ClassInfo& info, int32_t number, Value* const* args,
                    uint32_t count) {
    const EventInfo* e = info.eventByNumber(number);
    QStringList parts;
    for (uint32_t i = 0; i < count; ++i)
        parts << (args[i] ? formatValue(*args[i]) : QStringLiteral("Empty"));
    const QString name = e ? e->name : QStringLiteral("Event%1").arg(number);
    return QStringLiteral("%1.%2(%3)").arg(control, name, parts.join(QStringLiteral(", ")));
}

// Lives on the heap with its own count: the library holds it between Advise
// and Unadvise, and may still hold it while an event is being delivered.
class HostedControl::Sink final : public IKorvaEventSink {
public:
    Sink(const QString& name, const ClassInfo& info, EventLog log)
        : name_(name), info_(info), log_(std::move(log)) {}

    HRESULT QueryInterface(const GUID& riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IKorvaEventSink) {
            *ppv = static_cast<IKorvaEventSink*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override {
        const uint32_t left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT OnEvent(int32_t number, Value* const* args, uint32_t count) override {
        if (count > 0 && !args)
            return E_POINTER;
        if (log_)
            log_(QStringLiteral("event ") + formatEvent(name_, info_, number, args, count));
        return S_OK;
    }

private:
    ~Sink() = default;
    std::atomic<uint32_t> refs_{1};
    QString name_;
    const ClassInfo& info_;
    EventLog log_;
};

HostedControl::HostedControl(QString name, ComPtr<IKorvaControl> control, EventLog log)
    : name_(std::move(name)), control_(std::move(control)), info_(control_->GetClassInfo()) {
    control_.queryTo(IID_IKorvaDispatch, dispatch_);
    if (SUCCEEDED(control_.queryTo(IID_IKorvaConnectionPoint, events_))) {
        sink_ = new Sink(name_, *info_, std::move(log));
        if (FAILED(events_->Advise(sink_, &cookie_)))
            cookie_ = 0;
    }
}

HostedControl::~HostedControl() {
    if (events_ && cookie_)
        events_->Unadvise(cookie_);
    if (sink_)
        sink_->Release();
    control_->Terminate(); // E_UNEXPECTED when it was never initialised or already ended: nothing to do
}

const MemberInfo* HostedControl::lookup(const QString& member, QString* error) const {
    int32_t id = 0;
    if (!dispatch_ ||
        FAILED(dispatch_->GetIDsOfNames(reinterpret_cast<const char16_t*>(member.utf16()), &id))) {
        if (error)
            *error = QStringLiteral("%1 (%2) has no member %3").arg(name_, info_->name, startOf(member));
        return nullptr;
    }
    const MemberInfo* m = info_->memberById(id);
    if (!m && error)
        *error = QStringLiteral("%1 answers to %2 but does not describe it").arg(info_->name, member);
    return m;
}

bool HostedControl::invoke(const MemberInfo& m, uint16_t flags, std::vector<Value>& args, Value* result,
                           QString* error) {
    const HRESULT hr =
        dispatch_->Invoke(m.dispId, flags, args.data(), static_cast<uint32_t>(args.size()), result);
    if (SUCCEEDED(hr))
        return true;
    if (!error)
        return false;
    const QString what = name_ + u'.' + m.name;
    switch (hr) {
    case DISP_E_MEMBERNOTFOUND:
        if (flags & DISPATCH_PROPERTYPUTREF)
            *error = QStringLiteral("%1 cannot be assigned with set").arg(what);
        else if (flags & DISPATCH_PROPERTYPUT)
            *error = QStringLiteral("%1 cannot be assigned with let").arg(what);
        else if ((flags & DISPATCH_METHOD) && !(m.flags & kCall))
            *error = QStringLiteral("%1 is a property, not a method").arg(what);
        else if (m.flags & kCall)
            *error = (flags & DISPATCH_METHOD) ? QStringLiteral("%1 cannot be called").arg(what)
                                               : QStringLiteral("%1 is a method: use call").arg(what);
        else
            *error = QStringLiteral("%1 cannot be read").arg(what);
        break;
    case DISP_E_TYPEMISMATCH: {
        QStringList given;
        for (const Value& v : args)
            given << QString::fromLatin1(typeName(v.type()));
        *error =
            QStringLiteral("type mismatch: %1 does not take %2").arg(what, given.join(QStringLiteral(", ")));
        break;
    }
    case DISP_E_BADPARAMCOUNT:
        *error = QStringLiteral("%1 does not take %2 argument(s)").arg(what).arg(args.size());
        break;
    case E_UNEXPECTED:
        *error = QStringLiteral("%1 has been terminated").arg(name_);
        break;
    default:
        *error = QStringLiteral("%1 failed: %2").arg(what, describeResult(hr));
        break;
    }
    return false;
}

bool HostedControl::get(const QString& member, Value& out, QString* memberName, QString* error) {
    const MemberInfo* m = lookup(member, error);
    if (!m)
        return false;
    if (memberName)
        *memberName = m->name;
    std::vector<Value> none;
    return invoke(*m, DISPATCH_PROPERTYGET, none, &out, error);
}

bool HostedControl::put(const QString& member, const Value& value, bool bySet, QString* error) {
    const MemberInfo* m = lookup(member, error);
    if (!m)
        return false;
    std::vector<Value> args{value};
    return invoke(*m, bySet ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, args, nullptr, error);
}

bool HostedControl::call(const QString& member, std::vector<Value>& args, Value& result, QString* memberName,
                         QString* error) {
    const MemberInfo* m = lookup(member, error);
    if (!m)
        return false;
    if (memberName)
        *memberName = m->name;
    return invoke(*m, DISPATCH_METHOD, args, &result, error);
}

} // namespace korva::host
