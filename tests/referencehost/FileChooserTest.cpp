// Show runs the recognizer whose address the options block holds, on the
// chosen path, records its result and title, and reports the set status.
#include "HostTestSupport.h"

#include <cstring>

namespace reference_host {
namespace {

class FileChooserTest : public HostTest {};

std::string g_recognizedPath;

int RecognizeAll(char* title, const char* path) {
    g_recognizedPath = path;
    std::strcpy(title, "Test statement");
    return 1;
}

int RecognizeNone(char*, const char* path) {
    g_recognizedPath = path;
    return 0;
}

OptionsBlock OptionsWith(FileRecognizer recognizer) {
    OptionsBlock options = HostOptionsBlock();
    std::memcpy(options.data(), &recognizer, sizeof recognizer);
    return options;
}

TEST_F(FileChooserTest, ShowRunsTheRecognizerOfTheOptionsBlockOnTheChosenPath) {
    scenario->settings.chosenFile = L"C:\\statements\\march.csv";
    ComPtr<HostFileChooser> chooser = scenario->CreateFileChooser();
    OptionsBlock options = OptionsWith(&RecognizeAll);
    ASSERT_EQ(chooser->SetOptions(options.data()), S_OK);

    LONG status = -1;
    EXPECT_EQ(chooser->Show(&status), S_OK);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(g_recognizedPath, "C:\\statements\\march.csv");
    BStr path;
    EXPECT_EQ(chooser->get_FileName(path.Put()), S_OK);
    EXPECT_EQ(TextOf(path.Get()), "C:\\statements\\march.csv");

    const std::vector<CallEntry>& log = scenario->log.Entries();
    ASSERT_EQ(scenario->log.Operations(), (std::vector<std::string>{"FileChooser.SetOptions", "FileChooser.Show",
                                                                     "FileChooser.Recognizer",
                                                                     "FileChooser.get_FileName"}));
    EXPECT_EQ(log[0].bytes, std::vector<unsigned char>(options.begin(), options.end()));
    EXPECT_EQ(log[2].value, "1, Test statement");
}

TEST_F(FileChooserTest, ShowReportsTheSetStatusAndAnUntouchedTitle) {
    scenario->settings.showStatus = 1;
    ComPtr<HostFileChooser> chooser = scenario->CreateFileChooser();
    LONG status = -1;
    EXPECT_EQ(chooser->Show(&status), S_OK);  // no options yet: no recognizer to run
    EXPECT_EQ(status, 1);
    EXPECT_EQ(scenario->log.CountOf("FileChooser", "Recognizer"), 0);

    OptionsBlock options = OptionsWith(&RecognizeNone);
    chooser->SetOptions(options.data());
    EXPECT_EQ(chooser->Show(&status), S_OK);
    EXPECT_EQ(g_recognizedPath, "");
    EXPECT_EQ(scenario->log.Entries().back().value, std::string("0, ") + kUntouchedTitle);
    BStr path(L"stale");
    EXPECT_EQ(chooser->get_FileName(path.Put()), S_OK);
    EXPECT_EQ(path.Get(), nullptr);
}

}  // namespace
}  // namespace reference_host
