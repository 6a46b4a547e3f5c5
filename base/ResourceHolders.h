// One owner for every platform resource: interface pointers, BSTRs,
// VARIANTs, registry keys, module handles, buffers that the system
// allocates, and the description blocks that type information lends.
// Business code never calls Release, SysFreeString, VariantClear,
// RegCloseKey, FreeLibrary, LocalFree or CloseHandle itself; it keeps the resource in one
// of these holders, so every return and every exception frees it once.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstddef>
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

// Owns one reference on an interface pointer that one thread publishes
// (under a lock of the owner's) and any thread reads without a lock: every
// access is a full barrier, so a reader sees null or the whole object. Empty
// from the start; released by Reset, or when the holder goes.
template <typename T>
class PublishedComPtr {
public:
    PublishedComPtr(std::nullptr_t = nullptr) {}
    PublishedComPtr(const PublishedComPtr&) = delete;
    PublishedComPtr& operator=(const PublishedComPtr&) = delete;
    ~PublishedComPtr() { Reset(); }

    T* Get() const { return m_pointer.load(); }
    // Takes over the reference that `pointer` carries; the holder is empty.
    void Publish(T* pointer) { m_pointer.store(pointer); }
    void Reset() {
        if (T* pointer = m_pointer.exchange(nullptr)) pointer->Release();
    }

private:
    std::atomic<T*> m_pointer{nullptr};
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

// The value that stands for no handle: null, for most kinds of handle.
template <typename Handle>
struct NullHandle {
    static Handle Value() { return Handle(); }
};
// A file handle (CreateFile) that stands for no file is INVALID_HANDLE_VALUE.
struct InvalidFileHandle {
    static HANDLE Value() { return INVALID_HANDLE_VALUE; }
};

// Owns a handle with a close function, for the handle kinds below.
template <typename Handle, typename CloseResult, CloseResult(WINAPI* Close)(Handle),
          typename None = NullHandle<Handle>>
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
    explicit operator bool() const { return m_handle != None::Value(); }
    Handle* Put() {
        Reset();
        return &m_handle;
    }
    Handle Detach() { return std::exchange(m_handle, None::Value()); }
    void Reset(Handle handle = None::Value()) {
        const Handle old = std::exchange(m_handle, handle);
        if (old != None::Value()) Close(old);
    }

private:
    Handle m_handle = None::Value();
};

using RegistryKey = UniqueHandle<HKEY, LONG, &RegCloseKey>;
using ModuleHandle = UniqueHandle<HMODULE, BOOL, &FreeLibrary>;
using LocalMemory = UniqueHandle<HLOCAL, HLOCAL, &LocalFree>;
using FileHandle = UniqueHandle<HANDLE, BOOL, &CloseHandle, InvalidFileHandle>;

// Owns a description block that a type library or its type information
// lends (TLIBATTR, TYPEATTR, FUNCDESC) and takes back with its own release
// function; borrows the lender, which must outlive it. Empty when the
// lender could not give the block.
//   const TypeLibAttributes attributes(library, &ITypeLib::GetLibAttr);
//   RETURN_IF_FAILED(attributes.Result());
template <typename Lender, typename Block, auto Release>
class LentBlock {
public:
    // Asks `lender` for the block: `get` is the lender's method that writes
    // it, called with `arguments` before the block's out-parameter.
    template <typename Get, typename... Arguments>
    LentBlock(Lender* lender, Get get, Arguments... arguments) : m_lender(lender) {
        m_result = (lender->*get)(arguments..., &m_block);
        if (FAILED(m_result)) m_block = nullptr;
    }
    LentBlock(const LentBlock&) = delete;
    LentBlock& operator=(const LentBlock&) = delete;
    ~LentBlock() {
        if (m_block) (m_lender->*Release)(m_block);
    }

    // What the lender answered.
    HRESULT Result() const { return m_result; }
    const Block* operator->() const { return m_block; }
    explicit operator bool() const { return m_block != nullptr; }

private:
    Lender* m_lender;
    Block* m_block = nullptr;
    HRESULT m_result;
};

using TypeLibAttributes = LentBlock<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;
using TypeAttributes = LentBlock<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using FunctionDescription = LentBlock<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
