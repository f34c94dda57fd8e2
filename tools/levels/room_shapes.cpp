#include "tools/levels/room_shapes.h"

#include <algorithm>
#include <vector>

#include "game/game_context.h"

namespace rooms {

namespace {

// Open floor stays off the outer ring: the ring is where the room's own walls go.
constexpr int32_t FIRST = 1, LAST = N - 2;

struct Dice {
    std::mt19937& rng;
    int32_t pick(int32_t lo, int32_t hi) {
        if (hi < lo) return lo;
        return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
    }
    bool chance(int32_t percent) { return pick(1, 100) <= percent; }
};

void fill(Cells& c, int32_t top, int32_t left, int32_t bottom, int32_t right, int32_t code) {
    for (int32_t r = std::max(top, FIRST); r <= std::min(bottom, LAST); ++r)
        for (int32_t col = std::max(left, FIRST); col <= std::min(right, LAST); ++col) c[r][col] = code;
}

void open(Cells& c, int32_t top, int32_t left, int32_t bottom, int32_t right) { fill(c, top, left, bottom, right, CELL_EMPTY); }

// A run of columns `left` to `right`, wide enough to use the board.
std::pair<int32_t, int32_t> wideRun(Dice& d) {
    const int32_t width = d.pick(12, LAST - FIRST + 1);
    const int32_t left = d.pick(FIRST, LAST - width + 1);
    return {left, left + width - 1};
}

// Raises the ground of the open floor between `left` and `right` (floor
// row `bottom`) by a gentle walk of heights, up to `most` cells.
void ground(Cells& c, Dice& d, int32_t left, int32_t right, int32_t bottom, int32_t most) {
    int32_t height = d.pick(0, 1);
    for (int32_t col = left; col <= right; ++col) {
        if (d.chance(30)) height = std::clamp(height + d.pick(-1, 1), 0, most);
        fill(c, bottom - height + 1, col, bottom, col, CELL_WALL);
    }
}

// Two or three rooms side by side, each with its floor at its own height
// under a ceiling of about one height. Each dividing wall has a way
// through: a doorway on the higher floor (blocks walk through and drop),
// a doorway higher up (they must be stacked up to it), or a gap above the
// wall's top.
void chambers(Cells& c, Dice& d) {
    const auto [left, right] = wideRun(d);
    const int32_t count = d.pick(2, 3);
    const int32_t ceiling = d.pick(FIRST, 5);
    std::vector<int32_t> edges{left};  // the first column of each room
    const int32_t width = right - left + 1;
    for (int32_t i = 1; i < count; ++i) edges.push_back(left + i * width / count + d.pick(-1, 1));
    edges.push_back(right + 2);  // as if a divider stood just past the last room
    std::vector<int32_t> floors;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t top = std::clamp(ceiling + d.pick(-1, 1), FIRST, LAST - 3);
        int32_t bottom = std::min(LAST, top + d.pick(3, 7));
        // Neighbouring rooms stand at different heights, so one drains into the other.
        if (i > 0 && bottom == floors.back()) bottom = bottom < LAST ? bottom + 1 : bottom - 1;
        floors.push_back(bottom);
        const int32_t from = edges[i], to = edges[i + 1] - 2;
        open(c, top, from, bottom, to);
        if (to - from >= 3 && d.chance(50)) ground(c, d, from, to, bottom, 1);
    }
    for (int32_t i = 1; i < count; ++i) {
        const int32_t divider = edges[i] - 1;
        // The rows both rooms have open beside the divider.
        int32_t both = -1, lowest = -1;
        for (int32_t r = FIRST; r <= LAST; ++r)
            if (c[r][divider - 1] == CELL_EMPTY && c[r][divider + 1] == CELL_EMPTY) {
                if (both < 0) both = r;
                lowest = r;
            }
        if (both < 0) continue;
        const int32_t way = d.pick(0, 2);
        if (way == 0) {
            // A doorway on the higher floor: what walks off it drops into the lower room.
            const int32_t high = std::min(floors[i - 1], floors[i]);
            const int32_t low = std::clamp(high, both, lowest);
            open(c, std::max(both, low - d.pick(0, 1)), divider, low, divider);
        } else if (way == 1) {
            const int32_t at = d.pick(both, std::max(both, (both + lowest) / 2));
            open(c, at, divider, std::min(lowest, at + d.pick(0, 1)), divider);
        } else {
            open(c, both, divider, std::min(lowest, both + d.pick(0, 1)), divider);
        }
    }
}

// A wide upper floor over a room below, joined by narrow shafts; beside
// them, wells that stack what falls in and keep it.
void shafts(Cells& c, Dice& d) {
    const auto [left, right] = wideRun(d);
    const int32_t upper = d.pick(3, 7);  // the upper floor's row
    open(c, std::max(FIRST, upper - d.pick(2, 3)), left, upper, right);
    const int32_t lowerBottom = std::min(LAST, d.pick(upper + 4, upper + 8));
    const int32_t lowerTop = std::max(upper + 2, lowerBottom - d.pick(1, 3));
    const int32_t lowerWidth = d.pick(5, right - left + 1);
    const int32_t lowerLeft = d.pick(left, right - lowerWidth + 1);
    open(c, lowerTop, lowerLeft, lowerBottom, lowerLeft + lowerWidth - 1);
    if (lowerWidth >= 5 && d.chance(50)) ground(c, d, lowerLeft, lowerLeft + lowerWidth - 1, lowerBottom, 1);
    std::vector<int32_t> taken;
    auto freeColumn = [&](int32_t from, int32_t to, int32_t& col) {
        for (int32_t t = 0; t < 20; ++t) {
            col = d.pick(from, to);
            bool near = false;
            for (int32_t k : taken) near = near || std::abs(k - col) < 3;
            if (!near) return true;
        }
        return false;
    };
    const int32_t shaftCount = d.pick(1, 3);
    for (int32_t i = 0; i < shaftCount; ++i) {
        int32_t col;
        if (!freeColumn(lowerLeft, lowerLeft + lowerWidth - 1, col)) break;
        taken.push_back(col);
        open(c, upper + 1, col, lowerTop - 1, col);
    }
    const int32_t wells = d.pick(0, 2);
    for (int32_t i = 0; i < wells; ++i) {
        int32_t col;
        if (!freeColumn(left, right, col)) break;
        taken.push_back(col);
        const int32_t deepest = std::min(LAST, upper + d.pick(2, 4));
        // A well must not break into the room below.
        int32_t bottom = upper;
        while (bottom < deepest && c[bottom + 1][col] != CELL_EMPTY && c[bottom + 2][col] != CELL_EMPTY) ++bottom;
        if (bottom > upper) open(c, upper + 1, col, bottom, col);
    }
}

// A flight of steps down across the board, under a ceiling that steps down
// with it, ending on a landing where what comes down can gather; or two
// flights facing each other down to one landing. Now and then a pit at the foot.
void stairs(Cells& c, Dice& d) {
    const auto [left, right] = wideRun(d);
    const bool valley = d.chance(40);
    const int32_t headroom = d.pick(2, 4);
    const int32_t landing = d.pick(2, 5);
    const int32_t width = right - left + 1;
    // One flight covers the board but its landing; two share it.
    const int32_t flight = valley ? (width - landing) / 2 : width - landing;
    auto walk = [&](int32_t from, int32_t step, int32_t floor) {
        int32_t tread = d.pick(1, 3), run = 0, drop = 0;
        for (int32_t i = 0; i < flight; ++i) {
            const int32_t col = from + i * step;
            drop = 0;
            if (run == tread) {
                drop = std::min(LAST, floor + (d.chance(20) ? 2 : 1)) - floor;
                floor += drop;
                tread = d.chance(15) ? d.pick(3, 4) : d.pick(1, 3);
                run = 0;
            }
            ++run;
            // At least as much room as the step is deep, or the step walls off the flight.
            const int32_t room = std::clamp(headroom + d.pick(-1, 0) + (d.chance(15) ? 1 : 0), std::max(1, drop), 5);
            open(c, floor - room, col, floor, col);
        }
        return std::min(LAST, floor + 1);
    };
    const bool downRight = d.chance(50);
    int32_t foot;
    if (valley) {
        const int32_t endLeft = walk(left, 1, d.pick(FIRST + headroom, 6));
        const int32_t endRight = walk(right, -1, d.pick(FIRST + headroom, 6));
        foot = std::max(endLeft, endRight);
        // The landing reaches up to both flights' last steps.
        open(c, std::min({foot - headroom, endLeft - 1, endRight - 1}), left + flight, foot, right - flight);
    } else {
        foot = walk(downRight ? left : right, downRight ? 1 : -1, d.pick(FIRST + headroom, 6));
        if (downRight) open(c, foot - headroom, right - landing + 1, foot, right);
        else open(c, foot - headroom, left, foot, left + landing - 1);
    }
    if (foot < LAST && d.chance(35)) {
        const int32_t col = valley ? left + flight + d.pick(0, landing - 1) : downRight ? right : left;
        open(c, foot + 1, col, std::min(LAST, foot + d.pick(1, 2)), col);
    }
}

// A wide hall, its floor row and top row; the families below furnish it.
struct Hall {
    int32_t left, right, top, bottom;
};

Hall hall(Cells& c, Dice& d, int32_t minHeight, int32_t maxHeight) {
    const auto [left, right] = wideRun(d);
    const int32_t height = d.pick(minHeight, maxHeight);
    const int32_t bottom = d.pick(std::min(LAST, FIRST + height + 1), LAST);
    const int32_t top = std::max(FIRST, bottom - height + 1);
    open(c, top, left, bottom, right);
    return {left, right, top, bottom};
}

// Pillars standing on the hall's floor, some nearly reaching the ceiling,
// with gaps between them a block can fall into.
void pillars(Cells& c, Dice& d) {
    const Hall h = hall(c, d, 4, 7);
    ground(c, d, h.left, h.right, h.bottom, 1);
    const int32_t count = d.pick(2, 4);
    int32_t col = h.left + d.pick(1, 3);
    for (int32_t i = 0; i < count && col < h.right - 1; ++i) {
        const int32_t width = d.chance(25) ? 2 : 1;
        // A pillar leaves a row free above it: a hall cut in two is two puzzles side by side.
        const int32_t up = d.pick(1, std::max(1, h.bottom - h.top - 1));
        fill(c, h.bottom - up, col, h.bottom, std::min(col + width - 1, h.right - 1), CELL_WALL);
        col += width + d.pick(2, 4);
    }
}

// A hall whose ceiling hangs low over parts of the floor, and ledges
// jutting from its end walls: stacks grow only where there is room.
void overhangs(Cells& c, Dice& d) {
    const Hall h = hall(c, d, 5, 8);
    ground(c, d, h.left, h.right, h.bottom, 1);
    const int32_t count = d.pick(1, 3);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t width = d.pick(1, 4);
        const int32_t from = d.pick(h.left, h.right - width + 1);
        const int32_t clearance = d.pick(1, 3);
        // Measured from the highest floor under it and beside it, so the
        // cells under the hanging wall still join their neighbours.
        int32_t highest = h.bottom;
        for (int32_t col = std::max(h.left, from - 1); col <= std::min(h.right, from + width); ++col) {
            int32_t floorRow = h.bottom;
            while (floorRow > h.top && c[floorRow][col] == CELL_WALL) --floorRow;
            highest = std::min(highest, floorRow);
        }
        fill(c, h.top, from, highest - clearance, from + width - 1, CELL_WALL);
    }
    if (d.chance(60)) {
        const int32_t length = d.pick(2, 5);
        const int32_t row = d.pick(h.top + 1, h.bottom - 2);
        if (d.chance(50)) fill(c, row, h.left, row, h.left + length - 1, CELL_WALL);
        else fill(c, row, h.right - length + 1, row, h.right, CELL_WALL);
    }
}

// A wide hall of ledges and steps, mirrored about its middle half the time.
void wideHall(Cells& c, Dice& d) {
    const Hall h = hall(c, d, 4, 8);
    const bool mirrored = d.chance(50);
    const int32_t width = h.right - h.left + 1;
    const int32_t half = mirrored ? (width + 1) / 2 : width;
    auto both = [&](int32_t top, int32_t from, int32_t bottom, int32_t to, int32_t code) {
        fill(c, top, h.left + from, bottom, h.left + to, code);
        if (mirrored) fill(c, top, h.right - to, bottom, h.right - from, code);
    };
    int32_t height = d.pick(0, 1);
    for (int32_t i = 0; i < half; ++i) {
        if (d.chance(30)) height = std::clamp(height + d.pick(-1, 1), 0, 2);
        both(h.bottom - height + 1, i, h.bottom, i, CELL_WALL);
    }
    const int32_t ledges = d.pick(1, 3);
    for (int32_t i = 0; i < ledges; ++i) {
        const int32_t length = d.pick(1, std::max(1, half / 2));
        const int32_t row = d.pick(h.top + 1, h.bottom - 2);
        const int32_t from = d.pick(0, half - length);
        both(row, from, row, from + length - 1, CELL_WALL);
    }
    if (h.bottom + 1 <= LAST && d.chance(50)) {
        const int32_t at = d.pick(1, half - 1);
        int32_t floorRow = h.bottom;
        while (floorRow > h.top && c[floorRow][h.left + at] == CELL_WALL) --floorRow;
        both(floorRow + 1, at, std::min(LAST, floorRow + d.pick(1, 2)), at, CELL_EMPTY);
    }
}

// Walls up all but the largest piece of open floor: a part no block can get
// into or out of is filler, or a second puzzle beside the first.
void onePiece(Cells& c) {
    int32_t piece[N][N] = {};
    int32_t largest = 0, largestSize = 0, pieces = 0;
    for (int32_t r = 0; r < N; ++r)
        for (int32_t col = 0; col < N; ++col) {
            if (c[r][col] != CELL_EMPTY || piece[r][col]) continue;
            ++pieces;
            int32_t size = 0;
            std::vector<std::pair<int32_t, int32_t>> todo{{r, col}};
            piece[r][col] = pieces;
            while (!todo.empty()) {
                const auto [y, x] = todo.back();
                todo.pop_back();
                ++size;
                for (const auto& [dy, dx] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
                    const int32_t yy = y + dy, xx = x + dx;
                    if (yy < 0 || xx < 0 || yy >= N || xx >= N || piece[yy][xx] || c[yy][xx] != CELL_EMPTY) continue;
                    piece[yy][xx] = pieces;
                    todo.emplace_back(yy, xx);
                }
            }
            if (size > largestSize) largest = pieces, largestSize = size;
        }
    for (int32_t r = 0; r < N; ++r)
        for (int32_t col = 0; col < N; ++col)
            if (c[r][col] == CELL_EMPTY && piece[r][col] != largest) c[r][col] = CELL_WALL;
}

}  // namespace

bool shapeNamed(const std::string& name, Shape& shape) {
    static const std::pair<const char*, Shape> names[] = {
        {"box", Shape::BOX},         {"chambers", Shape::CHAMBERS},   {"shafts", Shape::SHAFTS}, {"stairs", Shape::STAIRS},
        {"pillars", Shape::PILLARS}, {"overhangs", Shape::OVERHANGS}, {"hall", Shape::HALL},     {"any", Shape::ANY},
    };
    for (const auto& [n, s] : names)
        if (name == n) {
            shape = s;
            return true;
        }
    return false;
}

const char* shapeNames() { return "box,chambers,shafts,stairs,pillars,overhangs,hall,any"; }

void carve(Cells& c, Shape shape, int32_t world, std::mt19937& rng) {
    Dice d{rng};
    for (auto& row : c)
        for (int32_t& v : row) v = CELL_WALL;
    if (shape == Shape::ANY) shape = static_cast<Shape>(d.pick(static_cast<int32_t>(Shape::CHAMBERS), static_cast<int32_t>(Shape::HALL)));
    switch (shape) {
    case Shape::CHAMBERS: chambers(c, d); break;
    case Shape::SHAFTS: shafts(c, d); break;
    case Shape::STAIRS: stairs(c, d); break;
    case Shape::PILLARS: pillars(c, d); break;
    case Shape::OVERHANGS: overhangs(c, d); break;
    case Shape::HALL: wideHall(c, d); break;
    case Shape::BOX:
    case Shape::ANY: {
        // The small room the early worlds are made of.
        const int32_t w = d.pick(5, std::min(9, 6 + world / 3)), h = d.pick(4, 7);
        const int32_t left = d.pick(FIRST, LAST - w + 1), top = d.pick(FIRST, LAST - h + 1);
        open(c, top, left, top + h - 1, left + w - 1);
        ground(c, d, left, left + w - 1, top + h - 1, 2);
        break;
    }
    }
    onePiece(c);
}

int32_t floorSpan(const Cells& c) {
    int32_t top = N, bottom = -1, left = N, right = -1;
    for (int32_t r = 0; r < N; ++r)
        for (int32_t col = 0; col < N; ++col)
            if (c[r][col] == CELL_EMPTY || c[r][col] >= KIND_FIRST)
                top = std::min(top, r), bottom = std::max(bottom, r), left = std::min(left, col), right = std::max(right, col);
    return bottom < 0 ? 0 : std::max(bottom - top + 1, right - left + 1);
}

}  // namespace rooms
