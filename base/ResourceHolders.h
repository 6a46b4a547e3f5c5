// One owner for every platform resource: interface pointers, BSTRs,
// VARIANTs, registry keys, module handles, buffers that the system
// allocates, and the description blocks that type information lends.
// Business code never calls Release, SysFreeString, VariantClear,
// RegCloseKey, FreeLibrary or LocalFree itself; it keeps the resource in one
// of these holders, so every return and every exception frees it once.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

// Owns one reference on a COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes an additional reference on `pointer`.
    explicit ComPtr(T* pointer) : m_pointer(pointer) {
        if (m_pointer) m_pointer->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(other.Detach()) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    // Adopts a pointer whose reference the caller hands over.
    static ComPtr Adopt(T* pointer) {
        ComPtr held;
        held.m_pointer = pointer;
        return held;
    }

    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Releases what is held and returns the slot for an out-parameter.
    T** Put() {
        Reset();
        return &m_pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Detach() { return std::exchange(m_pointer, nullptr); }

    void Reset() {
        if (T* pointer = Detach()) pointer->Release();
    }

    template <typename U>
    HRESULT As(ComPtr<U>& other) const {
        return m_pointer ? m_pointer->QueryInterface(__uuidof(U), other.PutVoid()) : E_POINTER;
    }
    HRESULT QueryTo(REFIID iid, void** out) const {
        return m_pointer ? m_pointer->QueryInterface(iid, out) : E_POINTER;
    }

private:
    T* m_pointer = nullptr;
};

// Owns a BSTR.
class BStr {
public:
    BStr() = default;
    explicit BStr(const wchar_t* text) : m_text(text ? SysAllocString(text) : nullptr) {}
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    BStr(BStr&& other) noexcept : m_text(other.Detach()) {}
    BStr& operator=(BStr&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    ~BStr() { Reset(); }

    static BStr Adopt(BSTR text) {
        BStr held;
        held.m_text = text;
        return held;
    }

    BSTR Get() const { return m_text; }
    UINT Length() const { return SysStringLen(m_text); }
    // A new BSTR with the same bytes (embedded zeros and all), or null when
    // it cannot be allocated; the caller owns it.
    BSTR Copy() const {
        return SysAllocStringByteLen(reinterpret_cast<const char*>(m_text), SysStringByteLen(m_text));
    }
    BSTR* Put() {
        Reset();
        return &m_text;
    }
    BSTR Detach() { return std::exchange(m_text, nullptr); }
    void Reset(BSTR text = nullptr) { SysFreeString(std::exchange(m_text, text)); }

private:
    BSTR m_text = nullptr;
};

// Owns a VARIANT: initialised on construction, cleared on destruction.
class Variant {
public:
    Variant() { VariantInit(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&m_value); }

    VARIANT* Get() { return &m_value; }
    const VARIANT* Get() const { return &m_value; }
    VARIANT* operator->() { return &m_value; }
    // Clears what is held and returns the VARIANT for an out-parameter.
    VARIANT* Put() {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

// Owns a handle with a close function, for the handle kinds below.
template <typename Handle, typename CloseResult, CloseResult(WINAPI* Close)(Handle)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle(); }
    Handle* Put() {
        Reset();
        return &m_handle;
    }
    Handle Detach() { return std::exchange(m_handle, Handle()); }
    void Reset(Handle handle = Handle()) {
        if (Handle old = std::exchange(m_handle, handle)) Close(old);
    }

private:
    Handle m_handle = Handle();
};

using RegistryKey = UniqueHandle<HKEY, LONG, &RegCloseKey>;
using ModuleHandle = UniqueHandle<HMODULE, BOOL, &FreeLibrary>;
using LocalMemory = UniqueHandle<HLOCAL, HLOCAL, &LocalFree>;

// Releases a type attribute block when it goes out of scope.
class TypeAttributes {
public:
    explicit TypeAttributes(ITypeInfo* typeInfo) : m_typeInfo(typeInfo) {
        if (FAILED(typeInfo->GetTypeAttr(&m_attributes))) m_attributes = nullptr;
    }
    TypeAttributes(const TypeAttributes&) = delete;
    TypeAttributes& operator=(const TypeAttributes&) = delete;
    ~TypeAttributes() {
        if (m_attributes) m_typeInfo->ReleaseTypeAttr(m_attributes);
    }
    const TYPEATTR* Get() const { return m_attributes; }

private:
    ITypeInfo* m_typeInfo;
    TYPEATTR* m_attributes = nullptr;
};

// Releases a function description when it goes out of scope.
class FunctionDescription {
public:
    FunctionDescription(ITypeInfo* typeInfo, UINT index) : m_typeInfo(typeInfo) {
        if (FAILED(typeInfo->GetFuncDesc(index, &m_description))) m_description = nullptr;
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;
    ~FunctionDescription() {
        if (m_description) m_typeInfo->ReleaseFuncDesc(m_description);
    }
    const FUNCDESC* Get() const { return m_description; }

private:
    ITypeInfo* m_typeInfo;
    FUNCDESC* m_description = nullptr;
};
