// A scratch key, HKCU\Software\PendrelRegistrarTest, made empty before each
// test and removed after it, and helpers to look at what a script left there.
// Paths are relative to the scratch key; "" is the scratch key itself.
#pragma once

#include "RegObject.h"
#include "ResourceHolders.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

class ScratchKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Remove();
        Make("");
    }
    void TearDown() override { Remove(); }
    static void Remove() { RegDeleteTreeA(HKEY_CURRENT_USER, FullPath("").c_str()); }

    // A script whose one root block holds `body` inside the scratch key.
    static std::string InScratch(const std::string& body) {
        return "HKCU\r\n{\r\n\tNoRemove Software\r\n\t{\r\n\t\tNoRemove PendrelRegistrarTest\r\n\t\t{\r\n" + body +
               "\r\n\t\t}\r\n\t}\r\n}\r\n";
    }
    HRESULT Register(const std::string& script) { return m_registrar.RunScriptText(script.c_str(), TRUE); }
    HRESULT Unregister(const std::string& script) { return m_registrar.RunScriptText(script.c_str(), FALSE); }

    static std::string FullPath(const std::string& path) {
        return "Software\\PendrelRegistrarTest" + (path.empty() ? "" : "\\" + path);
    }
    static bool Exists(const std::string& path) {
        RegistryKey key;
        return RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
    }
    static void Make(const std::string& path, DWORD options = REG_OPTION_NON_VOLATILE) {
        RegistryKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, nullptr, options, KEY_ALL_ACCESS,
                                  nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
    }
    static void SetString(const std::string& path, const char* name, const std::string& text) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, FullPath(path).c_str(), name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
    }

    // Type and bytes of a value; REG_NONE and no bytes when it is absent.
    using Value = std::pair<DWORD, std::string>;
    static Value Read(const std::string& path, const char* name) {
        DWORD type = REG_NONE, size = 0;
        const auto get = [&](void* data) {
            return RegGetValueA(HKEY_CURRENT_USER, FullPath(path).c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                                data, &size);
        };
        if (get(nullptr) != ERROR_SUCCESS) return {REG_NONE, ""};
        std::string data(size + 1, '\0');
        get(&data[0]);
        data.resize(size);
        return {type, data};
    }
    static Value Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

    // Every key below `path` and its values (name=type:data, a NUL byte shown
    // as "|"), in enumeration order.
    static std::string Snapshot(const std::string& path = "") {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
            return "";
        std::string text = "[" + path + "]\n";
        char name[256];
        DWORD length = sizeof name;
        for (DWORD i = 0; RegEnumValueA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0;
             ++i, length = sizeof name) {
            Value value = Read(path, name);
            for (char& c : value.second) c = c ? c : '|';
            text += std::string(name) + "=" + std::to_string(value.first) + ":" + value.second + "\n";
        }
        length = sizeof name;
        for (DWORD i = 0; RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0;
             ++i, length = sizeof name)
            text += Snapshot(path.empty() ? name : path + "\\" + name);
        return text;
    }

    CRegObject m_registrar;
};
