// Shared pieces of the reference host's tests: a fixture that runs each test
// in a single-threaded apartment with a new scenario, and helpers that read a
// reference count and the thread's error object.
#pragma once

#include "ReferenceHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace reference_host {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }

    std::shared_ptr<Scenario> scenario = Scenario::Create();
};

template <typename Object>
ULONG RefCount(Object* object) {
    object->AddRef();
    return object->Release();
}

// The description of the thread's error object, which this takes; "(none)" without one.
inline std::string TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) != S_OK || !info) return "(none)";
    BStr description;
    info->GetDescription(description.Put());
    return TextOf(description.Get());
}

}  // namespace reference_host
