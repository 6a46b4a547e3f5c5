// The module's three class scripts (module/*.rgs), run in both modes with
// their HKCR block moved into the scratch key, so that the test leaves the
// classes root alone.
#include "ScratchKey.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

using ModuleScripts = ScratchKeyTest;

TEST_F(ModuleScripts, RegisterAndUnregisterEachClass) {
    const struct {
        const char* name;
        const char* clsid;
    } classes[] = {
        {"Bank", "{FA737153-65E8-4729-866A-3BACDFC3EC76}"},
        {"BankServices", "{9094AF9C-49AA-4C74-896A-0547F4BC055D}"},
        {"BankStatementService", "{1CD1A5FD-A9CF-476A-B7AF-A0F1C0557656}"},
    };
    ASSERT_EQ(m_registrar.AddScriptReplacement(L"APPID", L""), S_OK);
    // As registration adds it: the module path with its quote doubled.
    ASSERT_EQ(m_registrar.AddScriptReplacement(L"Module", L"C:\\Bank''s\\Module.dll"), S_OK);
    for (const auto& c : classes) {
        std::ifstream file(std::string(PENDREL_SCRIPTS_DIR "/") + c.name + ".rgs", std::ios::binary);
        const std::string script{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        // One HKCR block; every line ends in CR LF.
        const std::string head = "HKCR\r\n{\r\n", tail = "}\r\n";
        ASSERT_EQ(script.compare(0, head.size(), head), 0) << c.name;
        ASSERT_EQ(script.compare(script.size() - tail.size(), tail.size(), tail), 0) << c.name;
        for (std::size_t at = script.find('\n'); at != std::string::npos; at = script.find('\n', at + 1))
            ASSERT_EQ(script[at - 1], '\r') << c.name;
        const std::string body = script.substr(head.size(), script.size() - head.size() - tail.size());

        ASSERT_EQ(Register(InScratch(body)), S_OK) << c.name;
        const std::string progId = std::string("MavrinTorvVantryNewFormat.") + c.name;
        const std::string description = std::string(c.name) + " Class";
        const std::string classKey = std::string("CLSID\\") + c.clsid;
        EXPECT_EQ(Read(progId + ".1", nullptr), Sz(description));
        EXPECT_EQ(Read(progId + ".1\\CLSID", nullptr), Sz(c.clsid));
        EXPECT_EQ(Read(progId + "\\CurVer", nullptr), Sz(progId + ".1"));
        EXPECT_EQ(Read(classKey, nullptr), Sz(description));
        EXPECT_EQ(Read(classKey + "\\VersionIndependentProgID", nullptr), Sz(progId));
        EXPECT_TRUE(Exists(classKey + "\\Programmable"));
        EXPECT_EQ(Read(classKey + "\\InprocServer32", nullptr), Sz("C:\\Bank's\\Module.dll"));
        EXPECT_EQ(Read(classKey + "\\InprocServer32", "ThreadingModel"), Sz("Apartment"));
        EXPECT_EQ(Read(classKey + "\\TypeLib", nullptr), Sz("{A049CBBD-1E55-4CA2-A890-5DA4ABC65B7D}"));

        ASSERT_EQ(Unregister(InScratch(body)), S_OK) << c.name;
        EXPECT_EQ(Snapshot(), "[]\n[CLSID]\n") << c.name;  // CLSID is NoRemove
    }
}

}  // namespace
