#include "game/play_recording.h"

void PlayRecording::start() {
    tick_ = 0;
    clicks_.clear();
    pushTicks_.clear();
}

void PlayRecording::afterTick(const Click& click, const TickEvents& events) {
    ++tick_;
    // The dustbin: what came before it is gone, but not the time it took.
    if (events.has(EVENT_RESTARTED)) {
        clicks_.clear();
        pushTicks_.clear();
    }
    // Only the two buttons that push (and the left one on the dustbin) do
    // anything, and only inside the 1024 by 768 layout, which is all a
    // replay can hold.
    const bool pushingButton = click.button == BUTTON_LEFT || click.button == BUTTON_RIGHT;
    if (!pushingButton || click.x < 0 || click.x > 1023 || click.y < 0 || click.y > 767) return;
    clicks_.push_back(ReplayClick{tick_, click.button, click.x, click.y});
    if (events.has(EVENT_PUSHED)) pushTicks_.push_back(tick_);
}

void PlayRecording::undo() {
    if (pushTicks_.empty()) return;
    const int32_t pushTick = pushTicks_.back();
    pushTicks_.pop_back();
    while (!clicks_.empty() && clicks_.back().tick >= pushTick) clicks_.pop_back();
    tick_ = pushTick - 1;
}
