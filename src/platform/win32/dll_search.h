#pragma once
#include <windows.h>

namespace tolvane::win32 {

// From now on this process loads DLLs from System32 only, never from the program's own
// folder or the current one, so a DLL planted beside Tolvane.exe is never picked up.
// Called first thing at start, before anything can load a library. False if refused, or
// where Windows 7 lacks update KB2533623, which brings SetDefaultDllDirectories.
bool RestrictDllSearchToSystem32();

// LoadLibraryExW of `name` (e.g. L"oleacc.dll") from System32 whatever lies beside the
// program, also where Windows 7 lacks KB2533623; nullptr if it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);

}  // namespace tolvane::win32
