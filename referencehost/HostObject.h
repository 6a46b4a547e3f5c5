// The shared base of the six host objects, over the one host interface an
// object implements: IUnknown from ComObject, IDispatch from the host type
// library, ISupportErrorInfo, and Perform, the one boundary every operation
// runs through.
//
// Perform nulls the listed pointer outs first, records the call, answers a
// planned outcome instead of the body when there is one, and turns an
// exception into a result code, so that nothing escapes into the caller.
// The values are described by a function run inside that boundary too.
#pragma once

#include "CallValues.h"
#include "ComObject.h"
#include "HostTypeLibrary.h"
#include "RecordedCall.h"

#include <new>
#include <string>

namespace reference_host {

// For operations that take no values.
inline constexpr auto NoValues = [] { return Passed(); };

template <typename Interface>
class HostObject : public ComObject<Interface, ISupportErrorInfo> {
    using Base = ComObject<Interface, ISupportErrorInfo>;

public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }

    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return HostTypeInfo(LibraryPath(), __uuidof(Interface), index, info);
    }

    STDMETHODIMP GetIDsOfNames(REFIID namespaceId, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return HostIDsOfNames(LibraryPath(), __uuidof(Interface), namespaceId, names, count, ids);
    }

    STDMETHODIMP Invoke(DISPID id, REFIID namespaceId, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override {
        return HostInvoke(LibraryPath(), __uuidof(Interface), static_cast<Interface*>(this), id, namespaceId, flags,
                          parameters, result, exception, argumentError);
    }

    // S_OK for the object's own interface unless the plan withdraws error support.
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
        return Perform("InterfaceSupportsErrorInfo", [&] { return Passed(InterfaceName(iid)); }, [&] {
            const bool supported = this->GetScenario().failures.SupportsErrorInfo(m_object);
            return supported && IsEqualIID(iid, __uuidof(Interface)) ? S_OK : S_FALSE;
        });
    }

protected:
    HostObject(std::shared_ptr<Scenario> scenario, std::string object)
        : Base(std::move(scenario), LiveKind::HostObject),
          m_object(std::move(object)),
          m_instance(this->GetScenario().NextInstance(m_object)) {}

    template <typename Describe, typename Body, typename... Outs>
    HRESULT Perform(const char* operation, Describe&& describe, Body&& body, Outs... outs) noexcept {
        (NullOut(outs), ...);
        try {
            RecordedCall call(this->GetScenario(), m_object, m_instance, operation, describe());
            if (call.IsPlanned()) return call.AnswerPlanned(__uuidof(Interface));
            return call.Finish(body());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

    HostSettings& Settings() const { return this->GetScenario().settings; }
    const std::string& ObjectName() const { return m_object; }
    int Instance() const { return m_instance; }

private:
    template <typename T>
    static void NullOut(T** out) {
        if (out) *out = nullptr;
    }

    const std::wstring& LibraryPath() const { return Settings().typeLibraryPath; }

    const std::string m_object;
    const int m_instance;
};

}  // namespace reference_host
