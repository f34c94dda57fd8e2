#include "frontend/menu.h"

#include <cmath>

#include "frontend/best_pushes.h"
#include "frontend/screen.h"
#include "frontend/settings.h"
#include "frontend/splash.h"
#include "render/sprite_sheet.h"

const ShadowedLine MENU_HELP[MENU_HELP_LINES] = {
    {100, 350, "Level Select", 1, 0, 1},
    {100, 400, "Go ahead and select a World", 0, 1, 1},
    {100, 425, "Your progress is saved when you finish", 0, 1, 1},
    {100, 450, "Unlock new ones... by finishing old ones!", 0, 1, 1},
};

const ShadowedLine LOADING_MESSAGE = {100, 100, "Loading.... Please Wait", 1, 1, 1};

int32_t levelBackgroundTexture = -1;

namespace {

void printIfAny(float x, float y, const char* text, float r, float g, float b) {
    if (text != nullptr && text[0] != '\0') sprites.printShadowed(x, y, text, r, g, b);
}

void drawMenuBackdrop(const GameContext& game) {
    for (int32_t y = 0; y < SCREEN_HEIGHT; y += 32)
        for (int32_t x = 0; x < SCREEN_WIDTH; x += 32) sprites.drawSprite(FRAME_MENU_TILE, x, y);
    sprites.drawSpriteScaled(FRAME_TITLE, 285, 20, 450, 175);
    sprites.drawSpriteScaled(FRAME_WOODBOX, -50, 318, 1150, 500);
    sprites.drawSprite(FRAME_MASCOT, -50, 350);

    // The first world's button is pure green, the last one's pure red.
    for (int32_t i = 0; i < PLAYED_WORLDS; ++i) {
        const int32_t x = MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * i;
        const float t = static_cast<float>(i) / static_cast<float>(PLAYED_WORLDS - 1);
        sprites.drawSpriteTinted(FRAME_BUTTON, x, MENU_BUTTON_TOP, t, 1.0f - t, 0.0f);
        if (game.worldStatus[i] == WORLD_LOCKED) sprites.drawSprite(FRAME_CROSS, x, MENU_BUTTON_TOP);
        else if (game.worldStatus[i] == WORLD_FINISHED) sprites.drawSprite(FRAME_TICK, x, MENU_BUTTON_TOP);
    }
    drawClockSwitch(playerSettings.relaxedClock);
}

// The clock switch's texts, where a world's would be.
void printClockHelp(bool relaxed) {
    sprites.printShadowed(100, 350, "Level Clock", 1, 0, 1);
    if (relaxed) {
        sprites.printShadowed(100, 400, "Off: take your time on every level.", 0, 1, 1);
        sprites.printShadowed(100, 425, "Best scores are kept only with the clock on.", 0, 1, 1);
    } else {
        sprites.printShadowed(100, 400, "On: every level has its clock.", 0, 1, 1);
        sprites.printShadowed(100, 425, "Turn it off to take your time.", 0, 1, 1);
    }
    sprites.printShadowed(100, 450, "A click or C switches it.", 0, 1, 1);
}

void switchClock() {
    playerSettings.relaxedClock = !playerSettings.relaxedClock;
    saveSettings();
}

// Any status but locked can be started, also values the profile holds
// beyond finished.
bool startable(const GameContext& game, int32_t j) {
    return j >= 0 && j < PLAYED_WORLDS && game.worldStatus[j] != WORLD_LOCKED;
}

// The world the keys have selected, while the keys are in use.
int32_t selectedWorld = -1;
bool selectionOnShow = false;

// The next startable world from j one way round the row, locked ones
// passed over; j itself when it is the only one.
int32_t stepSelection(const GameContext& game, int32_t j, int32_t step) {
    for (int32_t n = 1; n <= PLAYED_WORLDS; ++n) {
        const int32_t k = ((j + step * n) % PLAYED_WORLDS + PLAYED_WORLDS) % PLAYED_WORLDS;
        if (startable(game, k)) return k;
    }
    return j;
}

// The keys on the menu: the first only shows the selection, on the world
// last played or else the first that can be started; the arrows then move
// it and Enter starts its world.
int32_t takeMenuKeys(GameContext& game, const FrameInput& input) {
    selectionOnShow = cursorShown(input);
    if (!startable(game, selectedWorld))
        selectedWorld = startable(game, game.worldIndex) ? game.worldIndex : stepSelection(game, PLAYED_WORLDS - 1, 1);
    if (!input.keyboardInUse || !startable(game, selectedWorld)) return game.state;
    if (input.keys & (KEY_ACTION_LEFT | KEY_ACTION_UP)) selectedWorld = stepSelection(game, selectedWorld, -1);
    if (input.keys & (KEY_ACTION_RIGHT | KEY_ACTION_DOWN)) selectedWorld = stepSelection(game, selectedWorld, 1);
    if (!(input.keys & KEY_ACTION_ENTER)) return game.state;
    startWorld(game, selectedWorld);
    return STATE_PLAY;
}

// Each visit to the menu selects afresh.
void enterMenu(GameContext&) { selectedWorld = -1; }

// The menu takes its click and its keys in any frame.
int32_t tickMenu(GameContext& game, const FrameInput& input) {
    if (input.clockPressed) switchClock();
    if (input.click.button != BUTTON_LEFT) return takeMenuKeys(game, input);
    selectionOnShow = false;
    if (menuClockAt(input.click.x, input.click.y)) {
        switchClock();
        return game.state;
    }
    const int32_t j = menuWorldAt(input.click.x, input.click.y);
    if (!startable(game, j)) return game.state;
    startWorld(game, j);
    return STATE_PLAY;
}

// A thick frame round the selected world's button.
void drawSelection() {
    const int32_t left = MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * selectedWorld;
    const int32_t top = SCREEN_HEIGHT - MENU_BUTTON_TOP;
    constexpr int32_t WIDTH = 4;
    sprites.setColour(1.0f, 1.0f, 0.2f, 1.0f);
    sprites.fillRect(left, top, MENU_BUTTON_SIZE, WIDTH);
    sprites.fillRect(left, top - MENU_BUTTON_SIZE + WIDTH, MENU_BUTTON_SIZE, WIDTH);
    sprites.fillRect(left, top, WIDTH, MENU_BUTTON_SIZE);
    sprites.fillRect(left + MENU_BUTTON_SIZE - WIDTH, top, WIDTH, MENU_BUTTON_SIZE);
    sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace

const Screen MENU_SCREEN = {enterMenu, drawMenu, tickMenu};

int32_t menuWorldAt(int32_t mouseX, int32_t mouseY) {
    if (mouseY <= MENU_BUTTON_TOP || mouseY >= MENU_BUTTON_TOP + MENU_BUTTON_SIZE) return -1;
    // In 64 bits, so a pointer far off to the left cannot overflow.
    const int64_t d = static_cast<int64_t>(mouseX) - MENU_BUTTON_LEFT;
    if (d <= 0 || d / MENU_BUTTON_SIZE >= PLAYED_WORLDS) return -1;
    return static_cast<int32_t>(d / MENU_BUTTON_SIZE);
}

bool menuClockAt(int32_t mouseX, int32_t mouseY) {
    return mouseY > MENU_BUTTON_TOP && mouseY < MENU_BUTTON_TOP + MENU_BUTTON_SIZE && mouseX > MENU_CLOCK_LEFT &&
           mouseX < MENU_CLOCK_LEFT + MENU_BUTTON_SIZE;
}

namespace {

// A disc of rectangles one pixel high, centred on (cx, cy) in bottom-up
// coordinates, where a rectangle hangs down from its top edge.
void fillDisc(int32_t cx, int32_t cy, int32_t r) {
    for (int32_t dy = -r; dy < r; ++dy) {
        const double mid = dy + 0.5;
        const auto half = static_cast<int32_t>(std::lround(std::sqrt(r * r - mid * mid)));
        sprites.fillRect(cx - half, cy + dy + 1, 2 * half, 1);
    }
}

}  // namespace

void drawClockSwitch(bool relaxed) {
    // Rectangles are placed bottom-up: the button's centre.
    const int32_t cx = MENU_CLOCK_LEFT + MENU_BUTTON_SIZE / 2;
    const int32_t cy = SCREEN_HEIGHT - MENU_BUTTON_TOP - MENU_BUTTON_SIZE / 2;
    sprites.drawSpriteTinted(FRAME_BUTTON, MENU_CLOCK_LEFT, MENU_BUTTON_TOP, 0.55f, 0.7f, 1.0f);
    const float face = relaxed ? 0.6f : 1.0f;
    sprites.setColour(0.12f, 0.12f, 0.2f, 1.0f);
    fillDisc(cx, cy, 25);
    sprites.setColour(face, face, face, 1.0f);
    fillDisc(cx, cy, 22);
    sprites.setColour(0.12f, 0.12f, 0.2f, 1.0f);
    // The hour marks at twelve, three, six and nine; a rectangle hangs down
    // from its top edge.
    sprites.fillRect(cx - 2, cy + 20, 4, 6);
    sprites.fillRect(cx + 14, cy + 2, 6, 4);
    sprites.fillRect(cx - 2, cy - 14, 4, 6);
    sprites.fillRect(cx - 20, cy + 2, 6, 4);
    // A quarter past twelve: the long hand up, the short one to three.
    sprites.fillRect(cx - 2, cy + 17, 4, 19);
    sprites.fillRect(cx - 2, cy + 2, 14, 4);
    if (relaxed) {
        // Struck through from top left to bottom right: the clock is off.
        sprites.setColour(0.85f, 0.1f, 0.1f, 1.0f);
        for (int32_t t = -17; t <= 15; ++t) sprites.fillRect(cx + t - 2, cy - t + 2, 5, 5);
    }
    sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawMenu(const GameContext& game, const Click& pointer) {
    // Everything under the texts changes only with the worlds' progress.
    LayerKey key(LAYER_MENU);
    for (int32_t i = 0; i < PLAYED_WORLDS; ++i) key.add(static_cast<uint64_t>(game.worldStatus[i]));
    key.add(playerSettings.relaxedClock);
    if (!sprites.restoreLayer(key.hash)) {
        drawMenuBackdrop(game);
        sprites.keepLayer(key.hash);
    }
    // The world the keys have selected, or else the one the pointer is on.
    const bool selecting = selectionOnShow && startable(game, selectedWorld);
    if (selecting) drawSelection();
    const bool inButtonRow = pointer.y > MENU_BUTTON_TOP && pointer.y < MENU_BUTTON_TOP + MENU_BUTTON_SIZE;
    if (!inButtonRow && !selecting) {
        for (const ShadowedLine& line : MENU_HELP) printLine(line);
    } else if (menuClockAt(pointer.x, pointer.y)) {
        printClockHelp(playerSettings.relaxedClock);
    } else {
        const int32_t j = selecting ? selectedWorld : menuWorldAt(pointer.x, pointer.y);
        if (j >= 0) {
            const World& w = game.worlds[j];
            printIfAny(100, 350, w.name, 1, 0, 1);
            printIfAny(100, 400, w.line1, 0, 1, 1);
            printIfAny(100, 425, w.line2, 0, 1, 1);
            sprites.printValue(165, 535, "Highest Score : %d", game.bestScore[j]);
            int32_t withPar = 0;
            const int32_t atPar = levelsClearedAtPar(game, j, withPar);
            if (withPar > 0) sprites.printTwoValues(165, 575, "Cleared at par : %d / %d", atPar, withPar);
        }
    }

    drawCredits();
    sprites.drawSprite(FRAME_LOGO, 20, 20);
    sprites.drawSprite(FRAME_POINTER, pointer.x, pointer.y);
}

void loadLevelBackground(const char* path) {
    // The new background replaces the last one, whose texture goes back, so
    // a player starting world after world never piles them up.
    const int32_t previous = levelBackgroundTexture;
    levelBackgroundTexture = loadTga(path);
    if (previous >= 0 && previous != levelBackgroundTexture) releaseTexture(previous);
    sprites.setupFrames(512, 384, static_cast<uint32_t>(levelBackgroundTexture), 512, 384, FRAME_BACKGROUND,
                        FRAME_BACKGROUND);
}

void startWorld(GameContext& game, int32_t j) {
    if (j < 0 || j >= WORLD_COUNT) return;
    // Put the message up at once: reading the level file and the picture
    // may take a moment.
    sprites.beginFrame();
    printLine(LOADING_MESSAGE);
    sprites.endFrame();

    loadLevelBackground(game.worlds[j].backgroundFile);
    game.loadLevelSet(game.worlds[j].levelFile);
    game.relaxedClock = playerSettings.relaxedClock;
    game.beginWorld(j);
}
