// The two creatable classes are reached through CoCreateInstance, OleRun and
// QueryInterface while registered, and no longer after revocation.
#include "HostTestSupport.h"

#include <optional>

namespace reference_host {
namespace {

class RegistrationTest : public HostTest {};

// Creates a class the way the module does; the HRESULT of the first step that fails.
template <typename Interface>
HRESULT CreateAsTheModuleDoes(REFCLSID classId, ComPtr<Interface>& object) {
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid());
    if (FAILED(hr)) return hr;
    hr = OleRun(unknown.Get());
    if (FAILED(hr)) return hr;
    return unknown.As(object);
}

TEST_F(RegistrationTest, RegisteredClassesAreCreatedThroughCoCreateInstance) {
    std::optional<ClassRegistration> registration(scenario);
    EXPECT_EQ(scenario->LiveClassFactories(), 2);
    ComPtr<IHostBankSetup> setup;
    ComPtr<IHostFileChooser> chooser;
    ASSERT_EQ(CreateAsTheModuleDoes(CLSID_HostBankSetup, setup), S_OK);
    ASSERT_EQ(CreateAsTheModuleDoes(CLSID_HostFileChooser, chooser), S_OK);
    EXPECT_EQ(RefCount(setup.Get()), 1u);
    EXPECT_EQ(scenario->LiveObjects(), 2);

    unsigned char name[kFileOptionsBankNameSize] = {'P'};
    OptionsBlock options{};
    EXPECT_EQ(setup->GetFileOptions(name, options.data()), S_OK);
    EXPECT_EQ(scenario->log.Operations(), (std::vector<std::string>{"BankSetup.CreateInstance",
                                                                     "FileChooser.CreateInstance",
                                                                     "BankSetup.GetFileOptions"}));
    setup.Reset();
    chooser.Reset();
    EXPECT_EQ(scenario->LiveObjects(), 0);

    registration.reset();
    EXPECT_EQ(scenario->LiveClassFactories(), 0);
    EXPECT_TRUE(FAILED(CreateAsTheModuleDoes(CLSID_HostFileChooser, chooser)));
    EXPECT_FALSE(chooser);
    EXPECT_EQ(scenario->log.CountOf("FileChooser", "CreateInstance"), 1);
}

TEST_F(RegistrationTest, PlannedCreationFailureFailsThatClassOnly) {
    scenario->failures.Inject("FileChooser", "CreateInstance", {CLASS_E_CLASSNOTAVAILABLE});
    ClassRegistration registration(scenario);
    ComPtr<IHostBankSetup> setup;
    ComPtr<IHostFileChooser> chooser;
    EXPECT_EQ(CreateAsTheModuleDoes(CLSID_HostFileChooser, chooser),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(chooser);
    EXPECT_EQ(CreateAsTheModuleDoes(CLSID_HostBankSetup, setup), S_OK);
    EXPECT_EQ(scenario->LiveObjects(), 1);
}

}  // namespace
}  // namespace reference_host
