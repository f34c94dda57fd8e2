// The play screen: background, board, blocks and trails, the side panel
// with the problem number, the blocks still to clear and the score, the
// dustbin, the lesson panel of the tutorial world and the pointer. The
// level-complete, time-over and replay screens draw it too, under their own.
#pragma once

#include "game/game_context.h"
#include "game/undo.h"

// The lesson of one tutorial level: a title and up to three lines ("" for none).
struct Lesson {
    const char* title;
    const char* lines[3];
};

extern const Lesson LESSONS[PLAYED_LEVELS];

void drawPlayScreen(const GameContext& game, const Click& pointer);
void drawTutorialPanel(const GameContext& game);
// "Time : %d" where the play screens show the clock.
void drawClock(const GameContext& game);
// The pushes made in this level, and its par where the level file gives one.
void drawPushes(const GameContext& game);
// The par of the level in play; 0 where the level file gives none.
int32_t levelPar(const GameContext& game);

// The pushes of the level in play that Backspace (or U) can take back.
extern UndoHistory playHistory;

// Whether a hint was shown in the level in play: a level cleared after one
// counts as cleared, but not for par.
extern bool playHinted;

// Drops the hint being thought about or shown: its board is gone.
void abandonHint();
// Pauses the level in play, as P does; on any other screen nothing happens.
// The window calls it when it loses the focus or is minimised.
void pausePlay(const GameContext& game);
// Whether a hint is being thought about for the level in play.
bool hintThinking();

// The sounds of what happened in a tick, in the order it happened.
void playSounds(const TickEvents& events);
