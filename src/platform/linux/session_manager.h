#pragma once
#include <functional>
#include <optional>

#include "platform/system.h"

namespace tolvane {

// Asks the desktop's session manager (GNOME's, then KDE Plasma's) on the session bus, so
// that running applications may save their work or refuse, as on Windows. Nothing when
// there is no session bus or no session manager on it.
std::optional<PowerRequestResult> AskSessionManager(PowerAction action,
                                                    const std::function<void()>& keepResponsive);

}  // namespace tolvane
