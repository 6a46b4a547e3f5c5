// CBankStatementService: the bank service through which the host imports a
// statement. Creatable on its own, and the one service the bank's services
// collection holds. Each import reads the account details afresh from the
// host; nothing of one import's account carries into the next.
#pragma once

#include "BankServiceImpl.h"
#include "ObjectRoot.h"
#include "StatementAccount.h"

class CBankStatementService : public CComObjectRootEx<CComSingleThreadModel>,
                              public CComCoClass<CBankStatementService, &CLSID_BankStatementService>,
                              public ISupportErrorInfo,
                              public IBankServiceImpl<IBankStatementService, &IID_IBankStatementService> {
public:
    static const InterfaceEntry<CBankStatementService>* InterfaceTable();

    // Accepted and inert; only a null pointer is refused.
    STDMETHOD(ReservedMethod1)(long* reserved) override;
    STDMETHOD(ReservedMethod2)(long value, long* reserved) override;
    STDMETHOD(ReservedMethod3)(long value, long* reserved) override;
    STDMETHOD(ImportStatement)(IHostReconciliation* reconciliation, IHostStatement* statement) override;

    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID iid) override;

private:
    bool ChooseStatementFile(char (&path)[MAX_PATH]);
    void ReadBankAccount(IHostReconciliation* reconciliation);
    void PassStatementLines(const char* path, IHostStatement* statement);

    // Sort code, account number and its other form, as this import's bank
    // account gives them.
    StatementAccount m_account;
};
