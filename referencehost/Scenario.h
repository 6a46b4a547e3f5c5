// What the reference host's objects share: the settings a test or the tool
// chooses before an import, the planned failures, the call log and the counts
// of live objects. Every object holds its scenario by shared pointer, so an
// object the module leaks never reaches freed state, and reads the settings
// at call time, so they may change between imports. Scenario and objects are
// used on one apartment thread; nothing is locked.
#pragma once

#include "CallLog.h"
#include "FailurePlan.h"
#include "ResourceHolders.h"

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace reference_host {

class HostReconciliation;
class HostBankAccount;
class HostStatement;
class CompactStatement;
class HostStatementLine;
class HostBankSetup;
class HostFileChooser;

struct HostSettings {
    bool hasBankAccount = true;                 // false: get_BankAccount fails with E_FAIL
    std::optional<std::wstring> sortCode;       // absent: get_SortCode gives S_OK and a null BSTR
    std::optional<std::wstring> accountNumber;  // absent: get_AccountNumber gives S_OK and a null BSTR
    std::wstring accountName = L"Reference account";
    std::optional<std::wstring> chosenFile;     // the path get_FileName gives; absent: a null BSTR
    long showStatus = 0;                        // what Show reports: 0 when a file was chosen
    // The host type library file, for IDispatch when the library is not
    // registered; by default the build's own copy, on drive Z: under Wine.
    std::wstring typeLibraryPath;
};

enum class LiveKind { HostObject, ClassFactory };

class Scenario : public std::enable_shared_from_this<Scenario> {
public:
    static std::shared_ptr<Scenario> Create();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    HostSettings settings;
    FailurePlan failures;
    CallLog log;

    // The objects a test hands to the module. Each starts with the one
    // reference the returned holder owns.
    ComPtr<HostReconciliation> CreateReconciliation();
    ComPtr<HostStatement> CreateStatement();
    // A statement that keeps only its lines' values, compactly, for long imports.
    ComPtr<CompactStatement> CreateCompactStatement();
    ComPtr<HostBankSetup> CreateBankSetup();
    ComPtr<HostFileChooser> CreateFileChooser();

    // Objects of this scenario that are still alive: host objects, and the
    // class objects of a ClassRegistration.
    long LiveObjects() const { return m_liveObjects; }
    long LiveClassFactories() const { return m_liveFactories; }

    // Bookkeeping of the objects themselves.
    void CountLive(LiveKind kind, long change);
    int NextInstance(const std::string& object) { return ++m_instances[object]; }

private:
    Scenario();

    std::atomic<long> m_liveObjects{0};
    std::atomic<long> m_liveFactories{0};
    std::map<std::string, int> m_instances;
};

}  // namespace reference_host
