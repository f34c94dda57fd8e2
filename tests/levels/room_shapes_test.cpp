// The drafter's rooms: whatever the family and the seed, a room the level
// compiler takes (no open floor on the outer ring), in one piece (a part no
// block can get into or out of is two puzzles, or filler), and, beyond the
// small boxes, one that reaches across the board.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "game/game_context.h"
#include "tools/levels/room_shapes.h"

namespace {

using rooms::N;

int32_t openCells(const rooms::Cells& c) {
    int32_t n = 0;
    for (const auto& row : c)
        for (int32_t v : row) n += v == CELL_EMPTY;
    return n;
}

// The open cells joined to the first one, side by side or one above another.
int32_t joinedCells(const rooms::Cells& c) {
    bool seen[N][N] = {};
    std::vector<std::pair<int32_t, int32_t>> todo;
    for (int32_t r = 0; r < N && todo.empty(); ++r)
        for (int32_t col = 0; col < N && todo.empty(); ++col)
            if (c[r][col] == CELL_EMPTY) todo.emplace_back(r, col), seen[r][col] = true;
    int32_t n = 0;
    while (!todo.empty()) {
        const auto [r, col] = todo.back();
        todo.pop_back();
        ++n;
        for (const auto& [dr, dc] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
            const int32_t rr = r + dr, cc = col + dc;
            if (rr < 0 || cc < 0 || rr >= N || cc >= N || seen[rr][cc] || c[rr][cc] != CELL_EMPTY) continue;
            seen[rr][cc] = true;
            todo.emplace_back(rr, cc);
        }
    }
    return n;
}

TEST(RoomShapes, EveryFamilyMakesAWholeRoomTheCompilerTakes) {
    const struct {
        const char* name;
        int32_t leastSpan;
    } families[] = {{"box", 5}, {"chambers", 12}, {"shafts", 12}, {"stairs", 12}, {"pillars", 12}, {"overhangs", 12}, {"hall", 12}, {"any", 12}};
    for (const auto& family : families) {
        rooms::Shape shape;
        ASSERT_TRUE(rooms::shapeNamed(family.name, shape)) << family.name;
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            std::mt19937 rng(seed);
            rooms::Cells c;
            rooms::carve(c, shape, 5, rng);
            SCOPED_TRACE(std::string(family.name) + ", seed " + std::to_string(seed));
            for (int32_t k = 0; k < N; ++k) {
                EXPECT_NE(c[0][k], CELL_EMPTY);
                EXPECT_NE(c[N - 1][k], CELL_EMPTY);
                EXPECT_NE(c[k][0], CELL_EMPTY);
                EXPECT_NE(c[k][N - 1], CELL_EMPTY);
            }
            EXPECT_GT(openCells(c), 0);
            EXPECT_EQ(joinedCells(c), openCells(c));
            EXPECT_GE(rooms::floorSpan(c), family.leastSpan);
        }
    }
    rooms::Shape shape;
    EXPECT_FALSE(rooms::shapeNamed("tower", shape));
}

}  // namespace
