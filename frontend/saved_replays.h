// Every level the player clears is kept as a replay in replays/ beside the
// profile, one file a level named after its level file and number
// ("LevelSet3-4.replay" for level 4 of levels/LevelSet3.txt), which
// `tolvane --replay replays/LevelSet3-4.replay` shows. Of the clears of a
// level, the one with the fewest pushes is kept, and of those the one with
// the higher score. A clear after a hint is kept too: a replay is a record
// of play, not of par.
#pragma once

#include "game/game_context.h"
#include "game/play_recording.h"

constexpr const char* REPLAYS_FOLDER = "replays";

// The level in play, as the play screen records it.
extern PlayRecording playRecording;

// The level in play has just been cleared: its recording is played back on
// the game's level set, and saved, with the end that playback gives, unless
// a better replay of the level is kept already. A recording that does not
// clear the level when played back is never saved, and that is said on the
// console, as is a save that fails. Answers whether it was saved.
bool saveClearedLevel(const GameContext& game, const PlayRecording& recording, bool hinted);
