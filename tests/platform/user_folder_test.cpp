#include "platform/linux/xdg_user_folder.h"

#include "platform/spawned_process.h"
#include "support/file_text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorlin {
namespace {

namespace fs = std::filesystem;

using test::readFileText;
using test::writeFileText;

TEST(UserFolder, PathFollowsAnAbsoluteXdgConfigHomeElseHome)
{
    EXPECT_EQ(userFolderPath({"/c", "/h", "", {}}), "/c/quorlin");
    EXPECT_EQ(userFolderPath({"relative", "/h", "", {}}), "/h/.config/quorlin") << "a relative value is ignored";
    EXPECT_EQ(userFolderPath({"", "h", "", {}}), "");
}

class UserFolderSeeding : public ::testing::Test {
protected:
    UserFolderSeeding()
    {
        fs::create_directory(defaults);
        writeFileText(defaults / "Language.ini", "[Type]\nMyType=English,1;Japanese,0;\n");
        writeFileText(defaults / "red.she", "QWidget {}\n");
    }
    ~UserFolderSeeding() override { fs::current_path(previous); }
    std::vector<std::string> enter() { return enterUserFolder({home.string(), "", defaults.string(), {"Language.ini", "red.she"}}); }

    const fs::path previous = fs::current_path();
    test::TempDir dir;
    const fs::path defaults = dir.path / "share";
    const fs::path home = dir.path / "new" / "config";
    const fs::path folder = home / "quorlin";
};

TEST_F(UserFolderSeeding, MissingFilesAreCopiedAndNothingPresentIsReplaced)
{
    EXPECT_TRUE(enter().empty());
    EXPECT_EQ(fs::current_path(), folder);
    EXPECT_EQ(readFileText("Language.ini"), readFileText(defaults / "Language.ini"));
    EXPECT_EQ(readFileText("red.she"), readFileText(defaults / "red.she"));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

    // The user's own file stays byte for byte, a dangling link stays a link, and
    // no temporary is left behind.
    writeFileText("Language.ini", "[Type]\nMyType=English,0;Japanese,1;");
    fs::remove("red.she");
    fs::create_symlink("elsewhere.she", "red.she");
    EXPECT_TRUE(enter().empty());
    EXPECT_EQ(readFileText("Language.ini"), "[Type]\nMyType=English,0;Japanese,1;");
    EXPECT_TRUE(fs::is_symlink("red.she"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST_F(UserFolderSeeding, FailuresAreReportedAndABadFolderIsNotEntered)
{
    fs::remove(defaults / "red.she");
    const auto problems = enter();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("red.she"), std::string::npos) << problems[0];
    EXPECT_EQ(fs::current_path(), folder) << "the folder is used without its skin";
    EXPECT_TRUE(fs::exists("Language.ini"));

    fs::current_path(previous);
    fs::remove_all(folder);
    writeFileText(folder, "not a folder");
    EXPECT_EQ(enter().size(), 1u);
    EXPECT_EQ(fs::current_path(), previous);
}

}  // namespace
}  // namespace quorlin
