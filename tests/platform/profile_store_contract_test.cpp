// What the language setting needs of a profile store, checked against the store of
// the system this is built for: the project's INI module on Linux
// (IniProfileStore), the Windows profile functions on Windows. One source; where
// Windows itself behaves differently, the expectation says so by name.
#include "platform/profile_store.h"
#include "support/file_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define QUORLIN_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define QUORLIN_PROCESS_ID getpid()
#endif

namespace quorlin {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// The Windows profile functions write their lines with CRLF. Wine's rewrite the
// whole file from what they parsed: every line gets CRLF and blank lines are
// dropped (what Windows itself does to untouched lines is not seen here).
constexpr bool kWindowsProfileFunctions = true;
#else
// The project's module changes the bytes of one line and keeps the file's endings
// and its blank lines.
constexpr bool kWindowsProfileFunctions = false;
#endif

// The path as the program names it: relative to the current folder.
const std::string kPath = ".\\Language.ini";

class ProfileStoreContract : public ::testing::Test {
protected:
    ProfileStoreContract()
    {
        static std::atomic<int> counter{0};
        folder = fs::temp_directory_path()
                 / ("quorlin-profile-" + std::to_string(QUORLIN_PROCESS_ID) + "-" + std::to_string(++counter));
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    ~ProfileStoreContract() override
    {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void put(const std::string& text) { test::writeFileText(folder / "Language.ini", text); }
    std::string file() const { return test::readFileText(folder / "Language.ini"); }
    // The file's text with CRLF read as LF, and for the Windows functions without
    // blank lines: what both stores must agree on.
    std::string lines() const { return comparable(file()); }
    static std::string comparable(std::string text)
    {
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.erase(at, 1);
        for (std::size_t at; kWindowsProfileFunctions && (at = text.find("\n\n")) != std::string::npos;)
            text.erase(at, 1);
        return text;
    }
    std::string read(const std::string& defaultValue = "<default>")
    {
        return store.read("Type", "MyType", defaultValue, kPath);
    }

    ProfileStore& store = systemProfileStore();
    const fs::path previous = fs::current_path();
    fs::path folder;
};

TEST_F(ProfileStoreContract, AbsenceGivesTheDefault)
{
    EXPECT_EQ(read("0"), "0") << "no file";
    put("[Other]\nMyType=English,1;\n");
    EXPECT_EQ(read("0"), "0") << "no section";
    put("[Type]\nOtherKey=English,1;\n");
    EXPECT_EQ(read("0"), "0") << "no key";
    put("[Type]\nMyType=\n");
    EXPECT_EQ(read("0"), "") << "an empty value is a value";
}

TEST_F(ProfileStoreContract, AtMostNinetyNineCharactersAreRead)
{
    const std::string value(150, 'v');
    put("[Type]\nMyType=" + value + "\n");
    EXPECT_EQ(read(), value.substr(0, 99));
    put("[Type]\nMyType=" + value.substr(0, 99) + "\n");
    EXPECT_EQ(read(), value.substr(0, 99)) << "exactly 99 fit";
    put("[Type]\n");
    EXPECT_EQ(read(value), value.substr(0, 99)) << "a long default is cut the same way";
}

TEST_F(ProfileStoreContract, AWriteChangesOnlyItsKeyAndKeepsEveryOtherLine)
{
    const std::string before =
        "; Quorlin's language\n"
        "[Fonts]\n"
        "MyType=not this one\n"
        "\n"
        "[type]\n"
        "Before=1\n"
        "mytype=English,1;Japanese,0;\n"
        "After=2\n"
        "\n"
        "[Other]\n"
        "Key=value\n";
    put(before);
    EXPECT_EQ(store.write("Type", "MyType", "English,0;Japanese,1;", kPath), ProfileWrite::written);
    std::string expected = before;
    expected.replace(expected.find("mytype=English,1;Japanese,0;"), 28, "mytype=English,0;Japanese,1;");
    EXPECT_EQ(lines(), comparable(expected));
    EXPECT_EQ(read(), "English,0;Japanese,1;");
    if (!kWindowsProfileFunctions) {
        EXPECT_EQ(file(), expected) << "every other byte kept";
    }
}

TEST_F(ProfileStoreContract, TheLineEndingsAfterAWrite)
{
    put("[Type]\nMyType=English,1;\n");
    EXPECT_EQ(store.write("Type", "MyType", "Japanese,1;", kPath), ProfileWrite::written);
    if (kWindowsProfileFunctions) {
        EXPECT_NE(file().find("MyType=Japanese,1;\r\n"), std::string::npos) << "Windows writes its line with CRLF";
    } else {
        EXPECT_EQ(file(), "[Type]\nMyType=Japanese,1;\n") << "the file's own LF is kept";
    }
}

TEST_F(ProfileStoreContract, AValueThatWouldBreakTheLinesIsNotWritten)
{
    put("[Type]\nMyType=English,1;\n");
    EXPECT_EQ(store.write("Type", "MyType", "English,0;\n[Evil]\nX=1", kPath), ProfileWrite::notWritten);
    EXPECT_EQ(store.write("Type", "My\nType", "1", kPath), ProfileWrite::notWritten);
    EXPECT_EQ(file(), "[Type]\nMyType=English,1;\n");
}

TEST_F(ProfileStoreContract, AReadOnlyFileIsNotWritten)
{
    put("[Type]\nMyType=English,1;\n");
    const fs::path path = folder / "Language.ini";
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(path, writable, fs::perm_options::remove);
    EXPECT_EQ(store.write("Type", "MyType", "Japanese,1;", kPath), ProfileWrite::notWritten);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(file(), "[Type]\nMyType=English,1;\n");
}

}  // namespace
}  // namespace quorlin
