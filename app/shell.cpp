#include "app/shell.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/frame_stats.h"
#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/key_state.h"
#include "audio/sound_bank.h"
#include "frontend/best_pushes.h"
#include "frontend/menu.h"
#include "frontend/play_screen.h"
#include "frontend/profile.h"
#include "frontend/screen.h"
#include "frontend/settings.h"
#include "frontend/worlds.h"
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

GameContext game;

namespace {

// The screen of each state, by its number.
const Screen* const SCREENS[] = {
    nullptr,
    &SPLASH_SCREEN,          // STATE_SPLASH
    &PLAY_SCREEN,            // STATE_PLAY
    &MENU_SCREEN,            // STATE_MENU
    &LEVEL_COMPLETE_SCREEN,  // STATE_LEVEL_COMPLETE
    &TIME_OVER_SCREEN,       // STATE_TIME_OVER
    &REPLAY_SCREEN,          // STATE_REPLAY
};
static_assert(STATE_SPLASH == 1 && STATE_PLAY == 2 && STATE_MENU == 3 && STATE_LEVEL_COMPLETE == 4 &&
                  STATE_TIME_OVER == 5 && STATE_REPLAY == 6,
              "the table follows the states' numbers");

const Screen* screenOf(int32_t state) {
    if (state < 0 || state >= static_cast<int32_t>(sizeof SCREENS / sizeof SCREENS[0])) return nullptr;
    return SCREENS[state];
}

int idleMenuFrames = 0;
int picturesLoaded = 0;
int32_t lastMouseX = 0;
int32_t lastMouseY = 0;

// Counts the menu frames in a row in which the player did nothing that
// could change the picture.
void countIdleMenuFrames(bool pressed) {
    const bool still = input.mouseX == lastMouseX && input.mouseY == lastMouseY && !pressed;
    lastMouseX = input.mouseX;
    lastMouseY = input.mouseY;
    idleMenuFrames = (game.state == STATE_MENU && still) ? idleMenuFrames + 1 : 0;
}

// A frame that draws a layer in full (the menu's is 768 tiles and more)
// makes the renderer gather tens of megabytes for it, which it frees again
// once the frame is drawn; the C library keeps such pages resident unless
// asked to give them back. It happens once per screen, not per frame.
void giveBackFreedMemory() { malloc_trim(0); }

void dot() {
    std::fputs(".", stdout);
    std::fflush(stdout);
}

void loadSound(int slot, const char* path) {
    soundBank.loadSample(slot, path);
    dot();
}

// One picture into its texture, then its frames: a dot after the load.
int32_t loadPicture(const char* path, int32_t w, int32_t h, int32_t fw, int32_t fh, int32_t first,
                    int32_t last) {
    const int32_t texture = loadTga(path);
    if (texture >= 0) ++picturesLoaded;
    dot();
    sprites.setupFrames(w, h, static_cast<uint32_t>(texture), fw, fh, first, last);
    return texture;
}

// Backspace, U or u since the last frame. Each key is asked every frame, so
// a press made on another screen is not kept for the play screen.
bool undoPressed() {
    const bool backspace = keyState.pressedSinceLastQuery('\b');
    const bool upper = keyState.pressedSinceLastQuery('U');
    const bool lower = keyState.pressedSinceLastQuery('u');
    return backspace || upper || lower;
}

// H or h since the last frame, asked every frame like undo.
bool hintPressed() {
    const bool upper = keyState.pressedSinceLastQuery('H');
    const bool lower = keyState.pressedSinceLastQuery('h');
    return upper || lower;
}

// P or p since the last frame.
bool pausePressed() {
    const bool upper = keyState.pressedSinceLastQuery('P');
    const bool lower = keyState.pressedSinceLastQuery('p');
    return upper || lower;
}

// C or c since the last frame: the menu's clock switch.
bool clockPressed() {
    const bool upper = keyState.pressedSinceLastQuery('C');
    const bool lower = keyState.pressedSinceLastQuery('c');
    return upper || lower;
}

// A short line in the top right corner that answers a key whose effect
// cannot be seen, such as the music going off.
using NoticeClock = std::chrono::steady_clock;
constexpr auto NOTICE_SHOWN_FOR = std::chrono::milliseconds(1500);
const char* noticeText = nullptr;
NoticeClock::time_point noticeEnds;

void showNotice(const char* text) {
    noticeText = text;
    noticeEnds = NoticeClock::now() + NOTICE_SHOWN_FOR;
}

bool noticeShowing() { return noticeText != nullptr && NoticeClock::now() < noticeEnds; }

void drawNotice() {
    if (noticeShowing()) sprites.printShadowed(800, 40, noticeText, 1, 1, 0);
}

// M switches the music and S the sound effects, on any screen; the choice
// is kept for the next start.
void takeSoundKeys() {
    const bool m = keyState.pressedSinceLastQuery('M') | keyState.pressedSinceLastQuery('m');
    const bool s = keyState.pressedSinceLastQuery('S') | keyState.pressedSinceLastQuery('s');
    if (m) {
        playerSettings.music = !playerSettings.music;
        soundBank.setMusicOn(playerSettings.music);
        showNotice(playerSettings.music ? "Music : on" : "Music : off");
    }
    if (s) {
        playerSettings.effects = !playerSettings.effects;
        soundBank.setEffectsOn(playerSettings.effects);
        showNotice(playerSettings.effects ? "Sound effects : on" : "Sound effects : off");
    }
    if (m || s) saveSettings();
}

// The keys behind the screens' key actions. Every key is asked every frame,
// so a press made on another screen is not kept for the next one.
struct KeyBinding {
    int key;
    uint32_t action;
};
constexpr KeyBinding KEY_BINDINGS[] = {
    {KEY_ARROW_LEFT, KEY_ACTION_LEFT}, {KEY_ARROW_RIGHT, KEY_ACTION_RIGHT}, {KEY_ARROW_UP, KEY_ACTION_UP},
    {KEY_ARROW_DOWN, KEY_ACTION_DOWN}, {'z', KEY_ACTION_PUSH_LEFT},          {'Z', KEY_ACTION_PUSH_LEFT},
    {',', KEY_ACTION_PUSH_LEFT},       {'x', KEY_ACTION_PUSH_RIGHT},         {'X', KEY_ACTION_PUSH_RIGHT},
    {'.', KEY_ACTION_PUSH_RIGHT},      {'r', KEY_ACTION_RESTART},            {'R', KEY_ACTION_RESTART},
    {'\r', KEY_ACTION_ENTER},          {'y', KEY_ACTION_YES},                {'Y', KEY_ACTION_YES},
    {'n', KEY_ACTION_NO},              {'N', KEY_ACTION_NO},
};

uint32_t keyActionsPressed() {
    uint32_t keys = 0;
    for (const KeyBinding& binding : KEY_BINDINGS)
        if (keyState.pressedSinceLastQuery(binding.key)) keys |= binding.action;
    return keys;
}

// The keys are in use from a key action on until the mouse moves or clicks.
bool keysInUse = false;
int32_t keysPointerX = 0;
int32_t keysPointerY = 0;

// The frame's input with its key actions, and whether the keys were in use before them.
FrameInput withKeys(FrameInput input, uint32_t keys) {
    const Click& pointer = input.click;
    const bool mouseUsed = pointer.x != keysPointerX || pointer.y != keysPointerY || pointer.button != BUTTON_NONE;
    keysPointerX = pointer.x;
    keysPointerY = pointer.y;
    input.keys = keys;
    input.keyboardInUse = keysInUse && !mouseUsed;
    keysInUse = cursorShown(input);
    return input;
}

// The frame's click: the pointer, and the first button pressed since the last frame.
Click frameClick() { return Click{input.pendingButton, input.mouseX, input.mouseY}; }

// Started anywhere but in its own folder, the game finds nothing and shows
// white screens with every world locked: say where it looked, and why.
void explainMissingFiles() {
    char folder[4096];
    if (getcwd(folder, sizeof folder) == nullptr) std::snprintf(folder, sizeof folder, "(a folder that is gone)");
    std::printf("None of the pictures could be opened in %s. Tolvane reads its pictures, sounds, levels and "
                "profile.txt from the folder it is started in (scripts/play starts it in build/data).\n",
                folder);
}

}  // namespace

void setFramePacing(bool on) { frameTimer.pacing = on; }

void changeState(int32_t state) {
    // A hint still being thought about is for a board that is gone.
    if (state != STATE_PLAY) abandonHint();
    game.state = state;
    const Screen* screen = screenOf(state);
    if (screen != nullptr && screen->enter != nullptr) screen->enter(game);
}

// The tick gate is asked once, after the drawing, so the time spent drawing
// counts towards the tick's period; the picture is shown before the tick,
// which may put up a loading message of its own.
void runScreenFrame() {
    const Screen* screen = screenOf(game.state);
    if (screen == nullptr) return;  // an unknown state draws nothing
    const Click click = frameClick();
    // A key changes the menu's picture: the frame after it must not wait
    // for an idle menu's redraw.
    const uint32_t keys = keyActionsPressed();
    const bool clock = clockPressed();
    if (keys != 0 || clock) idleMenuFrames = 0;
    sprites.beginFrame();
    screen->draw(game, click);
    drawNotice();
    const bool tickDue = frameTimer.isTickDue(tickClock);
    sprites.endFrame();
    takeSoundKeys();
    FrameInput frameInput{click,         tickDue,       keyState.downOrPressedSinceLastQuery(' '),
                          undoPressed(), hintPressed(), pausePressed()};
    frameInput.clockPressed = clock;
    const int32_t next = screen->tick(game, withKeys(frameInput, keys));
    if (next != game.state) changeState(next);
}

void onDisplay() {
    const bool pressed = input.pendingButton != BUTTON_NONE;
    // A press may start a world, whose loading message follows this frame:
    // the play screen after it must follow at once, not after an idle
    // menu's delay, so the menu stops counting as idle before it draws.
    if (pressed) idleMenuFrames = 0;
    const bool measured = frameStats.active();
    if (measured) frameStats.frameStarts(currentScreenName(), frameTimer.ticksGranted);
    // A frame drawn on an idle menu is shown and then waits for input, even
    // the one a single small move of the pointer wakes.
    const bool waits = displayIsIdle();
    const uint32_t layersKeptBefore = sprites.layersKept;
    runScreenFrame();
    input.pendingButton = BUTTON_NONE;
    countIdleMenuFrames(pressed);
    if (sprites.layersKept != layersKeptBefore) giveBackFreedMemory();
    if (measured) frameStats.frameEnds(currentScreenName(), waits || displayIsIdle());
}

// Only a menu that is still on the screen can be idle: a frame that left it
// is followed at once by the next screen's.
bool displayIsIdle() {
    return game.state == STATE_MENU && idleMenuFrames > MENU_IDLE_AFTER_FRAMES && !noticeShowing();
}

void fitFontToPicture(int32_t width, int32_t height) {
    const double scale = std::min(width / static_cast<double>(SCREEN_WIDTH), height / static_cast<double>(SCREEN_HEIGHT));
    const int32_t wanted = std::max(MIN_FONT_HEIGHT, static_cast<int32_t>(std::lround(FONT_HEIGHT * scale)));
    // Before start-up has built the font there is nothing to build again.
    if (font.listBase == 0 || wanted == font.charHeight) return;
    font.setHeight(wanted);
    font.buildFont(GAME_FACE);
}

void loadResources() {
    picturesLoaded = 0;
    font.setHeight(FONT_HEIGHT);
    font.buildFont(GAME_FACE);
    font.setStyleFlags(1);
    sprites.initGraphics();
    soundBank.initAudio();
    std::fputs("Loading...", stdout);
    std::fflush(stdout);

    loadSound(SOUND_BLEEP, "sound/BLEEP.mp3");
    loadSound(SOUND_POP, "sound/pop.wav");
    loadSound(SOUND_MUSIC, "sound/music.mp3");
    loadSound(SOUND_TIMEUP, "sound/timeup.wav");
    loadSound(SOUND_RESTART, "sound/restart.wav");
    loadSound(SOUND_FINISH, "sound/finish.wav");

    loadPicture("gfx/tilesets/classic.tga", 512, 32, 32, 32, 1, 16);
    dot();  // the tileset's frames count once more
    loadPicture("gfx/title.tga", 257, 103, 257, 103, FRAME_TITLE, FRAME_TITLE);
    loadPicture("gfx/frontend/bkg.tga", 32, 32, 32, 32, FRAME_MENU_TILE, FRAME_MENU_TILE);
    loadPicture("gfx/frontend/gui.tga", 256, 64, 64, 64, FRAME_BUTTON, FRAME_CROSS);
    loadPicture("gfx/frontend/manga.tga", 256, 448, 256, 448, FRAME_MASCOT, FRAME_MASCOT);
    loadPicture("gfx/frontend/hvlogo.tga", 250, 125, 250, 125, FRAME_LOGO, FRAME_LOGO);
    loadPicture("gfx/frontend/woodbox.tga", 256, 256, 256, 256, FRAME_WOODBOX, FRAME_WOODBOX);
    loadPicture("gfx/frontend/lvlcomp.tga", 240, 128, 240, 128, FRAME_LEVEL_COMPLETE, FRAME_LEVEL_COMPLETE);
    levelBackgroundTexture = loadPicture("gfx/bkgs/1.tga", 512, 384, 512, 384, FRAME_BACKGROUND, FRAME_BACKGROUND);
    loadPicture("gfx/frontend/splash.tga", 512, 384, 512, 384, FRAME_SPLASH, FRAME_SPLASH);
    // The dots' line ends here, so whatever the game says later (a progress
    // that could not be saved, say) starts on a line of its own.
    std::fputs("\n", stdout);
    if (picturesLoaded == 0) explainMissingFiles();
    std::fflush(stdout);

    startGame();
}

void startGame() {
    changeState(STATE_SPLASH);
    resetTickClock(tickClock, TICK_INTERVAL);
    loadProfile(game);
    fillWorldTable(game);
    loadBestPushes();
    soundBank.setMusicOn(playerSettings.music);
    soundBank.setEffectsOn(playerSettings.effects);
    game.elimDelay = 0;
    soundBank.playSoundLooped(SOUND_MUSIC);
}
