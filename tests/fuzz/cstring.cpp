// Fuzzes the string class against std::string as its model. The input is a
// program of operations on one CString: each operation is a byte that picks
// it, then its operands (a text as a length byte and that many bytes, cut at
// the first NUL as a C string would be; a position or count as one signed
// byte). After every operation the string holds the model's text, within
// its capacity. One operation makes the allocations of the next one fail
// after a number of them: that operation then throws E_OUTOFMEMORY or
// succeeds, and a failure leaves the string as it was or empty.
#include "AllocationFailure.h"
#include "CString.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using allocation_failure::FailAllocationsAfter;

namespace {

// Longest text the model lets the string reach, so that doubling it by
// appending it to itself stays cheap.
constexpr size_t kMaxModelLength = 4096;

// The byte that, instead of an operation, makes the next operation's
// allocations fail after the number (0 to 3) the following byte gives.
constexpr uint8_t kFailNextAllocations = 0xFF;

// Reads operands off the input; past its end every operand is empty or 0.
class Operands {
public:
    Operands(const uint8_t* data, size_t size) : m_data(data), m_end(data + size) {}

    bool AtEnd() const { return m_data == m_end; }
    uint8_t Byte() { return m_data == m_end ? 0 : *m_data++; }
    int Number() { return static_cast<int8_t>(Byte()); }

    std::string Text() {
        const size_t length = std::min<size_t>(Byte(), static_cast<size_t>(m_end - m_data));
        std::string text(reinterpret_cast<const char*>(m_data), length);
        m_data += length;
        return text.c_str();
    }

    // Wide characters of two bytes each, from U+0001 to U+01FF: some map to
    // one ANSI byte, the rest to '?'.
    std::wstring WideText() {
        const size_t count = Byte() % 32;
        std::wstring text;
        for (size_t i = 0; i < count; ++i) {
            const int low = Byte();
            const int high = Byte() & 1;
            if (low != 0 || high != 0) text += static_cast<wchar_t>(low | high << 8);
        }
        return text;
    }

private:
    const uint8_t* m_data;
    const uint8_t* m_end;
};

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

int PositionOf(size_t found) { return found == std::string::npos ? -1 : static_cast<int>(found); }

int Sign(int value) { return (value > 0) - (value < 0); }

std::string AnsiOf(const std::wstring& wide) {
    std::string text;
    for (wchar_t c : wide) text += c <= 0xFF ? static_cast<char>(c) : '?';
    return text;
}

// Each operation runs on the string and does on the model what it should
// do there; searches and reads compare their answer with the model's.
using Operation = void (*)(Operands& in, CString& string, std::string& model);

void AssignText(Operands& in, CString& string, std::string& model) {
    model = in.Text();
    string = model.c_str();
}

void AssignString(Operands& in, CString& string, std::string& model) {
    model = in.Text();
    string = CString(model.c_str());
}

void AssignWideText(Operands& in, CString& string, std::string& model) {
    const std::wstring wide = in.WideText();
    model = AnsiOf(wide);
    string = wide.c_str();
}

void ConstructFromWideText(Operands& in, CString& string, std::string& model) {
    const std::wstring wide = in.WideText();
    model = AnsiOf(wide);
    string = CString(wide.c_str());
}

void AppendText(Operands& in, CString& string, std::string& model) {
    const std::string text = in.Text();
    model += text;
    string += text.c_str();
}

void AppendString(Operands& in, CString& string, std::string& model) {
    const std::string text = in.Text();
    model += text;
    string += CString(text.c_str());
}

void AppendItself(Operands&, CString& string, std::string& model) {
    if (model.size() > kMaxModelLength) return;
    model += model;
    string += string;
}

// Counts and positions outside the text are clamped to it.
void KeepLeft(Operands& in, CString& string, std::string& model) {
    const int count = in.Number();
    model.resize(Clamp(count, 0, static_cast<int>(model.size())));
    string = string.Left(count);
}

void KeepMiddle(Operands& in, CString& string, std::string& model) {
    const int start = in.Number();
    const int count = in.Number();
    const int length = static_cast<int>(model.size());
    const int from = Clamp(start, 0, length);
    model = model.substr(from, Clamp(count, 0, length - from));
    string = string.Mid(start, count);
}

void KeepRight(Operands& in, CString& string, std::string& model) {
    const int count = in.Number();
    const int length = static_cast<int>(model.size());
    model.erase(0, length - Clamp(count, 0, length));
    string = string.Right(count);
}

// The NUL character is found nowhere.
void FindCharacter(Operands& in, CString& string, std::string& model) {
    const char c = static_cast<char>(in.Byte());
    FUZZ_CHECK(string.Find(c) == (c ? PositionOf(model.find(c)) : -1));
    FUZZ_CHECK(string.ReverseFind(c) == (c ? PositionOf(model.rfind(c)) : -1));
}

// Nothing is found in the empty text, not even the empty text.
void FindText(Operands& in, CString& string, std::string& model) {
    const std::string text = in.Text();
    FUZZ_CHECK(string.Find(text.c_str()) == (model.empty() ? -1 : PositionOf(model.find(text))));
}

void ReadCharacter(Operands& in, CString& string, std::string& model) {
    const int index = in.Number();
    if (index >= 0 && index < static_cast<int>(model.size())) {
        FUZZ_CHECK(string[index] == model[static_cast<size_t>(index)]);
        return;
    }
    try {
        (void)string.GetAt(index);
        FUZZ_CHECK(!"GetAt outside the text returned");
    } catch (long hr) {
        FUZZ_CHECK(hr == E_INVALIDARG);
    }
}

void CompareWithText(Operands& in, CString& string, std::string& model) {
    const std::string text = in.Text();
    FUZZ_CHECK(string.Compare(text.c_str()) == Sign(model.compare(text)));
    FUZZ_CHECK((string == CString(text.c_str())) == (model == text));
}

void Copy(Operands&, CString& string, std::string&) {
    const CString copy(string);
    FUZZ_CHECK(copy == string);
}

// Picked by the operation byte modulo their number.
constexpr Operation kOperations[] = {
    AssignText, AssignString, AssignWideText, AppendText, AppendString,
    AppendItself, KeepLeft, KeepMiddle, KeepRight, FindCharacter,
    FindText, ReadCharacter, CompareWithText, Copy, ConstructFromWideText,
};
constexpr size_t kOperationCount = sizeof kOperations / sizeof kOperations[0];

void CheckHolds(const CString& string, const std::string& model) {
    FUZZ_CHECK(string.GetLength() == static_cast<int>(model.size()));
    FUZZ_CHECK(model == string.GetText());
    FUZZ_CHECK(string.GetLength() <= string.GetCapacity());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Operands in(data, size);
    CString string;
    std::string model;
    std::optional<int> allowed;  // allocations the next operation may make
    while (!in.AtEnd()) {
        const uint8_t operation = in.Byte();
        if (operation == kFailNextAllocations) {
            allowed = in.Byte() % 4;
            continue;
        }
        const std::string before = model;
        try {
            const FailAllocationsAfter failing(allowed.value_or(-1));
            kOperations[operation % kOperationCount](in, string, model);
        } catch (long hr) {
            FUZZ_CHECK(allowed && hr == E_OUTOFMEMORY);
            FUZZ_CHECK(before == string.GetText() || string.GetLength() == 0);
            model = string.GetText();
        }
        allowed.reset();
        CheckHolds(string, model);
    }
    return 0;
}
