// Reads a text file the way the level files and the profile are read: one
// value a line, at most 14 characters before the line break, converted like
// atoi (leading blanks, a sign, digits up to the first other character).
// Once a read fails (no file, the end, or an over-long line) every later
// value is 0. Values beyond the int32 range are clamped to it.
#pragma once

#include <cstdint>
#include <cstdio>

class LineReader {
public:
    explicit LineReader(const char* path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    int32_t nextValue();

    // The conversion of one line's text.
    static int32_t convert(const char* text);

private:
    FILE* file_;
    bool failed_;
};
