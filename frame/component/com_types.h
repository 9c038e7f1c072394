// The component model's result codes, interface identifiers and IUnknown, as a
// binary interface of our own: a host that has only these headers can talk to
// the library it loaded at run time without linking it. Interfaces are pure
// virtual, so every call goes through the object's table of functions.
//
// Sections: result codes; well-known identifiers; IUnknown; ComPtr.
#pragma once

#include "frame/values/guid.h"

#include <cstdint>
#include <utility>

namespace korva {

// ---- result codes ---------------------------------------------------------
// The numeric values are the component model's own, so a code printed by the
// host reads the same as anywhere else.
using HRESULT = int32_t;

constexpr HRESULT hresult(uint32_t bits) { return static_cast<HRESULT>(bits); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = hresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = hresult(0x80004002u);
constexpr HRESULT E_POINTER = hresult(0x80004003u);
constexpr HRESULT E_ABORT = hresult(0x80004004u);
constexpr HRESULT E_FAIL = hresult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFFu);
constexpr HRESULT E_ACCESSDENIED = hresult(0x80070005u);
constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = hresult(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = hresult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult(0x80040111u);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hresult(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresult(0x80020003u);
constexpr HRESULT DISP_E_TYPEMISMATCH = hresult(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = hresult(0x80020006u);
constexpr HRESULT DISP_E_EXCEPTION = hresult(0x80020009u);
constexpr HRESULT DISP_E_BADPARAMCOUNT = hresult(0x8002000Eu);
constexpr HRESULT SELFREG_E_TYPELIB = hresult(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = hresult(0x80040201u);
// The connection-point range starts at the same value as self-registration's.
constexpr HRESULT CONNECT_E_NOCONNECTION = hresult(0x80040200u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// "S_OK", "CLASS_E_CLASSNOTAVAILABLE", ... or null for a code without a name
// here (connection and self-registration codes share values, so 0x80040200
// is named by its self-registration meaning).
constexpr const char* hresultName(HRESULT hr) {
    switch (hr) {
    case S_OK:
        return "S_OK";
    case S_FALSE:
        return "S_FALSE";
    case E_NOTIMPL:
        return "E_NOTIMPL";
    case E_NOINTERFACE:
        return "E_NOINTERFACE";
    case E_POINTER:
        return "E_POINTER";
    case E_ABORT:
        return "E_ABORT";
    case E_FAIL:
        return "E_FAIL";
    case E_UNEXPECTED:
        return "E_UNEXPECTED";
    case E_ACCESSDENIED:
        return "E_ACCESSDENIED";
    case E_OUTOFMEMORY:
        return "E_OUTOFMEMORY";
    case E_INVALIDARG:
        return "E_INVALIDARG";
    case CLASS_E_NOAGGREGATION:
        return "CLASS_E_NOAGGREGATION";
    case CLASS_E_CLASSNOTAVAILABLE:
        return "CLASS_E_CLASSNOTAVAILABLE";
    case DISP_E_UNKNOWNINTERFACE:
        return "DISP_E_UNKNOWNINTERFACE";
    case DISP_E_MEMBERNOTFOUND:
        return "DISP_E_MEMBERNOTFOUND";
    case DISP_E_TYPEMISMATCH:
        return "DISP_E_TYPEMISMATCH";
    case DISP_E_UNKNOWNNAME:
        return "DISP_E_UNKNOWNNAME";
    case DISP_E_EXCEPTION:
        return "DISP_E_EXCEPTION";
    case DISP_E_BADPARAMCOUNT:
        return "DISP_E_BADPARAMCOUNT";
    case SELFREG_E_TYPELIB:
        return "SELFREG_E_TYPELIB";
    case SELFREG_E_CLASS:
        return "SELFREG_E_CLASS";
    default:
        return nullptr;
    }
}

// ---- well-known identifiers ------------------------------------------------
// IUnknown and IClassFactory keep the component model's identifiers because
// their contracts are the same; the interfaces that differ carry our own.
// Written as constants (not parsed from text) so that they exist before any
// static initialiser of either side runs.
constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// ---- IUnknown -------------------------------------------------------------
class IUnknown {
public:
    // On success *ppv holds an added reference to the interface `riid`; on
    // failure it is set to null.
    virtual HRESULT QueryInterface(const GUID& riid, void** ppv) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    // Objects end through Release, never through delete on an interface.
    ~IUnknown() = default;
};

// ---- ComPtr ---------------------------------------------------------------
// Holds one reference; header-only so that a host needs nothing linked for it.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr adopt(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held, then hands the slot out.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }

    template <class U> HRESULT queryTo(const GUID& iid, ComPtr<U>& out) const {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(iid, out.put());
    }

private:
    T* p_ = nullptr;
};

} // namespace korva
