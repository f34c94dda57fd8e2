// A replay: one level of a level file played from its start with clicks at
// given ticks, and how it ended. Kept as a small text file that people and
// tools can write alike:
//
//   tolvane replay 1
//   level LevelSet3.txt 4
//   click 183 left 448 336
//   click 240 right 512 400
//   end 911 220 91 cleared
//
// `level` names a level file as it stands in levels/ and a level 1 to 9.
// The level is played as the first of a fresh world run: score 0, the clock
// full, no chain bonus armed, no trail; tick 1 is the first play tick after
// the level is installed. `click TICK BUTTON X Y` is the frame's click of
// that tick, at a point of the 1024 by 768 layout. `end TICK SCORE CLOCK
// OUTCOME` is the tick on which the level was cleared or the clock ran out,
// with the score and the clock then; a replay that reached neither ends
// "unfinished" after its last click and REPLAY_RUN_ON more ticks. Lines
// starting with '#' are comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr const char* REPLAY_HEADER = "tolvane replay 1";
constexpr int32_t REPLAY_RUN_ON = 5000;  // ticks played after the last click when nothing ends the level

enum ReplayOutcome : int32_t {
    OUTCOME_CLEARED,
    OUTCOME_TIME_OVER,
    OUTCOME_UNFINISHED,
};

struct ReplayClick {
    int32_t tick;    // counted from 1
    int32_t button;  // BUTTON_LEFT or BUTTON_RIGHT
    int32_t x;
    int32_t y;
};

struct ReplayEnd {
    int32_t tick = 0;
    int32_t score = 0;
    int32_t clock = 0;
    ReplayOutcome outcome = OUTCOME_UNFINISHED;

    bool operator==(const ReplayEnd& o) const {
        return tick == o.tick && score == o.score && clock == o.clock && outcome == o.outcome;
    }
    bool operator!=(const ReplayEnd& o) const { return !(*this == o); }
};

struct Replay {
    std::string levelFile;  // a plain file name in levels/
    int32_t level = 1;      // 1 to 9
    std::vector<ReplayClick> clicks;  // ticks rising
    bool hasEnd = false;
    ReplayEnd end;
};

// A level file's name as it stands in levels/: no folder, nothing hidden,
// nothing that reaches out of it, no blanks.
bool plainFileName(const std::string& name);

// Reads the replay in `text`; on a line it cannot take, answers false with
// "NAME:LINE: expected ..., got ..." in `error`.
bool parseReplay(const std::string& text, const char* name, Replay& replay, std::string& error);
// The same from a file (a regular file, at most a few megabytes).
bool readReplay(const char* path, Replay& replay, std::string& error);

// The text of a replay: its header, level and clicks, and its end line when it has one.
std::string replayText(const Replay& replay);
// "TICK SCORE CLOCK OUTCOME", as an end line and the replay tool write it.
std::string describeEnd(const ReplayEnd& end);
// The text of a replay, comments and all, with its end line replaced by
// `end` (or added at the bottom).
std::string withEndLine(const std::string& text, const ReplayEnd& end);

struct GameContext;

// Plays the replay on a copy of `set`, whose levels hold the replay's level
// file; answers how it ended, and in `pushes`, when asked, how many pushes
// moved a block since the level last began (the dustbin begins it again).
ReplayEnd playReplay(const GameContext& set, const Replay& replay, int32_t* pushes = nullptr);

// The tick after which a replay stops when nothing has ended the level.
int32_t replayTickLimit(const Replay& replay);
