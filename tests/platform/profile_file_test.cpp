#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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
        if (failReads)
            return {ProfileFileRead::Status::failed, {}};
        const auto found = files.find(path);
        return found == files.end() ? ProfileFileRead{ProfileFileRead::Status::missing, {}}
                                    : ProfileFileRead{ProfileFileRead::Status::ok, found->second};
    }
    std::optional<unsigned> permissions(const std::string&) override { return 0640; }
    bool writeNewFile(const std::string& path, std::string_view bytes, std::optional<unsigned>) override
    {
        ++writes;
        return !failWrites && files.emplace(path, bytes).second;
    }
    bool rename(const std::string& from, const std::string& to) override
    {
        return !failRenames && (files[to] = files[from], files.erase(from), true);
    }
    void remove(const std::string& path) override { files.erase(path); }

    std::map<std::string, std::string> files;
    bool failReads = false, failWrites = false, failRenames = false;
    int writes = 0;
};

std::string readValue(const std::string& text)
{
    FakeProfileIo io;
    io.files["f.ini"] = text;
    return readProfileString("Type", "MyType", "<default>", "f.ini", io);
}

std::string afterWrite(const std::string& text, std::string_view value)
{
    FakeProfileIo io;
    io.files["f.ini"] = text;
    writeProfileString("Type", "MyType", value, "f.ini", io);
    return io.files["f.ini"];
}

TEST(ProfileRead, NamesAreCaseBlindAndValuesTrimmedAndUnquoted)
{
    EXPECT_EQ(readValue("[type]\nmytype=English,1;\n"), "English,1;");
    EXPECT_EQ(readValue("  [ TYPE ]  \n\t MyType \t=  English,1;  \n"), "English,1;");
    EXPECT_EQ(readValue("[Type]\nMyType=\"  quoted  \"\n"), "  quoted  ");
    EXPECT_EQ(readValue("[Type]\nMyType='single'\n"), "single");
    EXPECT_EQ(readValue("[Type]\nMyType=\"mixed'\n"), "\"mixed'");
    EXPECT_EQ(readValue("[Type]\nMyType=\"\n"), "\"");
    EXPECT_EQ(readValue("[Type]\nMyType=a=b\n"), "a=b");
}

TEST(ProfileRead, CommentsStrayLinesAndKeysOutsideTheSectionAreNotSeen)
{
    EXPECT_EQ(readValue("MyType=outside\n[Type]\n"), "<default>");
    EXPECT_EQ(readValue("[Type]\n  ;MyType=commented\nMyType\nMyType=real\n"), "real");
    EXPECT_EQ(readValue("[Other]\nMyType=x\n[Type]\nOther=y\n"), "<default>");
    EXPECT_EQ(readValue("\xEF\xBB\xBF[Type]\nMyType=after a BOM\n"), "after a BOM");
}

TEST(ProfileRead, EveryLineEndingSeparatesLines)
{
    EXPECT_EQ(readValue("[Type]\rA=1\rMyType=cr\r"), "cr");
    EXPECT_EQ(readValue("[Type]\r\nA=1\r\nMyType=crlf\r\n"), "crlf");
    EXPECT_EQ(readValue("[Type]\r\nA=1\nMyType=mixed\r[Next]\n"), "mixed");
    EXPECT_EQ(readValue("[Type]\nMyType=no final break"), "no final break");
}

TEST(ProfileRead, FirstSectionAndFirstKeyWin)
{
    EXPECT_EQ(readValue("[Type]\nMyType=first\nMYTYPE=second\n"), "first");
    EXPECT_EQ(readValue("[Type]\nMyType=first\n[type]\nMyType=second\n"), "first");
    EXPECT_EQ(readValue("[Type]\nOther=1\n[Type]\nMyType=in the second\n"), "<default>");
}

TEST(ProfileRead, EmptyValueIsNotTheDefaultButAbsenceIs)
{
    EXPECT_EQ(readValue("[Type]\nMyType=\n"), "");
    EXPECT_EQ(readValue("[Type]\nMyType=   \n"), "");
    EXPECT_EQ(readValue(""), "<default>");
    EXPECT_EQ(readValue("[Type]\nMyTypes=1\n"), "<default>");

    FakeProfileIo io;
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "absent.ini", io), "0");
    io.files["f.ini"] = "[Type]\nMyType=x\n";
    io.failReads = true;
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "f.ini", io), "0");
}

TEST(ProfileRead, KeepsAtMost99BytesAndStopsAtNul)
{
    const std::string longValue(150, 'x');
    EXPECT_EQ(readValue("[Type]\nMyType=" + longValue + "\n"), longValue.substr(0, 99));
    EXPECT_EQ(readValue("[Type]\nMyType=" + longValue.substr(0, 99) + "\n").size(), 99u);
    EXPECT_EQ(readValue(std::string("[Type]\nMyType=ab\0cd\n", 20)), "ab");

    FakeProfileIo io;
    EXPECT_EQ(readProfileString("Type", "MyType", longValue, "absent.ini", io).size(), 99u);
}

TEST(ProfileWrite, ChangesOnlyTheKeysValueAndKeepsEveryOtherByte)
{
    const std::string before = "; settings\r\n[Other]\r\nMyType=stay\r\n\r\n[ type ]\r\n  mytype = old value  \r\n"
                               "Next=1\r\n[Last]\nX=2";
    const std::string after = "; settings\r\n[Other]\r\nMyType=stay\r\n\r\n[ type ]\r\n  mytype = new\r\n"
                              "Next=1\r\n[Last]\nX=2";
    EXPECT_EQ(afterWrite(before, "new"), after);
    EXPECT_EQ(afterWrite("[Type]\rMyType=a\r", "b"), "[Type]\rMyType=b\r");
    EXPECT_EQ(afterWrite("[Type]\nMyType=\nX=1", "v"), "[Type]\nMyType=v\nX=1");
}

TEST(ProfileWrite, AddsTheKeyAfterTheLastFilledLineOfItsSection)
{
    EXPECT_EQ(afterWrite("[Type]\r\nA=1\r\n\r\n\r\n[Next]\r\nB=2\r\n", "v"),
              "[Type]\r\nA=1\r\nMyType=v\r\n\r\n\r\n[Next]\r\nB=2\r\n");
    EXPECT_EQ(afterWrite("[Type]\n[Next]\n", "v"), "[Type]\nMyType=v\n[Next]\n");
    EXPECT_EQ(afterWrite("[Type]\nA=1", "v"), "[Type]\nA=1\nMyType=v\n");
    EXPECT_EQ(afterWrite("[Type]\nA=1\n[Type]\nB=2\n", "v"), "[Type]\nA=1\nMyType=v\n[Type]\nB=2\n");
}

TEST(ProfileWrite, AddsTheSectionAtTheEndOrCreatesTheFile)
{
    EXPECT_EQ(afterWrite("[Other]\r\nA=1\r\n", "v"), "[Other]\r\nA=1\r\n[Type]\r\nMyType=v\r\n");
    EXPECT_EQ(afterWrite("[Other]\rA=1", "v"), "[Other]\rA=1\r[Type]\rMyType=v\r");
    EXPECT_EQ(afterWrite("", "v"), "[Type]\nMyType=v\n");

    FakeProfileIo io;
    writeProfileString("Type", "MyType", "English,0;Japanese,1;", "new.ini", io);
    EXPECT_EQ(io.files["new.ini"], "[Type]\nMyType=English,0;Japanese,1;\n");
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "new.ini", io), "English,0;Japanese,1;");
    EXPECT_EQ(io.files.size(), 1u) << "no temporary file is left behind";
}

TEST(ProfileWrite, StoredValueOrUnstorableInputWritesNothing)
{
    FakeProfileIo io;
    io.files["f.ini"] = "[Type]\nMyType = \"English,1;\"\n";
    writeProfileString("type", "MYTYPE", "English,1;", "f.ini", io);
    writeProfileString("Type", "MyType", "two\nlines", "f.ini", io);
    writeProfileString("Type", "MyType", "cr\rhere", "f.ini", io);
    writeProfileString("Ty]pe", "MyType", "v", "f.ini", io);
    writeProfileString("Type", "My=Type", "v", "f.ini", io);
    writeProfileString("Type", ";MyType", "v", "f.ini", io);
    writeProfileString("Type", " ", "v", "f.ini", io);
    EXPECT_EQ(io.writes, 0);
    EXPECT_EQ(io.files["f.ini"], "[Type]\nMyType = \"English,1;\"\n");
}

TEST(ProfileWrite, FailuresAreSilentAndLoseNothing)
{
    const std::string original = "[Type]\nMyType=English,1;\n";
    for (const char* failure : {"read", "write", "rename"}) {
        FakeProfileIo io;
        io.files["f.ini"] = original;
        io.failReads = std::string(failure) == "read";
        io.failWrites = std::string(failure) == "write";
        io.failRenames = std::string(failure) == "rename";
        writeProfileString("Type", "MyType", "Japanese,1;", "f.ini", io);
        io.failReads = false;
        EXPECT_EQ(io.files, (std::map<std::string, std::string>{{"f.ini", original}})) << failure;
    }
}

TEST(ProfilePath, WindowsStyleNamesResolveInTheCurrentDirectory)
{
    EXPECT_EQ(nativePath(".\\Language.ini"), "Language.ini");
    EXPECT_EQ(nativePath(".\\conf\\Language.ini"), "conf/Language.ini");
    EXPECT_EQ(nativePath(".\\\\Language.ini"), "Language.ini");
    EXPECT_EQ(nativePath("..\\Language.ini"), "../Language.ini");
    EXPECT_EQ(nativePath("/etc/quorlin/Language.ini"), "/etc/quorlin/Language.ini");
    EXPECT_EQ(nativePath("Language.ini"), "Language.ini");
}

// The real file system, in a fresh folder that is also the current directory.
class ProfileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quorlin-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    static void put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {})); }

    fs::path folder_;
    fs::path previous_;
};

TEST_F(ProfileOnDisk, DotBackslashNameMeansTheCurrentDirectoryAndPermissionsAreKept)
{
    put("Language.ini", "[Type]\r\nMyType=English,1;\r\n");
    ::chmod("Language.ini", 0640);
    EXPECT_EQ(readProfileString("Type", "MyType", "0", ".\\Language.ini"), "English,1;");
    writeProfileString("Type", "MyType", "Japanese,1;", ".\\Language.ini");
    EXPECT_EQ(contents(folder_ / "Language.ini"), "[Type]\r\nMyType=Japanese,1;\r\n");
    struct stat info {};
    ASSERT_EQ(::stat("Language.ini", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    writeProfileString("Type", "MyType", "c", ".\\Fresh.ini");
    EXPECT_EQ(contents("Fresh.ini"), "[Type]\nMyType=c\n");
    EXPECT_EQ(entries(), 2u) << "no temporary file is left behind";
}

TEST_F(ProfileOnDisk, StoredValueLeavesTheFileUntouched)
{
    put("Language.ini", "[Type]\nMyType=English,1;\n");
    struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, "Language.ini", old, 0), 0);
    struct stat before {};
    ASSERT_EQ(::stat("Language.ini", &before), 0);

    writeProfileString("Type", "MyType", "English,1;", "Language.ini");

    struct stat after {};
    ASSERT_EQ(::stat("Language.ini", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST_F(ProfileOnDisk, MissingFolderOrAFolderInPlaceOfTheFileIsSilent)
{
    writeProfileString("Type", "MyType", "English,1;", ".\\absent\\Language.ini");
    EXPECT_EQ(entries(), 0u);
    fs::create_directory("Language.ini");
    writeProfileString("Type", "MyType", "English,1;", "Language.ini");
    EXPECT_TRUE(fs::is_directory("Language.ini"));
    EXPECT_EQ(entries(), 1u);
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "Language.ini"), "0");
}

}  // namespace
}  // namespace quorlin
