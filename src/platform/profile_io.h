#pragma once
// The file system as the profile module sees it: whole-file reads and an atomic
// replace built from a fresh file and a rename. Tests substitute failures here.

#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

struct ProfileFileRead {
    enum class Status {
        ok,       // `bytes` holds the whole file
        missing,  // the file, or a folder on its path, does not exist
        failed,   // it exists (or may exist) but cannot be read
    };
    Status status = Status::missing;
    std::string bytes;
};

class ProfileIo {
public:
    virtual ~ProfileIo() = default;

    // The whole content of `path`; never throws.
    virtual ProfileFileRead readFile(const std::string& path) = 0;

    // Permission bits (including set-id and sticky bits) of an existing file, or
    // nothing when they cannot be read.
    virtual std::optional<unsigned> permissions(const std::string& path) = 0;

    // Creates `path`, which must not exist yet, writes all of `bytes`, gives it
    // `permissions` (or the usual 0666 less umask when none are given) and flushes
    // it to disk. False on any failure; a file it created is then removed again.
    virtual bool writeNewFile(const std::string& path, std::string_view bytes,
                              std::optional<unsigned> permissions) = 0;

    // Moves `from` over `to` in one step. False on failure, both files unchanged.
    virtual bool rename(const std::string& from, const std::string& to) = 0;

    // Deletes `path`; failures are ignored.
    virtual void remove(const std::string& path) = 0;
};

// The real file system, through POSIX calls.
ProfileIo& systemProfileIo();

}  // namespace quorlin
