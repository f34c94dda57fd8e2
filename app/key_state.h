// The space bar as the splash screen wants it: down now, or pressed at some
// point since the splash last asked. Fed by the toolkit's key-down and key-up
// callbacks.
#pragma once

class KeyState {
public:
    void press(unsigned char key);
    void release(unsigned char key);
    // True while the key is held, or once after a press that was already
    // released again; asking clears the remembered press.
    bool downOrPressedSinceLastQuery(unsigned char key);
    // True once for each press since the key was last asked about; holding
    // the key down does not count again (the toolkit's repeats aside).
    bool pressedSinceLastQuery(unsigned char key);

private:
    bool down_[256] = {};
    bool pressed_[256] = {};
};

extern KeyState keyState;
