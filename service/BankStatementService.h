// CBankStatementService: the bank service through which the host imports a
// statement. Creatable on its own, and the one service the bank's services
// collection holds.
//
// Trap: a host that pumps messages inside its file chooser or while it takes
// a statement line (as a window-based host does) can call ImportStatement on
// this same object again before the running import returns. So an import
// keeps everything of its own (the path, the bank account it reads from the
// host, the reader) in its call, never in the object; the one thing it
// leaves in the object, the cancelled flag, it sets again when it returns.
#pragma once

#include "BankServiceImpl.h"
#include "ChosenPath.h"
#include "ObjectRoot.h"

#include <optional>

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
    std::optional<ChosenPath> ChooseStatementFile();
};
