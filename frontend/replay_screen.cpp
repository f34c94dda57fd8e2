#include "frontend/replay_screen.h"

#include <cstdio>

#include "common/files.h"
#include "frontend/menu.h"
#include "frontend/play_screen.h"
#include "frontend/screen.h"
#include "render/sprite_sheet.h"

namespace {

// The replay being shown, how far it has got and how it ended.
struct Showing {
    Replay replay;
    int32_t tick = 0;
    size_t nextClick = 0;
    Click pointer;
    bool ended = false;
    ReplayOutcome outcome = OUTCOME_UNFINISHED;
};

Showing showing;

void drawReplay(const GameContext& game, const Click&) {
    drawPlayScreen(game, showing.pointer);
    drawClock(game);
    if (!showing.ended) return;
    if (showing.outcome == OUTCOME_CLEARED) {
        sprites.drawSprite(FRAME_LEVEL_COMPLETE, 480, 300);
    } else if (showing.outcome == OUTCOME_TIME_OVER) {
        sprites.drawSprite(FRAME_WOODBOX, 450, 200);
        sprites.printShadowed(510, 230, "Time Over!", 1, 0, 0);
    }
}

// The player's own clicks do nothing here: the replay's are played instead.
int32_t tickReplay(GameContext& game, const FrameInput& input) {
    if (!input.tickDue || showing.ended) return game.state;
    ++showing.tick;
    Click click;
    const std::vector<ReplayClick>& clicks = showing.replay.clicks;
    if (showing.nextClick < clicks.size() && clicks[showing.nextClick].tick == showing.tick) {
        const ReplayClick& c = clicks[showing.nextClick++];
        click = Click{c.button, c.x, c.y};
        showing.pointer = Click{BUTTON_NONE, c.x, c.y};
    }
    TickEvents events;
    game.playTick(click, events);
    playSounds(events);
    const int32_t after = stateAfter(STATE_PLAY, events);
    if (after == STATE_LEVEL_COMPLETE) showing.outcome = OUTCOME_CLEARED;
    if (after == STATE_TIME_OVER) showing.outcome = OUTCOME_TIME_OVER;
    showing.ended = after != STATE_PLAY || showing.tick >= replayTickLimit(showing.replay);
    return game.state;
}

}  // namespace

const Screen REPLAY_SCREEN = {nullptr, drawReplay, tickReplay};

bool prepareReplay(GameContext& game, const Replay& replay, std::string& error) {
    const std::string levelFile = "levels/" + replay.levelFile;
    FILE* file = openRegularFile(levelFile.c_str());
    if (file == nullptr) {
        error = "The level file " + levelFile + " of the replay cannot be read.";
        return false;
    }
    std::fclose(file);
    game.loadLevelSet(levelFile.c_str());
    // Shown in its own world, with that world's background and, in the
    // tutorial, its lesson; a level file of no world plays as world 1.
    game.worldIndex = 1;
    for (int32_t w = 0; w < PLAYED_WORLDS; ++w)
        if (game.worlds[w].levelFile != nullptr && levelFile == game.worlds[w].levelFile) game.worldIndex = w;
    loadLevelBackground(game.worlds[game.worldIndex].backgroundFile);
    // Replays run with the clock, as they were recorded.
    game.relaxedClock = false;
    game.startFreshLevel(replay.level - 1);
    showing = Showing{};
    showing.replay = replay;
    showing.pointer = replay.clicks.empty() ? Click{BUTTON_NONE, SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2}
                                            : Click{BUTTON_NONE, replay.clicks[0].x, replay.clicks[0].y};
    return true;
}
