// The tool's output: which handles count as a console (Wine's test runs have
// none, so only the handles that are not are real here), that a stream is
// left alone for them, and the wide text a console would be given.
#include "ConsoleOutput.h"
#include "ResourceHolders.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

FileHandle Opened(const wchar_t* path, DWORD disposition, DWORD flags = 0) {
    return FileHandle(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  disposition, flags, nullptr));
}

TEST(ConsoleOutputTest, FilesPipesAndTheNulDeviceAreNoConsole) {
    FileHandle read, write;
    ASSERT_TRUE(CreatePipe(read.Put(), write.Put(), nullptr, 0));
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"pdc", 0, path));
    const FileHandle file = Opened(path, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE);
    const FileHandle nul = Opened(L"NUL", OPEN_EXISTING);
    ASSERT_TRUE(file && nul);
    EXPECT_EQ(FILE_TYPE_CHAR, GetFileType(nul.Get())) << "NUL is a character device, as a console is";
    for (const HANDLE handle : {write.Get(), read.Get(), file.Get(), nul.Get(), INVALID_HANDLE_VALUE, HANDLE()}) {
        EXPECT_FALSE(IsConsole(handle)) << handle;
        std::ostringstream stream;
        {
            const ConsoleOutput output(stream, handle);
            stream << "CAF\xC3\x89 \xC2\xA3" "15";
        }
        EXPECT_EQ("CAF\xC3\x89 \xC2\xA3" "15", stream.str()) << "the UTF-8 bytes stay";
    }
}

// What a console is given for UTF-8 text written in pieces, each flushed.
std::wstring GivenToConsole(const std::vector<std::string>& pieces) {
    std::wstring given;
    {
        WideTextBuffer buffer([&](const wchar_t* text, std::size_t length) { given.append(text, length); });
        std::ostream stream(&buffer);
        for (const auto& piece : pieces) stream << piece << std::flush;
    }
    return given;
}

TEST(ConsoleOutputTest, ConsoleIsGivenWholeWideCharacters) {
    const std::string pound = "\xC2\xA3", euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
    std::string many;
    for (int i = 0; i < 3000; ++i) many += pound + euro;  // crosses the buffer's end mid-character
    std::wstring wideMany;
    for (int i = 0; i < 3000; ++i) wideMany += L"\u00A3\u20AC";
    const struct {
        std::vector<std::string> pieces;
        std::wstring given;
    } rows[] = {
        {{"CAF\xC3\x89 CHARGE " + pound + "15\n"}, L"CAF\u00C9 CHARGE \u00A315\n"},
        {{"CAF\xC3", "\x89 ", "\xE2", "\x82", "\xAC", clef.substr(0, 3), clef.substr(3)}, L"CAF\u00C9 \u20AC\U0001D11E"},
        {{many}, wideMany},
        {{"BAD \xFF BYTE"}, L"BAD \uFFFD BYTE"},
        {{"CUT \xE2\x82"}, L"CUT \uFFFD"},  // a character never completed
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pieces.front().substr(0, 16));
        EXPECT_EQ(row.given, GivenToConsole(row.pieces));
    }
}

}  // namespace
