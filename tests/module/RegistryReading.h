// Reading the registry in tests: single values, and a snapshot of whole
// trees to compare before and after.
#pragma once

#include "ResourceHolders.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The string value `name` ("" for the default value) of HKCR\`key`, if any.
std::optional<std::string> ClassesValue(const std::string& key, const std::string& name = "");
bool ClassesKeyExists(const std::string& key);
std::vector<std::string> ClassesSubkeys(const std::string& key);
void CreateClassesKey(const std::string& key);
void DeleteClassesTree(const std::string& key);

// Every key under HKCR\`key` and its values (type and data), by path.
using RegistrySnapshot = std::map<std::string, std::map<std::string, std::pair<DWORD, std::string>>>;
RegistrySnapshot SnapshotClasses(const std::vector<std::string>& keys);
