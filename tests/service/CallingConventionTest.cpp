// What a 32-bit build alone can get wrong where the host meets the module:
// the calling conventions (the exports as a caller of GetProcAddress calls
// them, the recognizer as the host's file chooser calls it) and the layout
// of the file chooser options block, whose first field is pointer-sized.
#include "ImportHarness.h"
#include "ModuleIdentity.h"
#include "StackMeasure.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kModuleName[] = PENDREL_MODULE_FILE_NAME;

using CallingConventionTest = ImportTest;

TEST_F(CallingConventionTest, ExportsAreFoundByTheirUndecoratedNames) {
    const HMODULE module = GetModuleHandleA(kModuleName);
    ASSERT_NE(nullptr, module);
    for (const char* name : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(module, name)));
        EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(module, (std::string("_") + name).c_str())));
    }
    EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject@12")));
}

TEST_F(CallingConventionTest, MeasurementTellsTheTwoConventionsApart) {
#if !defined(PENDREL_HAS_TWO_CALLING_CONVENTIONS)
    GTEST_SKIP() << "x64 has one calling convention";
#else
    const char text[] = "four";
    const MeasuredCall standard = CallMeasuringTheStack(reinterpret_cast<const void*>(&lstrlenA), {text});
    EXPECT_EQ(4, standard.result);
    EXPECT_EQ(sizeof(void*), standard.calleeBytes);
    const MeasuredCall plain = CallMeasuringTheStack(reinterpret_cast<const void*>(&strlen), {text});
    EXPECT_EQ(4, plain.result);
    EXPECT_EQ(0u, plain.calleeBytes);
#endif
}

TEST_F(CallingConventionTest, ExportsRemoveTheirOwnArguments) {
#if !defined(PENDREL_HAS_TWO_CALLING_CONVENTIONS)
    GTEST_SKIP() << "x64 has one calling convention";
#else
    const FARPROC get = GetProcAddress(GetModuleHandleA(kModuleName), "DllGetClassObject");
    ASSERT_NE(nullptr, reinterpret_cast<void*>(get));
    void* out = &out;
    const MeasuredCall call =
        CallMeasuringTheStack(reinterpret_cast<const void*>(get), {&IID_IUnknown, &IID_IClassFactory, &out});
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, call.result);
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(3 * sizeof(void*), call.calleeBytes) << "the standard calling convention";
#endif
}

TEST_F(CallingConventionTest, RecognizerLeavesItsArgumentsToTheCaller) {
#if !defined(PENDREL_HAS_TWO_CALLING_CONVENTIONS)
    GTEST_SKIP() << "x64 has one calling convention";
#else
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const FileRecognizer recognize = RecognizerGivenToChooser();
    ASSERT_NE(nullptr, recognize);
    char title[64] = "unchanged";
    const std::string path = std::string(PENDREL_FIXTURES_DIR) + "/import_statement.csv";
    const MeasuredCall call =
        CallMeasuringTheStack(reinterpret_cast<const void*>(recognize), {title, path.c_str()});
    EXPECT_EQ(1, call.result);
    EXPECT_STREQ("Orvale Online For Business - Statement", title);
    EXPECT_EQ(0u, call.calleeBytes) << "the caller removes the arguments";
#endif
}

TEST_F(CallingConventionTest, OptionsBlockKeepsTheHostsBytesAfterThePointerSizedRecognizer) {
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const reference_host::OptionsBlock given = OptionsGivenToChooser();
    const reference_host::OptionsBlock host = reference_host::HostOptionsBlock();
    EXPECT_TRUE(std::equal(given.begin() + sizeof(void*), given.end(), host.begin() + sizeof(void*)))
        << "the module writes the first " << sizeof(void*) << " bytes only";
    MEMORY_BASIC_INFORMATION memory = {};
    ASSERT_NE(0u, VirtualQuery(reinterpret_cast<const void*>(RecognizerGivenToChooser()), &memory, sizeof memory));
    EXPECT_EQ(reinterpret_cast<void*>(GetModuleHandleA(kModuleName)), memory.AllocationBase)
        << "the first field holds an address inside the module";
}

}  // namespace
