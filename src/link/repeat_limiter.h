#pragma once
// Keeps a diagnostic that repeats for ever (the light absent: "cannot enumerate
// dev!" ten times a second) from flooding the user's journal. A line equal to the
// one before is held back and counted; the count goes out at most once a minute as
// "<line> (repeated N times)", and before the next different line. Lines that differ
// from the one before always go out at once.

#include "link/clock.h"

#include <cstdint>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace quorlin {

class RepeatLimiter {
public:
    static constexpr std::int64_t kSummaryIntervalMs = 60'000;

    // `sink` receives the lines that pass, each flushed; it must outlive this object.
    RepeatLimiter(std::ostream& sink, Clock& clock);
    RepeatLimiter(const RepeatLimiter&) = delete;
    RepeatLimiter& operator=(const RepeatLimiter&) = delete;
    // Writes the count still held back, if any.
    ~RepeatLimiter();

    // Any thread. One line without its end of line. Never fails; a failing sink
    // (a closed pipe) only loses the text.
    void line(std::string_view text);

private:
    void writeSummaryLocked();

    std::ostream& sink_;
    Clock& clock_;
    std::mutex mutex_;
    std::string last_;
    bool any_ = false;
    std::uint64_t heldBack_ = 0;
    std::int64_t lastWrittenMs_ = 0;
};

// An output stream for one writer (one thread) whose complete lines go through a
// shared RepeatLimiter; text after the last end of line waits for the rest of it.
class LimitedLineStream : public std::ostream {
public:
    explicit LimitedLineStream(RepeatLimiter& limiter);

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(RepeatLimiter& limiter) : limiter_(limiter) {}

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;

    private:
        void put(char c);
        RepeatLimiter& limiter_;
        std::string pending_;
    };
    Buffer buffer_;
};

}  // namespace quorlin
