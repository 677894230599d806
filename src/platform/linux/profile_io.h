#pragma once
// The file system as the profile module sees it: bounded reads of regular files,
// an atomic replace built from a fresh file and a rename, an in-place rewrite for
// files in folders the user cannot write, and the clean-up of temporary files that
// interrupted writers left behind. Tests substitute failures here.

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// A profile is a small text file; anything larger is not read (nor rewritten).
inline constexpr std::size_t kProfileFileLimit = std::size_t{1} << 20;

struct ProfileFileRead {
    enum class Status {
        ok,          // `bytes` holds the whole file, `mode` its permission bits
        missing,     // the file, or a folder on its path, does not exist
        notRegular,  // a FIFO, device, folder, ...: never read (a FIFO would block)
        tooLarge,    // more than kProfileFileLimit bytes
        failed,      // it exists (or may exist) but cannot be read; errno says why
    };
    Status status = Status::missing;
    std::string bytes;
    unsigned mode = 0;  // permission bits including set-id and sticky bits
};

class ProfileIo {
public:
    virtual ~ProfileIo() = default;

    // The whole content of the regular file at `path` (links followed), opened
    // without blocking and read up to kProfileFileLimit bytes; never throws.
    virtual ProfileFileRead readFile(const std::string& path) = 0;

    // Where the symbolic links at the end of `path` lead: the path of the first
    // name that is not a link (it may not exist). Empty for a loop or an
    // unreadable link.
    virtual std::string resolveLinks(const std::string& path) = 0;

    // access(2) by the effective ids; false on any failure.
    virtual bool canAccess(const std::string& path, int mode) = 0;

    // Creates `path`, which must not exist yet, writes all of `bytes`, gives it
    // `mode` (or the usual 0666 less umask when `keepMode` is false) and flushes it
    // to disk. False on any failure (errno says why); a file it created is then
    // removed again.
    virtual bool writeNewFile(const std::string& path, std::string_view bytes, bool keepMode, unsigned mode) = 0;

    // Moves `from` over `to` in one step. False on failure, both files unchanged.
    virtual bool rename(const std::string& from, const std::string& to) = 0;

    // Turns the regular file at `path`, which holds `before`, into `after` without
    // replacing it: only the bytes from the first difference on are written, then
    // the length is set and the file flushed. On failure the old bytes are put
    // back as far as the system allows, and false returned (errno says why).
    virtual bool rewriteInPlace(const std::string& path, std::string_view before, std::string_view after) = 0;

    // Deletes `path`; failures are ignored.
    virtual void remove(const std::string& path) = 0;

    // Names in `folder` (without "." and ".."); empty when it cannot be listed.
    virtual std::vector<std::string> folderEntries(const std::string& folder) = 0;

    // False only when no process `pid` exists any more.
    virtual bool processExists(pid_t pid) = 0;
};

// The real file system, through POSIX calls.
ProfileIo& systemProfileIo();

}  // namespace quorlin
