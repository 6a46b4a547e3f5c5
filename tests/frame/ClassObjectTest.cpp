// Class objects, the module lock count and aggregation, through the DLL's
// exports.
#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

namespace {

// An outer object that aggregates one inner object and counts what reaches it.
class OuterObject : public IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        ++queries;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++count); }
    STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--count); }

    LONG count = 1;
    int queries = 0;
    ComPtr<IUnknown> inner;
};

ComPtr<IClassFactory> StatementServiceFactory() {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(S_OK, Module().GetClassObject(CLSID_BankStatementService, IID_IClassFactory, factory.PutVoid()));
    return factory;
}

using ClassObjectTest = ModuleTest;

TEST_F(ClassObjectTest, SameClassObjectEachTimeWhileTheCacheHoldsOneReference) {
    ComPtr<IClassFactory> first = StatementServiceFactory();
    ComPtr<IClassFactory> second = StatementServiceFactory();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(3u, RefCount(first.Get()));  // the cache's and ours
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
    second.Reset();
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
    first.Reset();
    EXPECT_EQ(S_OK, Module().CanUnloadNow());
}

TEST_F(ClassObjectTest, ClassObjectAnswersOnlyIUnknownAndIClassFactory) {
    ComPtr<IClassFactory> factory = StatementServiceFactory();
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, factory.As(unknown));
    EXPECT_EQ(static_cast<IUnknown*>(factory.Get()), unknown.Get());
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(E_NOINTERFACE, factory.As(dispatch));
    EXPECT_FALSE(dispatch);
}

TEST_F(ClassObjectTest, LockServerHoldsTheModuleUntilUnlocked) {
    EXPECT_EQ(S_OK, StatementServiceFactory()->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
    EXPECT_EQ(S_OK, StatementServiceFactory()->LockServer(FALSE));
    EXPECT_EQ(S_OK, Module().CanUnloadNow());
}

TEST_F(ClassObjectTest, UnknownClassIsNotAvailable) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, Module().GetClassObject(IID_IBankStatementService, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, Module().GetClassObject(CLSID_BankStatementService, IID_IUnknown, nullptr));
}

TEST_F(ClassObjectTest, LiveObjectsHoldTheModule) {
    ComPtr<IBankStatementService> service = Module().Create<IBankStatementService>(CLSID_BankStatementService);
    ASSERT_TRUE(service);
    EXPECT_EQ(1u, RefCount(service.Get()));
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
    service.Reset();
    EXPECT_EQ(S_OK, Module().CanUnloadNow());
}

TEST_F(ClassObjectTest, CreateInstanceChecksItsArguments) {
    ComPtr<IClassFactory> factory = StatementServiceFactory();
    OuterObject outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    ComPtr<IClassFactory> unsupported;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, unsupported.PutVoid()));
    EXPECT_EQ(1, outer.count);
}

TEST_F(ClassObjectTest, AggregatedObjectForwardsToItsOuterObject) {
    OuterObject outer;
    ASSERT_EQ(S_OK, StatementServiceFactory()->CreateInstance(&outer, IID_IUnknown, outer.inner.PutVoid()));
    EXPECT_EQ(1, outer.count) << "creating the inner object must not count on the outer one";
    EXPECT_EQ(1u, RefCount(outer.inner.Get()));

    ComPtr<IBankStatementService> service;
    ASSERT_EQ(S_OK, outer.inner.As(service));
    EXPECT_EQ(2, outer.count) << "the inner interface's reference belongs to the outer object";
    EXPECT_EQ(1u, RefCount(outer.inner.Get()));

    ComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, service.As(identity));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get()) << "QueryInterface goes to the outer object";
    EXPECT_EQ(1, outer.queries);
    identity.Reset();

    long cancelled = -1;
    EXPECT_EQ(S_OK, service->get_Cancelled(&cancelled));
    EXPECT_EQ(0, cancelled);
    service.Reset();
    EXPECT_EQ(1, outer.count);
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
    outer.inner.Reset();
}

}  // namespace
