#pragma once
#include <string>
#include <vector>

#include "platform/system.h"

namespace tolvane::fakes {

// A System whose answers a test sets, and which writes what it was asked into a journal
// shared with FakeForms, so tests can check the order of events across both seams.
class FakeSystem : public System {
  public:
    explicit FakeSystem(std::vector<std::string>* journal = nullptr) : journal_(journal) {}

    std::uint64_t milliseconds = 0;
    std::string machineName = "PC1";
    std::string osName = "Windows 2000 ";
    std::vector<PowerRequestResult> results;  // one per request, in order; then "started"
    int machineNameQueries = 0;
    int osNameQueries = 0;

    std::uint64_t MillisecondsSinceStart() override { return milliseconds; }
    std::string MachineName() override {
        ++machineNameQueries;
        Write("machine name");
        return machineName;
    }
    std::string OSName() override {
        ++osNameQueries;
        Write("os name");
        return osName;
    }
    void EnableShutdownPrivilege() override { Write("privilege"); }
    PowerRequestResult RequestPower(PowerAction action) override {
        Write(action == PowerAction::Restart ? "request restart" : "request power off");
        if (requests_ >= results.size()) return {};
        return results[requests_++];
    }

  private:
    void Write(const std::string& entry) {
        if (journal_) journal_->push_back(entry);
    }
    std::vector<std::string>* journal_;
    std::size_t requests_ = 0;
};

}  // namespace tolvane::fakes
