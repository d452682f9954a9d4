#include "platform/linux/power_request.h"

#include <exception>

#include "platform/linux/logind.h"
#include "platform/linux/session_manager.h"

namespace tolvane {

PowerRequestResult RequestPowerOverDBus(PowerAction action,
                                        const std::function<void()>& keepResponsive) {
    // Nothing may escape into the window's event handler, not even an allocation failure.
    try {
        if (auto answer = AskSessionManager(action, keepResponsive)) return *answer;
        return AskLogind(action, keepResponsive);
    } catch (const std::exception& error) {
        return {false, error.what()};
    }
}

}  // namespace tolvane
