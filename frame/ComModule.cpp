#include "ComModule.h"

#include <new>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

CComModule* g_module = nullptr;

// Serialises the first creation of each class object. Later requests read
// the class table's cache without it.
CriticalSection& ClassObjectLock() {
    static CriticalSection lock;
    static const HRESULT initialised = lock.Init();
    (void)initialised;  // a failure is not consulted; the lock then guards nothing
    return lock;
}

CComModule g_moduleInstance;

}  // namespace

CComModule::CComModule() {
    g_module = this;
    if (SUCCEEDED(m_lock.Init())) m_initialised = 1;
    ClassObjectLock();
}

CComModule::~CComModule() { Term(); }

void CComModule::Init(ClassEntry* classTable) { m_classTable = classTable; }

void CComModule::Term() {
    ReleaseClassObjects();
    if (!m_initialised) return;
    RunCleanups();
    m_lock.Term();
    m_initialised = 0;
}

// The table is left behind: the module object's own destruction runs Term
// again, after the table's.
void CComModule::ReleaseClassObjects() {
    if (!m_classTable) return;
    for (ClassEntry* entry = m_classTable; entry->clsid; ++entry) entry->classObject.Reset();
    m_classTable = nullptr;
}

void CComModule::RunCleanups() {
    CriticalSectionLock lock(m_lock);
    while (CleanupNode* node = m_cleanups) {
        m_cleanups = node->next;
        node->function(node->argument);
        delete node;
    }
}

HRESULT CComModule::AddCleanup(CleanupFunction function, void* argument) {
    CleanupNode* node = new (std::nothrow) CleanupNode{function, argument, nullptr};
    if (!node) return E_OUTOFMEMORY;
    CriticalSectionLock lock(m_lock);
    node->next = m_cleanups;
    m_cleanups = node;
    return S_OK;
}

// The cache is read without the lock once it is filled, by any thread; it is
// written only under the lock, and published whole, so a reader sees either
// null or a class object that is fully made.
HRESULT CComModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (ClassEntry* entry = m_classTable; entry && entry->clsid; ++entry) {
        if (!entry->createClassObject || !IsEqualCLSID(*entry->clsid, clsid)) continue;
        HRESULT result = S_OK;
        IUnknown* classObject = entry->classObject.Get();
        if (!classObject) {
            CriticalSectionLock lock(ClassObjectLock());
            classObject = entry->classObject.Get();
            if (!classObject) {
                result = entry->createClassObject(entry->createInstance, IID_IUnknown,
                                                  reinterpret_cast<void**>(&classObject));
                if (classObject) entry->classObject.Publish(classObject);
            }
        }
        if (classObject) result = classObject->QueryInterface(iid, out);
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

CComModule& Module() { return *g_module; }
LONG AddModuleLock() { return Module().AddLock(); }
LONG ReleaseModuleLock() { return Module().ReleaseLock(); }
LONG ModuleLockCount() { return Module().LockCount(); }
HRESULT AddCleanup(CleanupFunction function, void* argument) { return Module().AddCleanup(function, argument); }
void ModuleInit(ClassEntry* classTable) { Module().Init(classTable); }
void ModuleTerm() { Module().Term(); }

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
