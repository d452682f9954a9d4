#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tolvane::win32 {

// UTF-8 inside the program, UTF-16 at the Win32 boundary.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Windows' own sentence for an error code, in the user's language, without the line break.
std::string SystemErrorText(DWORD error);

}  // namespace tolvane::win32
