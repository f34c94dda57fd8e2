#include "app/key_state.h"

KeyState keyState;

void KeyState::press(unsigned char key) {
    down_[key] = true;
    pressed_[key] = true;
}

void KeyState::release(unsigned char key) { down_[key] = false; }

bool KeyState::pressedSinceLastQuery(unsigned char key) {
    const bool answer = pressed_[key];
    pressed_[key] = false;
    return answer;
}

bool KeyState::downOrPressedSinceLastQuery(unsigned char key) {
    const bool answer = down_[key] || pressed_[key];
    pressed_[key] = false;
    return answer;
}
