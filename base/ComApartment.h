// Puts the calling thread in a single-threaded COM apartment for the
// holder's lifetime: the programs that host the module (the import tool,
// the bench) hold one in the function that uses COM.
//
// CoInitializeEx answers S_FALSE when the thread is already in such an
// apartment; that call still needs its CoUninitialize. A failure (the thread
// is in a multithreaded apartment, or COM cannot start) leaves nothing to
// undo and is thrown as a std::runtime_error naming the code, so that no
// program goes on without COM.
#pragma once

#include <objbase.h>

#include <cstdio>
#include <stdexcept>
#include <string>

class ComApartment {
public:
    ComApartment() {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(result)) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
            throw std::runtime_error("COM could not be started on this thread (CoInitializeEx failed with " +
                                     std::string(code) + ")");
        }
    }
    ~ComApartment() { CoUninitialize(); }

    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};
