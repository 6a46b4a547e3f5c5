// Generated registry scripts, registered and unregistered in the scratch key:
// every run either succeeds or fails with a registrar error, a successful
// registration is removed whole by unregistering, and a failed one is undone
// so that nothing it wrote is left behind.
#include "ScratchKey.h"

#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kScripts = 150;

// Writes random blocks of keys and values, and in some scripts one entry that
// cannot be written (a D value that is not a number, an odd number of binary
// digits, an unknown type letter).
class ScriptGenerator {
public:
    explicit ScriptGenerator(unsigned seed) : m_random(seed) {}

    std::string Body(bool& broken) {
        broken = Chance(3);
        m_breakAt = broken ? Pick(12) : -1;
        m_entries = 0;
        std::string body = Block(1);
        if (broken && m_entries <= m_breakAt) body += Broken(2);
        return body;
    }

private:
    std::string Block(int depth) {
        std::string text;
        const int entries = 1 + Pick(4);
        for (int index = 0; index < entries; ++index) {
            const std::string indent(static_cast<size_t>(depth + 2), '\t');
            if (m_entries++ == m_breakAt) text += Broken(depth + 2);
            const std::string name = Name(index);
            if (Chance(3)) {
                text += indent + "val " + name + " = " + Value() + "\r\n";
                continue;
            }
            text += indent + (Chance(4) ? "ForceRemove " : "") + name + (Chance(2) ? " = " + Value() : "") + "\r\n";
            if (depth < 4 && Chance(2)) text += indent + "{\r\n" + Block(depth + 1) + indent + "}\r\n";
        }
        return text;
    }

    std::string Broken(int depth) {
        static const char* const entries[] = {"val Broken = d 'twelve'", "val Broken = b '123'", "val Broken = q 'x'",
                                              "Broken = d '99999999999'"};
        return std::string(static_cast<size_t>(depth), '\t') + entries[Pick(4)] + "\r\n";
    }

    // Distinct within a block: quoted names get the index inside the quotes.
    std::string Name(int index) {
        static const char* const names[] = {"Alpha", "'Beta Gamma", "'It''s", "Delta%%"};
        const std::string name = names[Pick(4)];
        const std::string numbered = name + "_" + std::to_string(index);
        return name[0] == '\'' ? numbered + "'" : numbered;
    }

    std::string Value() {
        switch (Pick(3)) {
            case 0:
                return "s 'text " + std::to_string(Pick(1000)) + "'";
            case 1:
                return "d '" + std::to_string(Pick(100000)) + "'";
            default:
                return "b '0A1B2C'";
        }
    }

    int Pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    bool Chance(int oneIn) { return Pick(oneIn) == 0; }

    std::mt19937 m_random;
    int m_breakAt = -1;
    int m_entries = 0;
};

bool IsRegistrarError(HRESULT result) {
    return result == DISP_E_EXCEPTION || result == E_FAIL || HRESULT_FACILITY(result) == FACILITY_WIN32;
}

class ScriptPropertyTest : public ScratchKeyTest {
protected:
    // The scratch key holds nothing: no subkey and no value.
    static bool ScratchIsEmpty() {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath("").c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
            return false;
        DWORD subkeys = 0, values = 0;
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        return subkeys == 0 && values == 0;
    }
};

TEST_F(ScriptPropertyTest, EveryRunSucceedsOrIsUndoneWhole) {
    ScriptGenerator generator(20261208);
    int brokenScripts = 0;
    for (int index = 0; index < kScripts; ++index) {
        bool broken = false;
        const std::string script = InScratch(generator.Body(broken));
        SCOPED_TRACE(script);
        const HRESULT registered = Register(script);
        brokenScripts += broken ? 1 : 0;
        if (broken) {
            EXPECT_TRUE(IsRegistrarError(registered)) << std::hex << registered;
            EXPECT_TRUE(ScratchIsEmpty()) << "the failed registration left something behind";
        } else {
            EXPECT_EQ(S_OK, registered);
            EXPECT_EQ(S_OK, Unregister(script));
            EXPECT_TRUE(ScratchIsEmpty()) << "unregistering left something behind";
        }
        Remove();
        Make("");
        if (HasFailure()) return;
    }
    EXPECT_GT(brokenScripts, kScripts / 5);
    EXPECT_LT(brokenScripts, kScripts / 2);
}

}  // namespace
