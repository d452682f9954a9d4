#include "platform/linux/session_manager.h"

#include <algorithm>
#include <array>

namespace tolvane {
namespace {

// In the order they are tried. Plasma's org.kde.Shutdown is started on demand, so its
// session is known by ksmserver. MATE and Cinnamon answer RequestReboot under GNOME's name;
// GNOME 43 and later do not have it, and show their own confirmation for Reboot.
constexpr std::array kSessionManagers{
    SessionManager{"KDE Plasma",
                   "org.kde.ksmserver",
                   "org.kde.Shutdown",
                   "/Shutdown",
                   "org.kde.Shutdown",
                   {"logoutAndReboot", "logoutAndShutdown"},
                   {},
                   {}},
    SessionManager{"XFCE",
                   "org.xfce.SessionManager",
                   "org.xfce.SessionManager",
                   "/org/xfce/SessionManager",
                   "org.xfce.Session.Manager",
                   {"Restart", "Shutdown"},
                   {"CanRestart", "CanShutdown"},
                   {},
                   true},
    SessionManager{"MATE, Cinnamon, GNOME",
                   "org.gnome.SessionManager",
                   "org.gnome.SessionManager",
                   "/org/gnome/SessionManager",
                   "org.gnome.SessionManager",
                   {"RequestReboot", "RequestShutdown"},
                   {},
                   {"Reboot", "Shutdown"}},
    SessionManager{"LXQt",
                   "org.lxqt.session",
                   "org.lxqt.session",
                   "/LXQtSession",
                   "org.lxqt.session",
                   {"reboot", "powerOff"},
                   {},
                   {}},
};

}  // namespace

const SessionManager* ChooseSessionManager(const std::vector<std::string>& owned) {
    for (const SessionManager& manager : kSessionManagers)
        if (std::find(owned.begin(), owned.end(), manager.owned) != owned.end()) return &manager;
    return nullptr;
}

}  // namespace tolvane
