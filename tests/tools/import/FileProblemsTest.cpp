// What the tool says of a statement file it cannot read: why, in words, and
// the spaces and dots at the end of a name, which Windows leaves out.
#include "FileProblems.h"

#include "ResourceHolders.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

TEST(FileProblems, SayWhyAStatementFileCannotBeRead) {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"pendrel_unreadable_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring held = folder + L"\\held.csv";
    FileHandle holder(CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const std::string shown = std::string(folder.begin(), folder.end());
    const struct {
        std::wstring path;
        std::optional<std::string> said;
    } cases[] = {
        {folder + L"\\none.csv", "no such file"},
        {folder + L"\\none\\a.csv", "no such folder"},
        {folder, "it is a folder"},
        {folder + L"\\a<b.csv", "Windows refuses the name"},
        {held, "another program holds it"},
        {folder + L"\\none.csv. ",
         "no such file (the name ends in \". \", which Windows leaves out of file names: it looked for \"" + shown +
             "\\none.csv\")"},
        {folder + L"\\..", "it is a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(c.said, WhyUnreadable(c.path));
    }
    holder.Reset();
    DeleteFileW(held.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
