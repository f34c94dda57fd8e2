#include "game/replay.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "common/files.h"
#include "game/game_context.h"

namespace {

constexpr long REPLAY_MAX_BYTES = 16L * 1024 * 1024;  // some hundred thousand clicks
constexpr int32_t REPLAY_MAX_TICK = 10000000;          // far past any level clock
constexpr const char* OUTCOME_WORDS[] = {"cleared", "time-over", "unfinished"};

// A whole decimal number and nothing else, within [low, high].
bool number(const std::string& word, int32_t low, int32_t high, int32_t& out) {
    if (word.empty() || word.size() > 11) return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || word[0] == '+' || std::isspace(static_cast<unsigned char>(word[0]))) return false;
    if (value < low || value > high) return false;
    out = static_cast<int32_t>(value);
    return true;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The end line's words after "end", or false.
bool endFrom(const std::vector<std::string>& w, ReplayEnd& end) {
    if (w.size() != 5) return false;
    if (!number(w[1], 0, REPLAY_MAX_TICK + REPLAY_RUN_ON, end.tick) || !number(w[2], INT32_MIN, INT32_MAX, end.score) ||
        !number(w[3], INT32_MIN, INT32_MAX, end.clock))
        return false;
    for (int32_t o = OUTCOME_CLEARED; o <= OUTCOME_UNFINISHED; ++o)
        if (w[4] == OUTCOME_WORDS[o]) {
            end.outcome = static_cast<ReplayOutcome>(o);
            return true;
        }
    return false;
}

}  // namespace

bool plainFileName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.size() > 255) return false;
    for (char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x21 || c == 0x7F) return false;
    return true;
}

bool parseReplay(const std::string& text, const char* name, Replay& replay, std::string& error) {
    replay = Replay{};
    enum { HEADER, LEVEL, CLICKS, DONE } expecting = HEADER;
    std::istringstream in(text);
    std::string line;
    int32_t number_ = 0;
    auto refuse = [&](const char* expected) {
        std::string shown = line.size() > 60 ? line.substr(0, 60) + "..." : line;
        error = std::string(name) + ":" + std::to_string(number_) + ": expected " + expected + ", got \"" + shown + "\"";
        return false;
    };
    while (std::getline(in, line)) {
        ++number_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> w = words(line);
        switch (expecting) {
        case HEADER:
            if (line != REPLAY_HEADER) return refuse("\"tolvane replay 1\"");
            expecting = LEVEL;
            break;
        case LEVEL:
            if (w.size() != 3 || w[0] != "level" || !plainFileName(w[1]) || !number(w[2], 1, 9, replay.level))
                return refuse("\"level FILE N\" with a file of levels/ and a level 1 to 9");
            replay.levelFile = w[1];
            expecting = CLICKS;
            break;
        case CLICKS: {
            if (!w.empty() && w[0] == "end") {
                if (!endFrom(w, replay.end))
                    return refuse("\"end TICK SCORE CLOCK cleared|time-over|unfinished\"");
                replay.hasEnd = true;
                expecting = DONE;
                break;
            }
            ReplayClick click{};
            const int32_t after = replay.clicks.empty() ? 0 : replay.clicks.back().tick;
            const bool button = w.size() == 5 && (w[2] == "left" || w[2] == "right");
            if (w.size() != 5 || w[0] != "click" || !button || !number(w[1], after + 1, REPLAY_MAX_TICK, click.tick) ||
                !number(w[3], 0, 1023, click.x) || !number(w[4], 0, 767, click.y))
                return refuse(after == 0 ? "\"click TICK left|right X Y\" with a tick from 1 and a point of the 1024 by 768 screen, or \"end ...\""
                                         : "\"click TICK left|right X Y\" with a tick after the last one and a point of the 1024 by 768 screen, or \"end ...\"");
            click.button = w[2] == "left" ? BUTTON_LEFT : BUTTON_RIGHT;
            replay.clicks.push_back(click);
            break;
        }
        case DONE:
            return refuse("nothing after the end line");
        }
    }
    if (expecting == HEADER || expecting == LEVEL) {
        line = "the end of the file";
        ++number_;
        return refuse(expecting == HEADER ? "\"tolvane replay 1\"" : "\"level FILE N\"");
    }
    return true;
}

bool readReplay(const char* path, Replay& replay, std::string& error) {
    FILE* file = openRegularFile(path);
    if (file == nullptr) {
        error = std::string(path) + ": cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    std::string text;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
        if (static_cast<long>(text.size()) > REPLAY_MAX_BYTES) break;
    }
    std::fclose(file);
    if (static_cast<long>(text.size()) > REPLAY_MAX_BYTES) {
        error = std::string(path) + ": too big for a replay";
        return false;
    }
    return parseReplay(text, path, replay, error);
}

std::string replayText(const Replay& replay) {
    std::string text = std::string(REPLAY_HEADER) + "\nlevel " + replay.levelFile + " " + std::to_string(replay.level) + "\n";
    for (const ReplayClick& c : replay.clicks)
        text += "click " + std::to_string(c.tick) + (c.button == BUTTON_LEFT ? " left " : " right ") +
                std::to_string(c.x) + " " + std::to_string(c.y) + "\n";
    if (replay.hasEnd) text += "end " + describeEnd(replay.end) + "\n";
    return text;
}

std::string describeEnd(const ReplayEnd& end) {
    return std::to_string(end.tick) + " " + std::to_string(end.score) + " " + std::to_string(end.clock) + " " +
           OUTCOME_WORDS[end.outcome];
}

std::string withEndLine(const std::string& text, const ReplayEnd& end) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> w = words(line);
        if (!w.empty() && w[0] == "end" && line[0] != '#') continue;
        out += line + "\n";
    }
    return out + "end " + describeEnd(end) + "\n";
}

int32_t replayTickLimit(const Replay& replay) {
    const int32_t lastClick = replay.clicks.empty() ? 0 : replay.clicks.back().tick;
    const int32_t limit = lastClick + REPLAY_RUN_ON;
    return replay.hasEnd && replay.end.tick > limit ? replay.end.tick : limit;
}

ReplayEnd playReplay(const GameContext& set, const Replay& replay, int32_t* pushes) {
    int32_t pushed = 0;
    if (pushes == nullptr) pushes = &pushed;
    *pushes = 0;
    GameContext play = set;
    // A replay is played with the clock, whatever the player chose.
    play.relaxedClock = false;
    play.startFreshLevel(replay.level - 1);
    int32_t state = STATE_PLAY;
    const int32_t limit = replayTickLimit(replay);
    size_t next = 0;
    for (int32_t tick = 1; tick <= limit; ++tick) {
        Click click;
        if (next < replay.clicks.size() && replay.clicks[next].tick == tick) {
            const ReplayClick& c = replay.clicks[next++];
            click = Click{c.button, c.x, c.y};
        }
        TickEvents events;
        play.playTick(click, events);
        if (events.has(EVENT_RESTARTED)) *pushes = 0;
        *pushes += events.countOf(EVENT_PUSHED);
        state = stateAfter(state, events);
        if (state == STATE_LEVEL_COMPLETE) return {tick, play.score, play.clock, OUTCOME_CLEARED};
        if (state == STATE_TIME_OVER) return {tick, play.score, play.clock, OUTCOME_TIME_OVER};
    }
    return {limit, play.score, play.clock, OUTCOME_UNFINISHED};
}
