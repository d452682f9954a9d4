#pragma once
#include <memory>
#include <string>

#include "platform/forms.h"
#include "platform/system.h"

namespace tolvane {

// The confirm -> privilege -> request sequence: one at a time, from "Sure?" until the
// request's answer (and the box that reports a refusal) is done.
class PowerActions {
  public:
    PowerActions(Forms& forms, System& system) : forms_(forms), system_(system) {}
    PowerActions(const PowerActions&) = delete;
    PowerActions& operator=(const PowerActions&) = delete;

    // Ask "Sure?"; on Yes enable the shutdown privilege, then request the restart or the
    // power-off. A request that could not be sent or was refused outright is reported in a
    // message box when its answer comes; a cancel stays silent.
    // Meanwhile this does nothing at all, however asked: the boxes are modal, but a screen
    // reader's press still arrives inside one's own loop. Nothing is kept for later.
    void Confirm(PowerAction action);
    bool Busy() const { return busy_; }

  private:
    void Answered(PowerAction action, const PowerRequestResult& result);

    Forms& forms_;
    System& system_;
    bool busy_ = false;
    // Answers that come after this object is gone find it expired.
    std::shared_ptr<PowerActions*> self_ = std::make_shared<PowerActions*>(this);
};

}  // namespace tolvane
