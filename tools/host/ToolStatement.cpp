#include "ToolStatement.h"

#include "CallValues.h"
#include "CodePages.h"
#include "Utf8Text.h"

#include <new>

namespace {

// Runs `keep`; a value that cannot be kept for want of memory is the
// caller's E_OUTOFMEMORY, as for the reference host's objects.
template <typename Keep>
HRESULT Kept(Keep&& keep) noexcept {
    try {
        keep();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// The text as UTF-8, as the call log writes a BSTR (TextOf): a null BSTR is
// "<null>". Text below U+0080 is its own UTF-8, copied into `buffer`, which
// keeps its room from call to call; other text is converted (Utf8).
std::string_view Utf8Of(BSTR text, std::string& buffer) {
    if (!text) return reference_host::kNullText;
    const UINT length = SysStringLen(text);
    buffer.resize(length);
    for (UINT index = 0; index < length; ++index) {
        if (text[index] >= 0x80) {
            buffer = WideToUtf8(text, length);
            break;
        }
        buffer[index] = static_cast<char>(text[index]);
    }
    return buffer;
}

}  // namespace

ToolStatement::ToolStatement(std::shared_ptr<reference_host::Scenario> scenario)
    : UndispatchedStatement(std::move(scenario)),
      m_lines(std::make_shared<HostLines>()) {}

ToolStatement::~ToolStatement() = default;

STDMETHODIMP ToolStatement::get_Count(LONG* count) {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_lines->Size());
    return S_OK;
}

// The line object is made, or taken again, before its line is added, so
// that a line that cannot be made adds none.
STDMETHODIMP ToolStatement::AddLine(IHostStatementLine** line) {
    if (!line) return E_POINTER;
    *line = nullptr;
    return Kept([&] {
        if (!m_line || m_line->HeldElsewhere())
            m_line = reference_host::MakeObject<ToolStatementLine>(SharedScenario(), m_lines);
        m_line->PointAt(m_lines->Add());
        *line = ComPtr<IHostStatementLine>(m_line.Get()).Detach();
    });
}

STDMETHODIMP ToolStatement::Clear() {
    m_lines->Clear();
    return S_OK;
}

ToolStatementLine::ToolStatementLine(std::shared_ptr<reference_host::Scenario> scenario,
                                     std::shared_ptr<HostLines> lines)
    : WriteOnlyStatementLine(std::move(scenario), reference_host::LiveKind::HostObject), m_lines(std::move(lines)) {}

// Release answers the count it leaves, which this object keeps exactly.
bool ToolStatementLine::HeldElsewhere() {
    AddRef();
    return Release() > 1;
}

STDMETHODIMP ToolStatementLine::put_Number(VARIANT* number) {
    if (!number) return E_POINTER;
    if (V_VT(number) == VT_I4) {
        m_lines->SetNumber(m_slot, V_I4(number));
        return S_OK;
    }
    return Kept([&] { m_lines->SetNumberText(m_slot, reference_host::VariantText(number)); });
}

STDMETHODIMP ToolStatementLine::put_Date(DATE date) {
    m_lines->SetDate(m_slot, date);
    return S_OK;
}

STDMETHODIMP ToolStatementLine::put_Direction(LONG direction) {
    m_lines->SetDirection(m_slot, direction);
    return S_OK;
}

STDMETHODIMP ToolStatementLine::put_Amount(double amount) {
    m_lines->SetAmount(m_slot, amount);
    return S_OK;
}

STDMETHODIMP ToolStatementLine::put_Description(BSTR text) { return KeepText(HostLines::Text::Description, text); }

STDMETHODIMP ToolStatementLine::put_Reference(BSTR text) { return KeepText(HostLines::Text::Reference, text); }

HRESULT ToolStatementLine::KeepText(HostLines::Text which, BSTR text) {
    return Kept([&] { m_lines->SetText(m_slot, which, Utf8Of(text, m_utf8)); });
}
