#pragma once
#include "platform/forms.h"

namespace tolvane::win32 {

// The running program's version numbers, read from its own version resource; the numbers
// it was built with when the module carries none (a test program, say).
AppVersion ReadOwnVersion();

}  // namespace tolvane::win32
