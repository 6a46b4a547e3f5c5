// CArray: a growable array of pointers, the storage of the services
// collection. It counts no references: whoever puts an element in decides
// who owns it.
//
// Invariants: slots 0 to count - 1 are the elements; slots count to
// capacity - 1 are null; capacity is 0 exactly when there is no storage.
// The storage grows in whole steps of the grow step and never shrinks until
// RemoveAll frees it.
//
// Failures are thrown as `long` HRESULTs (for the method guard): an index
// out of range is E_INVALIDARG, storage that cannot be had is E_OUTOFMEMORY.
// A failed operation leaves the array as it was. The size of the storage is
// computed in 64 bits, so no request can overflow it: a capacity beyond what
// an int counts or a size_t measures is refused as out of memory. Tests make
// the storage allocation fail through the countdown in AllocationFailure.h.
#pragma once

#include "AllocationFailure.h"
#include "Failures.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

template <typename Element, typename Argument = Element>
class CArray {
public:
    explicit CArray(int growStep) : m_growStep(growStep) {}
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    int GetGrowStep() const { return m_growStep; }

    // Makes room for n more elements; n <= 0 does nothing.
    void GrowBy(int n) {
        if (n <= 0 || std::int64_t{m_count} + n <= m_capacity) return;
        const std::int64_t step = m_growStep;
        const std::int64_t capacity = m_capacity + step * ((step + n - 1) / step);
        if (capacity > kMaxCapacity || allocation_failure::ShouldFail()) ThrowHResult(E_OUTOFMEMORY);
        std::unique_ptr<Element[]> storage(new (std::nothrow) Element[static_cast<std::size_t>(capacity)]());
        if (!storage) ThrowHResult(E_OUTOFMEMORY);
        std::copy(m_storage.get(), m_storage.get() + m_capacity, storage.get());
        m_storage = std::move(storage);
        m_capacity = static_cast<int>(capacity);
    }

    // Inserts before the slot at `index`, 0 to count.
    void InsertAt(int index, Argument element) {
        if (index < 0 || index > m_count) ThrowHResult(E_INVALIDARG);
        GrowBy(1);
        std::copy_backward(Slot(index), Slot(m_count), Slot(m_count + 1));
        *Slot(index) = nullptr;
        ++m_count;
        SetAt(index, element);
    }

    // Appends; returns the index at which the element now stands.
    int Add(Argument element) {
        const int index = m_count;
        InsertAt(index, element);
        return index;
    }

    void RemoveAt(int index) {
        CheckIndex(index);
        std::copy(Slot(index + 1), Slot(m_count), Slot(index));
        *Slot(m_count - 1) = nullptr;
        --m_count;
    }

    // Removes every element and frees the storage; the grow step stays.
    void RemoveAll() {
        m_storage.reset();
        m_count = 0;
        m_capacity = 0;
    }

    Element GetAt(int index) const {
        CheckIndex(index);
        return m_storage[index];
    }

    void SetAt(int index, Argument element) {
        CheckIndex(index);
        m_storage[index] = element;
    }

private:
    // The most slots whose count fits an int and whose size fits a size_t.
    static constexpr std::int64_t kMaxCapacity =
        std::min<std::uint64_t>(std::numeric_limits<int>::max(),
                                std::numeric_limits<std::size_t>::max() / sizeof(Element));

    void CheckIndex(int index) const {
        if (index < 0 || index >= m_count) ThrowHResult(E_INVALIDARG);
    }
    Element* Slot(int index) { return m_storage.get() + index; }

    int m_growStep;
    int m_capacity = 0;
    int m_count = 0;
    std::unique_ptr<Element[]> m_storage;
};
