#pragma once
#include <windows.h>

#include <string>

namespace tolvane::win32 {

// Windows' own sentence for an error code, in the user's language, without the line break.
std::string SystemErrorText(DWORD error);

}  // namespace tolvane::win32
