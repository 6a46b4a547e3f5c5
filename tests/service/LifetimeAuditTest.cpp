// Lifetime audit through the real DLL: every interface pointer the module
// receives from the host or hands out is released exactly once, on the
// failure paths as on the good one. After each import below, once the test
// lets go of its own references, the reference host has no live object and
// the module can unload; the host objects passed in are held by the test
// alone when the import returns.
#include "ImportHarness.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using reference_host::FailurePlan;
using reference_host::Outcome;

class LifetimeAuditTest : public ImportTest {
protected:
    // Imports `fixture` with new host objects, checks that the module kept
    // no reference on them, releases them and checks that nothing is left.
    HRESULT AuditedImport(const char* fixture) {
        scenario->settings.chosenFile = FixturePath(fixture);
        auto reconciliation = scenario->CreateReconciliation();
        statement = scenario->CreateStatement();
        const HRESULT hr = service->ImportStatement(reconciliation.Get(), statement.Get());
        EXPECT_EQ(1u, RefCount(static_cast<IHostReconciliation*>(reconciliation.Get()))) << "the module kept the reconciliation";
        EXPECT_EQ(1u, RefCount(static_cast<IHostStatement*>(statement.Get()))) << "the module kept the statement";
        reconciliation.Reset();
        statement.Reset();
        EXPECT_EQ(0, scenario->LiveObjects()) << "a host object was not released";
        EXPECT_EQ(1u, RefCount(service.Get())) << "the service holds a reference on itself";
        return hr;
    }
};

// Every operation of every host object fails, with an error code or with a
// success code that gives no result (null interface, null BSTR).
TEST_F(LifetimeAuditTest, HostWhoseEveryCallFailsLeavesNothing) {
    SetAccount(L"12-34-56", L"12345678");
    for (const HRESULT result : {E_FAIL, E_OUTOFMEMORY, DISP_E_EXCEPTION, S_FALSE}) {
        SCOPED_TRACE(testing::Message() << std::hex << result);
        scenario->failures = FailurePlan();
        scenario->failures.FailEveryCall(result);
        scenario->log.Clear();
        AuditedImport("import_statement.csv");
        EXPECT_FALSE(scenario->log.Entries().empty()) << "the host was called";
    }
}

// Each host call of a good import, failed on its own in turn (with an error
// code, and with a success code and no result): the operations and call
// numbers come from the log of the good import, creations included. (A host
// class object whose creation succeeds without an object must not make the
// module pass a null pointer to OleRun.)
TEST_F(LifetimeAuditTest, EachSingleHostCallFailingInTurnLeavesNothing) {
    SetAccount(L"12-34-56", L"12345678");
    ASSERT_EQ(S_OK, AuditedImport("import_statement.csv"));
    std::vector<std::pair<std::string, std::string>> calls;  // object, operation, in log order
    for (const std::string& entry : scenario->log.Operations()) {
        const size_t dot = entry.find('.');
        ASSERT_NE(std::string::npos, dot) << entry;
        calls.emplace_back(entry.substr(0, dot), entry.substr(dot + 1));
    }
    std::map<std::pair<std::string, std::string>, int> seen;
    int failed = 0;
    for (const auto& call : calls) {
        const int number = ++seen[call];
        if (!FailurePlan::IsOperation(call.first, call.second)) continue;
        for (const HRESULT result : {E_FAIL, S_OK}) {
            SCOPED_TRACE(testing::Message() << call.first << "." << call.second << " call " << number << " gives "
                                            << std::hex << result);
            scenario->failures = FailurePlan();
            scenario->failures.Inject(call.first, call.second, Outcome(result, L"planned failure", number));
            scenario->log.Clear();
            AuditedImport("import_statement.csv");
            (void)TakeErrorDescription();
            ++failed;
        }
    }
    EXPECT_GT(failed, 40) << "every call of the import was failed in turn";
}

// The module's own creations that fail (an interface the class does not
// have; an outer object with an interface other than IUnknown) hand out
// nothing and keep nothing; an aggregated creation leaves the outer object's
// count alone, and releasing the inner unknown ends it.
TEST_F(LifetimeAuditTest, CreationsThatFailKeepNothing) {
    const CLSID classes[] = {CLSID_Bank, CLSID_BankServices, CLSID_BankStatementService};
    IUnknown* const outer = service.Get();  // any counted object does as the outer one here
    for (const CLSID& clsid : classes) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, Module().GetClassObject(clsid, IID_IClassFactory, factory.PutVoid()));
        const ULONG factoryCount = RefCount(factory.Get());  // the class table's and ours
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IPersist, &object));
        EXPECT_EQ(nullptr, object);
        object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IDispatch, &object));
        EXPECT_EQ(nullptr, object);
        ComPtr<IUnknown> inner;
        ASSERT_EQ(S_OK, factory->CreateInstance(outer, IID_IUnknown, inner.PutVoid()));
        EXPECT_EQ(1u, RefCount(inner.Get()));
        EXPECT_EQ(1u, RefCount(outer)) << "the inner object counts on its own";
        inner.Reset();
        EXPECT_EQ(factoryCount, RefCount(factory.Get()));
    }
    EXPECT_EQ(1u, RefCount(outer));
}

// The names the bank and the statement service hand out are new BSTRs that
// the caller owns: two calls give two separate strings, and freeing them
// leaves the objects answering and the module unloadable once released.
TEST_F(LifetimeAuditTest, NamesHandedOutAreTheCallersToFree) {
    const auto bank = Module().Create<IBank>(CLSID_Bank);
    ASSERT_TRUE(bank);
    ComPtr<IMavrinBankServices> services;
    ASSERT_EQ(S_OK, bank->get_Services(services.Put()));
    VARIANT first;
    VariantInit(&first);
    first.vt = VT_I4;
    first.lVal = 0;
    ComPtr<IMavrinBankService> listed;
    ASSERT_EQ(S_OK, services->Item(&first, listed.Put()));

    const std::pair<const char*, std::function<HRESULT(BSTR*)>> sources[] = {
        {"bank", [&](BSTR* name) { return bank->get_Name(name); }},
        {"listed service", [&](BSTR* name) { return listed->get_Name(name); }},
        {"created service", [&](BSTR* name) { return service->get_Name(name); }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.first);
        std::set<std::wstring> texts;
        for (int round = 0; round < 3; ++round) {
            BSTR one = nullptr, two = nullptr;
            ASSERT_EQ(S_OK, source.second(&one));
            ASSERT_EQ(S_OK, source.second(&two));
            const BStr heldOne = BStr::Adopt(one), heldTwo = BStr::Adopt(two);
            ASSERT_NE(nullptr, one);
            EXPECT_NE(one, two) << "each call hands out its own copy";
            EXPECT_EQ(SysStringLen(one), SysStringLen(two));
            EXPECT_EQ(std::wstring(one, SysStringLen(one)), std::wstring(two, SysStringLen(two)));
            texts.insert(std::wstring(one, SysStringLen(one)));
        }
        EXPECT_EQ(1u, texts.size()) << "the name stays the same after copies are freed";
    }
    EXPECT_EQ(2u, RefCount(services.Get())) << "the bank's and ours";
    EXPECT_EQ(2u, RefCount(listed.Get())) << "the collection's and ours";
}

}  // namespace
