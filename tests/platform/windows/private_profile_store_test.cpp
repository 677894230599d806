#include "platform/windows/private_profile_store.h"

#include "child_process.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quorlin {
namespace {

// The profile functions take ANSI names. A name the code page cannot hold must not
// be handed over as a best-fit stand-in, which could name another file.
TEST(PrivateProfileStore, APathOutsideTheCodePageIsLeftAlone)
{
    test::WindowsTempDir dir;
    const std::filesystem::path folder = dir.path / L"quorlin-\U0001F600";
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / L"Language.ini";
    std::ofstream(file, std::ios::binary) << "[Type]\r\nMyType=English,1;\r\n";
    const std::string path = narrow(file.wstring());

    PrivateProfileStore store;
    EXPECT_EQ(store.read("Type", "MyType", "0", path), "0");
    EXPECT_EQ(store.write("Type", "MyType", "Japanese,1;", path), ProfileWrite::notWritten);
    EXPECT_EQ(store.read("Type", "MyType", "0", narrow((dir.path / L"Language.ini").wstring())), "0")
        << "nothing written elsewhere either";
}

TEST(PrivateProfileStore, ANonAsciiFolderInTheCodePageWorks)
{
    test::WindowsTempDir dir;
    const std::string name = "Zo\xC3\xAB";  // "Zoë": in every Western code page
    if (!toAnsiCodePage(name))
        GTEST_SKIP() << "this system's code page has no ë";
    const std::filesystem::path folder = dir.path / widen(name);
    std::filesystem::create_directory(folder);
    const std::string path = narrow((folder / L"Language.ini").wstring());
    PrivateProfileStore store;
    EXPECT_EQ(store.write("Type", "MyType", "Japanese,1;", path), ProfileWrite::written);
    EXPECT_EQ(store.read("Type", "MyType", "0", path), "Japanese,1;");
    EXPECT_TRUE(std::filesystem::exists(folder / L"Language.ini"));
}

}  // namespace
}  // namespace quorlin
