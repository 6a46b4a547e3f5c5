// The method guard, error reporting and host calls, against the platform's
// own error objects. Every test starts with COM up and no error object on
// the thread; reference counts are checked as AddRef-then-Release.
#include "ComTestSupport.h"
#include "HostCalls.h"
#include "MethodGuard.h"

#include <comcat.h>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr HRESULT Hr(unsigned long value) { return static_cast<HRESULT>(value); }
constexpr HRESULT kHostFailure = Hr(0x80040201);

// Takes the thread's error object and gives its description, after checking
// that it carries nothing else; nothing when the thread has none.
std::optional<std::wstring> TakeModuleErrorDescription() {
    const ComPtr<IErrorInfo> info = TakeErrorObject();
    if (!info) return std::nullopt;
    BStr source, helpFile;
    GUID guid{};
    DWORD context = 1;
    info->GetSource(source.Put());
    info->GetHelpFile(helpFile.Put());
    info->GetGUID(&guid);
    info->GetHelpContext(&context);
    EXPECT_TRUE(!source.Length() && !helpFile.Length() && IsEqualGUID(GUID_NULL, guid) && !context);
    return DescriptionOf(info.Get());
}

// An error object as a body or a host prepares one. Wine's CreateErrorInfo
// leaves the interface identifier uninitialised, so it is cleared here too.
ComPtr<ICreateErrorInfo> PreparedErrorObject(const wchar_t* description) {
    ComPtr<ICreateErrorInfo> created;
    EXPECT_EQ(S_OK, CreateErrorInfo(created.Put()));
    created->SetGUID(GUID_NULL);
    created->SetDescription(const_cast<LPOLESTR>(description));
    return created;
}

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        SetErrorInfo(0, nullptr);
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ServiceTest, ThrownCodeBecomesModuleCodeWithDescription) {
    struct { HRESULT thrown, result; const wchar_t* description; } const rows[] = {
        {E_UNEXPECTED, Hr(0x800AFFFE), L"Unexpected result"},
        {E_OUTOFMEMORY, Hr(0x800AFFFD), L"Out of Memory"},
        {E_INVALIDARG, Hr(0x800AFFFC), L"Invalid argument"},
        {E_NOTIMPL, Hr(0x800AFFFB), L"Not implemented"},
        {E_NOINTERFACE, Hr(0x800AFFFA), L"Interface not supported"},
        {E_FAIL, Hr(0x800AFFFE), L"Unexpected result"},
        {Hr(0x900A0000), Hr(0x800AFFFE), L"Unexpected result"},  // facility 0x100A
        {Hr(0x800AFFFC), Hr(0x800AFFFC), nullptr},                // null: nothing published
        {Hr(0x800A1234), Hr(0x800A1234), nullptr},
        {Hr(0x000A0001), Hr(0x000A0001), nullptr},
        {DISP_E_EXCEPTION, DISP_E_EXCEPTION, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << row.thrown);
        EXPECT_EQ(row.result, GuardedCall([&] { throw row.thrown; }));
        EXPECT_EQ(row.description ? std::optional<std::wstring>(row.description) : std::nullopt,
                  TakeModuleErrorDescription());
    }
    EXPECT_EQ(0, ErrorTextTable[5].m_code);
}

TEST_F(ServiceTest, BodyResultAndNullOutPointer) {
    EXPECT_EQ(S_OK, GuardedCall([] {}));
    EXPECT_EQ(S_FALSE, GuardedCall([] { return S_FALSE; }));
    long* missing = nullptr;
    EXPECT_EQ(Hr(0x800AFFFC), GuardedCall([&] { *RequireOut(missing) = 1; }));
    EXPECT_EQ(L"Invalid argument", TakeModuleErrorDescription().value_or(L"(none)"));
}

// The system's text, without the line break it ends with; a system error
// about something named says what, then the text.
TEST_F(ServiceTest, SystemErrorGivesSystemText) {
    for (const unsigned long code : {2ul, 5ul, 0x2AAAAAAAul}) {  // the last has no text
        char text[1024] = {};
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      0x0400, text, sizeof text, nullptr);
        ASSERT_EQ(code != 0x2AAAAAAAul, length > 0);
        ASSERT_TRUE(length == 0 || std::string(text + length - 2) == "\r\n");
        length = length > 0 ? length - 2 : 0;
        std::wstring expected(length, L'\0');
        expected.resize(MultiByteToWideChar(CP_ACP, 0, text, length, expected.data(), length));
        EXPECT_EQ(Hr(0x800AFFFF), GuardedCall([&] { throw code; }));
        EXPECT_EQ(expected, TakeModuleErrorDescription().value_or(L"(none)"));
        EXPECT_EQ(Hr(0x800AFFFF), GuardedCall([&] { ThrowSystemErrorAbout(code, L"The file \"C:\\x\""); }));
        EXPECT_EQ(L"The file \"C:\\x\"" + (expected.empty() ? L"" : L": " + expected),
                  TakeModuleErrorDescription().value_or(L"(none)"));
    }
}

// Message functions in place of FormatMessageA (which under Wine always has
// its text): each gives its text in the languages it has, in a buffer it
// allocates as FormatMessageA does, and fails for the others as Windows does
// where a language's messages are not installed.
std::vector<DWORD> g_languagesAsked;

DWORD Message(const char* text, DWORD language, bool has, LPSTR buffer) {
    g_languagesAsked.push_back(language);
    if (!has) {
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
        return 0;
    }
    const DWORD length = static_cast<DWORD>(strlen(text));
    char* const allocated = static_cast<char*>(LocalAlloc(LMEM_FIXED, length + 1));
    memcpy(allocated, text, length + 1);
    *reinterpret_cast<char**>(buffer) = allocated;
    return length;
}

DWORD WINAPI InEveryLanguage(DWORD, LPCVOID, DWORD, DWORD language, LPSTR buffer, DWORD, va_list*) {
    return Message("Asked language.\r\n", language, true, buffer);
}
DWORD WINAPI OnlyInTheSystemsChoice(DWORD, LPCVOID, DWORD, DWORD language, LPSTR buffer, DWORD, va_list*) {
    return Message("System's choice.\r\n", language, language == 0, buffer);
}
DWORD WINAPI InNoLanguage(DWORD, LPCVOID, DWORD, DWORD language, LPSTR buffer, DWORD, va_list*) {
    return Message("", language, false, buffer);
}

TEST_F(ServiceTest, SystemTextFallsBackToTheSystemsChoiceOfLanguageThenToNone) {
    struct { MessageFunction function; const wchar_t* text; std::vector<DWORD> asked; } const rows[] = {
        {InEveryLanguage, L"Asked language.", {0x0400}},
        {OnlyInTheSystemsChoice, L"System's choice.", {0x0400, 0}},
        {InNoLanguage, L"", {0x0400, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.asked));
        g_languagesAsked.clear();
        const BStr text = SystemErrorText(ERROR_FILE_NOT_FOUND, row.function);
        ASSERT_TRUE(text.Get());
        EXPECT_EQ(row.text, std::wstring(text.Get(), text.Length()));
        EXPECT_EQ(row.asked, g_languagesAsked);
    }
}

TEST_F(ServiceTest, PreparedErrorObjectIsPublishedAndReleased) {
    const ComPtr<ICreateErrorInfo> prepared = PreparedErrorObject(L"Prepared");
    // The thrown pointer carries a reference of its own.
    EXPECT_EQ(S_OK, GuardedCall([&] { throw ComPtr<ICreateErrorInfo>(prepared).Detach(); }));
    EXPECT_EQ(L"Prepared", TakeModuleErrorDescription().value_or(L"(none)"));
    EXPECT_EQ(1u, RefCount(prepared.Get()));
}

TEST_F(ServiceTest, UnnamedExceptionGivesUnexpectedAndPublishesNothing) {
    EXPECT_EQ(E_UNEXPECTED, GuardedCall([] { throw std::runtime_error("conversion failed"); }));
    EXPECT_EQ(E_UNEXPECTED, GuardedCall([] { throw 5; }));
    EXPECT_EQ(E_UNEXPECTED, GuardedCall([] { throw 5u; }));  // unsigned int is not a system error
    EXPECT_FALSE(TakeModuleErrorDescription());
}

// A host object whose GetClassID leaves `m_error` on the thread and fails.
// It has ISupportErrorInfo only when `m_supported` is set, and supports error
// information for that interface alone. It lives on the test's stack.
class FakeHost : public IPersist, public ISupportErrorInfo {
public:
    FakeHost(const IID* supported, ComPtr<IErrorInfo> error) : m_supported(supported), m_error(error) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IPersist) *out = static_cast<IPersist*>(this);
        if (iid == IID_ISupportErrorInfo && m_supported) *out = static_cast<ISupportErrorInfo*>(this);
        if (*out) AddRef();
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_count; }
    STDMETHODIMP_(ULONG) Release() override { return --m_count; }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
        m_asked = iid;
        return iid == *m_supported ? S_OK : S_FALSE;
    }
    STDMETHODIMP GetClassID(CLSID*) override { return SetErrorInfo(0, m_error.Get()), kHostFailure; }

    ULONG m_count = 1;
    IID m_asked = GUID_NULL;

private:
    const IID* m_supported;
    ComPtr<IErrorInfo> m_error;
};

HRESULT FailingCall(IPersist* host) { return host->GetClassID(nullptr); }

TEST_F(ServiceTest, FailedCheckedHostCallTakesErrorObjectOnlyWhenSupported) {
    struct { const IID* supported; bool taken; } const rows[] = {
        {nullptr, false}, {&IID_IDispatch, false}, {&IID_IPersist, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.taken);
        ComPtr<IErrorInfo> error;
        ASSERT_EQ(S_OK, PreparedErrorObject(L"Host failed").As(error));
        FakeHost host(row.supported, error);
        const ULONG errorCount = RefCount(error.Get());
        IPersist* const object = &host;
        try {
            CheckedHostCall(object, FailingCall);
            ADD_FAILURE() << "no host-call failure raised";
        } catch (const _com_error& failure) {
            EXPECT_EQ(kHostFailure, failure.Error());
            EXPECT_EQ(row.taken ? error.Get() : nullptr, ComPtr<IErrorInfo>::Adopt(failure.ErrorInfo()).Get());
        }
        EXPECT_EQ(row.taken, !TakeModuleErrorDescription());
        EXPECT_EQ(DISP_E_EXCEPTION, GuardedCall([&] { CheckedHostCall(object, FailingCall); }));
        EXPECT_EQ(row.taken ? std::nullopt : std::optional<std::wstring>(L"Host failed"), TakeModuleErrorDescription());
        EXPECT_TRUE(IsEqualIID(row.supported ? IID_IPersist : GUID_NULL, host.m_asked));
        EXPECT_EQ(1u, host.m_count);
        EXPECT_EQ(errorCount, RefCount(error.Get()));
        EXPECT_EQ(kHostFailure, HostCall(object, FailingCall));  // unchecked: result handed back
        EXPECT_NO_THROW(CheckHostCall(S_FALSE, object, IID_IPersist));
    }
}

TEST_F(ServiceTest, MissingHostObjectRaisesEPointerWithoutErrorObject) {
    const CLSID unregistered = {0x5e1f0b3a, 0x2c4d, 0x4e6f, {0x90, 0x81, 0x72, 0x63, 0x54, 0x45, 0x36, 0x27}};
    const ComPtr<IPersist> missing = CreateHostObject<IPersist>(unregistered);
    ASSERT_FALSE(missing);
    try {
        HostCall(missing, FailingCall);
        ADD_FAILURE() << "no host-call failure raised";
    } catch (const _com_error& failure) {
        EXPECT_EQ(E_POINTER, failure.Error());
        EXPECT_EQ(nullptr, ComPtr<IErrorInfo>::Adopt(failure.ErrorInfo()).Get());
    }
    EXPECT_EQ(DISP_E_EXCEPTION, GuardedCall([&] { CheckedHostCall(missing, FailingCall); }));
    EXPECT_FALSE(TakeModuleErrorDescription());
    // A class that exists is created; without the interface asked for it is missing too.
    EXPECT_TRUE(CreateHostObject<ICatRegister>(CLSID_StdComponentCategoriesMgr));
    EXPECT_FALSE(CreateHostObject<IPersist>(CLSID_StdComponentCategoriesMgr));
}

}  // namespace
