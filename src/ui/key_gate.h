#pragma once
#include <cstdint>
#include <map>
#include <optional>

namespace tolvane::ui {

enum class KeyEdge { Press, Release };

// One key event as the toolkit reports it. `key` is any number that names the physical
// key the same way on its press and its release.
struct KeyStroke {
    std::uint32_t key;
    KeyEdge edge;
    // The event's timestamp where repeats may come unflagged (X11); none where the system
    // flags every repeat itself (Windows' previous-state bit).
    std::optional<std::uint64_t> time;
    bool autoRepeat;  // as flagged by the toolkit or the system
    bool answers;     // Enter or Space: the keys that act on an action or answer a box
};

// Tells the user's deliberate key strokes from a held key's repeats, so that a held key
// never acts or answers, and lets everything else through. The front end passes every
// key event of the program through Deliberate and drops those it refuses, and tells the
// gate while a modal box is open.
class KeyGate {
  public:
    // A press not flagged as a repeat, and not sharing its timestamp with that key's last
    // release (X11 repeats as release and press pairs with one timestamp), always counts:
    // whether the key still seemed down does not matter, as its release may have gone to a
    // blocked window or another program. A repeat counts only outside a box and for a key
    // that does not answer. A release counts when its press did.
    bool Deliberate(const KeyStroke& stroke);

    // For as long as it lives a modal box is open: every key down when it opened is held,
    // its release ignored, until pressed afresh.
    class Box {
      public:
        explicit Box(KeyGate& gate);
        ~Box() { --gate_.boxes_; }
        Box(const Box&) = delete;
        Box& operator=(const Box&) = delete;

      private:
        KeyGate& gate_;
    };

  private:
    struct State {
        bool counted = false;  // the press that put it down counted
        std::optional<std::uint64_t> lastRelease;
    };
    std::map<std::uint32_t, State> keys_;
    int boxes_ = 0;
};

}  // namespace tolvane::ui
