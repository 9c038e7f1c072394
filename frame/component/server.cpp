#include "frame/component/server_p.h"

#include "frame/component/catalogue_p.h"
#include "frame/component/control_object_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/platform/system_colours.h"

#include <QWidget>

#include <atomic>
#include <memory>

namespace korva::server {

namespace {

std::atomic<long> g_instances{0};
std::atomic<long> g_locks{0};

// Class objects and the runtime object live in static storage, so their
// references only count calls; the library's lifetime is governed by
// instances and locks alone.
class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassInfo& info) : info_(info) {}
    bool matches(const ClassInfo& info) const { return &info == &info_; }

    HRESULT QueryInterface(const GUID& riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override { return refs_ > 0 ? --refs_ : 0; }

    HRESULT CreateInstance(IUnknown* outer, const GUID& riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return ControlObject::create(info_, riid, ppv);
    }

    HRESULT LockServer(bool on) override {
        lock(on);
        return S_OK;
    }

private:
    const ClassInfo& info_;
    std::atomic<uint32_t> refs_{0};
};

class Runtime final : public IKorvaRuntime {
public:
    HRESULT QueryInterface(const GUID& riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IKorvaRuntime) {
            *ppv = static_cast<IKorvaRuntime*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override { return refs_ > 0 ? --refs_ : 0; }

    HRESULT ClassIdFromProgId(const char16_t* progId, GUID* clsid) override {
        if (!progId || !clsid)
            return E_POINTER;
        const ClassInfo* c = catalogue::byName(QStringView(progId));
        if (!c)
            return CLASS_E_CLASSNOTAVAILABLE;
        *clsid = c->clsid;
        return S_OK;
    }

    HRESULT UseScriptedPlatform(bool on) override {
        if (on && !scripted_) {
            scripted_ = std::make_unique<ScriptedPlatform>();
            // System colours keep following the palette if the host asked for that.
            scripted_->setFollowQtPalette(systemColoursFollowQtPalette());
            scripted_->installed(true);
        } else if (!on && scripted_) {
            scripted_.reset(); // uninstalls itself
        }
        return S_OK;
    }

    HRESULT SetCursorPos(int32_t x, int32_t y) override {
        if (!scripted_)
            return E_UNEXPECTED;
        scripted_->setCursorPos(QPoint(x, y));
        return S_OK;
    }

    HRESULT Advance(uint32_t ms) override {
        if (!scripted_)
            return E_UNEXPECTED;
        try {
            scripted_->advance(ms);
        } catch (...) {
            return E_FAIL;
        }
        return S_OK;
    }

    HRESULT PlaceWindow(QWidget* window, int32_t x, int32_t y) override {
        if (!window)
            return E_POINTER;
        if (!scripted_)
            return E_UNEXPECTED;
        scripted_->placeWindow(window, QPoint(x, y));
        return S_OK;
    }

    uint32_t TickCount() override { return Platform::instance().tickCount(); }

    HRESULT GetCapture(QWidget** window) override {
        if (!window)
            return E_POINTER;
        *window = Platform::instance().capture();
        return *window ? S_OK : S_FALSE;
    }

    HRESULT GetWindowRect(QWidget* window, int32_t* left, int32_t* top, int32_t* right,
                          int32_t* bottom) override {
        if (!window || !left || !top || !right || !bottom)
            return E_POINTER;
        const WindowRect r = Platform::instance().windowRect(window);
        *left = r.left;
        *top = r.top;
        *right = r.right;
        *bottom = r.bottom;
        return S_OK;
    }

    HRESULT SetScreenSize(int32_t width, int32_t height) override {
        if (!scripted_)
            return E_UNEXPECTED;
        if (width <= 0 || height <= 0)
            return E_INVALIDARG;
        scripted_->setScreenRect(QRect(0, 0, width, height));
        return S_OK;
    }

    HRESULT AnswerColourDialog(bool choose, uint32_t colour) override {
        if (!scripted_)
            return E_UNEXPECTED;
        scripted_->queueColourAnswer(choose ? std::optional<uint32_t>(colour) : std::nullopt);
        return S_OK;
    }

    HRESULT FollowQtPalette(bool on) override {
        setSystemColoursFollowQtPalette(on);
        return S_OK;
    }

private:
    std::atomic<uint32_t> refs_{0};
    std::unique_ptr<ScriptedPlatform> scripted_;
};

} // namespace

void instanceCreated() { ++g_instances; }
void instanceDestroyed() { --g_instances; }

void lock(bool on) {
    if (on)
        ++g_locks;
    else if (g_locks > 0) // an unbalanced unlock must not hide a real lock later
        --g_locks;
}

bool canUnload() { return g_instances == 0 && g_locks == 0; }

IClassFactory* factoryFor(const ClassInfo& info) {
    if (!info.create)
        return nullptr;
    static std::vector<std::unique_ptr<ClassFactory>> factories;
    for (const auto& f : factories)
        if (f->matches(info))
            return f.get();
    factories.push_back(std::make_unique<ClassFactory>(info));
    return factories.back().get();
}

IKorvaRuntime* runtime() {
    static Runtime r;
    return &r;
}

} // namespace korva::server
