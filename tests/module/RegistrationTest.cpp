// Registration of the real DLL through the platform's regsvr32, read back
// from the registry.
#include "ComTestSupport.h"
#include "ModuleIdentity.h"
#include "RegistryReading.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

const char kLibrary[] = "{A049CBBD-1E55-4CA2-A890-5DA4ABC65B7D}";
const char kHostCategory[] = "{D26F8DB0-D320-4FE6-BAF5-455C6126600A}";

struct RegisteredClass {
    const char* clsid;
    const char* description;
    const char* progId;
};

const RegisteredClass kClasses[] = {
    {"{FA737153-65E8-4729-866A-3BACDFC3EC76}", "Bank Class", "MavrinTorvVantryNewFormat.Bank"},
    {"{9094AF9C-49AA-4C74-896A-0547F4BC055D}", "BankServices Class", "MavrinTorvVantryNewFormat.BankServices"},
    {"{1CD1A5FD-A9CF-476A-B7AF-A0F1C0557656}", "BankStatementService Class",
     "MavrinTorvVantryNewFormat.BankStatementService"},
};

std::string ClassKey(const RegisteredClass& registered) { return std::string("CLSID\\") + registered.clsid; }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Runs the platform's regsvr32 silently; its exit code.
DWORD RunRegsvr32(const std::string& dll, bool unregister) {
    std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + dll + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string ModuleDll() {
    std::string path = PENDREL_MODULE_DLL;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Every key the module's registration may touch.
RegistrySnapshot OurKeys() {
    std::vector<std::string> keys = {"CLSID", "TypeLib", "Interface", "Component Categories"};
    for (const RegisteredClass& registered : kClasses) {
        keys.push_back(registered.progId);
        keys.push_back(std::string(registered.progId) + ".1");
    }
    return SnapshotClasses(keys);
}

class RegistrationTest : public ::testing::Test {
protected:
    void TearDown() override { RunRegsvr32(ModuleDll(), true); }
};

TEST_F(RegistrationTest, WritesEveryEntryOfEveryClass) {
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), false));
    for (const RegisteredClass& registered : kClasses) {
        SCOPED_TRACE(registered.progId);
        const std::string progId = registered.progId;
        const std::string versioned = progId + ".1";
        const std::string key = ClassKey(registered);
        EXPECT_EQ(registered.description, ClassesValue(versioned));
        EXPECT_EQ(registered.clsid, ClassesValue(versioned + "\\CLSID"));
        EXPECT_EQ(registered.description, ClassesValue(progId));
        EXPECT_EQ(registered.clsid, ClassesValue(progId + "\\CLSID"));
        EXPECT_EQ(versioned, ClassesValue(progId + "\\CurVer"));
        EXPECT_EQ(registered.description, ClassesValue(key));
        EXPECT_EQ(versioned, ClassesValue(key + "\\ProgID"));
        EXPECT_EQ(progId, ClassesValue(key + "\\VersionIndependentProgID"));
        EXPECT_TRUE(ClassesKeyExists(key + "\\Programmable"));
        EXPECT_EQ(Lower(ModuleDll()), Lower(ClassesValue(key + "\\InprocServer32").value_or("")));
        EXPECT_EQ("Apartment", ClassesValue(key + "\\InprocServer32", "ThreadingModel"));
        EXPECT_EQ(kLibrary, ClassesValue(key + "\\TypeLib"));
    }
    EXPECT_TRUE(ClassesKeyExists(ClassKey(kClasses[0]) + "\\Implemented Categories\\" + kHostCategory));
    EXPECT_FALSE(ClassesKeyExists(ClassKey(kClasses[1]) + "\\Implemented Categories"));
    EXPECT_EQ(Lower(ModuleDll()),
              Lower(ClassesValue(std::string("TypeLib\\") + kLibrary + "\\1.0\\0\\" + kThisSysKindKey).value_or("")));
}

TEST_F(RegistrationTest, RegisteringAgainRewritesTheClassKeys) {
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), false));
    const RegistrySnapshot once = OurKeys();
    CreateClassesKey(ClassKey(kClasses[2]) + "\\LeftOver");
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), false));
    EXPECT_FALSE(ClassesKeyExists(ClassKey(kClasses[2]) + "\\LeftOver"));
    EXPECT_EQ(once, OurKeys());
}

TEST_F(RegistrationTest, UnregisteringLeavesOnlyWhatIsNotOurs) {
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), false));
    const std::string foreign = ClassKey(kClasses[1]) + "\\Foreign";
    CreateClassesKey(foreign);
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), true));
    EXPECT_TRUE(ClassesKeyExists("CLSID"));
    EXPECT_EQ(std::vector<std::string>{"Foreign"}, ClassesSubkeys(ClassKey(kClasses[1])));
    EXPECT_FALSE(ClassesKeyExists(ClassKey(kClasses[0])));
    EXPECT_FALSE(ClassesKeyExists(ClassKey(kClasses[2])));
    for (const RegisteredClass& registered : kClasses) {
        EXPECT_FALSE(ClassesKeyExists(registered.progId));
        EXPECT_FALSE(ClassesKeyExists(std::string(registered.progId) + ".1"));
    }
    EXPECT_FALSE(ClassesKeyExists(std::string("TypeLib\\") + kLibrary));
    DeleteClassesTree(ClassKey(kClasses[1]));
}

TEST_F(RegistrationTest, RoundTripLeavesTheRegistryAsItWas) {
    const RegistrySnapshot before = OurKeys();
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), false));
    ASSERT_NE(before, OurKeys());
    ASSERT_EQ(0u, RunRegsvr32(ModuleDll(), true));
    EXPECT_EQ(before, OurKeys());
}

TEST_F(RegistrationTest, PathWithASingleQuoteIsWrittenAsItIs) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "Pendrel's Module";
    const std::string dll = folder + "\\" PENDREL_MODULE_FILE_NAME;
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ModuleDll().c_str(), dll.c_str(), FALSE));
    EXPECT_EQ(0u, RunRegsvr32(dll, false));
    EXPECT_EQ(Lower(dll), Lower(ClassesValue(ClassKey(kClasses[0]) + "\\InprocServer32").value_or("")));
    EXPECT_EQ(0u, RunRegsvr32(dll, true));
    EXPECT_FALSE(ClassesKeyExists(ClassKey(kClasses[0])));
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A module in a folder named with accented letters, registered in-process
// by a program whose thread locale gives narrow text another code page than
// the system's (Russian "Formats" on an English system): the path is written
// as the folder is named, and unregistering leaves the registry as it was.
// The path is widened in the system's ANSI code page, in which the file
// system spells it: widened in the thread's, the script's module would not
// be found and nothing would be registered (0x80070002).
TEST_F(RegistrationTest, PathWithAccentedLettersIsWrittenWhateverTheThreadLocale) {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"Soci\u00e9t\u00e9";
    const std::wstring dll = folder + L"\\" PENDREL_MODULE_FILE_NAME;
    const std::string module = ModuleDll();
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(std::wstring(module.begin(), module.end()).c_str(), dll.c_str(), FALSE));
    char narrowDll[MAX_PATH] = {};
    ASSERT_NE(0, WideCharToMultiByte(CP_ACP, 0, dll.c_str(), -1, narrowDll, MAX_PATH, nullptr, nullptr));
    const RegistrySnapshot before = OurKeys();
    {
        const ThreadLocale formats(0x0419);
        ASSERT_NE(GetACP(), ThreadLocale::CodePage());
        const ModuleHandle copy(LoadLibraryW(dll.c_str()));
        ASSERT_TRUE(copy);
        const auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(copy.Get(), "DllRegisterServer")));
        const auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(copy.Get(), "DllUnregisterServer")));
        ASSERT_TRUE(registerServer && unregisterServer);
        EXPECT_EQ(S_OK, registerServer());
        EXPECT_EQ(Lower(narrowDll), Lower(ClassesValue(ClassKey(kClasses[0]) + "\\InprocServer32").value_or("")));
        EXPECT_EQ(S_OK, unregisterServer());
        EXPECT_EQ(before, OurKeys());
    }
    DeleteFileW(dll.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
