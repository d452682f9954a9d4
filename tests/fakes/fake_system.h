#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace tolvane::fakes {

// A System whose answers a test sets, and which writes what it was asked into a journal.
class FakeSystem : public System {
  public:
    explicit FakeSystem(std::vector<std::string>& journal) : journal_(journal) {}

    std::uint64_t milliseconds = 0;
    std::string machineName = "PC1";
    std::string osName = "Windows 2000 ";
    PowerRequestResult result;  // the answer to every request
    // As on Windows, each request is answered before RequestPower returns; else the test
    // answers later with Answer(), as the event loop would on Linux.
    bool answerAtOnce = true;

    std::uint64_t MillisecondsSinceStart() override { return milliseconds; }
    std::string MachineName() override {
        journal_.push_back("machine name");
        return machineName;
    }
    std::string OSName() override {
        journal_.push_back("os name");
        return osName;
    }
    void EnableShutdownPrivilege() override { journal_.push_back("privilege"); }
    void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) override {
        journal_.push_back(action == PowerAction::Restart ? "request restart"
                                                          : "request power off");
        unanswered_.push_back(std::move(done));
        if (answerAtOnce) Answer();
    }
    // Answers the oldest request still unanswered; false when there is none.
    bool Answer() {
        if (unanswered_.empty()) return false;
        const auto done = std::move(unanswered_.front());
        unanswered_.erase(unanswered_.begin());
        done(result);
        return true;
    }

  private:
    std::vector<std::string>& journal_;
    std::vector<std::function<void(PowerRequestResult)>> unanswered_;
};

}  // namespace tolvane::fakes
