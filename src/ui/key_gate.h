#pragma once
#include <cstdint>
#include <map>
#include <optional>

namespace tolvane::ui {

enum class KeyEdge { Press, Release };

// One key event as the toolkit reports it. `key` is any number that names the physical
// key the same way on its press and its release; `time` is the event's timestamp.
struct KeyStroke {
    std::uint32_t key;
    KeyEdge edge;
    std::uint64_t time;
    bool autoRepeat;  // as flagged by the toolkit or the system, which may miss some
};

// Tells the user's deliberate key strokes from a held key's repeats, so that a key held
// down when a message box opens never answers it. The front end passes every key event
// of the program through Deliberate and drops those it refuses.
class KeyGate {
  public:
    // A press counts when it is not flagged as a repeat, its key is not down, and it does
    // not share its timestamp with that key's last release (X11 repeats as release and
    // press pairs with one timestamp). A release counts when its press did.
    bool Deliberate(const KeyStroke& stroke);
    // A modal box has just opened: every key down now (or between the halves of a
    // repeat) is held, and ignored until it has been released and pressed afresh.
    void BoxOpened();

  private:
    struct State {
        bool down = false;
        bool counted = false;  // the press that put it down, or the one it repeats, counted
        std::optional<std::uint64_t> lastRelease;
    };
    std::map<std::uint32_t, State> keys_;
};

}  // namespace tolvane::ui
