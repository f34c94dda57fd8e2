#include "app/focus_watch.h"

bool FocusWatch::lostOnLook(FocusHolder now) {
    const bool holds = now == FocusHolder::GameWindow;
    const bool lost = held_ && !holds;
    held_ = holds;
    return lost;
}
