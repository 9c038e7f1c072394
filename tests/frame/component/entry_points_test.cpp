// The component face of the library: entry points, class factories, the
// unload rule, dispatch by name and identifier, events with by-reference
// arguments, and the order of lifecycle calls.
#include "frame/component/catalogue_p.h"
#include "frame/component/control_object_p.h"
#include "frame/component/entry_points.h"
#include "frame/values/property_bag.h"
#include "support/bare_class.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace korva;

namespace {

ComPtr<IClassFactory> factory(const GUID& clsid) {
    ComPtr<IClassFactory> f;
    EXPECT_EQ(DllGetClassObject(clsid, IID_IClassFactory, f.put()), S_OK);
    return f;
}

template <class T> ComPtr<T> newPane(const GUID& iid) {
    ComPtr<T> p;
    EXPECT_EQ(factory(catalogue::byName(u"Pane")->clsid)->CreateInstance(nullptr, iid, p.put()), S_OK);
    return p;
}

// Records what a host's handler sees, and optionally rewrites the first argument.
class RecordingSink final : public IKorvaEventSink {
public:
    HRESULT QueryInterface(const GUID& riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IKorvaEventSink) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }
    HRESULT OnEvent(int32_t number, Value* const* args, uint32_t count) override {
        events.push_back(number);
        if (count > 0 && replaceFirst)
            *args[0] = replacement;
        if (onEvent)
            onEvent();
        return S_OK;
    }
    uint32_t refs = 0;
    std::vector<int32_t> events;
    bool replaceFirst = false;
    Value replacement;
    std::function<void()> onEvent;
};

// A class of its own for what Pane does not have: a by-reference argument
// and a record of the lifecycle the runtime delivered.
QStringList g_probeLog;

class Probe : public Control {
public:
    explicit Probe(const ClassInfo& info) : Control(info) {}

protected:
    void onInitialize() override { g_probeLog << "Initialize"; }
    void onReadProperties(const PropertyBag&) override { g_probeLog << "ReadProperties"; }
    void onTerminate() override { g_probeLog << "Terminate"; }
    InvokeStatus onInvoke(const MemberInfo&, InvokeKind, std::vector<Value>& args, Value& result) override {
        // Fire(ByRef n): raises event 1 with n, then answers what the handler left in it.
        Value* arg = &args[0];
        RaiseEvent(1, std::span<Value* const>(&arg, 1));
        result = args[0];
        return InvokeStatus::Ok;
    }
};

const ClassInfo& probeInfo() {
    static const ClassInfo info = [] {
        ClassInfo c = fixtures::bareClass("Probe", QSize(600, 300));
        c.members = {{QStringLiteral("Fire"),
                      methodId(0),
                      kCall,
                      ValueType::Long,
                      {{QStringLiteral("n"), ValueType::Long, true, false}}}};
        c.events = {{QStringLiteral("Fired"), 1, {{QStringLiteral("n"), ValueType::Long, true, false}}}};
        c.create = [] { return std::unique_ptr<Control>(new Probe(probeInfo())); };
        return c;
    }();
    return info;
}

} // namespace

TEST(EntryPoints, RefuseWhatTheyCannotServe) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject(guidFrom("{01234567-89AB-CDEF-0123-456789ABCDEF}"), IID_IClassFactory, &p),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(DllGetClassObject(catalogue::library().libid, IID_IClassFactory, &p),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(DllGetClassObject(catalogue::byName(u"Pane")->clsid, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(DllGetClassObject(catalogue::byName(u"Pane")->clsid, IID_IKorvaDispatch, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
}

TEST(EntryPoints, FactoryRefusesAggregationAndForeignInterfaces) {
    ComPtr<IClassFactory> f = factory(catalogue::byName(u"Pane")->clsid);
    ComPtr<IKorvaDispatch> d = newPane<IKorvaDispatch>(IID_IKorvaDispatch);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(d.get(), IID_IUnknown, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IClassFactory, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
}

TEST(EntryPoints, CanUnloadOnlyWithoutInstancesAndLocks) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    ComPtr<IClassFactory> f = factory(catalogue::byName(u"Pane")->clsid);
    {
        ComPtr<IKorvaDispatch> d = newPane<IKorvaDispatch>(IID_IKorvaDispatch);
        ComPtr<IKorvaControl> c;
        ASSERT_EQ(d.queryTo(IID_IKorvaControl, c), S_OK);
        d.reset();
        EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a second interface keeps the instance";
    }
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    // Locks count; an unbalanced unlock (the fifth) must not leave a debt.
    const std::pair<bool, HRESULT> steps[] = {{true, S_FALSE}, {true, S_FALSE}, {false, S_FALSE},
                                              {false, S_OK},   {false, S_OK},   {true, S_FALSE},
                                              {false, S_OK}};
    for (const auto& [lock, unload] : steps) {
        EXPECT_EQ(f->LockServer(lock), S_OK);
        EXPECT_EQ(DllCanUnloadNow(), unload);
    }
}

TEST(EntryPoints, QueryInterfaceKeepsOneIdentity) {
    ComPtr<IKorvaDispatch> d = newPane<IKorvaDispatch>(catalogue::byName(u"Pane")->defaultIid);
    ASSERT_TRUE(d);
    ComPtr<IUnknown> a, b;
    ComPtr<IKorvaConnectionPoint> cp;
    ASSERT_EQ(d.queryTo(IID_IKorvaConnectionPoint, cp), S_OK);
    ASSERT_EQ(d.queryTo(IID_IUnknown, a), S_OK);
    ASSERT_EQ(cp.queryTo(IID_IUnknown, b), S_OK);
    EXPECT_EQ(a.get(), b.get());
    ComPtr<IUnknown> none;
    EXPECT_EQ(d.queryTo(catalogue::byName(u"Pane")->eventIid, none), E_NOINTERFACE);
    GUID iid;
    EXPECT_EQ(cp->GetConnectionInterface(&iid), S_OK);
    EXPECT_EQ(iid, catalogue::byName(u"Pane")->eventIid);
}

TEST(Dispatch, NamesAndIdentifiers) {
    ComPtr<IKorvaDispatch> d = newPane<IKorvaDispatch>(IID_IKorvaDispatch);
    int32_t id = 0;
    EXPECT_EQ(d->GetIDsOfNames(u"tEXTcAPTION", &id), S_OK);
    EXPECT_EQ(id, catalogue::byName(u"Pane")->memberByName(u"TextCaption")->dispId);
    EXPECT_EQ(d->GetIDsOfNames(u"Caption", &id), DISP_E_UNKNOWNNAME);

    int32_t enabled = 0;
    ASSERT_EQ(d->GetIDsOfNames(u"Enabled", &enabled), S_OK);
    Value v("Open"), out;
    struct Case {
        const char* what;
        int32_t id;
        uint16_t flags;
        uint32_t count;
        HRESULT expected;
    } cases[] = {
        {"let", id, DISPATCH_PROPERTYPUT, 1, S_OK},
        {"let without value", id, DISPATCH_PROPERTYPUT, 0, DISP_E_BADPARAMCOUNT},
        {"get with an argument", id, DISPATCH_PROPERTYGET, 1, DISP_E_BADPARAMCOUNT},
        {"property called as method", id, DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
        {"get of a let-only property", enabled, DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
        {"unknown identifier", 0x68039999, DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
        {"no kind", id, 0, 0, E_INVALIDARG},
    };
    for (const Case& c : cases)
        EXPECT_EQ(d->Invoke(c.id, c.flags, &v, c.count, &out), c.expected) << c.what;

    EXPECT_EQ(d->Invoke(id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0, &out), S_OK);
    EXPECT_EQ(out, Value("Open"));
    Value font(FontSpec{});
    EXPECT_EQ(d->Invoke(id, DISPATCH_PROPERTYPUT, &font, 1, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(d->Invoke(id, DISPATCH_PROPERTYPUT, nullptr, 1, nullptr), E_POINTER);
}

TEST(Dispatch, EventsReachAdvisedSinksUntilUnadvised) {
    ComPtr<IKorvaControl> c = newPane<IKorvaControl>(IID_IKorvaControl);
    ComPtr<IKorvaConnectionPoint> cp;
    ASSERT_EQ(c.queryTo(IID_IKorvaConnectionPoint, cp), S_OK);
    RecordingSink sink;
    uint32_t cookie = 0;
    ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(sink.refs, 1u);
    ASSERT_EQ(c->Initialize(), S_OK);
    QString error;
    EXPECT_EQ(c->Notify(u"imgMAIN", -1, u"DblClick", nullptr, 0, &error), S_OK) << error.toStdString();
    EXPECT_EQ(sink.events, (std::vector<int32_t>{1}));
    EXPECT_EQ(c->Notify(u"imgNOTHERE", -1, u"Click", nullptr, 0, &error), E_INVALIDARG);
    EXPECT_TRUE(error.contains("imgNOTHERE")) << error.toStdString();
    EXPECT_EQ(c->Notify(nullptr, -1, u"Wiggle", nullptr, 0, &error), E_INVALIDARG);
    EXPECT_TRUE(error.contains("Wiggle")) << error.toStdString();

    EXPECT_EQ(cp->Unadvise(cookie + 7), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(cp->Unadvise(cookie), S_OK);
    EXPECT_EQ(sink.refs, 0u);
    EXPECT_EQ(c->Notify(u"imgMAIN", -1, u"Click", nullptr, 0, &error), S_OK);
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST(Dispatch, ByReferenceArgumentsComeBackFromHandlers) {
    ComPtr<IKorvaDispatch> d;
    ASSERT_EQ(ControlObject::create(probeInfo(), IID_IKorvaDispatch, d.put()), S_OK);
    ComPtr<IKorvaConnectionPoint> cp;
    ASSERT_EQ(d.queryTo(IID_IKorvaConnectionPoint, cp), S_OK);
    RecordingSink sink;
    sink.replaceFirst = true;
    sink.replacement = Value(int32_t(42));
    uint32_t cookie = 0;
    ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
    Value arg(int32_t(7)), result;
    ASSERT_EQ(d->Invoke(methodId(0), DISPATCH_METHOD, &arg, 1, &result), S_OK);
    EXPECT_EQ(result, Value(int32_t(42))) << "the control saw what the handler left";
    EXPECT_EQ(arg, Value(int32_t(42))) << "the caller's by-reference argument is written back";
    EXPECT_EQ(d->Invoke(methodId(0), DISPATCH_METHOD, nullptr, 0, &result), DISP_E_BADPARAMCOUNT);
    cp->Unadvise(cookie);
}

TEST(Lifecycle, OrderIsEnforcedAndTerminateAlwaysComes) {
    g_probeLog.clear();
    PropertyBag bag;
    {
        ComPtr<IKorvaControl> c;
        ASSERT_EQ(ControlObject::create(probeInfo(), IID_IKorvaControl, c.put()), S_OK);
        EXPECT_EQ(c->ReadProperties(&bag), E_UNEXPECTED) << "before Initialize";
        EXPECT_EQ(c->Show(), E_UNEXPECTED);
        EXPECT_EQ(c->Initialize(), S_OK);
        EXPECT_EQ(c->Initialize(), E_UNEXPECTED);
        EXPECT_EQ(c->ReadProperties(nullptr), E_POINTER);
        EXPECT_EQ(c->ReadProperties(&bag), S_OK);
        EXPECT_EQ(c->InitProperties(), E_UNEXPECTED) << "only one of the two";
        EXPECT_EQ(c->SetExtent(-1, 10), E_INVALIDARG);
        EXPECT_EQ(c->SetExtent(900, 450), S_OK);
        float w = 0, h = 0;
        EXPECT_EQ(c->GetExtent(&w, &h), S_OK);
        EXPECT_EQ(w, 900);
        EXPECT_EQ(h, 450);
    } // released without Terminate
    EXPECT_EQ(g_probeLog, QStringList({"Initialize", "ReadProperties", "Terminate"}));

    g_probeLog.clear();
    ComPtr<IKorvaControl> c;
    ASSERT_EQ(ControlObject::create(probeInfo(), IID_IKorvaControl, c.put()), S_OK);
    ASSERT_EQ(c->Initialize(), S_OK);
    EXPECT_EQ(c->Terminate(), S_OK);
    EXPECT_EQ(c->Terminate(), E_UNEXPECTED);
    ComPtr<IKorvaDispatch> d;
    ASSERT_EQ(c.queryTo(IID_IKorvaDispatch, d), S_OK);
    Value arg(int32_t(1));
    EXPECT_EQ(d->Invoke(methodId(0), DISPATCH_METHOD, &arg, 1, nullptr), E_UNEXPECTED);
    c.reset();
    d.reset();
    EXPECT_EQ(g_probeLog, QStringList({"Initialize", "Terminate"}));
}

// A handler that drops the host's last reference must not pull the control
// out from under the code that is raising the event.
TEST(Lifecycle, ReleaseFromInsideAnEventEndsTheInstanceLater) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    IKorvaDispatch* raw = nullptr;
    ASSERT_EQ(ControlObject::create(probeInfo(), IID_IKorvaDispatch, reinterpret_cast<void**>(&raw)), S_OK);
    IKorvaConnectionPoint* cp = nullptr;
    ASSERT_EQ(raw->QueryInterface(IID_IKorvaConnectionPoint, reinterpret_cast<void**>(&cp)), S_OK);
    RecordingSink sink;
    uint32_t cookie = 0;
    cp->Advise(&sink, &cookie);
    cp->Release();
    sink.onEvent = [&] { raw->Release(); };
    Value arg(int32_t(1)), result;
    EXPECT_EQ(raw->Invoke(methodId(0), DISPATCH_METHOD, &arg, 1, &result), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    QCoreApplication::processEvents();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    EXPECT_EQ(sink.refs, 0u);
}
