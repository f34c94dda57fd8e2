#include "app/key_state.h"

KeyState keyState;

void KeyState::press(int key) {
    if (!valid(key)) return;
    down_[key] = true;
    pressed_[key] = true;
}

void KeyState::release(int key) {
    if (valid(key)) down_[key] = false;
}

bool KeyState::pressedSinceLastQuery(int key) {
    if (!valid(key)) return false;
    const bool answer = pressed_[key];
    pressed_[key] = false;
    return answer;
}

bool KeyState::downOrPressedSinceLastQuery(int key) {
    if (!valid(key)) return false;
    const bool answer = down_[key] || pressed_[key];
    pressed_[key] = false;
    return answer;
}
