// The profile reader and writer on arbitrary INI text: a key written into any file
// reads back as written, and every byte outside the one line written is kept.
#include "platform/linux/profile_file.h"
#include "platform/profile_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

namespace {

using namespace quorlin;

// One file in memory behind the real write path.
struct MemoryIo final : ProfileIo {
    ProfileFileRead readFile(const std::string& path) override
    {
        if (path != name)
            return {present ? ProfileFileRead::Status::ok : ProfileFileRead::Status::missing, {}, 0};
        return {ProfileFileRead::Status::ok, bytes, 0644};
    }
    std::string resolveLinks(const std::string& path) override { return path; }
    bool canAccess(const std::string&, int) override { return true; }
    bool writeNewFile(const std::string& path, std::string_view text, bool, unsigned) override
    {
        pending = path;
        written = text;
        return true;
    }
    bool rename(const std::string& from, const std::string& to) override
    {
        if (from != pending || to != name)
            std::abort();
        bytes = written;
        return true;
    }
    bool rewriteInPlace(const std::string&, std::string_view, std::string_view) override { return false; }
    void remove(const std::string&) override {}
    std::vector<std::string> folderEntries(const std::string&) override { return {}; }
    bool processExists(pid_t) override { return true; }

    std::string name = "f.ini", bytes, pending, written;
    bool present = true;
};

bool hasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A value that reads back unchanged: no blanks around it, no quotes around it, no
// zero byte, within the read limit.
bool readsBackAsIs(std::string_view value)
{
    constexpr std::string_view blanks = " \t\v\f";
    if (value.size() > kProfileValueLimit || value.find('\0') != std::string_view::npos)
        return false;
    if (!value.empty() && (blanks.find(value.front()) != std::string_view::npos
                           || blanks.find(value.back()) != std::string_view::npos))
        return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.front() == value.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(120);
    MemoryIo io;
    io.bytes = input.ConsumeRemainingBytesAsString();
    const std::string before = io.bytes;

    readProfileString(section, key, "0", io.name, io);
    const ProfileWrite result = writeProfileString(section, key, value, io.name, io);
    const std::string& after = io.bytes;
    if (!isStorableProfileEntry(section, key, value)) {
        if (result != ProfileWrite::notWritten || after != before)
            std::abort();
        return 0;
    }
    if (result == ProfileWrite::notWritten)
        std::abort();  // in memory nothing can fail
    if (result == ProfileWrite::alreadyStored && after != before)
        std::abort();
    const auto stored = findProfileValue(after, section, key);
    if (!stored || (readsBackAsIs(value) && readProfileString(section, key, "<none>", io.name, io) != value))
        std::abort();
    // Everything but one line is kept: what lies between the common head and tail
    // of the old text holds no line break.
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (hasLineBreak(std::string_view(before).substr(head, before.size() - head - tail)))
        std::abort();
    // Writing the same value again changes no byte.
    const std::string once = after;
    if (writeProfileString(section, key, value, io.name, io) == ProfileWrite::notWritten || io.bytes != once)
        std::abort();
    return 0;
}
