#pragma once

namespace tolvane::win32 {

// From now on this process loads DLLs from System32 only, never from the program's own
// folder or the current one, so a DLL planted beside Tolvane.exe is never picked up.
// Called first thing at start, before anything can load a library. False if refused.
bool RestrictDllSearchToSystem32();

}  // namespace tolvane::win32
