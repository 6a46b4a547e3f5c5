#include "RegistryReading.h"

namespace {

RegistryKey OpenClassesKey(const std::string& key) {
    RegistryKey opened;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS) opened.Reset();
    return opened;
}

std::vector<std::string> Subkeys(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

void Snapshot(const std::string& path, RegistrySnapshot& snapshot) {
    const RegistryKey key = OpenClassesKey(path);
    if (!key) return;
    auto& values = snapshot[path];
    char name[16384];
    BYTE data[16384];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        values[std::string(name, nameLength)] = {type, std::string(reinterpret_cast<char*>(data), dataLength)};
    }
    for (const std::string& subkey : Subkeys(key.Get())) Snapshot(path + "\\" + subkey, snapshot);
}

}  // namespace

std::optional<std::string> ClassesValue(const std::string& key, const std::string& name) {
    char data[1024];
    DWORD length = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ, nullptr,
                     data, &length) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool ClassesKeyExists(const std::string& key) { return static_cast<bool>(OpenClassesKey(key)); }

std::vector<std::string> ClassesSubkeys(const std::string& key) {
    const RegistryKey opened = OpenClassesKey(key);
    return opened ? Subkeys(opened.Get()) : std::vector<std::string>();
}

void CreateClassesKey(const std::string& key) {
    RegistryKey created;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, created.Put(), nullptr);
}

void DeleteClassesTree(const std::string& key) { RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str()); }

RegistrySnapshot SnapshotClasses(const std::vector<std::string>& keys) {
    RegistrySnapshot snapshot;
    for (const std::string& key : keys) Snapshot(key, snapshot);
    return snapshot;
}
