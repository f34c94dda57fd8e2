// tolvane_measure [--check] [--readme FILE [--write]] MAP...: measures every
// level of the worlds' maps and prints a table per world.
//   --check          fail unless the worlds keep the design rules below
//   --readme FILE    fail unless FILE holds the tables as measured now
//   --write          write the tables into FILE instead
//   --players N      random players per level (default 200)
//   --threads N      levels measured at once (default 2)
// Each level's seconds go to standard error as it is measured; the tables
// come out in the worlds' order whatever order the levels finish in.
//
// The design rules, world by world (the tutorial is world 0):
//   - random players clear at most 50 % of world 1, 30 % of world 2, 15 % of
//     world 3, 5 % of worlds 4 to 9 and none of world 10; no level of worlds
//     2 to 10 more than 60 % of the time; the tutorial is cleared at least as
//     often as world 1 and none of its levels takes more than 8 pushes;
//   - every level of worlds 1 to 10 has a first push that loses it, and the
//     first pushes of worlds 8 to 10 lose at least 0.3 of the time;
//   - within a world the fewest pushes end higher than they start and never
//     drop by more than 2 from one level to the next;
//   - no open floor no block can reach, no tar no block can stand on,
//     headroom at most 40 % of the open floor, a wall above every block, no
//     two titles alike;
//   - every world from 3 on has a level that needs its lift and one that
//     needs its tar;
//   - no two levels of worlds 1 to 10 more than 85 % alike in their walls or
//     in their open floor, wherever on the board their rooms sit;
// and, over the whole set (every world given):
//   - at least 12 levels of worlds 1 to 10 need their lifts and 12 their tar;
//   - the median level of worlds 1 to 10 shares at most 70 % of its open
//     floor with the level most like it;
//   - at least a third of the levels of worlds 5 to 10 span 12 or more
//     columns or rows;
//   - world 10's median level has at least 16 blocks and takes at least 16
//     pushes; over worlds 8 to 10 the median level has at least 14 of each,
//     and at least 6 levels have 20 or more blocks and 6 take 20 or more
//     pushes; the deepest level has 25 blocks or takes 25 pushes.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/game_context.h"
#include "solver/solver.h"
#include "tools/levels/level_map.h"
#include "tools/levels/measures.h"

namespace {

const char* const BEGIN_MARK = "<!-- level measures: made by scripts/level-table, do not edit by hand -->";
const char* const END_MARK = "<!-- end of level measures -->";

struct WorldFile {
    int32_t number = 0;  // 0 for the tutorial
    std::string name;
    levelmap::World world;
};

constexpr int32_t MEASURE_THREADS = 2;
constexpr double MOST_ALIKE = 0.85;         // two levels of worlds 1 to 10 alike beyond this are one level twice
constexpr double MEDIAN_FLOOR_ALIKE = 0.70; // and the middle level's closest floor no closer than this
constexpr int32_t WIDE_SPAN = 12;           // a room this wide or tall, in cells, is a big one

struct Row {
    int32_t world, level;
    std::string title;
    const levelmap::Level* map;
    measures::Measures m;
    // The other level most like this one, in its walls and in its open floor.
    double wallsAlike = 0.0, floorAlike = 0.0;
    std::string wallsLike, floorLike;
};

// How alike every two levels are: [i][j] for rows i and j.
struct Likeness {
    std::vector<std::vector<double>> walls, floor;
};

bool mainWorld(int32_t world) { return world >= 1 && world <= 10; }

std::string label(int32_t world, int32_t level) {
    return (world == 0 ? std::string("T") : std::to_string(world)) + "-" + std::to_string(level);
}

std::string proofText(measures::Proof p, bool present) {
    if (!present) return "";
    return p == measures::Proof::YES ? "needed" : p == measures::Proof::NO ? "not needed" : "unknown";
}

// A share as a percentage with a tenth, so 85.3 % reads as over 85 %.
std::string percent(double share) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %%", 100.0 * share);
    return buf;
}

std::string number(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
}

// The median blocks and fewest pushes of the rows that pass `keep`.
template <typename Keep>
std::pair<double, double> medianDepth(const std::vector<Row>& rows, Keep keep) {
    std::vector<double> blocks, pushes;
    for (const Row& r : rows)
        if (keep(r)) blocks.push_back(r.m.blocks), pushes.push_back(r.m.pushes);
    return {measures::median(blocks), measures::median(pushes)};
}

std::string tables(const std::vector<Row>& rows) {
    std::ostringstream out;
    out << BEGIN_MARK << "\n";
    int32_t world = -1;
    char buf[640];
    for (const Row& r : rows) {
        if (r.world != world) {
            world = r.world;
            int32_t wins = 0, players = 0, losing = 0, first = 0;
            for (const Row& o : rows)
                if (o.world == world)
                    wins += o.m.randomWins, players += o.m.players, losing += o.m.losingFirstPushes,
                        first += o.m.firstPushes;
            const auto [blocks, pushes] = medianDepth(rows, [&](const Row& o) { return o.world == world; });
            std::snprintf(buf, sizeof buf,
                          "\n### %s: random players clear %.1f %%, first pushes lose %.2f, "
                          "median %g blocks and %g pushes\n\n",
                          world == 0 ? "Tutorial" : ("World " + std::to_string(world)).c_str(),
                          players ? 100.0 * wins / players : 0.0, first ? static_cast<double>(losing) / first : 0.0,
                          blocks, pushes);
            out << buf;
            out << "| level | title | blocks | span | pushes | first pushes | losing | random % | unreachable | "
                   "headroom % | tar (inert) | lifts | walls like | walls alike % | floor like | floor alike % |\n";
            out << "| --- | --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | --- | --- | --- | ---: | "
                   "--- | ---: |\n";
        }
        const std::string tar = r.m.tar ? std::to_string(r.m.tar) + " (" + std::to_string(r.m.inertTar) + ") " +
                                              proofText(r.m.needsTar, true)
                                        : "";
        const std::string lifts = r.m.lifts ? std::to_string(r.m.lifts) + " " + proofText(r.m.needsLift, true) : "";
        std::snprintf(buf, sizeof buf,
                      "| %s | %s | %d | %d | %s | %d | %d | %.1f | %d | %.0f | %s | %s | %s | %.0f | %s | %.0f |\n",
                      label(r.world, r.level).c_str(), r.title.c_str(), r.m.blocks, r.m.span,
                      r.m.solved ? std::to_string(r.m.pushes).c_str() : "unsolved", r.m.firstPushes,
                      r.m.losingFirstPushes, 100.0 * r.m.randomSuccess(), r.m.unreachableFloor,
                      100.0 * r.m.headroomShare(), tar.c_str(), lifts.c_str(), r.wallsLike.c_str(),
                      100.0 * r.wallsAlike, r.floorLike.c_str(), 100.0 * r.floorAlike);
        out << buf;
    }
    out << "\n" << END_MARK << "\n";
    return out.str();
}

// The design rules; each broken one is printed, and the count answered.
int32_t check(const std::vector<Row>& rows, const Likeness& alike) {
    int32_t broken = 0;
    auto fail = [&](const std::string& what) {
        std::printf("RULE: %s\n", what.c_str());
        ++broken;
    };
    std::map<int32_t, std::vector<const Row*>> worlds;
    for (const Row& r : rows) worlds[r.world].push_back(&r);
    const double successCap[PLAYED_WORLDS] = {1.0, 0.50, 0.30, 0.15, 0.05, 0.05, 0.05, 0.05, 0.05, 0.05, 0.0};
    double world1Success = 0.0;
    int32_t liftLevels = 0, tarLevels = 0;
    std::set<std::string> titles;
    for (const auto& [w, levels] : worlds) {
        int32_t wins = 0, players = 0, losing = 0, first = 0;
        bool lift = false, tar = false;
        for (size_t i = 0; i < levels.size(); ++i) {
            const Row& r = *levels[i];
            const measures::Measures& m = r.m;
            const std::string at = label(r.world, r.level) + " \"" + r.title + "\"";
            wins += m.randomWins, players += m.players, losing += m.losingFirstPushes, first += m.firstPushes;
            if (!m.solved) fail(at + ": not proven (" + m.why + ")");
            if (w >= 2 && m.randomSuccess() > 0.60) fail(at + ": random players clear it more than 60 % of the time");
            if (w == 0 && m.pushes > 8) fail(at + ": a tutorial level of more than 8 pushes");
            if (w >= 1 && m.losingFirstPushes == 0) fail(at + ": no first push loses it");
            if (m.unknownFirstPushes) fail(at + ": first pushes left unproven");
            if (m.unreachableFloor) fail(at + ": " + std::to_string(m.unreachableFloor) + " open cells no block can reach");
            if (m.inertTar) fail(at + ": tar no block can ever stand on");
            if (m.headroomShare() > 0.40) fail(at + ": headroom above 40 % of the open floor");
            if (m.openAboveBlock) fail(at + ": a block with no wall above it");
            if (!titles.insert(r.title).second) fail(at + ": another level has this title");
            if (m.needsLift == measures::Proof::UNKNOWN || m.needsTar == measures::Proof::UNKNOWN)
                fail(at + ": could not tell whether it needs its lifts or tar");
            if (w >= 1 && m.needsLift == measures::Proof::YES) ++liftLevels, lift = true;
            if (w >= 1 && m.needsTar == measures::Proof::YES) ++tarLevels, tar = true;
            if (i > 0 && m.pushes < levels[i - 1]->m.pushes - 2)
                fail(at + ": fewest pushes drop by more than 2 from the level before");
        }
        const std::string name = w == 0 ? "the tutorial" : "world " + std::to_string(w);
        const double success = players ? static_cast<double>(wins) / players : 0.0;
        if (w == 1) world1Success = success;
        if (w >= 1 && w <= 10 && success > successCap[w] + 1e-9)
            fail(name + ": random players clear " + std::to_string(100.0 * success) + " %");
        if (w >= 8 && first && static_cast<double>(losing) / first < 0.3)
            fail(name + ": first pushes lose less than 0.3 of the time");
        if (w >= 1 && levels.size() > 1 && levels.back()->m.pushes <= levels.front()->m.pushes)
            fail(name + ": the last level takes no more pushes than the first");
        if (w >= 3 && (!lift || !tar)) fail(name + ": no level that needs its lift, or none that needs its tar");
    }
    if (worlds.count(0) && worlds.count(1)) {
        int32_t wins = 0, players = 0;
        for (const Row* r : worlds[0]) wins += r->m.randomWins, players += r->m.players;
        if (players && static_cast<double>(wins) / players < world1Success)
            fail("the tutorial is harder for random players than world 1");
    }
    // A room moved across the board is the same level to a player: each
    // pair of levels of worlds 1 to 10 once.
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = i + 1; j < rows.size(); ++j) {
            if (!mainWorld(rows[i].world) || !mainWorld(rows[j].world)) continue;
            const std::string pair =
                label(rows[i].world, rows[i].level) + " and " + label(rows[j].world, rows[j].level);
            if (alike.walls[i][j] > MOST_ALIKE) fail(pair + ": walls " + percent(alike.walls[i][j]) + " alike");
            if (alike.floor[i][j] > MOST_ALIKE) fail(pair + ": open floor " + percent(alike.floor[i][j]) + " alike");
        }
    }
    if (worlds.size() >= 10) {
        if (liftLevels < 12) fail(std::to_string(liftLevels) + " levels need their lifts; 12 should");
        if (tarLevels < 12) fail(std::to_string(tarLevels) + " levels need their tar; 12 should");

        std::vector<double> closest;
        int32_t late = 0, wide = 0, deepest = 0;
        for (const Row& r : rows) {
            if (mainWorld(r.world)) closest.push_back(r.floorAlike);
            if (r.world >= 5 && r.world <= 10) ++late, wide += r.m.span >= WIDE_SPAN;
            if (mainWorld(r.world)) deepest = std::max({deepest, r.m.blocks, r.m.pushes});
        }
        const double middle = measures::median(closest);
        if (middle > MEDIAN_FLOOR_ALIKE + 1e-9)
            fail("the median level of worlds 1 to 10 shares " + percent(middle) +
                 " of its open floor with its closest match; at most 70 % should");
        if (wide * 3 < late)
            fail(std::to_string(wide) + " of the " + std::to_string(late) +
                 " levels of worlds 5 to 10 span 12 or more cells; a third should");

        const auto [lastBlocks, lastPushes] = medianDepth(rows, [](const Row& r) { return r.world == 10; });
        if (lastBlocks < 16) fail("world 10's median level has " + number(lastBlocks) + " blocks; 16 should");
        if (lastPushes < 16) fail("world 10's median level takes " + number(lastPushes) + " pushes; 16 should");
        const auto late3 = [](const Row& r) { return r.world >= 8 && r.world <= 10; };
        const auto [blocks, pushes] = medianDepth(rows, late3);
        if (blocks < 14) fail("the median level of worlds 8 to 10 has " + number(blocks) + " blocks; 14 should");
        if (pushes < 14) fail("the median level of worlds 8 to 10 takes " + number(pushes) + " pushes; 14 should");
        int32_t manyBlocks = 0, manyPushes = 0;
        for (const Row& r : rows)
            if (late3(r)) manyBlocks += r.m.blocks >= 20, manyPushes += r.m.pushes >= 20;
        if (manyBlocks < 6)
            fail(std::to_string(manyBlocks) + " levels of worlds 8 to 10 have 20 or more blocks; 6 should");
        if (manyPushes < 6)
            fail(std::to_string(manyPushes) + " levels of worlds 8 to 10 take 20 or more pushes; 6 should");
        if (deepest < 25) fail("no level has 25 blocks or takes 25 pushes; the deepest reaches " +
                               std::to_string(deepest));
    }
    return broken;
}

// Measures every row's level, `threads` levels at once. Each thread plays on
// a level set of its own; a row is written by the one thread that took it.
void measureAll(std::vector<Row>& rows, const measures::Options& options, int32_t threads) {
    std::atomic<size_t> next{0};
    std::mutex report;
    const auto work = [&] {
        auto set = std::make_unique<GameContext>();
        for (size_t i = next++; i < rows.size(); i = next++) {
            Row& r = rows[i];
            const auto started = std::chrono::steady_clock::now();
            const double processor = solver::cpuSeconds();
            measures::placeLevel(*set, 0, *r.map);
            r.m = measures::measure(*set, 0, options);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
            const std::lock_guard<std::mutex> lock(report);
            std::fprintf(stderr, "%s measured in %.1f s (%.1f s of processor time)\n", label(r.world, r.level).c_str(),
                         took.count(), solver::cpuSeconds() - processor);
        }
    };
    std::vector<std::thread> pool;
    for (int32_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
}

// Every two levels compared, and each row's closest match in its walls and
// in its open floor.
Likeness compareAll(std::vector<Row>& rows) {
    const size_t n = rows.size();
    Likeness alike{std::vector<std::vector<double>>(n, std::vector<double>(n, 0.0)),
                   std::vector<std::vector<double>>(n, std::vector<double>(n, 0.0))};
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            alike.walls[i][j] = alike.walls[j][i] = measures::wallLikeness(rows[i].map->cells, rows[j].map->cells);
            alike.floor[i][j] = alike.floor[j][i] = measures::floorLikeness(rows[i].map->cells, rows[j].map->cells);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        Row& r = rows[i];
        for (size_t j = 0; j < n; ++j) {
            if (j == i) continue;
            const std::string other = label(rows[j].world, rows[j].level);
            if (alike.walls[i][j] > r.wallsAlike) r.wallsAlike = alike.walls[i][j], r.wallsLike = other;
            if (alike.floor[i][j] > r.floorAlike) r.floorAlike = alike.floor[i][j], r.floorLike = other;
        }
    }
    return alike;
}

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--check] [--readme FILE [--write]] [--players N] [--threads N] MAP...\n",
                 program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool checking = false, writing = false;
    int32_t threads = MEASURE_THREADS;
    const char* readme = nullptr;
    measures::Options options;
    std::vector<WorldFile> files;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--check") == 0) {
            checking = true;
        } else if (std::strcmp(a, "--write") == 0) {
            writing = true;
        } else if (std::strcmp(a, "--readme") == 0 && i + 1 < argc) {
            readme = argv[++i];
        } else if (std::strcmp(a, "--players") == 0 && i + 1 < argc) {
            options.players = std::atoi(argv[++i]);
        } else if (std::strcmp(a, "--threads") == 0 && i + 1 < argc) {
            threads = std::max(1, std::atoi(argv[++i]));
        } else if (a[0] == '-') {
            return usage(argv[0]);
        } else {
            WorldFile f;
            f.name = a;
            f.number = levelmap::worldNumber(a);
            f.world = levelmap::readWorld(a);
            if (!f.world.errors.empty()) {
                for (const std::string& e : f.world.errors) std::fprintf(stderr, "%s\n", e.c_str());
                return 2;
            }
            files.push_back(f);
        }
    }
    if (files.empty() || (writing && !readme)) return usage(argv[0]);
    std::sort(files.begin(), files.end(), [](const WorldFile& a, const WorldFile& b) { return a.number < b.number; });

    std::vector<Row> rows;
    for (const WorldFile& f : files)
        for (size_t i = 0; i < f.world.levels.size(); ++i)
            rows.push_back(Row{f.number, static_cast<int32_t>(i) + 1, f.world.levels[i].title, &f.world.levels[i],
                               measures::Measures{}, 0.0, 0.0, "", ""});
    measureAll(rows, options, threads);
    const Likeness alike = compareAll(rows);
    const std::string table = tables(rows);
    std::fputs(table.c_str(), stdout);

    int status = 0;
    if (readme) {
        std::ifstream in(readme);
        std::stringstream text;
        text << in.rdbuf();
        std::string doc = text.str();
        const size_t begin = doc.find(BEGIN_MARK);
        const size_t end = doc.find(END_MARK);
        std::string updated;
        if (begin == std::string::npos || end == std::string::npos || end < begin)
            updated = doc + (doc.empty() || doc.back() == '\n' ? "" : "\n") + "\n" + table;
        else {
            // The tables end with the end mark and its line break; a file
            // edited by hand may have lost the break.
            size_t after = end + std::strlen(END_MARK);
            if (after < doc.size() && doc[after] == '\n') ++after;
            updated = doc.substr(0, begin) + table + doc.substr(after);
        }
        if (writing) {
            std::ofstream out(readme, std::ios::trunc);
            out << updated;
            if (!out) {
                std::fprintf(stderr, "%s: cannot write\n", readme);
                return 2;
            }
        } else if (updated != doc) {
            std::printf("RULE: %s does not hold the tables as measured now; run scripts/level-table\n", readme);
            status = 1;
        }
    }
    if (checking && check(rows, alike) > 0) status = 1;
    return status;
}
