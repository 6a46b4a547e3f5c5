// The registrar on the registry: scripts run in both modes against the
// scratch key, and its replacement map.
#include "ScratchKey.h"

#include <string>

namespace {

using RegisterMode = ScratchKeyTest;
using UnregisterMode = ScratchKeyTest;

constexpr HRESULT kSyntax = DISP_E_EXCEPTION;

TEST(Registrar, ExpandsReplacementsByNameInAnyCase) {
    CRegObject registrar;
    const std::wstring name31(31, L'n'), name32(32, L'n');
    for (const auto& [name, text] : {std::pair<std::wstring, std::wstring>{L"APPID", L""},
                                     {L"Module", L"C:\\it''s.dll"},
                                     {L"Module_Raw", L"C:\\it''s.dll"},
                                     {L"module", L"added later, never found"},
                                     {name31, L"31"},
                                     {name32, L"32"}}) {
        ASSERT_EQ(registrar.AddScriptReplacement(name.c_str(), text.c_str()), S_OK);
    }

    const struct {
        std::string text;
        HRESULT result;
        std::string expanded;
    } cases[] = {
        {"100%% sure", S_OK, "100% sure"},
        {"= s '%MODULE%'", S_OK, "= s 'C:\\it''s.dll'"},
        {"%module_raw%%AppId%", S_OK, "C:\\it''s.dll"},
        {"%" + std::string(31, 'N') + "%", S_OK, "31"},
        {"%" + std::string(32, 'n') + "%", E_FAIL, ""},
        {"%Unknown%", kSyntax, ""},
        {"50%", kSyntax, ""},
    };
    for (const auto& c : cases) {
        std::string expanded;
        EXPECT_EQ(registrar.ExpandReplacements(c.text.c_str(), expanded), c.result) << c.text;
        if (c.result == S_OK) {
            EXPECT_EQ(expanded, c.expanded) << c.text;
        }
    }

    ASSERT_EQ(registrar.ClearScriptReplacements(), S_OK);
    std::string expanded;
    EXPECT_EQ(registrar.ExpandReplacements("%Module%", expanded), kSyntax);
}

TEST(Registrar, IsNotReferenceCountedAndRefusesNullArguments) {
    CRegObject registrar;
    void* out = &registrar;
    EXPECT_EQ(registrar.QueryInterface(__uuidof(IUnknown), &out), E_NOTIMPL);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(registrar.AddRef(), 1u);
    EXPECT_EQ(registrar.Release(), 0u);
    EXPECT_EQ(registrar.AddScriptReplacement(nullptr, L"x"), E_INVALIDARG);
    EXPECT_EQ(registrar.AddScriptReplacement(L"x", nullptr), E_INVALIDARG);
}

TEST_F(RegisterMode, WritesEachValueTypeByteExact) {
    ASSERT_EQ(m_registrar.AddScriptReplacement(L"Module", L"C:\\it''s\\x.dll"), S_OK);
    ASSERT_EQ(Register(InScratch("\t\t\tKey = s 'it''s 100%%'\r\n"
                                 "\t\t\t{\r\n"
                                 "\t\t\t\tval Multi = m 'a\\0b'\r\n"
                                 "\t\t\t\tval Largest = d '4294967295'\r\n"
                                 "\t\t\t\tval Small = d '42'\r\n"
                                 "\t\t\t\tval Bytes = b 'A1ff0Bzz'\r\n"
                                 "\t\t\t\tval Path = s '%MODULE%'\r\n"
                                 "\t\t\t}")),
              S_OK);
    EXPECT_EQ(Read("Key", nullptr), Sz("it's 100%"));
    EXPECT_EQ(Read("Key", "Multi"), Value(REG_MULTI_SZ, std::string("a\0b\0\0", 5)));
    EXPECT_EQ(Read("Key", "Largest"), Value(REG_DWORD, "\xff\xff\xff\xff"));
    EXPECT_EQ(Read("Key", "Small"), Value(REG_DWORD, std::string("\x2a\0\0\0", 4)));
    EXPECT_EQ(Read("Key", "Bytes"), Value(REG_BINARY, std::string("\xa1\xff\x0b\0", 4)));  // z counts as 0
    EXPECT_EQ(Read("Key", "Path"), Sz("C:\\it's\\x.dll"));
}

TEST_F(RegisterMode, ReadsRootsKeywordsAndTypeLettersInAnyCase) {
    for (const char* root : {"hkcu", "HKEY_CURRENT_USER", "hKeY_cUrReNt_UsEr"}) {
        const std::string script = std::string(root) +
                                   " { noremove Software { NOREMOVE PendrelRegistrarTest {"
                                   " forceREMOVE K = S 'x' { VAL v = D '7' } DELETE Gone } } }";
        ASSERT_EQ(Register(script), S_OK) << root;
        EXPECT_EQ(Read("K", "v"), Value(REG_DWORD, std::string("\7\0\0\0", 4))) << root;
        ASSERT_EQ(Unregister(script), S_OK) << root;
        EXPECT_EQ(Snapshot(), "[]\n") << root;
    }
}

TEST_F(RegisterMode, TakesABraceGluedToANameAsPartOfTheName) {
    // "Glued{" is a key; its "}" then closes the scratch block, and the last
    // "}" of the script is read where a root key belongs.
    EXPECT_EQ(Register(InScratch("Glued{ }")), kSyntax);
    EXPECT_EQ(Snapshot(), "[]\n[Glued{]\n");
}

TEST_F(RegisterMode, ForceRemoveRewritesAKeyAndDeleteRemovesOne) {
    SetString("Target\\Old\\Deeper", "v", "old");
    SetString("Gone\\Sub", "v", "old");
    ASSERT_EQ(Register(InScratch("ForceRemove Target = s 'new' { New } Delete Gone = s 'unused' Delete Absent")), S_OK);
    EXPECT_EQ(Snapshot(), "[]\n[Target]\n=1:new|\n[Target\\New]\n");
}

// A keyword before "Val": "NoRemove Val v" is the value v, kept when
// unregistering; "ForceRemove Val v" deletes a key named "Val" and writes the
// value v, and unregistering reads its "Val" as a key name (then "v" as
// another), so the value v stays.
TEST_F(RegisterMode, KeywordBeforeValMakesAValueEntry) {
    SetString("Val\\Old", "v", "old");
    SetString("", "Forced", "before");
    const std::string script = InScratch("NoRemove Val Kept = s 'x' ForceRemove Val Forced = s 'y'");
    ASSERT_EQ(Register(script), S_OK);
    EXPECT_EQ(Snapshot(), "[]\nForced=1:y|\nKept=1:x|\n");
    ASSERT_EQ(Unregister(script), S_OK);
    EXPECT_EQ(Snapshot(), "[]\nForced=1:y|\nKept=1:x|\n");
}

// The undo of a failed run reads the block as unregistering does: what it
// created under its own key names goes, the values written after a keyword
// and "Val" stay.
TEST_F(RegisterMode, UndoOfAFailedRunLeavesValuesAfterAKeywordAndVal) {
    EXPECT_EQ(Register(InScratch("NoRemove Val Kept = s 'x' ForceRemove Val Forced = s 'y' Plain { } "
                                 "Bad = d 'not a number'")),
              kSyntax);
    EXPECT_EQ(Snapshot(), "[]\nForced=1:y|\nKept=1:x|\n");
}

TEST_F(RegisterMode, NeverDeletesProtectedNames) {
    const char* names[] = {"AppID",     "CLSID",    "Component Categories", "FileType", "Interface", "Hardware",
                           "Mime",      "SAM",      "SECURITY",             "SYSTEM",   "Software",  "TypeLib"};
    std::string body;
    for (const std::string name : names) {
        Make(name + "\\Child");
        std::string lower = name, upper = name;
        for (char& c : lower) c = static_cast<char>(tolower(c));
        for (char& c : upper) c = static_cast<char>(toupper(c));
        body += "ForceRemove '" + lower + "' Delete '" + upper + "'\r\n";
    }
    Make("CLSIDs\\Child");
    ASSERT_EQ(Register(InScratch(body + "Delete CLSIDs")), S_OK);
    for (const std::string name : names) EXPECT_TRUE(Exists(name + "\\Child")) << name;
    EXPECT_FALSE(Exists("CLSIDs"));
}

TEST_F(RegisterMode, ReportsErrorsInBothModes) {
    const struct {
        std::string script;
        HRESULT registering;
        HRESULT unregistering;
    } cases[] = {
        {"", S_OK, S_OK},
        {" \r\n\t", kSyntax, kSyntax},
        {"HKXX { }", kSyntax, kSyntax},
        {"HKCU Software }", kSyntax, kSyntax},
        {"HKCU {", kSyntax, kSyntax},
        {InScratch("A = s 'open"), kSyntax, kSyntax},
        {InScratch("A\\B"), kSyntax, kSyntax},
        {InScratch("Delete A\\B"), kSyntax, kSyntax},
        {InScratch("Absent { A\\B }"), kSyntax, kSyntax},
        {InScratch("Val v s 'x'"), kSyntax, kSyntax},
        {InScratch("'" + std::string(5000, 'k') + "'"), kSyntax, kSyntax},
        {InScratch("A = s '%Unknown%'"), kSyntax, kSyntax},
        // Unregistering reads past the value without looking at it.
        {InScratch("A = q 'x'"), kSyntax, S_OK},
        {InScratch("A = b 'A1f'"), E_FAIL, S_OK},
        {InScratch("A = d 'abc'"), kSyntax, S_OK},
        {InScratch("A = d ''"), kSyntax, S_OK},
        {InScratch("A = d '4294967296'"), kSyntax, S_OK},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Register(c.script), c.registering) << c.script;
        EXPECT_EQ(Unregister(c.script), c.unregistering) << c.script;
    }
}

TEST_F(RegisterMode, UndoesTheFailingBlockAfterAFailureHalfWay) {
    SetString("Existing", "Old", "before");
    SetString("Existing", "Other", "foreign");
    EXPECT_EQ(Register(InScratch("Existing = s 'x' { val Old = s 'y' }\r\n"
                                 "Fresh = s 'z' { Child }\r\n"
                                 "Bad = d 'not a number'\r\n"
                                 "After")),
              kSyntax);
    // What the block describes is gone, the key that was there before
    // included, with the value the script does not name.
    EXPECT_EQ(Snapshot(), "[]\n");
}

TEST_F(RegisterMode, UndoesTheFailingBlockAfterARegistryError) {
    // A key below a volatile key cannot be created non-volatile.
    Make("Volatile", REG_OPTION_VOLATILE);
    EXPECT_EQ(Register(InScratch("Before = s 'x' Volatile { Child } After")),
              HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE));
    EXPECT_EQ(Snapshot(), "[]\n");
}

TEST_F(RegisterMode, KeepsEarlierRootBlocksWritten) {
    EXPECT_EQ(Register(InScratch("First") + InScratch("Second = b 'A1f'")), E_FAIL);
    EXPECT_EQ(Snapshot(), "[]\n[First]\n");
}

TEST_F(RegisterMode, BraceAfterValOrDeleteIsASyntaxErrorAndTouchesNothing) {
    SetString("", "v", "old");
    SetString("Old\\Sub", "v", "old");
    const std::string before = Snapshot();
    for (const char* body : {"A = s 'x' Val v = s 'y' { B }", "val v = s 'y'\r\n{\r\n}", "A Delete Old { B }",
                             "A = s 'x' Delete Old = s 'x' { B }", "NoRemove Val v = s 'y' { B }",
                             "ForceRemove Val v = s 'y' { B }"}) {
        EXPECT_EQ(Register(InScratch(body)), kSyntax) << body;
        EXPECT_EQ(Snapshot(), before) << body;
        EXPECT_EQ(Unregister(InScratch(body)), kSyntax) << body;
        EXPECT_EQ(Snapshot(), before) << body;
    }
}

TEST_F(RegisterMode, RefusesTooDeepScriptsAndTouchesNothing) {
    // The scratch key's block is the third level; its body may open the rest.
    const auto nested = [](std::size_t blocks) {
        std::string body;
        for (std::size_t i = 0; i < blocks; ++i) body += "K { ";
        for (std::size_t i = 0; i < blocks; ++i) body += "} ";
        return body;
    };
    const std::size_t allowed = registry_script::kMaxBlockDepth - 3;
    for (const std::size_t blocks : {allowed + 1, std::size_t{200000}}) {
        EXPECT_EQ(Register(InScratch(nested(blocks))), kSyntax) << blocks;
        EXPECT_EQ(Unregister(InScratch(nested(blocks))), kSyntax) << blocks;
        EXPECT_EQ(Snapshot(), "[]\n") << blocks;
    }
    ASSERT_EQ(Register(InScratch(nested(allowed))), S_OK);
    EXPECT_TRUE(Exists("K\\K\\K"));
    ASSERT_EQ(Unregister(InScratch(nested(allowed))), S_OK);
    EXPECT_EQ(Snapshot(), "[]\n");
}

TEST_F(RegisterMode, RunsLongScripts) {
    std::string body = "Many {";
    for (int i = 0; i < 2000; ++i) body += "\r\n\tval v" + std::to_string(i) + " = d '" + std::to_string(i) + "'";
    body += "\r\n}";
    ASSERT_EQ(Register(InScratch(body)), S_OK);
    EXPECT_EQ(Read("Many", "v1999"), Value(REG_DWORD, std::string("\xcf\x07\0\0", 4)));
    ASSERT_EQ(Unregister(InScratch(body)), S_OK);
    EXPECT_EQ(Snapshot(), "[]\n");
}

TEST_F(UnregisterMode, RemovesOnlyKeysThatNothingElseHolds) {
    const std::string script = InScratch(
        "NoRemove Kept { Inner = s 'x' }\r\n"
        "Shared { Ours }\r\n"
        "Plain = s 'x' { val Named = s 'y' }\r\n"
        "NoRemove Holder { val Named = s 'y' }\r\n"
        "Delete Doomed");
    ASSERT_EQ(Register(script), S_OK);
    Make("Shared\\Foreign");
    Make("Doomed");
    SetString("Plain", "Foreign", "f");
    SetString("Holder", "Foreign", "f");
    ASSERT_EQ(Unregister(script), S_OK);
    // Plain goes with the value the script does not name; Kept stays empty.
    EXPECT_EQ(Snapshot(), "[]\n[Holder]\nForeign=1:f|\n[Kept]\n[Shared]\n[Shared\\Foreign]\n");
}

TEST_F(UnregisterMode, SucceedsWhenNothingIsThere) {
    const std::string script =
        InScratch("Absent = s 'x' { Deeper { val v = s 'y' } } val Missing = s 'y' NoRemove Gone { }");
    SetString("", "Foreign", "f");
    Make("Other");
    const std::string before = Snapshot();
    EXPECT_EQ(Unregister(script), S_OK);
    EXPECT_EQ(Snapshot(), before);

    Remove();
    EXPECT_EQ(Unregister(script), S_OK);
    EXPECT_FALSE(Exists(""));
}

}  // namespace
