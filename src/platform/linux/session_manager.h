#pragma once
#include <string>
#include <vector>

#include "platform/system.h"

namespace tolvane {

// A method name for each request.
struct PowerMethods {
    const char* restart = nullptr;
    const char* powerOff = nullptr;
    const char* Of(PowerAction action) const {
        return action == PowerAction::Restart ? restart : powerOff;
    }
};

// A desktop's session manager, and how its own menu asks it to restart or power off.
struct SessionManager {
    const char* desktop;  // for the reader only
    const char* owned;    // the session bus name whose owner marks this desktop
    const char* service;  // where the request goes; D-Bus may start it on demand
    const char* path;
    const char* interface;
    PowerMethods request;
    PowerMethods ask;        // asked first whether it may; none when not set
    PowerMethods instead;    // when `request` is an unknown method; none when not set
    bool allowSave = false;  // the request takes allow_save = true
};

// The first desktop, in the order they are tried, whose name has an owner among `owned`
// (the names that have one now: never the ones D-Bus could start); nullptr for none.
const SessionManager* ChooseSessionManager(const std::vector<std::string>& owned);

}  // namespace tolvane
