#include "platform/windows/app_data_folder.h"

#include "child_process.h"
#include "support/file_text.h"

#include <gtest/gtest.h>


namespace quorlin {
namespace {

namespace fs = std::filesystem;

using test::readFileText;
using test::writeFileText;

fs::path currentFolder()
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    return fs::path(std::wstring(buffer, length));
}

TEST(AppDataFolder, IsQuorlinInAnAbsoluteRoamingFolderOnly)
{
    EXPECT_EQ(userFolderPath({"C:\\Users\\ana\\AppData\\Roaming", "", {}}), "C:\\Users\\ana\\AppData\\Roaming\\Quorlin");
    EXPECT_EQ(userFolderPath({"C:\\Roaming\\", "", {}}), "C:\\Roaming\\Quorlin");
    EXPECT_EQ(userFolderPath({"\\\\server\\home\\ana", "", {}}), "\\\\server\\home\\ana\\Quorlin");
    EXPECT_EQ(userFolderPath({"Roaming", "", {}}), "") << "a relative folder would follow the current one";
    EXPECT_EQ(userFolderPath({"C:Roaming", "", {}}), "");
    EXPECT_EQ(userFolderPath({"", "", {}}), "");
}

TEST(AppDataFolder, TheSystemNamesTheRoamingFolderAndTheProgramsFolder)
{
    const std::string roaming = roamingAppDataFolder();
    EXPECT_FALSE(userFolderPath({roaming, "", {}}).empty()) << roaming;
    EXPECT_TRUE(fs::exists(test::testChild())) << "the program's folder holds its neighbours";
}

class AppDataSeeding : public ::testing::Test {
protected:
    AppDataSeeding()
    {
        fs::create_directories(defaults);
        writeFileText(defaults / "Language.ini", "[Type]\r\nMyType=English,1;Japanese,0;\r\n");
        writeFileText(defaults / "red.she", "skin\r\n");
    }
    ~AppDataSeeding() override { SetCurrentDirectoryW(previous.c_str()); }
    std::vector<std::string> enter()
    {
        return enterUserFolder({narrow(roaming.wstring()), narrow(defaults.wstring()), {"Language.ini", "red.she"}});
    }

    const fs::path previous = currentFolder();
    test::WindowsTempDir dir;
    const fs::path defaults = dir.path / L"Program Files" / L"Quorlin";
    // A user name outside every ANSI code page, and parents that do not exist yet.
    const fs::path roaming = dir.path / L"Zoë 日本" / L"AppData" / L"Roaming";
    const fs::path folder = roaming / L"Quorlin";
};

TEST_F(AppDataSeeding, MissingFilesAreCopiedOnceAndNothingPresentIsReplaced)
{
    EXPECT_EQ(enter(), std::vector<std::string>{});
    EXPECT_TRUE(fs::equivalent(currentFolder(), folder)) << currentFolder();
    EXPECT_EQ(readFileText(folder / "Language.ini"), readFileText(defaults / "Language.ini"));
    EXPECT_EQ(readFileText(folder / "red.she"), readFileText(defaults / "red.she"));

    // The user's own choice stays byte for byte; a folder in a seed file's place stays.
    writeFileText(folder / "Language.ini", "[Type]\r\nMyType=English,0;Japanese,1;\r\n");
    fs::remove(folder / "red.she");
    fs::create_directory(folder / "red.she");
    writeFileText(defaults / "Language.ini", "[Type]\r\nMyType=English,1;\r\n");
    SetCurrentDirectoryW(previous.c_str());
    EXPECT_EQ(enter(), std::vector<std::string>{});
    EXPECT_EQ(readFileText(folder / "Language.ini"), "[Type]\r\nMyType=English,0;Japanese,1;\r\n");
    EXPECT_TRUE(fs::is_directory(folder / "red.she"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST_F(AppDataSeeding, AFileWhereTheFolderGoesIsReportedAndNotEntered)
{
    fs::create_directories(roaming);
    writeFileText(folder, "not a folder");
    const auto problems = enter();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("cannot create " + narrow(folder.wstring()) + ": ", 0), 0u) << problems[0];
    EXPECT_TRUE(fs::equivalent(currentFolder(), previous));
}

}  // namespace
}  // namespace quorlin
