// Scripts stored as "REGISTRY" resources, read from this test program's own
// file (RegistrarTest.rc).
#include "ScratchKey.h"

#include <string>

namespace {

class ScriptResource : public ScratchKeyTest {
protected:
    static std::wstring OwnPath() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return path;
    }
    HRESULT Run(const wchar_t* file, UINT id, const wchar_t* type, BOOL registerMode) {
        return m_registrar.RunScriptResource(file, id, type, registerMode);
    }
};

TEST_F(ScriptResource, RunsAScriptStoredInAModuleInBothModes) {
    const std::wstring path = OwnPath();
    ASSERT_EQ(m_registrar.AddScriptReplacement(L"Module", path.c_str()), S_OK);
    ASSERT_EQ(Run(path.c_str(), 201, L"REGISTRY", TRUE), S_OK);
    char ansiPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, ansiPath, MAX_PATH);
    EXPECT_EQ(Read("Resource", nullptr), Sz("Resource Class"));
    EXPECT_EQ(Read("Resource\\InprocServer32", nullptr), Sz(ansiPath));
    EXPECT_EQ(Read("Resource\\InprocServer32", "ThreadingModel"), Sz("Apartment"));

    ASSERT_EQ(Run(path.c_str(), 201, L"REGISTRY", FALSE), S_OK);
    EXPECT_EQ(Snapshot(), "[]\n");
}

TEST_F(ScriptResource, EndsTheTextAtTheFirstNul) {
    ASSERT_EQ(Run(OwnPath().c_str(), 202, L"REGISTRY", TRUE), S_OK);
    EXPECT_EQ(Snapshot(), "[]\n[Cut]\n");
}

TEST_F(ScriptResource, ReportsWhatCannotBeLoaded) {
    const std::wstring path = OwnPath();
    EXPECT_EQ(Run(path.c_str(), 299, L"REGISTRY", TRUE), HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(Run(path.c_str(), 201, L"NOSUCHTYPE", TRUE), HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND));
    // A missing file fails the way the loader says it does.
    SetLastError(ERROR_SUCCESS);
    ModuleHandle missing(LoadLibraryExA("Z:\\no\\such\\module.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_FALSE(missing);
    const DWORD loaderError = GetLastError();
    ASSERT_NE(loaderError, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(Run(L"Z:\\no\\such\\module.dll", 201, L"REGISTRY", TRUE), HRESULT_FROM_WIN32(loaderError));
    EXPECT_EQ(Run(nullptr, 201, L"REGISTRY", TRUE), E_INVALIDARG);
    EXPECT_EQ(Run(path.c_str(), 201, nullptr, TRUE), E_INVALIDARG);
    EXPECT_EQ(Snapshot(), "[]\n");
}

}  // namespace
