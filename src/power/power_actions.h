#pragma once
#include <memory>
#include <string>

#include "platform/forms.h"
#include "platform/system.h"

namespace tolvane {

// The confirm -> privilege -> request sequence, and the one request whose answer may still
// be awaited.
class PowerActions {
  public:
    PowerActions(Forms& forms, System& system) : forms_(forms), system_(system) {}
    PowerActions(const PowerActions&) = delete;
    PowerActions& operator=(const PowerActions&) = delete;

    // Ask "Sure?"; on Yes enable the shutdown privilege, then request the restart or the
    // power-off. A request that could not be sent or was refused outright is reported in a
    // message box when its answer comes; a cancel stays silent.
    // While an earlier request waits for its answer this does nothing at all: input
    // meanwhile is dropped, not kept for later.
    void Confirm(PowerAction action);
    bool Waiting() const { return waiting_; }

  private:
    void Answered(PowerAction action, const PowerRequestResult& result);

    Forms& forms_;
    System& system_;
    bool waiting_ = false;
    // Answers that come after this object is gone find it expired.
    std::shared_ptr<PowerActions*> self_ = std::make_shared<PowerActions*>(this);
};

}  // namespace tolvane
