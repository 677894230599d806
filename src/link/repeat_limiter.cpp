#include "link/repeat_limiter.h"

namespace quorlin {

RepeatLimiter::RepeatLimiter(std::ostream& sink, Clock& clock) : sink_(sink), clock_(clock) {}

RepeatLimiter::~RepeatLimiter()
{
    std::lock_guard lock(mutex_);
    writeSummaryLocked();
}

void RepeatLimiter::writeSummaryLocked()
{
    if (heldBack_ == 0)
        return;
    sink_ << last_ << " (repeated " << heldBack_ << (heldBack_ == 1 ? " time)" : " times)") << std::endl;
    heldBack_ = 0;
}

void RepeatLimiter::line(std::string_view text)
{
    std::lock_guard lock(mutex_);
    const std::int64_t now = clock_.nowMs();
    if (any_ && text == last_) {
        ++heldBack_;
        if (now - lastWrittenMs_ >= kSummaryIntervalMs) {
            writeSummaryLocked();
            lastWrittenMs_ = now;
        }
        return;
    }
    writeSummaryLocked();
    last_.assign(text);
    any_ = true;
    lastWrittenMs_ = now;
    sink_ << last_ << std::endl;
}

LimitedLineStream::LimitedLineStream(RepeatLimiter& limiter) : std::ostream(nullptr), buffer_(limiter)
{
    rdbuf(&buffer_);
}

void LimitedLineStream::Buffer::put(char c)
{
    if (c != '\n') {
        pending_.push_back(c);
        return;
    }
    limiter_.line(pending_);
    pending_.clear();
}

LimitedLineStream::Buffer::int_type LimitedLineStream::Buffer::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        put(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

std::streamsize LimitedLineStream::Buffer::xsputn(const char* s, std::streamsize n)
{
    for (std::streamsize i = 0; i < n; ++i)
        put(s[i]);
    return n;
}

}  // namespace quorlin
