// The built module DLL, loaded for a test program, reached through its
// exports only, and the registration of the type libraries its dispatch
// needs.
#pragma once

#include "ComTestSupport.h"

#include <gtest/gtest.h>

class ModuleUnderTest {
public:
    // Loads the DLL at `path` (by default the one this build made); it is
    // unloaded with the object.
    explicit ModuleUnderTest(const char* path = PENDREL_MODULE_DLL);
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;
    HMODULE Handle() const { return m_module.Get(); }
    template <typename I>
    ComPtr<I> Create(REFCLSID clsid) const;

private:
    ModuleHandle m_module;
    HRESULT(STDAPICALLTYPE* m_getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* m_canUnloadNow)() = nullptr;
};

// The module, loaded once per program and kept until it ends.
const ModuleUnderTest& Module();

template <typename I>
ComPtr<I> ModuleUnderTest::Create(REFCLSID clsid) const {
    ComPtr<IClassFactory> factory;
    ComPtr<I> object;
    if (SUCCEEDED(GetClassObject(clsid, IID_IClassFactory, factory.PutVoid())))
        factory->CreateInstance(nullptr, __uuidof(I), object.PutVoid());
    return object;
}

// Registers the host's two type libraries and the module's own (from the
// DLL) for the lifetime of the object, and unregisters them afterwards.
class RegisteredTypeLibraries {
public:
    RegisteredTypeLibraries();
    ~RegisteredTypeLibraries();
    void UnregisterModuleLibrary();
    void RegisterModuleLibrary();
};

// Each test starts and ends with no object, lock or class-object reference
// of the module outstanding.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, Module().CanUnloadNow()); }
    void TearDown() override { EXPECT_EQ(S_OK, Module().CanUnloadNow()) << "the test left the module locked"; }
};
