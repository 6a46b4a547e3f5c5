// CArray: growth in steps of 8, shifting on insert and remove, and refusals
// that leave the array as it was.
#include "PointerArray.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// What `operation` threw (a long HRESULT), or S_OK.
template <typename Operation>
HRESULT Thrown(Operation operation) {
    try {
        operation();
    } catch (long hr) {
        return hr;
    }
    return S_OK;
}

class PointerArrayTest : public ::testing::Test {
protected:
    std::vector<int*> Elements() const {
        std::vector<int*> elements;
        for (int i = 0; i < array.GetCount(); ++i) elements.push_back(array.GetAt(i));
        return elements;
    }

    int v[10] = {};
    CArray<int*, int*> array{8};
};

TEST_F(PointerArrayTest, GrowsInStepsOfEightAndShrinksOnlyOnRemoveAll) {
    for (int i = 0; i < 8; ++i) EXPECT_EQ(i, array.Add(&v[i]));
    EXPECT_EQ(8, array.GetCapacity());
    array.Add(&v[8]);
    EXPECT_EQ(16, array.GetCapacity());
    array.GrowBy(8);
    EXPECT_EQ(24, array.GetCapacity()) << "9 + 8 elements need a third step";
    for (int n : {7, 0, -3}) array.GrowBy(n);
    EXPECT_EQ(24, array.GetCapacity()) << "room enough, or nothing asked for";
    while (array.GetCount() > 1) array.RemoveAt(0);
    EXPECT_EQ(24, array.GetCapacity());
    array.RemoveAll();
    EXPECT_EQ(0, array.GetCount());
    EXPECT_EQ(0, array.GetCapacity());
    EXPECT_EQ(8, array.GetGrowStep());
}

TEST_F(PointerArrayTest, InsertAndRemoveShiftTheOthers) {
    EXPECT_EQ(S_OK, Thrown([&] { array.InsertAt(0, &v[0]); })) << "inserting at the count appends";
    array.Add(&v[2]);
    array.InsertAt(1, &v[1]);
    array.InsertAt(0, &v[3]);
    EXPECT_EQ((std::vector<int*>{&v[3], &v[0], &v[1], &v[2]}), Elements());
    array.RemoveAt(1);
    array.SetAt(2, &v[4]);
    EXPECT_EQ((std::vector<int*>{&v[3], &v[1], &v[4]}), Elements());
}

TEST_F(PointerArrayTest, RefusalsLeaveTheArrayAsItWas) {
    array.Add(&v[0]);
    array.Add(&v[1]);
    for (HRESULT hr : {Thrown([&] { array.InsertAt(3, &v[2]); }), Thrown([&] { array.InsertAt(-1, &v[2]); }),
                       Thrown([&] { array.RemoveAt(2); }), Thrown([&] { array.RemoveAt(-1); }),
                       Thrown([&] { array.GetAt(2); }), Thrown([&] { array.SetAt(-1, &v[2]); })})
        EXPECT_EQ(E_INVALIDARG, hr);
    // Sizes that an int cannot count are out of memory, not an overflow.
    EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { array.GrowBy(INT_MAX); }));
    EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { array.GrowBy(INT_MAX - 7); }));
    EXPECT_EQ(8, array.GetCapacity());
    EXPECT_EQ((std::vector<int*>{&v[0], &v[1]}), Elements());
}

// A storage allocation that fails (made to fail by the test countdown)
// throws E_OUTOFMEMORY and leaves count, capacity and elements as they were.
TEST_F(PointerArrayTest, FailedAllocationLeavesTheArrayUnchanged) {
    using allocation_failure::FailAllocationsAfter;
    const struct {
        const char* what;
        int filled;  // elements added before the failing operation
        void (*operation)(CArray<int*, int*>&, int*);
    } cases[] = {
        {"first Add", 0, [](CArray<int*, int*>& a, int* e) { a.Add(e); }},
        {"ninth Add", 8, [](CArray<int*, int*>& a, int* e) { a.Add(e); }},
        {"InsertAt 0 when full", 8, [](CArray<int*, int*>& a, int* e) { a.InsertAt(0, e); }},
        {"GrowBy on empty", 0, [](CArray<int*, int*>& a, int*) { a.GrowBy(1); }},
        {"GrowBy past the capacity", 3, [](CArray<int*, int*>& a, int*) { a.GrowBy(6); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        array.RemoveAll();
        for (int i = 0; i < c.filled; ++i) array.Add(&v[i]);
        const std::vector<int*> before = Elements();
        const int capacity = array.GetCapacity();
        {
            const FailAllocationsAfter failing(0);
            EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { c.operation(array, &v[9]); }));
        }
        EXPECT_EQ(capacity, array.GetCapacity());
        EXPECT_EQ(before, Elements());
        EXPECT_EQ(S_OK, Thrown([&] { c.operation(array, &v[9]); })) << "succeeds once allocations do";
    }
}

// Growth within the capacity allocates nothing, so the countdown is not used.
TEST_F(PointerArrayTest, OnlyGrowthAllocates) {
    const allocation_failure::FailAllocationsAfter failing(1);
    for (int i = 0; i < 8; ++i) array.Add(&v[i]);
    EXPECT_EQ(0, failing.Unused());
    array.RemoveAt(0);
    array.InsertAt(0, &v[0]);
    array.GrowBy(0);
    EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { array.Add(&v[8]); }));
    EXPECT_EQ(8, array.GetCount());
}

}  // namespace
