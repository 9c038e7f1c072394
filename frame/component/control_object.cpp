#include "frame/component/control_object_p.h"

#include "frame/component/server_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <exception>
#include <new>

namespace korva {

namespace {

// Nothing may unwind into the host: an exception becomes a result code.
template <class F> HRESULT boundary(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        qWarning("korvactl: %s", e.what());
        return E_FAIL;
    } catch (...) {
        return E_FAIL;
    }
}

QString fromUtf16(const char16_t* s) { return s ? QString::fromUtf16(s) : QString(); }

HRESULT statusToResult(InvokeStatus s) {
    switch (s) {
    case InvokeStatus::Ok:
        return S_OK;
    case InvokeStatus::UnknownMember:
    case InvokeStatus::NotSupported:
        return DISP_E_MEMBERNOTFOUND;
    case InvokeStatus::TypeMismatch:
        return DISP_E_TYPEMISMATCH;
    case InvokeStatus::BadParamCount:
        return DISP_E_BADPARAMCOUNT;
    }
    return E_FAIL;
}

} // namespace

HRESULT ControlObject::create(const ClassInfo& info, const GUID& riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!info.create)
        return CLASS_E_CLASSNOTAVAILABLE;
    return boundary([&]() -> HRESULT {
        std::unique_ptr<Control> control = info.create();
        if (!control)
            return E_FAIL;
        auto* object = new ControlObject(std::move(control));
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release(); // the creation reference; on failure this ends the object
        return hr;
    });
}

ControlObject::ControlObject(std::unique_ptr<Control> control) : control_(std::move(control)) {
    control_->addSink(this);
    server::instanceCreated();
}

ControlObject::~ControlObject() {
    // The runtime delivers Terminate before an instance goes, also when the
    // container forgot to.
    if (stage_ == Stage::Initialized || stage_ == Stage::Loaded)
        control_->Terminate();
    control_->removeSink(this);
    for (const Connection& c : connections_)
        c.sink->Release();
    connections_.clear();
    control_.reset();
    server::instanceDestroyed();
}

// ---- IUnknown -------------------------------------------------------------

HRESULT ControlObject::QueryInterface(const GUID& riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    const ClassInfo& info = control_->classInfo();
    if (riid == IID_IUnknown || riid == IID_IKorvaDispatch || riid == info.defaultIid)
        *ppv = static_cast<IKorvaDispatch*>(this);
    else if (riid == IID_IKorvaControl)
        *ppv = static_cast<IKorvaControl*>(this);
    else if (riid == IID_IKorvaConnectionPoint)
        *ppv = static_cast<IKorvaConnectionPoint*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

uint32_t ControlObject::AddRef() { return ++refs_; }

uint32_t ControlObject::Release() {
    const uint32_t left = --refs_;
    if (left == 0) {
        // Released from inside one of its own events: the control is still
        // raising, so the end waits until control is back in the event loop.
        if (raising_ > 0)
            endPending_ = true;
        else
            delete this;
    }
    return left;
}

// ---- IKorvaDispatch -------------------------------------------------------

HRESULT ControlObject::GetIDsOfNames(const char16_t* name, int32_t* dispId) {
    if (!name || !dispId)
        return E_POINTER;
    return boundary([&]() -> HRESULT {
        const MemberInfo* m = control_->classInfo().memberByName(QStringView(name));
        if (!m)
            return DISP_E_UNKNOWNNAME;
        *dispId = m->dispId;
        return S_OK;
    });
}

HRESULT ControlObject::Invoke(int32_t dispId, uint16_t flags, Value* args, uint32_t count, Value* result) {
    if (count > 0 && !args)
        return E_POINTER;
    if (stage_ == Stage::Terminated)
        return E_UNEXPECTED;
    return boundary([&]() -> HRESULT {
        const MemberInfo* m = control_->classInfo().memberById(dispId);
        if (!m)
            return DISP_E_MEMBERNOTFOUND;

        InvokeKind kind;
        if (flags & DISPATCH_PROPERTYPUTREF)
            kind = InvokeKind::Set;
        else if (flags & DISPATCH_PROPERTYPUT)
            kind = InvokeKind::Let;
        else if ((flags & DISPATCH_METHOD) && (m->flags & kCall))
            kind = InvokeKind::Call;
        else if (flags & DISPATCH_PROPERTYGET)
            kind = InvokeKind::Get;
        else if (flags & DISPATCH_METHOD)
            return DISP_E_MEMBERNOTFOUND; // a property called as a method
        else
            return E_INVALIDARG;

        if (kind == InvokeKind::Let || kind == InvokeKind::Set) {
            if (count != 1)
                return DISP_E_BADPARAMCOUNT;
        } else if (kind == InvokeKind::Get) {
            if (count != 0)
                return DISP_E_BADPARAMCOUNT;
        } else {
            std::size_t required = 0;
            for (const ParamInfo& p : m->params)
                if (!p.optional)
                    ++required;
            if (count < required || count > m->params.size())
                return DISP_E_BADPARAMCOUNT;
        }

        std::vector<Value> list(args, args + count);
        Value out;
        const HRESULT hr = statusToResult(control_->invoke(dispId, kind, list, out));
        if (FAILED(hr))
            return hr;
        if (kind == InvokeKind::Call)
            for (uint32_t i = 0; i < count && i < list.size(); ++i)
                if (m->params[i].byRef)
                    args[i] = list[i];
        if (result)
            *result = std::move(out);
        return S_OK;
    });
}

// ---- IKorvaConnectionPoint --------------------------------------------------

HRESULT ControlObject::GetConnectionInterface(GUID* iid) {
    if (!iid)
        return E_POINTER;
    *iid = control_->classInfo().eventIid;
    return S_OK;
}

HRESULT ControlObject::Advise(IKorvaEventSink* sink, uint32_t* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    return boundary([&]() -> HRESULT {
        connections_.push_back({nextCookie_, sink});
        sink->AddRef();
        *cookie = nextCookie_++;
        return S_OK;
    });
}

HRESULT ControlObject::Unadvise(uint32_t cookie) {
    for (auto it = connections_.begin(); it != connections_.end(); ++it)
        if (it->cookie == cookie) {
            IKorvaEventSink* sink = it->sink;
            connections_.erase(it);
            sink->Release();
            return S_OK;
        }
    return CONNECT_E_NOCONNECTION;
}

void ControlObject::onEvent(Control&, int32_t number, std::span<Value* const> args) {
    // A sink may unadvise itself or others, or release the last reference to
    // this object, while it handles the event: hold the sinks for the walk.
    std::vector<IKorvaEventSink*> sinks;
    sinks.reserve(connections_.size());
    for (const Connection& c : connections_) {
        c.sink->AddRef();
        sinks.push_back(c.sink);
    }
    ++raising_;
    for (IKorvaEventSink* s : sinks) {
        boundary([&] { return s->OnEvent(number, args.data(), static_cast<uint32_t>(args.size())); });
        s->Release();
    }
    if (--raising_ == 0 && endPending_ && refs_ == 0) {
        endPending_ = false;
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [this] { delete this; }, Qt::QueuedConnection);
    }
}

// ---- IKorvaControl --------------------------------------------------------

QWidget* ControlObject::Window() { return control_->widget(); }

const ClassInfo* ControlObject::GetClassInfo() { return &control_->classInfo(); }

template <class F> HRESULT ControlObject::running(F&& deliver) {
    if (stage_ == Stage::Created || stage_ == Stage::Terminated)
        return E_UNEXPECTED;
    return boundary([&]() -> HRESULT {
        deliver();
        return S_OK;
    });
}

HRESULT ControlObject::Initialize() {
    if (stage_ != Stage::Created)
        return E_UNEXPECTED;
    stage_ = Stage::Initialized;
    return boundary([&]() -> HRESULT {
        control_->Initialize();
        return S_OK;
    });
}

// Exactly one of InitProperties and ReadProperties follows Initialize.
HRESULT ControlObject::InitProperties() {
    if (stage_ != Stage::Initialized)
        return E_UNEXPECTED;
    stage_ = Stage::Loaded;
    return boundary([&]() -> HRESULT {
        control_->InitProperties();
        return S_OK;
    });
}

HRESULT ControlObject::ReadProperties(const PropertyBag* bag) {
    if (!bag)
        return E_POINTER;
    if (stage_ != Stage::Initialized)
        return E_UNEXPECTED;
    stage_ = Stage::Loaded;
    return boundary([&]() -> HRESULT {
        control_->ReadProperties(*bag);
        return S_OK;
    });
}

HRESULT ControlObject::WriteProperties(PropertyBag* bag) {
    if (!bag)
        return E_POINTER;
    return running([&] { control_->WriteProperties(*bag); });
}

HRESULT ControlObject::SetExtent(float widthTwips, float heightTwips) {
    if (!(widthTwips >= 0 && heightTwips >= 0)) // also refuses NaN
        return E_INVALIDARG;
    const Platform& p = Platform::instance();
    if (widthTwips / p.twipsPerPixelX() > QWIDGETSIZE_MAX ||
        heightTwips / p.twipsPerPixelY() > QWIDGETSIZE_MAX)
        return E_INVALIDARG; // no window is that large
    return running([&] { control_->site()->resizeTwips(widthTwips, heightTwips); });
}

HRESULT ControlObject::GetExtent(float* widthTwips, float* heightTwips) {
    if (!widthTwips || !heightTwips)
        return E_POINTER;
    *widthTwips = control_->site()->Width();
    *heightTwips = control_->site()->Height();
    return S_OK;
}

HRESULT ControlObject::Show() {
    return running([&] { control_->Show(); });
}
HRESULT ControlObject::Paint() {
    return running([&] { control_->Paint(); });
}
HRESULT ControlObject::GotFocus() {
    return running([&] { control_->GotFocus(); });
}
HRESULT ControlObject::EnterFocus() {
    return running([&] { control_->EnterFocus(); });
}
HRESULT ControlObject::ExitFocus() {
    return running([&] { control_->ExitFocus(); });
}
HRESULT ControlObject::LostFocus() {
    return running([&] { control_->LostFocus(); });
}

HRESULT ControlObject::AmbientChanged(const char16_t* name) {
    return running([&] { control_->AmbientChanged(fromUtf16(name)); });
}

HRESULT ControlObject::Terminate() {
    const HRESULT hr = running([&] { control_->Terminate(); });
    if (SUCCEEDED(hr))
        stage_ = Stage::Terminated;
    return hr;
}

HRESULT ControlObject::Notify(const char16_t* element, int32_t index, const char16_t* notification,
                              Value* args, uint32_t count, QString* error) {
    auto fail = [&](HRESULT hr, const QString& message) {
        if (error)
            *error = message;
        return hr;
    };
    if (!notification)
        return fail(E_POINTER, QStringLiteral("no notification named"));
    if (count > 0 && !args)
        return fail(E_POINTER, QStringLiteral("arguments missing"));
    if (stage_ == Stage::Terminated)
        return fail(E_UNEXPECTED, QStringLiteral("%1 has been terminated").arg(control_->classInfo().name));
    return boundary([&]() -> HRESULT {
        Notification n;
        const QString name = fromUtf16(notification);
        if (!parseNotification(name, n))
            return fail(E_INVALIDARG, QStringLiteral("unknown notification %1").arg(name));
        std::vector<Value> list(args, args + count);
        QString message;
        if (!control_->notify(fromUtf16(element), index, n, list, &message))
            return fail(E_INVALIDARG, message);
        // Handlers may change by-reference arguments (a KeyPress code).
        for (uint32_t i = 0; i < count && i < list.size(); ++i)
            args[i] = list[i];
        return S_OK;
    });
}

HRESULT ControlObject::ElementWindow(const char16_t* element, int32_t index, QWidget** window) {
    if (!element || !window)
        return E_POINTER;
    *window = nullptr;
    if (stage_ == Stage::Terminated)
        return E_UNEXPECTED;
    return boundary([&]() -> HRESULT {
        const Element* e = control_->element(QStringView(element), index);
        if (!e)
            return E_INVALIDARG;
        *window = e->widget();
        return *window ? S_OK : S_FALSE;
    });
}

HRESULT ControlObject::ElementArea(const char16_t* element, int32_t index, QWidget** window, int32_t* left,
                                   int32_t* top, int32_t* right, int32_t* bottom) {
    if (!element || !window || !left || !top || !right || !bottom)
        return E_POINTER;
    *window = nullptr;
    *left = *top = *right = *bottom = 0;
    if (stage_ == Stage::Terminated)
        return E_UNEXPECTED;
    return boundary([&]() -> HRESULT {
        const Element* e = control_->element(QStringView(element), index);
        if (!e)
            return E_INVALIDARG;
        QWidget* w = e->paintingWindow();
        if (!w)
            return S_FALSE;
        const QRect r = e->paintedRect();
        *window = w;
        *left = r.left();
        *top = r.top();
        *right = r.left() + r.width();
        *bottom = r.top() + r.height();
        // A drawn element shows only while it and every box it lies in do.
        if (e->isDrawn())
            for (const Element* in = e; in; in = in->Container())
                if (!in->Visible())
                    return S_FALSE;
        return S_OK;
    });
}

} // namespace korva
