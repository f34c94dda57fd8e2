#include "tools/levels/level_map.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace levelmap {

namespace {

constexpr int32_t CODE_NOTHING = 0;
constexpr int32_t CODE_WALL = 2;
constexpr int32_t CODE_FLOOR = 3;
constexpr int32_t CODE_FIRST_KIND = 4;
constexpr int32_t CODE_ROCK = 11;
constexpr int32_t CODE_TAR = 12;
constexpr int32_t CODE_LIFT = 13;

bool isBlock(int32_t code) { return code >= CODE_FIRST_KIND && code <= 14; }

std::string rtrim(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\t' || s[end - 1] == '\r')) --end;
    return s.substr(0, end);
}

bool isBlankOrComment(const std::string& line) {
    const std::string t = rtrim(line);
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    return i == t.size() || t[i] == ';';
}

class Parser {
public:
    Parser(const std::string& text, const std::string& name) : name_(name) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) lines_.push_back(line);
    }

    World run() {
        size_t i = 0;
        while (i < lines_.size()) {
            if (isBlankOrComment(lines_[i])) {
                ++i;
                continue;
            }
            const std::string head = rtrim(lines_[i]);
            if (head.compare(0, 6, "level ") != 0) {
                error(i, "expected a line \"level N: title\", found \"" + head + "\"");
                return world_;
            }
            i = readLevel(i);
        }
        if (world_.errors.empty() && static_cast<int32_t>(world_.levels.size()) != MAP_LEVELS)
            error(lines_.size() > 0 ? lines_.size() - 1 : 0,
                  "a world has " + std::to_string(MAP_LEVELS) + " levels, this one " +
                      std::to_string(world_.levels.size()));
        return world_;
    }

private:
    void error(size_t lineIndex, const std::string& what) {
        world_.errors.push_back(name_ + ":" + std::to_string(lineIndex + 1) + ": " + what);
    }

    // Reads the title line at `at` and the sixteen rows after it; answers the
    // line after the level.
    size_t readLevel(size_t at) {
        const std::string head = rtrim(lines_[at]);
        const int32_t expected = static_cast<int32_t>(world_.levels.size()) + 1;
        int32_t number = 0;
        size_t pos = 6;
        while (pos < head.size() && head[pos] >= '0' && head[pos] <= '9') number = number * 10 + (head[pos++] - '0');
        if (number != expected) error(at, "levels are numbered in order: expected level " + std::to_string(expected));
        Level level{};
        if (pos < head.size() && head[pos] == ':') {
            ++pos;
            while (pos < head.size() && head[pos] == ' ') ++pos;
            level.title = head.substr(pos);
        }
        // An optional "par N" line: the fewest pushes the level takes.
        if (at + 1 < lines_.size() && rtrim(lines_[at + 1]).compare(0, 4, "par ") == 0) {
            const std::string text = rtrim(lines_[at + 1]).substr(4);
            char* end = nullptr;
            const long par = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || par < 1 || par > 999)
                error(at + 1, "a par is a number of pushes from 1 to 999, found \"" + text + "\"");
            else
                level.par = static_cast<int32_t>(par);
            ++at;
        }

        int32_t blocks = 0;
        for (int32_t row = 0; row < MAP_SIZE; ++row) {
            const size_t lineIndex = at + 1 + row;
            if (lineIndex >= lines_.size()) {
                error(lineIndex - 1, "a level has 16 rows; the file ends after " + std::to_string(row));
                return lines_.size();
            }
            const std::string line = rtrim(lines_[lineIndex]);
            if (line.size() != MAP_SIZE + 2 || line.front() != '|' || line.back() != '|') {
                error(lineIndex, "a row is 16 cells between two bars");
                continue;
            }
            for (int32_t column = 0; column < MAP_SIZE; ++column) {
                const char c = line[column + 1];
                const int32_t code = codeForChar(c);
                const std::string where = " at row " + std::to_string(row) + ", column " + std::to_string(column);
                if (code < 0) {
                    error(lineIndex, std::string("unknown map character '") + c + "'" + where);
                    continue;
                }
                level.cells[row][column] = code;
                if (!isBlock(code)) continue;
                ++blocks;
                // The rules probe one cell around every block; the outer ring
                // keeps those probes on the board.
                if (row == 0 || column == 0 || row == MAP_SIZE - 1 || column == MAP_SIZE - 1)
                    error(lineIndex, std::string(code == CODE_LIFT ? "a lift" : "a block") +
                                         " may not stand on the outer ring of cells" + where);
            }
        }
        if (blocks > MAX_MAP_BLOCKS)
            error(at, "level " + std::to_string(expected) + " has " + std::to_string(blocks) +
                          " blocks, the game has room for " + std::to_string(MAX_MAP_BLOCKS));
        world_.levels.push_back(level);
        return at + 1 + MAP_SIZE;
    }

    std::string name_;
    std::vector<std::string> lines_;
    World world_;
};

}  // namespace

int32_t codeForChar(char c) {
    switch (c) {
    case ' ': return CODE_NOTHING;
    case '#': return CODE_WALL;
    case '.': return CODE_FLOOR;
    case 'R': return CODE_ROCK;
    case 'T': return CODE_TAR;
    case 'L': return CODE_LIFT;
    default: break;
    }
    if (c >= 'a' && c <= 'g') return CODE_FIRST_KIND + (c - 'a');
    return -1;
}

World parseWorld(const std::string& text, const std::string& name) { return Parser(text, name).run(); }

std::string levelFileText(const World& world) {
    std::string out;
    out.reserve(FILE_LEVELS * MAP_SIZE * MAP_SIZE * 3);
    char line[16];
    for (int32_t n = 0; n < FILE_LEVELS; ++n) {
        for (int32_t row = 0; row < MAP_SIZE; ++row) {
            for (int32_t column = 0; column < MAP_SIZE; ++column) {
                const bool played = n < static_cast<int32_t>(world.levels.size()) && n < MAP_LEVELS;
                const int32_t code = played ? world.levels[n].cells[row][column] : CODE_NOTHING;
                std::snprintf(line, sizeof line, "%d\n", code);
                out += line;
            }
        }
    }
    for (int32_t n = 0; n < FILE_LEVELS; ++n) {
        const bool played = n < static_cast<int32_t>(world.levels.size()) && n < MAP_LEVELS;
        std::snprintf(line, sizeof line, "%d\n", played ? world.levels[n].par : 0);
        out += line;
    }
    return out;
}

std::string withPars(const std::string& mapText, const std::vector<int32_t>& pars) {
    std::istringstream in(mapText);
    std::string out, line;
    bool replaced = false;  // a new par was just written: the old one under it goes
    while (std::getline(in, line)) {
        const std::string head = rtrim(line);
        if (replaced && head.compare(0, 4, "par ") == 0) {
            replaced = false;
            continue;
        }
        replaced = false;
        out += line + "\n";
        if (head.compare(0, 6, "level ") != 0) continue;
        const int32_t n = std::atoi(head.c_str() + 6);
        if (n < 1 || n > static_cast<int32_t>(pars.size()) || pars[n - 1] <= 0) continue;
        out += "par " + std::to_string(pars[n - 1]) + "\n";
        replaced = true;
    }
    return out;
}

World readWorld(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        World world;
        world.errors.push_back(path + ": cannot read");
        return world;
    }
    std::stringstream text;
    text << in.rdbuf();
    return parseWorld(text.str(), path);
}

int32_t worldNumber(const std::string& path) {
    const std::string base = path.substr(path.find_last_of('/') + 1);
    if (base.rfind("Tutorial", 0) == 0) return 0;
    const size_t digits = base.find_first_of("0123456789");
    return digits == std::string::npos ? -1 : std::atoi(base.c_str() + digits);
}

}  // namespace levelmap
