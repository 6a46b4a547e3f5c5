// The statement file the host's file chooser chose, as the import opens it.
// A path the ANSI code page can spell is opened by that narrow path; one it
// cannot (a folder named in Cyrillic on a Western system) is opened by its
// Unicode path, which Windows opens whatever the code page. NULs that end the
// path end it (a host that hands over a fixed-size buffer). A NUL before
// another character, and a path longer than a path may be (MAX_PATH - 1 bytes
// of the ANSI code page, or as many characters of a Unicode path), are
// refused with a system error whose description names the path and the cause.
#pragma once

#include "OrvaleOnlineForBusinessFile.h"

#include <windows.h>

#include <cstddef>
#include <string>

class ChosenPath {
public:
    // The path of `length` characters the host gave. Throws a system error
    // about the path (ThrowSystemErrorAbout) when it is refused.
    ChosenPath(const wchar_t* path, std::size_t length);

    StatementPath Path() const;

private:
    char m_ansi[MAX_PATH] = {};
    std::wstring m_unicode;  // empty when the ANSI path spells the file
};
