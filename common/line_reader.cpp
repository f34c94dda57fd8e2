#include "common/line_reader.h"

#include <cctype>
#include <cstring>

#include "common/files.h"

namespace {

constexpr int LINE_CAPACITY = 15;  // 14 characters and the terminator

}  // namespace

// Only a regular file is read: a FIFO or a device in place of a level file
// or the profile reads as a missing file instead of holding the game.
LineReader::LineReader(const char* path) : file_(openRegularFile(path)), failed_(file_ == nullptr) {}

LineReader::~LineReader() {
    if (file_ != nullptr) std::fclose(file_);
}

int32_t LineReader::convert(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        value = value * 10 + (*p++ - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t LineReader::nextValue() {
    if (failed_) return 0;
    // Like reading a line into a 15-character buffer: a line that fills the
    // buffer without its line break ends the reading after this value.
    char line[LINE_CAPACITY];
    int length = 0;
    int c = 0;
    while (length < LINE_CAPACITY - 1 && (c = std::fgetc(file_)) != EOF && c != '\n') line[length++] = static_cast<char>(c);
    line[length] = '\0';
    if (c == EOF && length == 0) {
        failed_ = true;
        return 0;
    }
    if (length == LINE_CAPACITY - 1) {
        // Full buffer: the line break must come next, or the line was too long.
        const int next = std::fgetc(file_);
        if (next == EOF) {
            // A last line of exactly 14 characters without a break still counts.
        } else if (next != '\n') {
            failed_ = true;
        }
    } else if (c == EOF) {
        // The last line had no line break: its value counts, nothing follows.
    }
    return convert(line);
}
