#include "frontend/play_screen.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "audio/sound_bank.h"
#include "frontend/best_pushes.h"
#include "frontend/saved_replays.h"
#include "frontend/screen.h"
#include "game/cursor.h"
#include "game/undo.h"
#include "render/sprite_sheet.h"
#include "solver/hint.h"
#include "solver/snapshot.h"

// One lesson for each level of the tutorial world, in the order they teach.
const Lesson LESSONS[PLAYED_LEVELS] = {
    {"Welcome to Tolvane!",
     {"You can move a block by clicking on it with the left mouse button to move ",
      "it left, or right mouse button to move it right. Join similar blocks ",
      "togethor to eliminate them. Try and eliminate them all!"}},
    {"Obsticles", {"These nasty red blocks can really get in your way", "See if you can sneak the blocks underneath it! ", ""}},
    {"A handy lift!",
     {"Sometimes the red blocks can be useful. See if you can use this one",
      "as a lift to make the two blocks meet. If you mess up, you can restart ",
      "the puzzle by clicking the dustbin icon"}},
    {"Rock-Blocks",
     {"Rock-Blocks are also annoying. They behave just like all other blocks,",
      "but can not be destroyed. You dont need to destroy them to finish a", "level. They just get in the way!"}},
    {"Icky-Blocks",
     {"See those blocks covered in sticky tar? if a block is over one of those,",
      "it can't be moved. You'll need find a way of bringing another block to", "it."}},
    {"Bridge the gap", {"Sometimes Rock-Blocks can be useful to build bridges over Icky-Blocks ", "", ""}},
    {"Red Herrings",
     {"Sometimes there are blocks which you dont need to use to finish a puzzle.", "See if you can finish this puzzle!",
      ""}},
    {"Combos",
     {"You'll get more points if you destroy more than two blocks at once.", "See how many points you can get!", ""}},
    {"Timing",
     {"Sometimes a puzzle might require timing and skill to complete.", "See if you can finish this last puzzle. ",
      "Enjoy the game!!!!!"}},
};

namespace {

// Kinds the side panel lists, in this order: the seven ordinary kinds and
// the rock (which never counts, since rocks never need clearing).
constexpr int32_t LIST_FIRST_KIND = KIND_FIRST;
constexpr int32_t LIST_LAST_KIND = KIND_ROCK;

void drawBoard(const GameContext& game) {
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) {
            const int32_t code = game.board[r][c];
            // Codes 0 and 1 are outside the play area; codes beyond the
            // frame table are refused by the sprite sheet itself.
            if (code > 1) sprites.drawSprite(code, BOARD_LEFT + CELL_PIXELS * c, BOARD_TOP + CELL_PIXELS * r);
        }
}

void drawBlocks(const GameContext& game) {
    for (const Block& b : game.blocks) {
        if (!b.alive || b.kind < 2 || b.kind > 16) continue;
        // Blocks about to vanish blink with the elimination countdown.
        if (b.marked && game.elimDelay % 2 == 0) continue;
        sprites.drawSprite(b.kind, b.x, b.y);
    }
    if (game.elimDelay != 0) return;
    for (int i = TRAIL_LENGTH - 1; i >= 0; --i) {
        const Trail& t = game.trails[i];
        if (t.active) sprites.drawSpriteFaded(t.kind, t.x, t.y, t.alpha);
    }
}

void drawBlocksLeft(const GameContext& game) {
    int32_t count[LIST_LAST_KIND + 1] = {};
    for (const Block& b : game.blocks)
        if (b.alive && b.motion == MOTION_NORMAL && b.kind >= LIST_FIRST_KIND && b.kind <= LIST_LAST_KIND) ++count[b.kind];
    int32_t n = 0;
    for (int32_t kind = LIST_FIRST_KIND; kind <= LIST_LAST_KIND; ++kind) {
        if (count[kind] == 0) continue;
        sprites.drawSprite(kind, 75, 275 + 37 * n);
        // The text rows step by 1.29 times the icons' 37 pixels in the text's own units.
        sprites.printValue(0, static_cast<float>(250 + 1.29 * 37 * n), "X %d", count[kind]);
        ++n;
    }
}

// Paused with P: the clock and the board stand still under a panel that
// hides the board, so a pause cannot be used to study it. P again or a
// click goes on; the click pushes nothing.
bool paused = false;

}  // namespace

void drawPlayScreen(const GameContext& game, const Click& pointer) {
    // The background, the board's cells, the title and the panel change
    // only with the level. The title and the panel lie left of the board
    // (they end at x 350, its first column starts at 384), where no block or
    // trail ever comes, so drawn before the blocks they show just as after.
    LayerKey key(LAYER_PLAY);
    for (const auto& row : game.board)
        for (int32_t code : row) key.add(static_cast<uint64_t>(code));
    if (!sprites.restoreLayer(key.hash)) {
        sprites.drawSpriteScaled(FRAME_BACKGROUND, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        drawBoard(game);
        sprites.drawSprite(FRAME_TITLE, 50, 50);
        sprites.drawSpriteScaled(FRAME_WOODBOX, 50, 168, 300, 450);
        sprites.keepLayer(key.hash);
    }
    drawBlocks(game);
    sprites.printTwoValues(0, 150, "Problem : %d - %d", game.worldIndex, game.levelIndex + 1);
    drawBlocksLeft(game);
    sprites.printValue(-50, 200, "Score : %d", game.score);
    sprites.drawSprite(FRAME_DUSTBIN, 260, 520);
    // The lesson runs over the board's foot: a pause hides it with the board.
    if (game.worldIndex == 0 && !(paused && game.state == STATE_PLAY)) drawTutorialPanel(game);
    sprites.drawSprite(FRAME_POINTER, pointer.x, pointer.y);
}

void drawTutorialPanel(const GameContext& game) {
    // The mascot, mirrored, peeking up from the bottom right corner.
    sprites.drawSpriteScaled(FRAME_MASCOT, 1064, 550, -256, 433);
    if (game.levelIndex < 0 || game.levelIndex >= PLAYED_LEVELS) return;
    const Lesson& lesson = LESSONS[game.levelIndex];
    sprites.printShadowed(350, 610, lesson.title, 1, 0, 1);
    for (int i = 0; i < 3; ++i)
        if (lesson.lines[i][0] != '\0') sprites.printShadowed(350, 630 + 20 * i, lesson.lines[i], 1, 1, 0);
}

void drawClock(const GameContext& game) {
    // The same placement and colour as the running clock's.
    if (game.relaxedClock) sprites.printValue(100, 200, "Time : --", 0);
    else sprites.printValue(100, 200, "Time : %d", game.clock);
}

int32_t levelPar(const GameContext& game) {
    const int32_t level = game.levelIndex;
    return level >= 0 && level < LEVEL_COUNT ? game.par[level] : 0;
}

void drawPushes(const GameContext& game) {
    // At the foot of the panel, left of the dustbin, below the longest list
    // of blocks (all seven kinds and the rock). Pushes taken back do not count.
    const auto made = static_cast<int32_t>(playHistory.size());
    const int32_t par = levelPar(game);
    if (par > 0) sprites.printTwoValues(-50, 628, "Pushes : %d   Par : %d", made, par);
    else sprites.printValue(-50, 628, "Pushes : %d", made);
}

void playSounds(const TickEvents& events) {
    for (int32_t i = 0; i < events.count; ++i) {
        switch (events.list[i]) {
        case EVENT_PUSHED: soundBank.playSound(SOUND_POP); break;
        case EVENT_RESTARTED: soundBank.playSound(SOUND_RESTART); break;
        case EVENT_BLOCK_MATCHED: soundBank.playSound(SOUND_BLEEP); break;
        case EVENT_LEVEL_CLEARED: soundBank.playSound(SOUND_FINISH); break;
        case EVENT_TIME_OVER: soundBank.playSound(SOUND_TIMEUP); break;
        default: break;  // the screens change silently
        }
    }
}

// [SECTION] Hints
// H asks the solver for the next push from the board as it stands; it
// thinks on a thread of its own while the game plays on. The answer is an
// outline round the block with an arrow the way to push it ("wait" until a
// lift comes round), or a few words in the panel's free column, right of
// the list of blocks, on why there is none.

namespace {

solver::HintThinker hintThinker;
// The ticks of the level in play since it came on the board.
int32_t levelTicks = 0;
// The hint on show, and the tick it was asked on.
bool hintShown = false;
solver::Hint shownHint;
int32_t askedAt = 0;
// What is left of the shown hint's plan after the player made its push,
// counted from the tick `plansFrom`: the next hint follows it if it can.
std::vector<std::vector<solver::Click>> nextPlans;
int32_t plansFrom = 0;
int32_t lead = 0;  // the ticks the last question left for its own thinking
// A lift board goes on moving while the solver thinks, so the answer is
// for the board as it will stand this many ticks after the question; when
// the answer still comes too late, the question is asked again with twice
// the lead, up to a few times.
constexpr int32_t LIFT_LEAD_TICKS = 120;
constexpr int32_t MAX_LEAD_TICKS = 8 * LIFT_LEAD_TICKS;
// How long a hint that is only words stays up.
constexpr int32_t WORDS_SHOWN_TICKS = 8 * 100;

// The panel's free column: right of the counts of blocks, above the dustbin.
constexpr float HINT_TEXT_X = 157.0f;
constexpr float HINT_TEXT_TOP = 290.0f;
constexpr float HINT_LINE_STEP = 24.0f;
constexpr size_t HINT_LINE_LETTERS = 14;  // about 140 pixels of the game's font at 1024 by 768

void askForHint(const GameContext& game, int32_t withLead) {
    lead = withLead;
    askedAt = levelTicks;
    hintShown = false;
    playHinted = true;
    solver::HintQuestion question;
    question.board = game;
    question.history = playHistory.moments();
    question.lead = lead;
    question.plans = solver::plansLater(nextPlans, levelTicks - plansFrom);
    hintThinker.ask(question);
}

// A message in the panel's free column, a line of it to each '\n', each
// line broken between words to fit the column.
void hintWords(const char* message) {
    float y = HINT_TEXT_TOP;
    const auto put = [&](const std::string& line) {
        sprites.printShadowed(HINT_TEXT_X, y, line.c_str(), 1, 1, 0);
        y += HINT_LINE_STEP;
    };
    std::string line, word;
    const auto endWord = [&] {
        if (word.empty()) return;
        if (!line.empty() && line.size() + 1 + word.size() > HINT_LINE_LETTERS) {
            put(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (const char* c = message;; ++c) {
        if (*c == ' ' || *c == '\n' || *c == '\0') {
            endWord();
            if ((*c == '\n' || *c == '\0') && !line.empty()) put(line), line.clear();
            if (*c == '\0') break;
        } else {
            word += *c;
        }
    }
}

// The block to push, outlined, and an arrow in the cell it goes to.
void drawHintedPush(const GameContext& game) {
    const Block& b = game.blocks[shownHint.slot];
    if (!b.alive) return;
    const int32_t top = SCREEN_HEIGHT - b.y;  // the rectangles count y up from the bottom
    sprites.setColour(1.0f, 0.9f, 0.1f, 1.0f);
    sprites.fillRect(b.x - 3, top + 3, CELL_PIXELS + 6, 3);
    sprites.fillRect(b.x - 3, top - CELL_PIXELS, CELL_PIXELS + 6, 3);
    sprites.fillRect(b.x - 3, top, 3, CELL_PIXELS);
    sprites.fillRect(b.x + CELL_PIXELS, top, 3, CELL_PIXELS);
    if (levelTicks < askedAt + shownHint.first) {
        sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
        sprites.printShadowed(static_cast<float>(b.x - 2), static_cast<float>(b.y - 8), "wait", 1, 0.9f, 0.1f);
        return;
    }
    // A shaft and a head of narrowing bars, pointing the way the block goes.
    const bool left = shownHint.button == BUTTON_LEFT;
    const int32_t cell = left ? b.x - CELL_PIXELS : b.x + CELL_PIXELS;
    const int32_t middle = top - CELL_PIXELS / 2;
    sprites.fillRect(left ? cell + 12 : cell + 4, middle + 3, 16, 6);
    for (int32_t i = 0; i < 10; ++i) {
        const int32_t x = left ? cell + 3 + i : cell + 28 - i;
        sprites.fillRect(x, middle + 1 + i, 1, 2 + 2 * i);
    }
    sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
}


void drawHint(const GameContext& game) {
    if (hintThinker.thinking()) return hintWords("Thinking...");
    if (!hintShown) return;
    char words[96];
    const auto plural = [](int32_t n) { return n == 1 ? "" : "es"; };
    switch (shownHint.kind) {
    case solver::HINT_PUSH:
        drawHintedPush(game);
        std::snprintf(words, sizeof words, "Hint:\n%d push%s to go", shownHint.pushes, plural(shownHint.pushes));
        return hintWords(words);
    case solver::HINT_NO_WAY:
        if (shownHint.undos > 0)
            std::snprintf(words, sizeof words, "No way through from here.\nUndo %d push%s to go back.", shownHint.undos,
                          plural(shownHint.undos));
        else
            std::snprintf(words, sizeof words, "No way through from here.\nTry the dustbin.");
        return hintWords(words);
    case solver::HINT_NOT_IN_TIME: return hintWords("No way through in the time left.\nTry the dustbin.");
    case solver::HINT_CLEARS_ITSELF: return hintWords("Nothing to push: wait.");
    case solver::HINT_NOT_FOUND: return hintWords("No hint found in time");
    }
}

// Each tick of play: a new question on H, the answer when it comes, and
// the hint taken down when its board is gone or its moment has passed.
void tickHint(const GameContext& game, bool hPressed, bool boardChanged, bool hintedPushMade) {
    if (boardChanged) {
        // The plan goes on only after the very push the hint showed.
        nextPlans.clear();
        if (hintedPushMade) {
            nextPlans = solver::plansAfterPush(shownHint, levelTicks - askedAt);
            plansFrom = askedAt;
        }
        abandonHint();
    }
    if (hPressed && !hintThinker.thinking()) askForHint(game, solver::hasLift(game) ? LIFT_LEAD_TICKS : 0);
    solver::Hint answer;
    if (hintThinker.answer(answer)) {
        const bool late = answer.kind == solver::HINT_PUSH && levelTicks > askedAt + answer.last;
        if (late && lead < MAX_LEAD_TICKS) {
            askForHint(game, 2 * std::max(lead, levelTicks - askedAt));
        } else {
            shownHint = answer;
            hintShown = true;
        }
    }
    if (!hintShown) return;
    const int32_t age = levelTicks - askedAt;
    const bool over = shownHint.kind == solver::HINT_PUSH ? shownHint.last != solver::HINT_ANY_TIME && age > shownHint.last
                                                           : age > WORDS_SHOWN_TICKS;
    if (over) hintShown = false;
}

}  // namespace

void abandonHint() {
    hintThinker.abandon();
    hintShown = false;
}

bool hintThinking() { return hintThinker.thinking(); }

// [SECTION] The play screen

UndoHistory playHistory;
bool playHinted = false;

namespace {

bool hintWaiting = false;  // H pressed in a frame without a tick

void drawPausePanel() {
    sprites.setColour(0.08f, 0.06f, 0.12f, 1.0f);
    sprites.fillRect(BOARD_LEFT, SCREEN_HEIGHT - BOARD_TOP, BOARD_SIZE * CELL_PIXELS, BOARD_SIZE * CELL_PIXELS);
    sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
    sprites.printShadowed(BOARD_LEFT + 220.0f, BOARD_TOP + 240.0f, "Paused", 1, 1, 0);
    sprites.printShadowed(BOARD_LEFT + 150.0f, BOARD_TOP + 280.0f, "P or a click goes on", 1, 1, 1);
}

}  // namespace

void pausePlay(const GameContext& game) {
    if (game.state == STATE_PLAY) paused = true;
}

// [SECTION] The keyboard's cursor
// The arrows step it from block to block; Z and X push its block left and
// right, as a click on the block's middle would, on the next tick.

namespace {

int32_t cursorSlot = NO_BLOCK;
int32_t cursorX = BOARD_LEFT;  // where its block was last seen
int32_t cursorY = BOARD_TOP;
bool cursorOnShow = false;
// A key pressed between ticks waits for the next one: a push, with the
// block the cursor was on when it was pressed, or the dustbin.
int32_t waitingButton = BUTTON_NONE;
int32_t waitingSlot = NO_BLOCK;
bool restartWaiting = false;

void dropWaitingKeys() {
    waitingButton = BUTTON_NONE;
    restartWaiting = false;
}

// The middle of the dustbin, where R clicks.
constexpr int32_t DUSTBIN_MIDDLE_X = 292;
constexpr int32_t DUSTBIN_MIDDLE_Y = 552;

void followCursor(const GameContext& game) {
    cursorSlot = cursorFollow(game, cursorSlot, cursorX, cursorY);
    if (cursorSlot == NO_BLOCK) return;
    cursorX = game.blocks[cursorSlot].x;
    cursorY = game.blocks[cursorSlot].y;
}

void startCursor(const GameContext& game) {
    cursorSlot = cursorFirst(game);
    dropWaitingKeys();
    followCursor(game);
}

// Corner marks round the block, outside the hint's outline, so the two
// show together.
void drawCursor(const GameContext& game) {
    if (!cursorOnShow || cursorSlot == NO_BLOCK || !game.blocks[cursorSlot].alive) return;
    const Block& b = game.blocks[cursorSlot];
    constexpr int32_t GAP = 6, ARM = 12, WIDTH = 3;
    const int32_t left = b.x - GAP, right = b.x + CELL_PIXELS + GAP;
    const int32_t top = SCREEN_HEIGHT - (b.y - GAP), bottom = SCREEN_HEIGHT - (b.y + CELL_PIXELS + GAP);
    sprites.setColour(0.3f, 1.0f, 1.0f, 1.0f);
    for (const int32_t x : {left, right - ARM}) {
        sprites.fillRect(x, top, ARM, WIDTH);
        sprites.fillRect(x, bottom + WIDTH, ARM, WIDTH);
    }
    for (const int32_t x : {left, right - WIDTH}) {
        sprites.fillRect(x, top, WIDTH, ARM);
        sprites.fillRect(x, bottom + ARM, WIDTH, ARM);
    }
    sprites.setColour(1.0f, 1.0f, 1.0f, 1.0f);
}

// The frame's keys on the board. Arrows and pushes act only on a cursor
// already on show; the first key of all only shows it.
void takeBoardKeys(const GameContext& game, const FrameInput& input) {
    cursorOnShow = cursorShown(input);
    followCursor(game);
    if (input.keys & KEY_ACTION_RESTART) restartWaiting = true;
    if (!input.keyboardInUse || cursorSlot == NO_BLOCK) return;
    const struct {
        uint32_t key;
        CursorDirection direction;
    } arrows[] = {{KEY_ACTION_LEFT, CURSOR_LEFT},
                  {KEY_ACTION_RIGHT, CURSOR_RIGHT},
                  {KEY_ACTION_UP, CURSOR_UP},
                  {KEY_ACTION_DOWN, CURSOR_DOWN}};
    for (const auto& arrow : arrows)
        if (input.keys & arrow.key) cursorSlot = cursorStep(game, cursorSlot, arrow.direction);
    followCursor(game);
    // Both push keys at once push nothing.
    const uint32_t push = input.keys & (KEY_ACTION_PUSH_LEFT | KEY_ACTION_PUSH_RIGHT);
    if (push == KEY_ACTION_PUSH_LEFT || push == KEY_ACTION_PUSH_RIGHT) {
        waitingButton = push == KEY_ACTION_PUSH_LEFT ? BUTTON_LEFT : BUTTON_RIGHT;
        waitingSlot = cursorSlot;
    }
}

// The click this tick plays: the mouse's, or else the waiting key's, at the
// dustbin or at the middle of its block as the block stands now. A key
// waits out a tick the mouse takes.
Click tickClick(const GameContext& game, const Click& mouse) {
    if (mouse.button != BUTTON_NONE) return mouse;
    Click click;
    if (restartWaiting) {
        click = Click{BUTTON_LEFT, DUSTBIN_MIDDLE_X, DUSTBIN_MIDDLE_Y};
    } else if (waitingButton != BUTTON_NONE && game.blocks[waitingSlot].alive) {
        const Block& b = game.blocks[waitingSlot];
        click = Click{waitingButton, b.x + CELL_PIXELS / 2, b.y + CELL_PIXELS / 2};
    }
    dropWaitingKeys();
    return click;
}

// A level begun, or begun again after "Try Again?": nothing to take back.
void enterPlay(GameContext& game) {
    playHistory.clear();
    playHinted = false;
    levelTicks = 0;
    paused = false;
    nextPlans.clear();
    abandonHint();
    playRecording.start();
    startCursor(game);
}

void drawPlay(const GameContext& game, const Click& pointer) {
    drawPlayScreen(game, pointer);
    drawClock(game);
    drawPushes(game);
    if (paused) return drawPausePanel();
    drawCursor(game);
    drawHint(game);
}

int32_t tickPlay(GameContext& game, const FrameInput& input) {
    if (input.pausePressed) paused = !paused;
    if (paused && input.tickDue && input.click.button != BUTTON_NONE) {
        paused = false;
        return game.state;
    }
    // Keys push nothing while paused, nor are kept for after.
    if (paused) {
        dropWaitingKeys();
        return game.state;
    }
    // Undo needs no tick: the board goes back at once, the clock runs on.
    if (input.undoPressed && playHistory.undo(game)) {
        soundBank.playSound(SOUND_RESTART);
        playRecording.undo();
        abandonHint();
        nextPlans.clear();
    }
    takeBoardKeys(game, input);
    if (!input.tickDue) {
        // A press between ticks waits for the next one.
        if (input.hintPressed) hintWaiting = true;
        return game.state;
    }
    // Only a click can push, so only a tick with a click is worth remembering.
    const Click click = tickClick(game, input.click);
    const bool clicked = click.button != BUTTON_NONE;
    PlayMoment before;
    if (clicked) before = momentOf(game);
    TickEvents events;
    game.playTick(click, events);
    // The dustbin puts the cursor back where the level began it, too.
    if (events.has(EVENT_RESTARTED)) cursorSlot = cursorFirst(game);
    followCursor(game);
    if (clicked) playHistory.afterTick(before, events);
    playRecording.afterTick(click, events);
    // A clear after a hint is kept as a replay, but is no best for par.
    if (events.has(EVENT_LEVEL_CLEARED)) {
        if (!playHinted) keepBestPushes(game, static_cast<int32_t>(playHistory.size()));
        saveClearedLevel(game, playRecording, playHinted);
    }
    ++levelTicks;
    const bool hintedPush = hintShown && shownHint.kind == solver::HINT_PUSH && events.has(EVENT_PUSHED) &&
                            click.button == shownHint.button && game.blocks[shownHint.slot].x != before.blocks[shownHint.slot].x;
    tickHint(game, input.hintPressed || hintWaiting, events.has(EVENT_PUSHED) || events.has(EVENT_RESTARTED), hintedPush);
    hintWaiting = false;
    playSounds(events);
    return stateAfter(game.state, events);
}

}  // namespace

const Screen PLAY_SCREEN = {enterPlay, drawPlay, tickPlay};
