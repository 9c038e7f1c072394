// The interfaces between korvactl and its host. All pure virtual: the host
// loads the library at run time, asks DllGetClassObject for a class factory
// and from then on only calls through these tables.
//
//   IClassFactory          creates instances of one class; locks the library
//   IKorvaDispatch         members by name or identifier: get, let, set, call
//   IKorvaConnectionPoint  attaches event sinks to one instance
//   IKorvaEventSink        implemented by the host; receives raised events
//   IKorvaControl          the container's side: windows, lifecycle, input
//   IKorvaRuntime          library-wide services: class names, platform double,
//                          where windows are and which one holds the mouse
//
// Strings passed in are null-terminated UTF-16. Values travel as korva::Value
// and property bags as korva::PropertyBag: both are plain data whose code the
// host links from korva_core, never from the library.
#pragma once

#include "frame/component/com_types.h"
#include "frame/values/value.h"

class QWidget;
class QString;

namespace korva {

struct ClassInfo;
class PropertyBag;

constexpr GUID IID_IKorvaDispatch{
    0x29AC211E, 0x6006, 0x4E7C, {0x9F, 0xBB, 0x6D, 0x68, 0x85, 0xCF, 0x9D, 0xDE}};
constexpr GUID IID_IKorvaEventSink{
    0xC108DDF8, 0x63D0, 0x4559, {0xAB, 0xA9, 0xB2, 0x4F, 0x99, 0x9C, 0x9E, 0xA5}};
constexpr GUID IID_IKorvaConnectionPoint{
    0x69FA72C5, 0x947E, 0x47EE, {0xBF, 0x6A, 0x10, 0xEF, 0xB6, 0xA9, 0xF4, 0xC6}};
constexpr GUID IID_IKorvaControl{
    0x0AFBA2A9, 0xE287, 0x4917, {0xB6, 0xE6, 0xAA, 0x7B, 0x89, 0x42, 0x6D, 0x78}};
constexpr GUID IID_IKorvaRuntime{
    0xE4D85637, 0x4BCB, 0x4C33, {0xBE, 0xE7, 0x05, 0x4F, 0x81, 0x6F, 0xFB, 0x92}};
// Not a control: DllGetClassObject hands out the runtime object under this identifier.
constexpr GUID CLSID_KorvaRuntime{
    0xA994490F, 0x090D, 0x4C02, {0x9B, 0xA2, 0xEF, 0xCA, 0x08, 0x1B, 0xAA, 0x0D}};

class IClassFactory : public IUnknown {
public:
    // `outer` must be null: the controls do not support aggregation.
    virtual HRESULT CreateInstance(IUnknown* outer, const GUID& riid, void** ppv) = 0;
    // While locked, DllCanUnloadNow answers S_FALSE.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The component model's flags for Invoke. Get and call may be combined, as a
// script does for a member used without parentheses.
constexpr uint16_t DISPATCH_METHOD = 1;
constexpr uint16_t DISPATCH_PROPERTYGET = 2;
constexpr uint16_t DISPATCH_PROPERTYPUT = 4;
constexpr uint16_t DISPATCH_PROPERTYPUTREF = 8;

// The instance's default interface (_Pane, ...) answers as this one.
class IKorvaDispatch : public IUnknown {
public:
    // Member name without regard to case; DISP_E_UNKNOWNNAME when none matches.
    virtual HRESULT GetIDsOfNames(const char16_t* name, int32_t* dispId) = 0;
    // args[0..count) in declaration order; a property let or set takes the new
    // value as its only argument. By-reference arguments are written back
    // into `args`. `result` may be null when the caller wants none.
    virtual HRESULT Invoke(int32_t dispId, uint16_t flags, Value* args, uint32_t count, Value* result) = 0;

protected:
    ~IKorvaDispatch() = default;
};

class IKorvaEventSink : public IUnknown {
public:
    // Called synchronously while the control raises event `number` (1 for the
    // first event of the class's event interface). What the sink leaves in
    // *args[i] is what the control uses afterwards. The return value is ignored.
    virtual HRESULT OnEvent(int32_t number, Value* const* args, uint32_t count) = 0;

protected:
    ~IKorvaEventSink() = default;
};

class IKorvaConnectionPoint : public IUnknown {
public:
    // The event interface (__Pane, ...) whose events this point delivers.
    virtual HRESULT GetConnectionInterface(GUID* iid) = 0;
    // Holds a reference to `sink` until Unadvise; *cookie names the connection.
    virtual HRESULT Advise(IKorvaEventSink* sink, uint32_t* cookie) = 0;
    // CONNECT_E_NOCONNECTION for a cookie that names no connection.
    virtual HRESULT Unadvise(uint32_t cookie) = 0;

protected:
    ~IKorvaConnectionPoint() = default;
};

// What the container does with an instance: place its window, drive its
// lifecycle in the documented order and route input to it.
class IKorvaControl : public IUnknown {
public:
    // The control's own window. The container may reparent and show it; the
    // instance keeps owning it, so release the instance before deleting the
    // window's new parent.
    virtual QWidget* Window() = 0;
    // Names, identifiers and members of the instance's class; lives as long
    // as the library stays loaded.
    virtual const ClassInfo* GetClassInfo() = 0;

    virtual HRESULT Initialize() = 0;
    virtual HRESULT InitProperties() = 0;
    virtual HRESULT ReadProperties(const PropertyBag* bag) = 0;
    virtual HRESULT WriteProperties(PropertyBag* bag) = 0;
    // Sets the outer size in twips; the control receives Resize. E_INVALIDARG
    // for a negative size and for one no window can have (a side of more
    // than 16777215 pixels).
    virtual HRESULT SetExtent(float widthTwips, float heightTwips) = 0;
    virtual HRESULT GetExtent(float* widthTwips, float* heightTwips) = 0;
    virtual HRESULT Show() = 0;
    virtual HRESULT Paint() = 0;
    virtual HRESULT GotFocus() = 0;
    virtual HRESULT EnterFocus() = 0;
    virtual HRESULT ExitFocus() = 0;
    virtual HRESULT LostFocus() = 0;
    virtual HRESULT AmbientChanged(const char16_t* name) = 0;
    // Delivered once; the instance also delivers it itself on its final
    // release when the container did not.
    virtual HRESULT Terminate() = 0;

    // A notification by name ("MouseDown", "Timer", "Resize", ...) for the
    // control itself (`element` null or empty) or one of its child elements
    // (`index` -1 outside element arrays), as the runtime would deliver it.
    // On failure `error`, when given, says what did not fit.
    virtual HRESULT Notify(const char16_t* element, int32_t index, const char16_t* notification, Value* args,
                           uint32_t count, QString* error) = 0;
    // The window of child element `element` (`index` -1 outside element
    // arrays), for a container that drives or inspects it as the window
    // system does: it lies on the control's window, or is a top-level window
    // of its own (a drop-down panel). E_INVALIDARG when the control has no
    // such element; S_FALSE with *window null for an element without a
    // window (a timer). The instance keeps owning the window.
    virtual HRESULT ElementWindow(const char16_t* element, int32_t index, QWidget** window) = 0;
    // Where child element `element` shows: the window that paints it (its
    // own, or for a windowless element the control's window that draws it)
    // and the rectangle it occupies there, in that window's pixels, right and
    // bottom exclusive. E_INVALIDARG when the control has no such element;
    // S_FALSE with *window null and an empty rectangle for an element nothing
    // paints (a timer); S_FALSE with the window and rectangle for a drawn
    // element that is not shown now (it or a box it lies in is hidden). The
    // instance keeps owning the window.
    virtual HRESULT ElementArea(const char16_t* element, int32_t index, QWidget** window, int32_t* left,
                                int32_t* top, int32_t* right, int32_t* bottom) = 0;

protected:
    ~IKorvaControl() = default;
};

class IKorvaRuntime : public IUnknown {
public:
    // "Pane" or "korvactl.Pane", without regard to case; CLASS_E_CLASSNOTAVAILABLE
    // for a name the catalogue does not hold.
    virtual HRESULT ClassIdFromProgId(const char16_t* progId, GUID* clsid) = 0;
    // Replaces the window system's cursor, clock and window placement by a
    // double the host steers; timer elements then run on its clock only.
    virtual HRESULT UseScriptedPlatform(bool on) = 0;
    // The calls below need the scripted platform (E_UNEXPECTED otherwise).
    virtual HRESULT SetCursorPos(int32_t x, int32_t y) = 0;
    // Advances the clock and fires every timer element that falls due, in time order.
    virtual HRESULT Advance(uint32_t ms) = 0;
    // Where a top-level window sits on the scripted screen, in pixels.
    virtual HRESULT PlaceWindow(QWidget* window, int32_t x, int32_t y) = 0;
    virtual uint32_t TickCount() = 0;
    // The window that holds the mouse capture through the platform layer:
    // while one does, the window system sends it every mouse event, wherever
    // the pointer is. S_FALSE with *window null when none holds it.
    virtual HRESULT GetCapture(QWidget** window) = 0;
    // A window's rectangle on the screen in pixels, right and bottom
    // exclusive, as the platform layer reports it to the controls.
    virtual HRESULT GetWindowRect(QWidget* window, int32_t* left, int32_t* top, int32_t* right,
                                  int32_t* bottom) = 0;
    // The scripted screen's size in pixels (its top-left corner stays at 0, 0).
    virtual HRESULT SetScreenSize(int32_t width, int32_t height) = 0;
    // How the next colour dialog answers: `choose` with `colour` (0x00BBGGRR),
    // or cancelled. Answers queue up in order.
    virtual HRESULT AnswerColourDialog(bool choose, uint32_t colour) = 0;
    // When on, system colours (0x800000xx) follow the application's Qt
    // palette, so a dark QPalette gives dark system colours.
    virtual HRESULT FollowQtPalette(bool on) = 0;

protected:
    ~IKorvaRuntime() = default;
};

} // namespace korva
