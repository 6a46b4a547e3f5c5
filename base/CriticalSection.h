// A critical section with explicit initialisation and deletion, and a scoped
// lock for it. Critical sections are re-entrant for the thread that holds them.
#pragma once

#include <windows.h>

class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { Term(); }

    HRESULT Init() {
        if (m_initialised) return S_OK;
        if (!InitializeCriticalSectionAndSpinCount(&m_section, 0)) return HRESULT_FROM_WIN32(GetLastError());
        m_initialised = true;
        return S_OK;
    }
    void Term() {
        if (m_initialised) DeleteCriticalSection(&m_section);
        m_initialised = false;
    }
    bool IsInitialised() const { return m_initialised; }

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section{};
    bool m_initialised = false;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : m_section(section) { m_section.Enter(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;
    ~CriticalSectionLock() { m_section.Leave(); }

private:
    CriticalSection& m_section;
};
