#include "HostFileChooser.h"

#include "HostStrings.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace reference_host {

HostFileChooser::HostFileChooser(std::shared_ptr<Scenario> scenario)
    : HostObject(std::move(scenario), "FileChooser") {}

STDMETHODIMP HostFileChooser::SetOptions(unsigned char* options) {
    return Perform("SetOptions", [&] {
        if (!options) return Passed(kNullText);
        return Passed(std::string(), std::vector<unsigned char>(options, options + kFileChooserOptionsSize));
    }, [&] {
        if (!options) return E_POINTER;
        std::copy(options, options + kFileChooserOptionsSize, m_options.begin());
        return S_OK;
    });
}

STDMETHODIMP HostFileChooser::get_Title(BSTR* title) {
    return Perform("get_Title", NoValues, [&] { return title ? CopyToBstr(m_title, title) : E_POINTER; }, title);
}

STDMETHODIMP HostFileChooser::put_Title(BSTR title) {
    return Perform("put_Title", [&] { return Passed(TextOf(title)); }, [&] {
        m_title = CopyOf(title);
        return S_OK;
    });
}

STDMETHODIMP HostFileChooser::get_FileName(BSTR* fileName) {
    return Perform("get_FileName", NoValues, [&] {
        return fileName ? CopyToBstr(Settings().chosenFile, fileName) : E_POINTER;
    }, fileName);
}

STDMETHODIMP HostFileChooser::Show(LONG* status) {
    return Perform("Show", NoValues, [&] {
        if (!status) return E_POINTER;
        RunRecognizer();
        *status = Settings().showStatus;
        return S_OK;
    });
}

void HostFileChooser::RunRecognizer() {
    const FileRecognizer recognizer = RecognizerOf(m_options);
    if (!recognizer) return;
    const std::string path = AnsiFromWide(Settings().chosenFile.value_or(std::wstring()));
    std::array<char, kTitleBufferSize> title{};
    std::copy(std::begin(kUntouchedTitle), std::end(kUntouchedTitle), title.begin());
    const int recognized = recognizer(title.data(), path.c_str());
    const std::string written = Utf8FromAnsi(title.data(), strnlen(title.data(), title.size()));
    GetScenario().log.Append(CallEntry{ObjectName(), Instance(), "Recognizer",
                                       NumberText(static_cast<long>(recognized)) + ", " + written, {}, S_OK});
}

}  // namespace reference_host
