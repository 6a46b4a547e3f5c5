// The programs' COM apartment: a thread that cannot enter one is told so,
// and every apartment entered is left again, nested ones included.
#include "ComApartment.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

namespace {

template <typename Body>
void OnNewThread(Body body) {
    std::thread thread(body);
    thread.join();
}

TEST(ComApartment, ThreadInAMultithreadedApartmentIsRefusedWithTheCode) {
    OnNewThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        try {
            const ComApartment apartment;
            ADD_FAILURE() << "entered a single-threaded apartment on a multithreaded thread";
        } catch (const std::runtime_error& failure) {
            EXPECT_NE(std::string(failure.what()).find("0x80010106"), std::string::npos) << failure.what();
        }
        // The refused holder undid nothing: the thread's own apartment stays.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    });
}

TEST(ComApartment, NestedApartmentsAreEachLeft) {
    OnNewThread([] {
        {
            const ComApartment outer;
            const ComApartment inner;
        }
        // Were an apartment still entered, this would fail with RPC_E_CHANGED_MODE.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    });
}

}  // namespace
