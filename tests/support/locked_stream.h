#pragma once
// An output stream that two threads may write while a test reads what arrived.

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

namespace quorlin::test {

class LockedStream : public std::ostream {
public:
    LockedStream() : std::ostream(&buffer_) {}
    std::string str() const
    {
        std::lock_guard lock(buffer_.mutex);
        return buffer_.text;
    }
    void clear()
    {
        std::lock_guard lock(buffer_.mutex);
        buffer_.text.clear();
    }

private:
    struct Buffer : std::streambuf {
        int_type overflow(int_type c) override
        {
            if (c != traits_type::eof()) {
                std::lock_guard lock(mutex);
                text.push_back(static_cast<char>(c));
            }
            return c;
        }
        std::streamsize xsputn(const char* s, std::streamsize n) override
        {
            std::lock_guard lock(mutex);
            text.append(s, static_cast<std::size_t>(n));
            return n;
        }
        mutable std::mutex mutex;
        std::string text;
    };
    Buffer buffer_;
};

}  // namespace quorlin::test
