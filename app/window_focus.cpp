#include "app/window_focus.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include "app/focus_watch.h"

namespace {

// Four looks a second: one short round trip to the server each, on a timer
// of its own, so no frame pays for it and an idle menu stays idle.
constexpr unsigned FOCUS_POLL_MS = 250;

Display* display = nullptr;
Window gameWindow = None;
FocusWatch watch;
void (*lossHandler)() = nullptr;

FocusHolder focusHolder() {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == gameWindow) return FocusHolder::GameWindow;
    if (focus == PointerRoot) return FocusHolder::UnderPointer;
    if (focus == None) return FocusHolder::NoWindow;
    return FocusHolder::OtherWindow;
}

void lookAtFocus(int) {
    if (watch.lostOnLook(focusHolder()) && lossHandler != nullptr) lossHandler();
    glutTimerFunc(FOCUS_POLL_MS, lookAtFocus, 0);
}

}  // namespace

void watchWindowFocus(void (*onFocusLost)()) {
    display = glXGetCurrentDisplay();
    gameWindow = glXGetCurrentDrawable();
    if (display == nullptr || gameWindow == None) return;
    lossHandler = onFocusLost;
    glutTimerFunc(FOCUS_POLL_MS, lookAtFocus, 0);
}
