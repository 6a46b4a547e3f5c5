// The host statement the tool imports into. It keeps of each line only what
// the tool shows and checks (HostLines), and a call costs no more than that
// keeping: no call is recorded, no failure planned, nothing formatted. The
// reference host's recording statements (HostStatement, CompactStatement)
// are for the tests, which read their call logs.
//
// AddLine hands out one line object again and again, pointed at each new
// line, so that an import of a million lines makes one object, not a
// million. A line object still held by the caller when the next line is
// added keeps its own line; the next line gets a new object. A line held
// over a Clear sets nothing. Item, the getters of a line, get_Name and
// IDispatch answer E_NOTIMPL: nothing is kept to hand back
// (UndispatchedStatement, WriteOnlyStatementLine).
#pragma once

#include "HostLines.h"
#include "MavrinBankReconciliation.h"
#include "UndispatchedObject.h"
#include "UndispatchedStatement.h"
#include "WriteOnlyStatementLine.h"

#include <memory>
#include <string>

class ToolStatementLine;

class ToolStatement : public reference_host::UndispatchedStatement {
public:
    explicit ToolStatement(std::shared_ptr<reference_host::Scenario> scenario);
    ~ToolStatement() override;

    // Shared with the line objects, which may outlive the statement.
    const std::shared_ptr<HostLines>& Lines() const { return m_lines; }

    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP AddLine(IHostStatementLine** line) override;
    STDMETHODIMP Clear() override;

private:
    const std::shared_ptr<HostLines> m_lines;
    ComPtr<ToolStatementLine> m_line;  // the line object handed out last
};

class ToolStatementLine
    : public reference_host::WriteOnlyStatementLine<reference_host::UndispatchedObject<IHostStatementLine>> {
public:
    ToolStatementLine(std::shared_ptr<reference_host::Scenario> scenario, std::shared_ptr<HostLines> lines);

    // Points the object at another line.
    void PointAt(HostLines::Slot slot) { m_slot = slot; }
    // Whether anyone holds the object besides the statement that made it.
    bool HeldElsewhere();

    STDMETHODIMP put_Number(VARIANT* v) override;
    STDMETHODIMP put_Date(DATE v) override;
    STDMETHODIMP put_Direction(LONG v) override;
    STDMETHODIMP put_Amount(double v) override;
    STDMETHODIMP put_Description(BSTR v) override;
    STDMETHODIMP put_Reference(BSTR v) override;
    // The properties the tool does not show are taken and not kept.
    STDMETHODIMP put_Payee(BSTR) override { return S_OK; }
    STDMETHODIMP put_Category(BSTR) override { return S_OK; }
    STDMETHODIMP put_Memo(BSTR) override { return S_OK; }
    STDMETHODIMP put_Currency(BSTR) override { return S_OK; }
    STDMETHODIMP put_BankCode(BSTR) override { return S_OK; }
    STDMETHODIMP put_Location(BSTR) override { return S_OK; }
    STDMETHODIMP put_CounterpartyAccount(BSTR) override { return S_OK; }
    STDMETHODIMP put_Reconciled(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP put_ValueDate(DATE) override { return S_OK; }
    STDMETHODIMP put_ExchangeRate(double) override { return S_OK; }
    STDMETHODIMP put_TaxAmount(double) override { return S_OK; }
    STDMETHODIMP put_Balance(double) override { return S_OK; }

private:
    HRESULT KeepText(HostLines::Text which, BSTR text);

    const std::shared_ptr<HostLines> m_lines;
    HostLines::Slot m_slot;
    std::string m_utf8;  // a text being kept, in UTF-8: its room serves every call
};
