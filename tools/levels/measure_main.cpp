// tolvane_measure [--check] [--readme FILE [--write]] MAP...: measures every
// level of the worlds' maps and prints a table per world.
//   --check          fail unless the worlds keep the design rules below
//   --readme FILE    fail unless FILE holds the tables as measured now
//   --write          write the tables into FILE instead
//   --players N      random players per level (default 200)
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
//     two levels with more than 70 % of their walls in common, no two titles
//     alike;
//   - at least 12 levels of worlds 1 to 10 need their lifts and 12 their tar,
//     and every world from 3 on has one of each.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_context.h"
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

struct Row {
    int32_t world, level;
    std::string title;
    measures::Measures m;
    double similarity = 0.0;
    std::string similarTo;
};

int32_t worldNumber(const std::string& path) {
    const std::string base = path.substr(path.find_last_of('/') + 1);
    if (base.rfind("Tutorial", 0) == 0) return 0;
    const size_t digits = base.find_first_of("0123456789");
    return digits == std::string::npos ? -1 : std::atoi(base.c_str() + digits);
}

std::string label(int32_t world, int32_t level) {
    return (world == 0 ? std::string("T") : std::to_string(world)) + "-" + std::to_string(level);
}

std::string proofText(measures::Proof p, bool present) {
    if (!present) return "";
    return p == measures::Proof::YES ? "needed" : p == measures::Proof::NO ? "not needed" : "unknown";
}

std::string tables(const std::vector<Row>& rows) {
    std::ostringstream out;
    out << BEGIN_MARK << "\n";
    int32_t world = -1;
    char buf[512];
    for (const Row& r : rows) {
        if (r.world != world) {
            world = r.world;
            int32_t wins = 0, players = 0, losing = 0, first = 0;
            for (const Row& o : rows)
                if (o.world == world)
                    wins += o.m.randomWins, players += o.m.players, losing += o.m.losingFirstPushes,
                        first += o.m.firstPushes;
            std::snprintf(buf, sizeof buf, "\n### %s: random players clear %.1f %%, first pushes lose %.2f\n\n",
                          world == 0 ? "Tutorial" : ("World " + std::to_string(world)).c_str(),
                          players ? 100.0 * wins / players : 0.0, first ? static_cast<double>(losing) / first : 0.0);
            out << buf;
            out << "| level | title | pushes | first pushes | losing | random % | unreachable | headroom % | "
                   "tar (inert) | lifts | most like | walls alike % |\n";
            out << "| --- | --- | ---: | ---: | ---: | ---: | ---: | ---: | --- | --- | --- | ---: |\n";
        }
        const std::string tar = r.m.tar ? std::to_string(r.m.tar) + " (" + std::to_string(r.m.inertTar) + ") " +
                                              proofText(r.m.needsTar, true)
                                        : "";
        const std::string lifts = r.m.lifts ? std::to_string(r.m.lifts) + " " + proofText(r.m.needsLift, true) : "";
        std::snprintf(buf, sizeof buf, "| %s | %s | %s | %d | %d | %.1f | %d | %.0f | %s | %s | %s | %.0f |\n",
                      label(r.world, r.level).c_str(), r.title.c_str(),
                      r.m.solved ? std::to_string(r.m.pushes).c_str() : "unsolved", r.m.firstPushes,
                      r.m.losingFirstPushes, 100.0 * r.m.randomSuccess(), r.m.unreachableFloor,
                      100.0 * r.m.headroomShare(), tar.c_str(), lifts.c_str(), r.similarTo.c_str(),
                      100.0 * r.similarity);
        out << buf;
    }
    out << "\n" << END_MARK << "\n";
    return out.str();
}

// The design rules; each broken one is printed, and the count answered.
int32_t check(const std::vector<Row>& rows) {
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
            if (r.similarity > 0.70) fail(at + ": walls more than 70 % like " + r.similarTo + "'s");
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
    if (worlds.size() >= 10) {
        if (liftLevels < 12) fail(std::to_string(liftLevels) + " levels need their lifts; 12 should");
        if (tarLevels < 12) fail(std::to_string(tarLevels) + " levels need their tar; 12 should");
    }
    return broken;
}

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--check] [--readme FILE [--write]] [--players N] MAP...\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool checking = false, writing = false;
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
        } else if (a[0] == '-') {
            return usage(argv[0]);
        } else {
            std::ifstream in(a);
            if (!in) {
                std::fprintf(stderr, "%s: cannot read\n", a);
                return 2;
            }
            std::stringstream text;
            text << in.rdbuf();
            WorldFile f;
            f.name = a;
            f.number = worldNumber(a);
            f.world = levelmap::parseWorld(text.str(), a);
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
    GameContext set;
    for (const WorldFile& f : files) {
        for (size_t i = 0; i < f.world.levels.size(); ++i) {
            const levelmap::Level& level = f.world.levels[i];
            measures::placeLevel(set, 0, level);
            Row r{f.number, static_cast<int32_t>(i) + 1, level.title, measures::measure(set, 0, options), 0.0, ""};
            for (const WorldFile& g : files) {
                for (size_t k = 0; k < g.world.levels.size(); ++k) {
                    if (&g == &f && k == i) continue;
                    const double s = measures::wallLikeness(level.cells, g.world.levels[k].cells);
                    if (s > r.similarity) r.similarity = s, r.similarTo = label(g.number, static_cast<int32_t>(k) + 1);
                }
            }
            rows.push_back(r);
            std::fprintf(stderr, "%s measured\n", label(r.world, r.level).c_str());
        }
    }
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
    if (checking && check(rows) > 0) status = 1;
    return status;
}
