#include "LeanStatement.h"

#include "LeanStatementLine.h"

#include <cstring>

namespace reference_host {
namespace {

constexpr std::uint64_t kMultiplier = 0x100000001B3;  // FNV's 64-bit prime
constexpr int kNumberProperty = 2;

}  // namespace

LeanStatement::LeanStatement(std::shared_ptr<Scenario> scenario)
    : UndispatchedStatement(scenario),
      m_line(MakeObject<LeanStatementLine>(std::move(scenario))) {}

LeanStatement::~LeanStatement() = default;

const LeanTally& LeanStatement::Tally() const { return m_line->Tally(); }

STDMETHODIMP LeanStatement::get_Count(LONG* count) {
    if (!count) return E_POINTER;
    *count = m_line->Tally().lines;
    return S_OK;
}

STDMETHODIMP LeanStatement::AddLine(IHostStatementLine** line) {
    if (!line) return E_POINTER;
    ++m_line->Tally().lines;
    *line = ComPtr<IHostStatementLine>(m_line.Get()).Detach();
    return S_OK;
}

STDMETHODIMP LeanStatement::Clear() {
    m_line->Tally() = LeanTally();
    return S_OK;
}

LeanStatementLine::LeanStatementLine(std::shared_ptr<Scenario> scenario)
    : WriteOnlyStatementLine(std::move(scenario), LiveKind::HostObject) {}

void LeanStatementLine::Mix(std::uint64_t value) { m_tally.checksum = (m_tally.checksum ^ value) * kMultiplier; }

// The type of the number, and its value when it is a whole number.
STDMETHODIMP LeanStatementLine::put_Number(VARIANT* number) {
    if (!number) return E_POINTER;
    Mix(kNumberProperty);
    Mix(number->vt);
    if (number->vt == VT_I4) Mix(static_cast<std::uint32_t>(number->lVal));
    return S_OK;
}

HRESULT LeanStatementLine::Fold(int property, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Mix(static_cast<std::uint64_t>(property));
    Mix(bits);
    return S_OK;
}

HRESULT LeanStatementLine::Fold(int property, LONG value) {
    Mix(static_cast<std::uint64_t>(property));
    Mix(static_cast<std::uint32_t>(value));
    return S_OK;
}

// A null text folds differently from an empty one.
HRESULT LeanStatementLine::Fold(int property, BSTR text) {
    Mix(static_cast<std::uint64_t>(property));
    if (!text) {
        Mix(~std::uint64_t(0));
        return S_OK;
    }
    const UINT length = SysStringLen(text);
    Mix(length);
    // Four characters at a time, then the rest one by one.
    UINT i = 0;
    for (; i + 4 <= length; i += 4) {
        std::uint64_t four = 0;
        std::memcpy(&four, text + i, sizeof four);
        Mix(four);
    }
    for (; i < length; ++i) Mix(text[i]);
    return S_OK;
}

}  // namespace reference_host
