#include "ui/key_gate.h"

namespace tolvane::ui {

bool KeyGate::Deliberate(const KeyStroke& stroke) {
    State& key = keys_[stroke.key];
    if (stroke.edge == KeyEdge::Press) {
        const bool fresh = !stroke.autoRepeat && !key.down && key.lastRelease != stroke.time;
        // A repeat carries on the press it repeats: counted or held, as that one was.
        if (fresh) key.counted = true;
        key.down = true;
        return fresh;
    }
    const bool counts = key.down && key.counted;
    key.down = false;
    key.lastRelease = stroke.time;
    return counts;
}

void KeyGate::BoxOpened() {
    // Those between the release and press of a repeat, too.
    for (auto& [code, key] : keys_) key.counted = false;
}

}  // namespace tolvane::ui
