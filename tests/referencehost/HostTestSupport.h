// The fixture of the reference host's tests: each test runs in a
// single-threaded apartment with a new scenario. Reference counts and error
// descriptions are read with the shared helpers (ComTestSupport.h).
#pragma once

#include "ComTestSupport.h"
#include "ReferenceHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace reference_host {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }

    std::shared_ptr<Scenario> scenario = Scenario::Create();
};

}  // namespace reference_host
