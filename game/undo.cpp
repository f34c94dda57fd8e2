#include "game/undo.h"

#include <cstring>

PlayMoment momentOf(const GameContext& game) {
    PlayMoment m;
    std::memcpy(m.board, game.board, sizeof m.board);
    std::memcpy(m.blocks, game.blocks, sizeof m.blocks);
    std::memcpy(m.trails, game.trails, sizeof m.trails);
    m.score = game.score;
    m.settleTicks = game.settleTicks;
    m.elimDelay = game.elimDelay;
    m.comboFlag = game.comboFlag;
    return m;
}

void restoreMoment(GameContext& game, const PlayMoment& moment) {
    std::memcpy(game.board, moment.board, sizeof game.board);
    std::memcpy(game.blocks, moment.blocks, sizeof game.blocks);
    std::memcpy(game.trails, moment.trails, sizeof game.trails);
    game.score = moment.score;
    game.settleTicks = moment.settleTicks;
    game.elimDelay = moment.elimDelay;
    game.comboFlag = moment.comboFlag;
}

void UndoHistory::afterTick(const PlayMoment& before, const TickEvents& events) {
    if (events.has(EVENT_RESTARTED)) {
        moments_.clear();
        return;
    }
    if (events.has(EVENT_PUSHED)) moments_.push_back(before);
}

bool UndoHistory::undo(GameContext& game) {
    if (moments_.empty()) return false;
    restoreMoment(game, moments_.back());
    moments_.pop_back();
    return true;
}
