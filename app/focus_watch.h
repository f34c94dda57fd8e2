// When losing the keyboard focus should pause the game: only on a change
// from the game's window holding the focus to anything else. A window that
// never held it (under an X server with no window manager the focus is
// usually PointerRoot, following the pointer) is never taken to have lost
// it. Plain logic, fed by the program's poll of the X server.
#pragma once

// What the X server says holds the keyboard focus.
enum class FocusHolder {
    GameWindow,    // the game's own window
    OtherWindow,   // some other window
    UnderPointer,  // PointerRoot: whatever window is under the pointer
    NoWindow,      // None: the keyboard goes nowhere
};

class FocusWatch {
public:
    // One look at the focus; true when it has just been lost.
    bool lostOnLook(FocusHolder now);
    bool held() const { return held_; }

private:
    bool held_ = false;
};
