#include "platform/win32/dll_search.h"

#include <windows.h>

namespace tolvane::win32 {

bool RestrictDllSearchToSystem32() {
    return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace tolvane::win32
