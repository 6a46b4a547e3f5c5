// Reference counting and QueryInterface for the reference host's COM
// objects, over the interfaces an object implements. IUnknown is answered
// with the first interface, IDispatch with the first interface that derives
// from it; anything else not listed gives E_NOINTERFACE with *out null.
//
// The count starts at 1, owned by the holder MakeObject returns. When it
// reaches 0 it is pinned at 1 during destruction, so AddRef/Release pairs
// made while the object is destroyed cannot delete it a second time. Each
// object counts itself live in its scenario from construction to destruction.
#pragma once

#include "ResourceHolders.h"
#include "Scenario.h"

#include <atomic>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

namespace reference_host {

template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown))
            *out = static_cast<First*>(this);
        else
            (Offer<Interfaces>(iid, out) || ...);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }

    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            m_references = 1;
            delete this;
        }
        return left;
    }

protected:
    ComObject(std::shared_ptr<Scenario> scenario, LiveKind kind) : m_scenario(std::move(scenario)), m_kind(kind) {
        m_scenario->CountLive(m_kind, +1);
    }
    virtual ~ComObject() { m_scenario->CountLive(m_kind, -1); }

    Scenario& GetScenario() const { return *m_scenario; }
    const std::shared_ptr<Scenario>& SharedScenario() const { return m_scenario; }

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

    template <typename Interface>
    bool Offer(REFIID iid, void** out) {
        const bool dispatch = std::is_base_of_v<IDispatch, Interface> && IsEqualIID(iid, IID_IDispatch);
        if (!dispatch && !IsEqualIID(iid, __uuidof(Interface))) return false;
        *out = static_cast<Interface*>(this);
        return true;
    }

    std::atomic<ULONG> m_references{1};
    const std::shared_ptr<Scenario> m_scenario;
    const LiveKind m_kind;
};

// A new object whose first reference the returned holder owns.
template <typename Object, typename... Arguments>
ComPtr<Object> MakeObject(Arguments&&... arguments) {
    return ComPtr<Object>::Adopt(new Object(std::forward<Arguments>(arguments)...));
}

}  // namespace reference_host
