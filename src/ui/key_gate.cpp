#include "ui/key_gate.h"

namespace tolvane::ui {

bool KeyGate::Deliberate(const KeyStroke& stroke) {
    State& key = keys_[stroke.key];
    if (stroke.edge == KeyEdge::Release) {
        key.lastRelease = stroke.time;
        return key.counted;
    }
    const bool repeat = stroke.autoRepeat || (stroke.time && key.lastRelease == stroke.time);
    if (!repeat) return key.counted = true;
    return boxes_ == 0 && !stroke.answers;
}

KeyGate::Box::Box(KeyGate& gate) : gate_(gate) {
    ++gate_.boxes_;
    // Those between the release and press of a repeat, too.
    for (auto& [code, key] : gate_.keys_) key.counted = false;
}

}  // namespace tolvane::ui
