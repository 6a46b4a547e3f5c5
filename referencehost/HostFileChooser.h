// The host's file chooser. SetOptions keeps a copy of the 400-byte options
// block. Show first runs the recognizer whose address is in the block's
// first field, when there is one, on the chosen path in ANSI text, with a
// 256-byte title buffer that holds kUntouchedTitle; it records the
// recognizer's result and the title as a "Recognizer" entry after its own,
// then reports the status the settings give. get_FileName gives the chosen
// path (a null BSTR when none is set), whatever the status.
#pragma once

#include "HostOptionsBlock.h"
#include "HostObject.h"
#include "MavrinBankReconciliation.h"

namespace reference_host {

class HostFileChooser : public HostObject<IHostFileChooser> {
public:
    explicit HostFileChooser(std::shared_ptr<Scenario> scenario);

    STDMETHODIMP SetOptions(unsigned char* options) override;
    STDMETHODIMP get_Title(BSTR* title) override;
    STDMETHODIMP put_Title(BSTR title) override;
    STDMETHODIMP get_FileName(BSTR* fileName) override;
    STDMETHODIMP Show(LONG* status) override;

private:
    void RunRecognizer();

    OptionsBlock m_options{};
    BStr m_title;
};

}  // namespace reference_host
