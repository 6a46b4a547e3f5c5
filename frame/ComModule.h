// The module object: the DLL's lock count, its clean-up list, the module-wide
// lock and the class table, and the class-object lookup behind
// DllGetClassObject.
//
// The lock count is the number of live wrapped objects, plus outstanding
// LockServer locks, plus client references to class objects beyond the one the
// class table's cache holds. DllCanUnloadNow answers S_OK only at 0.
#pragma once

#include "ClassEntry.h"
#include "CriticalSection.h"

using CleanupFunction = void (*)(void* argument);

class CComModule {
public:
    CComModule();
    CComModule(const CComModule&) = delete;
    CComModule& operator=(const CComModule&) = delete;
    ~CComModule();

    void Init(ClassEntry* classTable);
    void Term();

    LONG AddLock() { return InterlockedIncrement(&m_lockCount); }
    LONG ReleaseLock() { return InterlockedDecrement(&m_lockCount); }
    LONG LockCount() const { return m_lockCount; }

    // Adds a function to run at termination; the last added runs first.
    HRESULT AddCleanup(CleanupFunction function, void* argument);
    CriticalSection& Lock() { return m_lock; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

private:
    struct CleanupNode {
        CleanupFunction function;
        void* argument;
        CleanupNode* next;
    };

    void ReleaseClassObjects();
    void RunCleanups();

    ULONG m_initialised = 0;
    volatile LONG m_lockCount = 0;
    CleanupNode* m_cleanups = nullptr;
    CriticalSection m_lock;
    ClassEntry* m_classTable = nullptr;
};

// The module object of this binary, and shorthands for its operations.
CComModule& Module();
LONG AddModuleLock();
LONG ReleaseModuleLock();
LONG ModuleLockCount();
HRESULT AddCleanup(CleanupFunction function, void* argument);
void ModuleInit(ClassEntry* classTable);
void ModuleTerm();

// The module that holds the registry scripts and the type library: this
// binary's own image.
HINSTANCE ModuleInstance();
