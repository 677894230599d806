#include "platform/profile_file.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <map>
#include <fcntl.h>
#include <sys/stat.h>

namespace quorlin {
namespace {

namespace fs = std::filesystem;

// Files in memory, with failures the test switches on.
struct FakeProfileIo : ProfileIo {
    ProfileFileRead readFile(const std::string& path) override
    {
        const auto found = files.find(path);
        if (failReads || found == files.end())
            return {failReads ? ProfileFileRead::Status::failed : ProfileFileRead::Status::missing, {}};
        return {ProfileFileRead::Status::ok, found->second};
    }
    std::optional<unsigned> permissions(const std::string&) override { return 0640; }
    bool writeNewFile(const std::string& path, std::string_view bytes, std::optional<unsigned>) override
    {
        return !failWrites && files.emplace(path, bytes).second;
    }
    bool rename(const std::string& from, const std::string& to) override
    {
        return !failRenames && (files[to] = files[from], files.erase(from), true);
    }
    void remove(const std::string& path) override { files.erase(path); }

    std::map<std::string, std::string> files;
    bool failReads = false, failWrites = false, failRenames = false;
};

TEST(ProfileRead, FindsTheFirstKeyOfTheFirstSectionTrimmedAndUnquoted)
{
    const auto readValue = [](const std::string& text) {
        FakeProfileIo io;
        io.files["f.ini"] = text;
        return readProfileString("Type", "MyType", "<default>", "f.ini", io);
    };
    const std::string longValue(150, 'x');
    const std::pair<std::string, std::string> cases[] = {
        // Names are case-blind; an empty value is a value, not absence.
        {"  [ TYPE ]  \n\t mytype \t=  English,1;  \n", "English,1;"},
        {"[Type]\nMyType=\"  quoted  \"\n", "  quoted  "}, {"[Type]\nMyType=\"mixed'\n", "\"mixed'"},
        {"[Type]\nMyType=\"\n", "\""}, {"[Type]\nMyType=a=b\n", "a=b"}, {"[Type]\nMyType=\n", ""},
        {"MyType=outside\n[Type]\n", "<default>"}, {"[Type]\n  ;MyType=commented\nMyType\nMyType=real\n", "real"},
        {"[Other]\nMyType=x\n[Type]\nOther=y\n", "<default>"}, {"[Type]\nMyTypes=1\n", "<default>"},
        {"\xEF\xBB\xBF[Type]\nMyType=after a BOM\n", "after a BOM"}, {"[Type]\r\nA=1\nMyType=mixed\r[Next]\n", "mixed"},
        {"[Type]\nMyType=no final break", "no final break"}, {"[Type]\nMyType=first\nMYTYPE=second\n", "first"},
        {"[Type]\nOther=1\n[Type]\nMyType=in the second\n", "<default>"},
        {"[Type]\nMyType=" + longValue + "\n", longValue.substr(0, 99)},
        {"[Type]\nMyType=" + longValue.substr(0, 99) + "\n", longValue.substr(0, 99)},
        {std::string("[Type]\nMyType=ab\0cd\n", 20), "ab"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(readValue(text), expected) << text;

    FakeProfileIo io;
    EXPECT_EQ(readProfileString("Type", "MyType", longValue, "absent.ini", io).size(), 99u) << "default cut too";
    io.files["f.ini"] = "[Type]\nMyType=x\n";
    io.failReads = true;
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "f.ini", io), "0") << "unreadable file";

    EXPECT_EQ(nativePath(".\\conf\\Language.ini"), "conf/Language.ini") << "Windows-style names";
    EXPECT_EQ(nativePath(".\\\\Language.ini"), "Language.ini");
    EXPECT_EQ(nativePath("..\\Language.ini"), "../Language.ini");
}

TEST(ProfileWrite, ChangesOrAddsOnlyTheKeyKeepingEveryOtherByteAndTheLineEnding)
{
    const auto afterWrite = [](const std::string& text) {
        FakeProfileIo io;
        io.files["f.ini"] = text;
        writeProfileString("Type", "MyType", "v", "f.ini", io);
        return io.files["f.ini"];
    };
    const std::pair<std::string, std::string> cases[] = {
        {"; s\r\n[Other]\r\nMyType=stay\r\n\r\n[ type ]\r\n  mytype = old value  \r\nNext=1\r\n[Last]\nX=2",
         "; s\r\n[Other]\r\nMyType=stay\r\n\r\n[ type ]\r\n  mytype = v\r\nNext=1\r\n[Last]\nX=2"},
        {"[Type]\nMyType=\nX=1", "[Type]\nMyType=v\nX=1"}, {"[Type]\n[Next]\n", "[Type]\nMyType=v\n[Next]\n"},
        {"[Type]\r\nA=1\r\n\r\n\r\n[Next]\r\nB=2\r\n", "[Type]\r\nA=1\r\nMyType=v\r\n\r\n\r\n[Next]\r\nB=2\r\n"},
        {"[Type]\nA=1", "[Type]\nA=1\nMyType=v\n"}, {"", "[Type]\nMyType=v\n"},
        {"[Type]\nA=1\n[Type]\nB=2\n", "[Type]\nA=1\nMyType=v\n[Type]\nB=2\n"},
        {"[Other]\rA=1", "[Other]\rA=1\r[Type]\rMyType=v\r"}};
    for (const auto& [before, after] : cases)
        EXPECT_EQ(afterWrite(before), after) << before;
}

TEST(ProfileWrite, StoredValueUnstorableInputOrAnyFailureChangesNothing)
{
    const std::map<std::string, std::string> original{{"f.ini", "[Type]\nMyType = \"English,1;\"\n"}};
    FakeProfileIo io;
    io.files = original;
    for (const auto& [section, key, value] : {std::tuple{"type", "MYTYPE", "English,1;"}, {"Type", "MyType", "a\nb"},
                                             {"Type", "MyType", "a\rb"}, {"Ty]pe", "MyType", "v"},
                                             {"Type", "My=Type", "v"}, {"Type", ";MyType", "v"}, {"Type", " ", "v"}})
        writeProfileString(section, key, value, "f.ini", io);
    EXPECT_EQ(io.files, original) << "already stored, or names and values the file cannot hold";
    for (bool* failure : {&io.failReads, &io.failWrites, &io.failRenames}) {
        *failure = true;
        writeProfileString("Type", "MyType", "Japanese,1;", "f.ini", io);
        EXPECT_EQ(io.files, original) << "failure " << failure - &io.failReads;
        *failure = false;
    }
}

// The real file system, in a fresh folder.
struct ProfileOnDisk : ::testing::Test {
    std::string at(const char* name) const { return (dir.path / name).string(); }
    std::string contents(const char* name) const
    {
        return {std::istreambuf_iterator<char>(std::ifstream(at(name), std::ios::binary).rdbuf()), {}};
    }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path), {})); }
    test::TempDir dir;
};

TEST_F(ProfileOnDisk, ReplacesTheFileKeepingItsPermissionsLeavesAStoredValueUntouchedAndFailsSilently)
{
    const std::string ini = at("Language.ini");
    std::ofstream(ini, std::ios::binary) << "[Type]\r\nMyType=English,1;\r\n";
    ::chmod(ini.c_str(), 0640);
    EXPECT_EQ(readProfileString("Type", "MyType", "0", ini), "English,1;");
    writeProfileString("Type", "MyType", "Japanese,1;", ini);
    EXPECT_EQ(contents("Language.ini"), "[Type]\r\nMyType=Japanese,1;\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);
    EXPECT_EQ(before.st_mode & 07777, 0640u);

    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, ini.c_str(), old, 0), 0);
    writeProfileString("Type", "MyType", "Japanese,1;", ini);
    struct stat after {};
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced";
    EXPECT_EQ(after.st_mtim.tv_sec, old[0].tv_sec) << "not rewritten";

    writeProfileString("Type", "MyType", "c", at("Fresh.ini"));
    EXPECT_EQ(contents("Fresh.ini"), "[Type]\nMyType=c\n");
    EXPECT_EQ(entries(), 2u) << "no temporary file is left behind";

    writeProfileString("Type", "MyType", "c", at("absent/Language.ini"));
    fs::create_directory(at("Folder.ini"));
    writeProfileString("Type", "MyType", "c", at("Folder.ini"));
    EXPECT_TRUE(fs::is_directory(at("Folder.ini")));
    EXPECT_EQ(entries(), 3u) << "a missing folder or a folder in place of the file is left alone";
    EXPECT_EQ(readProfileString("Type", "MyType", "0", at("Folder.ini")), "0");
}

}  // namespace
}  // namespace quorlin
