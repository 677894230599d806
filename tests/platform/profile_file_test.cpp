#include "platform/linux/profile_file.h"

#include "platform/as_user.h"
#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
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
            return {failReads ? ProfileFileRead::Status::failed : ProfileFileRead::Status::missing, {}, 0};
        return {ProfileFileRead::Status::ok, found->second, 0640};
    }
    std::string resolveLinks(const std::string& path) override { return path; }
    bool canAccess(const std::string&, int) override { return true; }
    bool writeNewFile(const std::string& path, std::string_view bytes, bool, unsigned) override
    {
        return !failWrites && files.emplace(path, bytes).second;
    }
    bool rename(const std::string& from, const std::string& to) override
    {
        return !failRenames && (files[to] = files[from], files.erase(from), true);
    }
    bool rewriteInPlace(const std::string&, std::string_view, std::string_view) override { return false; }
    void remove(const std::string& path) override { files.erase(path); }
    std::vector<std::string> folderEntries(const std::string&) override { return {}; }
    bool processExists(pid_t) override { return true; }

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
    std::ostringstream warnings;
    EXPECT_EQ(readProfileString("Type", "MyType", "0", "f.ini", io, warnings), "0") << "unreadable file";

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

    FakeProfileIo io;
    io.files["f.ini"] = "[Type]\nMyType = old\n";
    for (int save = 0; save < 2; ++save)
        writeProfileString("Type", "MyType", " v", "f.ini", io);
    EXPECT_EQ(io.files["f.ini"], "[Type]\nMyType = v\n") << "a value's own blanks do not pile up";
}

TEST(ProfileWrite, StoredValueUnstorableInputOrAnyFailureChangesNothing)
{
    const std::map<std::string, std::string> original{{"f.ini", "[Type]\nMyType = \"English,1;\"\n"}};
    FakeProfileIo io;
    io.files = original;
    std::ostringstream warnings;
    for (const auto& [section, key, value] : {std::tuple{"type", "MYTYPE", "English,1;"}, {"Type", "MyType", "a\nb"},
                                             {"Type", "MyType", "a\rb"}, {"Ty]pe", "MyType", "v"},
                                             {"Type", "My=Type", "v"}, {"Type", ";MyType", "v"}, {"Type", " ", "v"}})
        writeProfileString(section, key, value, "f.ini", io, warnings);
    EXPECT_EQ(io.files, original) << "already stored, or names and values the file cannot hold";
    for (bool* failure : {&io.failReads, &io.failWrites, &io.failRenames}) {
        *failure = true;
        warnings.str("");
        EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", "f.ini", io, warnings), ProfileWrite::notWritten);
        EXPECT_EQ(io.files, original) << "failure " << failure - &io.failReads;
        const std::string lines = warnings.str();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << "said once: " << lines;
        *failure = false;
    }
}

// The real file system, in a fresh folder.
struct ProfileOnDisk : ::testing::Test {
    std::string at(const std::string& name) const { return (dir.path / name).string(); }
    std::string contents(const std::string& name) const
    {
        return {std::istreambuf_iterator<char>(std::ifstream(at(name), std::ios::binary).rdbuf()), {}};
    }
    void put(const std::string& name, const std::string& text, mode_t mode = 0644) const
    {
        std::ofstream(at(name), std::ios::binary) << text;
        ::chmod(at(name).c_str(), mode);
    }
    struct stat info(const std::string& name) const
    {
        struct stat result {};
        EXPECT_EQ(::lstat(at(name).c_str(), &result), 0) << name;
        return result;
    }
    test::TempDir dir;
};

TEST_F(ProfileOnDisk, ReplacesTheFileKeepingItsPermissionsAndLeavesAStoredValueUntouched)
{
    put("Language.ini", "[Type]\r\nMyType=English,1;\r\n", 0640);
    const std::string ini = at("Language.ini");
    EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", ini), ProfileWrite::written);
    EXPECT_EQ(contents("Language.ini"), "[Type]\r\nMyType=Japanese,1;\r\n");
    const struct stat before = info("Language.ini");
    EXPECT_EQ(before.st_mode & 07777, 0640u);

    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, ini.c_str(), old, 0), 0);
    EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", ini), ProfileWrite::alreadyStored);
    EXPECT_EQ(info("Language.ini").st_ino, before.st_ino) << "not replaced";
    EXPECT_EQ(info("Language.ini").st_mtim.tv_sec, old[0].tv_sec) << "not rewritten";

    writeProfileString("Type", "MyType", "c", at("Fresh.ini"));
    EXPECT_EQ(contents("Fresh.ini"), "[Type]\nMyType=c\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 2) << "no temporary file is left behind";
}

// Whatever stands at the name, a read neither blocks nor runs out of memory, and
// neither a read nor a write changes it; each says so in one line.
TEST_F(ProfileOnDisk, AnythingButARegularFileOfAtMostOneMebibyteIsReadAsAbsentAndLeftAlone)
{
    const std::string valued = "[Type]\nMyType=English,1;\n";
    const std::string fits = valued + std::string(kProfileFileLimit - valued.size(), ';');
    put("fits.ini", fits);
    std::ostringstream warnings;
    EXPECT_EQ(readProfileString("Type", "MyType", "0", at("fits.ini"), systemProfileIo(), warnings), "English,1;");
    EXPECT_EQ(warnings.str(), "") << "exactly 1 MiB is read";

    put("large.ini", fits + ";");
    ASSERT_EQ(::mkfifo(at("fifo.ini").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", at("zero.ini"));
    fs::create_directory(at("folder.ini"));
    for (const std::string name : {"large.ini", "fifo.ini", "zero.ini", "folder.ini"}) {
        const struct stat before = info(name);
        warnings.str("");
        EXPECT_EQ(readProfileString("Type", "MyType", "0", at(name), systemProfileIo(), warnings), "0") << name;
        EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", at(name), systemProfileIo(), warnings),
                  ProfileWrite::notWritten);
        const struct stat after = info(name);
        EXPECT_TRUE(after.st_ino == before.st_ino && after.st_mode == before.st_mode && after.st_size == before.st_size)
            << name;
        const std::string lines = warnings.str();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
    }
    EXPECT_NE(warnings.str().find("not a regular file"), std::string::npos) << warnings.str();
}

TEST_F(ProfileOnDisk, WritesThroughLinksRefusesReadOnlyFilesAndRemovesDeadWritersLeftovers)
{
    fs::create_directory(at("real"));
    put("real/Language.ini", "[Type]\nMyType=English,1;\n");
    fs::create_symlink("real/Language.ini", at("Language.ini"));
    pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string ownPid = std::to_string(getpid());
    const std::vector<std::string> kept = {"Language.ini", ".tmp." + ownPid + ".7", ".tmp.x.1", ".tmp." + ownPid};
    for (const std::string& tail : {".tmp." + std::to_string(gone) + ".3", kept[1], kept[2], kept[3]})
        put("real/Language.ini" + tail, "partial");

    EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", at("Language.ini")), ProfileWrite::written);
    EXPECT_EQ(contents("real/Language.ini"), "[Type]\nMyType=Japanese,1;\n");
    EXPECT_TRUE(fs::is_symlink(at("Language.ini"))) << "the link stays";
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(at("real")))
        left.push_back(entry.path().filename().string().substr(std::string("Language.ini").size()));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"", kept[3], kept[1], kept[2]})) << "only the dead writer's file goes";

    put("readonly.ini", "[Type]\nMyType=English,1;\n", 0444);
    std::ostringstream warnings;
    EXPECT_EQ(writeProfileString("Type", "MyType", "Japanese,1;", at("readonly.ini"), systemProfileIo(), warnings),
              ProfileWrite::notWritten);
    EXPECT_EQ(contents("readonly.ini"), "[Type]\nMyType=English,1;\n");
    EXPECT_NE(warnings.str().find("read-only"), std::string::npos) << warnings.str();
}

// In a folder the user cannot write, a file the user can write is rewritten in
// place; a missing one cannot be made, and says so.
TEST_F(ProfileOnDisk, AWritableFileInAReadOnlyFolderIsRewrittenInPlace)
{
    fs::permissions(dir.path, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directory(at("locked"));
    put("locked/Language.ini", "; keep\n[Type]\nMyType=English,1;\nNext=1\n");
    ASSERT_EQ(::chown(at("locked/Language.ini").c_str(), test::kUser, gid_t(-1)), 0);
    ASSERT_EQ(::chmod(at("locked").c_str(), 0555), 0);
    const ino_t inode = info("locked/Language.ini").st_ino;
    const std::string seen = test::asUser(test::kUser, [&] {
        std::ostringstream warnings;
        std::string result;
        for (const char* name : {"locked/Language.ini", "locked/Missing.ini"}) {
            const ProfileWrite written =
                writeProfileString("Type", "MyType", "English,0;Japanese,1;", at(name), systemProfileIo(), warnings);
            result += written == ProfileWrite::written ? "written " : "not written ";
        }
        return result + warnings.str();
    });
    EXPECT_EQ(seen.substr(0, seen.find(':')), "written not written Quorlin");
    EXPECT_EQ(contents("locked/Language.ini"), "; keep\n[Type]\nMyType=English,0;Japanese,1;\nNext=1\n");
    EXPECT_EQ(info("locked/Language.ini").st_ino, inode);
    ::chmod(at("locked").c_str(), 0755);
}

}  // namespace
}  // namespace quorlin
