#pragma once
#include <string>
#include <vector>

#include "box_answerer.h"
#include "fakes/fake_system.h"
#include "platform/qt/main_window.h"

namespace tolvane::qt::testing {

// The real, started window over a fake system; its boxes and popup are answered by the
// test, and what it asked of the system is written into the journal.
struct LiveWindow {
    std::vector<std::string> journal;
    fakes::FakeSystem system{&journal};
    MainWindow window{system};
    BoxAnswerer user{window.forms()};

    LiveWindow() { window.Start(); }
    const ControlWidgets& controls() const { return window.controls(); }
};

}  // namespace tolvane::qt::testing
