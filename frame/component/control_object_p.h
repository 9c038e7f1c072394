// ControlObject: the component face of one control instance. It owns the
// Control and answers for it through IKorvaDispatch (its default interface),
// IKorvaControl (the container's side) and IKorvaConnectionPoint (events).
#pragma once

#include "frame/component/com_interfaces.h"
#include "frame/runtime/control.h"

#include <atomic>
#include <memory>
#include <vector>

namespace korva {

class ControlObject final : public IKorvaDispatch,
                            public IKorvaControl,
                            public IKorvaConnectionPoint,
                            private EventSink {
public:
    // Creates an instance of `info`'s class and queries it for `riid`.
    static HRESULT create(const ClassInfo& info, const GUID& riid, void** ppv);

    // IUnknown
    HRESULT QueryInterface(const GUID& riid, void** ppv) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // IKorvaDispatch
    HRESULT GetIDsOfNames(const char16_t* name, int32_t* dispId) override;
    HRESULT Invoke(int32_t dispId, uint16_t flags, Value* args, uint32_t count, Value* result) override;

    // IKorvaConnectionPoint
    HRESULT GetConnectionInterface(GUID* iid) override;
    HRESULT Advise(IKorvaEventSink* sink, uint32_t* cookie) override;
    HRESULT Unadvise(uint32_t cookie) override;

    // IKorvaControl
    QWidget* Window() override;
    const ClassInfo* GetClassInfo() override;
    HRESULT Initialize() override;
    HRESULT InitProperties() override;
    HRESULT ReadProperties(const PropertyBag* bag) override;
    HRESULT WriteProperties(PropertyBag* bag) override;
    HRESULT SetExtent(float widthTwips, float heightTwips) override;
    HRESULT GetExtent(float* widthTwips, float* heightTwips) override;
    HRESULT Show() override;
    HRESULT Paint() override;
    HRESULT GotFocus() override;
    HRESULT EnterFocus() override;
    HRESULT ExitFocus() override;
    HRESULT LostFocus() override;
    HRESULT AmbientChanged(const char16_t* name) override;
    HRESULT Terminate() override;
    HRESULT Notify(const char16_t* element, int32_t index, const char16_t* notification, Value* args,
                   uint32_t count, QString* error) override;
    HRESULT ElementWindow(const char16_t* element, int32_t index, QWidget** window) override;
    HRESULT ElementArea(const char16_t* element, int32_t index, QWidget** window, int32_t* left, int32_t* top,
                        int32_t* right, int32_t* bottom) override;

private:
    explicit ControlObject(std::unique_ptr<Control> control);
    ~ControlObject();

    void onEvent(Control& source, int32_t number, std::span<Value* const> args) override;

    // Where the instance stands in the documented order of notifications.
    enum class Stage { Created, Initialized, Loaded, Terminated };
    // Runs a notification that needs an initialised, not yet terminated instance.
    template <class F> HRESULT running(F&& deliver);

    struct Connection {
        uint32_t cookie;
        IKorvaEventSink* sink;
    };

    std::atomic<uint32_t> refs_{1};
    std::unique_ptr<Control> control_;
    std::vector<Connection> connections_;
    uint32_t nextCookie_ = 1;
    Stage stage_ = Stage::Created;
    int raising_ = 0;
    bool endPending_ = false;
};

} // namespace korva
