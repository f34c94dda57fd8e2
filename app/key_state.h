// The keys as the screens want them: down now, or pressed at some point since
// a screen last asked. Fed by the toolkit's key-down and key-up callbacks,
// for letters and for its special keys (arrows, function keys) alike.
#pragma once

// The toolkit numbers its special keys apart from the letters; here they
// follow the 256 character codes.
constexpr int SPECIAL_KEY_BASE = 256;
constexpr int KEY_CODE_COUNT = 512;

// A special key's code here, from the toolkit's number for it.
constexpr int specialKey(int toolkitKey) { return SPECIAL_KEY_BASE + toolkitKey; }

// The arrow keys, by the toolkit's numbers for them.
constexpr int KEY_ARROW_LEFT = specialKey(100);
constexpr int KEY_ARROW_UP = specialKey(101);
constexpr int KEY_ARROW_RIGHT = specialKey(102);
constexpr int KEY_ARROW_DOWN = specialKey(103);

class KeyState {
public:
    void press(int key);
    void release(int key);
    // True while the key is held, or once after a press that was already
    // released again; asking clears the remembered press.
    bool downOrPressedSinceLastQuery(int key);
    // True once for each press since the key was last asked about; holding
    // the key down does not count again (the toolkit's repeats aside).
    bool pressedSinceLastQuery(int key);

private:
    static bool valid(int key) { return key >= 0 && key < KEY_CODE_COUNT; }
    bool down_[KEY_CODE_COUNT] = {};
    bool pressed_[KEY_CODE_COUNT] = {};
};

extern KeyState keyState;
