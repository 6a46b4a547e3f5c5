// The component category the host's electronic-banking framework looks for
// among the classes of a bank module: a bank module's bank class declares
// that it implements it.
#pragma once

#include <windows.h>

// {D26F8DB0-D320-4FE6-BAF5-455C6126600A}
inline constexpr GUID CATID_HostCategory = {0xD26F8DB0, 0xD320, 0x4FE6, {0xBA, 0xF5, 0x45, 0x5C, 0x61, 0x26, 0x60, 0x0A}};
