// The services collection and its enumerator through the DLL: the one
// statement service found by position or by name, the enumerator walked to
// the end and past it, and the enumerator's hold on its collection.
#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

#include <utility>

namespace {

VARIANT Number(long number) {  // needs no clearing
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = number;
    return index;
}

class BankServicesTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        services = Module().Create<IBankServices>(CLSID_BankServices);
        ASSERT_TRUE(services);
        VARIANT zero = Number(0);
        ASSERT_EQ(S_OK, services->Item(&zero, first.Put()));
        ComPtr<IUnknown> enumerator;
        ASSERT_EQ(S_OK, services->get__NewEnum(enumerator.Put()));
        ASSERT_EQ(S_OK, enumerator.As(walker));
        SetErrorInfo(0, nullptr);
    }
    void TearDown() override {
        first.Reset();
        walker.Reset();
        services.Reset();
        ModuleTest::TearDown();
    }

    // Next into up to two VARIANTs: its result and the count it reported.
    std::pair<HRESULT, ULONG> Next(IEnumVARIANT* from, ULONG n, Variant* out = nullptr) {
        VARIANT raw[2];
        ULONG fetched = 99;
        const HRESULT result = from->Next(n, raw, &fetched);
        for (ULONG i = 0; out && i < n; ++i) *out[i].Put() = raw[i];
        if (!out && fetched == 1) VariantClear(&raw[0]);
        return {result, fetched};
    }
    bool IsFirst(Variant& v) { return v->vt == VT_DISPATCH && v->pdispVal == static_cast<IDispatch*>(first.Get()); }

    ComPtr<IBankServices> services;
    ComPtr<IMavrinBankService> first;
    ComPtr<IEnumVARIANT> walker;
};

TEST_F(BankServicesTest, ItemFindsByPositionOrByExactName) {
    long count = 0;
    EXPECT_EQ(S_OK, services->get_Count(&count));
    EXPECT_EQ(1, count);
    BStr name(L"Bank Reconciliation Service"), otherCase(L"bank reconciliation service"), zeroText(L"0");
    BSTR byReference = name.Get();
    VARIANT rows[11];
    for (VARIANT& row : rows) VariantInit(&row);
    rows[0] = Number(0);
    rows[1].vt = VT_R8; rows[1].dblVal = 0.0;
    rows[2].vt = VT_BSTR; rows[2].bstrVal = name.Get();
    rows[3].vt = VT_BSTR | VT_BYREF; rows[3].pbstrVal = &byReference;
    const int found = 4;  // the rows from here on find nothing
    rows[4] = Number(1);
    rows[5] = Number(-1);
    rows[6].vt = VT_BSTR; rows[6].bstrVal = otherCase.Get();
    rows[7].vt = VT_BSTR; rows[7].bstrVal = zeroText.Get();  // a name, not a number
    rows[8].vt = VT_ERROR; rows[8].scode = DISP_E_PARAMNOTFOUND;
    rows[9].vt = VT_NULL;  // and rows[10] stays VT_EMPTY
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        const VARTYPE type = rows[i].vt;
        ComPtr<IMavrinBankService> service;
        EXPECT_EQ(i < found ? S_OK : kInvalidArgument, services->Item(&rows[i], service.Put()));
        EXPECT_EQ(i < found ? first.Get() : nullptr, service.Get());
        EXPECT_EQ(type, rows[i].vt) << "the caller's index is left as it was";
    }
    EXPECT_EQ(L"Invalid argument", TakeErrorDescription());
    EXPECT_EQ(2u, RefCount(first.Get())) << "the collection's and the fixture's";
}

TEST_F(BankServicesTest, NullArgumentsAndErrorSupport) {
    ComPtr<IMavrinBankService> service;
    VARIANT zero = Number(0);
    EXPECT_EQ(kInvalidArgument, services->Item(nullptr, service.Put()));
    EXPECT_EQ(kInvalidArgument, services->Item(&zero, nullptr));
    EXPECT_EQ(kInvalidArgument, services->get_Count(nullptr));
    EXPECT_EQ(kInvalidArgument, services->get__NewEnum(nullptr));

    ComPtr<IUnknown> missing;
    EXPECT_EQ(E_NOINTERFACE, services.QueryTo(IID_IMavrinBankServices, missing.PutVoid()));
    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(S_OK, services.As(errorSupport));
    EXPECT_EQ(S_OK, errorSupport->InterfaceSupportsErrorInfo(IID_IBankServices));
    for (const IID* iid : {&IID_IMavrinBankServices, &IID_IDispatch, &IID_IBank})
        EXPECT_EQ(S_FALSE, errorSupport->InterfaceSupportsErrorInfo(*iid));
}

TEST_F(BankServicesTest, EnumeratorWalksToTheEndAndPastIt) {
    Variant one[1], two[2];
    EXPECT_EQ(std::make_pair(S_OK, 1ul), Next(walker.Get(), 1, one));
    EXPECT_TRUE(IsFirst(one[0]));
    EXPECT_EQ(std::make_pair(S_FALSE, 0ul), Next(walker.Get(), 1, one));
    EXPECT_EQ(VT_EMPTY, one[0]->vt);
    EXPECT_EQ(S_OK, walker->Reset());
    EXPECT_EQ(std::make_pair(S_FALSE, 1ul), Next(walker.Get(), 2, two));
    EXPECT_TRUE(IsFirst(two[0]));
    EXPECT_EQ(VT_EMPTY, two[1]->vt);
}

TEST_F(BankServicesTest, EnumeratorArguments) {
    EXPECT_EQ(std::make_pair(E_POINTER, 0ul), Next(walker.Get(), 0)) << "nothing asked for";
    ULONG fetched = 99;
    EXPECT_EQ(E_POINTER, walker->Next(1, nullptr, &fetched));
    EXPECT_EQ(99u, fetched) << "nothing written without a VARIANT array";
    Variant variant;
    EXPECT_EQ(S_OK, walker->Next(1, variant.Put(), nullptr)) << "the fetched count is optional";
    EXPECT_TRUE(IsFirst(variant));

    EXPECT_EQ(2ul, walker->AddRef());
    EXPECT_EQ(1ul, walker->Release());
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, walker->QueryInterface(IID_IDispatch, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_POINTER, walker->QueryInterface(IID_IEnumVARIANT, nullptr));
    EXPECT_EQ(E_POINTER, walker->Clone(nullptr)) << "and no clone is left behind (checked at tear-down)";
    EXPECT_EQ(0ul, walker.Detach()->Release());
}

TEST_F(BankServicesTest, SkipNeedsAnElementLeftAfterIt) {
    EXPECT_EQ(S_OK, walker->Skip(0));
    EXPECT_EQ(S_FALSE, walker->Skip(1)) << "ending exactly after the last element";
    EXPECT_EQ(std::make_pair(S_OK, 1ul), Next(walker.Get(), 1));
    EXPECT_EQ(S_FALSE, walker->Skip(ULONG_MAX)) << "position + n must not wrap round";
    EXPECT_EQ(std::make_pair(S_FALSE, 0ul), Next(walker.Get(), 1));
}

TEST_F(BankServicesTest, ClonesMoveOnTheirOwnAndHoldTheCollection) {
    EXPECT_EQ(2u, RefCount(services.Get())) << "the fixture's and the enumerator's";
    ASSERT_EQ(std::make_pair(S_OK, 1ul), Next(walker.Get(), 1));
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(S_OK, walker->Clone(clone.Put()));
    EXPECT_EQ(3u, RefCount(services.Get()));
    EXPECT_EQ(S_OK, walker->Reset());
    EXPECT_EQ(std::make_pair(S_FALSE, 0ul), Next(clone.Get(), 1)) << "the clone kept its position";
    EXPECT_EQ(S_OK, clone->Reset());

    services.Reset();  // the host lets go of the collection and its service first
    first.Reset();
    walker.Reset();
    EXPECT_EQ(std::make_pair(S_OK, 1ul), Next(clone.Get(), 1));
    EXPECT_EQ(S_FALSE, Module().CanUnloadNow());
}

}  // namespace
