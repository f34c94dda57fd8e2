#include "solver/reach.h"

#include <algorithm>
#include <utility>

namespace solver {

void Reach::build(const GameContext& g) {
    bool open[BOARD_SIZE][BOARD_SIZE];
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) open[r][c] = g.board[r][c] == CELL_EMPTY;
    for (const Block& b : g.blocks)
        if (b.alive && b.motion == MOTION_ICKY) open[cellOf(b) / BOARD_SIZE][cellOf(b) % BOARD_SIZE] = false;
    std::fill(meet_.begin(), meet_.end(), 0);
    for (int32_t c = 0; c < BOARD_SIZE; ++c) {
        int32_t floor = -1;
        for (int32_t r = BOARD_SIZE - 1; r >= 0; --r) {
            if (!open[r][c])
                floor = -1;
            else if (floor < 0)
                floor = r;
            lowest_[r * BOARD_SIZE + c] = floor;
        }
    }
    for (int32_t start = 0; start < CELLS; ++start) {
        Cells& reach = reach_[start];
        Cells& near = near_[start];
        reach.fill(false);
        near.fill(false);
        if (!open[start / BOARD_SIZE][start % BOARD_SIZE]) continue;
        std::vector<int32_t> todo{start};
        reach[start] = true;
        while (!todo.empty()) {
            const int32_t at = todo.back();
            todo.pop_back();
            const int32_t r = at / BOARD_SIZE, c = at % BOARD_SIZE;
            for (const auto& [dr, dc] : {std::pair{0, -1}, {0, 1}, {1, 0}}) {
                const int32_t rr = r + dr, cc = c + dc;
                if (rr < 0 || cc < 0 || rr >= BOARD_SIZE || cc >= BOARD_SIZE || !open[rr][cc]) continue;
                if (!reach[rr * BOARD_SIZE + cc]) reach[rr * BOARD_SIZE + cc] = true, todo.push_back(rr * BOARD_SIZE + cc);
            }
        }
        for (int32_t at = 0; at < CELLS; ++at) {
            if (!reach[at]) continue;
            const int32_t r = at / BOARD_SIZE, c = at % BOARD_SIZE;
            near[at] = true;
            for (const auto& [dr, dc] : {std::pair{0, -1}, {0, 1}, {1, 0}, {-1, 0}}) {
                const int32_t rr = r + dr, cc = c + dc;
                if (rr >= 0 && cc >= 0 && rr < BOARD_SIZE && cc < BOARD_SIZE) near[rr * BOARD_SIZE + cc] = true;
            }
        }
    }
}

}  // namespace solver
