// The Windows stand-in light's rules (tools/standin/windows/controls.h): what the
// control files mean and how the light's pipes are named. Shared by hid.dll,
// cfgmgr32.dll and the light process, so a fault here splits what they agree on.

#include "../../tools/standin/windows/controls.h"

#include <gtest/gtest.h>

namespace win = quorlin::standin::win;

namespace {

const std::wstring kChannel = win::channelOf(L"Z:\\tmp\\light");

// --- pipe names

TEST(StandinPipeNames, EveryInterfaceNumberSurvivesTheRoundTrip)
{
    for (int index = 0; index < win::kMaxInterfaces; ++index)
        EXPECT_EQ(win::interfaceOf(kChannel, win::interfacePath(kChannel, index)), index) << index;
}

TEST(StandinPipeNames, PathCarriesTheIdsAndTheInterfaceAsAUsbHardwareIdDoes)
{
    EXPECT_EQ(win::interfacePath(kChannel, 11), L"\\\\.\\pipe\\" + kChannel + L"\\vid_5046&pid_5631&mi_0b");
}

TEST(StandinPipeNames, ThePipesOwnFileNameIsRecognizedWithoutTheDevicePrefix)
{
    // GetFileInformationByHandleEx gives a pipe handle's name without \\.\pipe.
    EXPECT_EQ(win::interfaceOf(kChannel, L"\\" + kChannel + L"\\vid_5046&pid_5631&mi_02"), 2);
}

TEST(StandinPipeNames, AnotherFoldersPipesAreNotThisLightsInterfaces)
{
    const std::wstring other = win::channelOf(L"Z:\\tmp\\other");
    ASSERT_NE(other, kChannel);
    EXPECT_EQ(win::interfaceOf(kChannel, win::interfacePath(other, 0)), -1);
}

TEST(StandinPipeNames, TheChannelIsStableForOneFolder)
{
    EXPECT_EQ(win::channelOf(L"Z:\\tmp\\light"), kChannel);
    EXPECT_EQ(kChannel.size(), std::wstring(L"quorlin-standin-").size() + 8);
}

TEST(StandinPipeNames, NamesThatOnlyLookAlikeAreRefused)
{
    const std::wstring head = L"\\\\.\\pipe\\" + kChannel + L"\\vid_5046&pid_5631&mi_";
    EXPECT_EQ(win::interfaceOf(kChannel, head), -1);
    EXPECT_EQ(win::interfaceOf(kChannel, head + L"0"), -1);
    EXPECT_EQ(win::interfaceOf(kChannel, head + L"000"), -1);
    EXPECT_EQ(win::interfaceOf(kChannel, head + L"0g"), -1);
    EXPECT_EQ(win::interfaceOf(kChannel, head + L"10"), -1);  // 16: beyond the light's interfaces
    EXPECT_EQ(win::interfaceOf(kChannel, L"\\\\.\\pipe\\" + kChannel + L"\\vid_046d&pid_c52b&mi_00"), -1);
    EXPECT_EQ(win::interfaceOf(kChannel, L""), -1);
}

// --- control files

TEST(StandinControlFiles, MissingPresentMeansPluggedInTheFirstGeneration)
{
    const win::Presence state = win::parsePresence(std::nullopt);
    EXPECT_TRUE(state.plugged);
    EXPECT_EQ(state.generation, 0u);
}

TEST(StandinControlFiles, PresentGivesStateAndGeneration)
{
    const win::Presence state = win::parsePresence(std::string("0 41\n"));
    EXPECT_FALSE(state.plugged);
    EXPECT_EQ(state.generation, 41u);
    // Beyond 32 bits: generations are counted on Windows too, where long is 32 bits.
    EXPECT_EQ(win::parsePresence(std::string("1 99999999999")).generation, 99999999999ull);
}

TEST(StandinControlFiles, OddPresentCountsAsTheDefault)
{
    EXPECT_TRUE(win::parsePresence(std::string("unplugged 3")).plugged);
    EXPECT_EQ(win::parsePresence(std::string("1 -4")).generation, 0u);
    EXPECT_EQ(win::parsePresence(std::string("1 1234567890123")).generation, 0u);
}

TEST(StandinControlFiles, InterfaceCountOutsideItsRangeIsTheDefault)
{
    EXPECT_EQ(win::parseInterfaces(std::nullopt), 1);
    EXPECT_EQ(win::parseInterfaces(std::string("0")), 0);
    EXPECT_EQ(win::parseInterfaces(std::string("16")), 16);
    EXPECT_EQ(win::parseInterfaces(std::string("17")), 1);
    EXPECT_EQ(win::parseInterfaces(std::string("two")), 1);
}

TEST(StandinControlFiles, SerialKeepsPrintableAsciiOnly)
{
    EXPECT_EQ(win::parseSerial(std::nullopt), L"SIM0001");
    EXPECT_EQ(win::parseSerial(std::string("  \n")), L"SIM0001");
    EXPECT_EQ(win::parseSerial(std::string("AB\x01" "C\xC3\xA9 second")), L"AB?C??");
    EXPECT_EQ(win::parseSerial(std::string(300, 'x')).size(), 126u);
}

TEST(StandinControlFiles, OpenErrorNamesItsInterfaceOrEvery)
{
    const std::optional<std::string> text = std::string("1 EBUSY\n* EACCES\n");
    EXPECT_EQ(win::openErrorOf(text, 1), "EBUSY");
    EXPECT_EQ(win::openErrorOf(text, 0), "EACCES");
    EXPECT_EQ(win::openErrorOf(std::string("2 EIO"), 0), "");
}

TEST(StandinControlFiles, BrokenOpenErrorLinesAreSkippedAndZeroMeansNone)
{
    EXPECT_EQ(win::openErrorOf(std::string("EACCES\nx EIO\n0 0\n0 EPERM\n"), 0), "EPERM");
    EXPECT_EQ(win::openErrorOf(std::nullopt, 0), "");
}

TEST(StandinControlFiles, FailWriteTakesIndexesOrAll)
{
    EXPECT_TRUE(win::writeFails(std::string("all"), 5));
    EXPECT_TRUE(win::writeFails(std::string("1 3\n"), 3));
    EXPECT_FALSE(win::writeFails(std::string("1 3\n"), 2));
    EXPECT_FALSE(win::writeFails(std::nullopt, 0));
}

TEST(StandinControlFiles, UnknownReplyModeIsNormal)
{
    EXPECT_EQ(win::parseReply(std::string("short\n")), win::ReplyMode::Short);
    EXPECT_EQ(win::parseReply(std::string("none")), win::ReplyMode::None);
    EXPECT_EQ(win::parseReply(std::string("wrong")), win::ReplyMode::Wrong);
    EXPECT_EQ(win::parseReply(std::string("sometimes")), win::ReplyMode::Normal);
}

TEST(StandinControlFiles, SettingsReadWithBlanksAndWrittenBackAlike)
{
    const quorlin::SettingBytes bytes = win::parseSettings(std::string("01 02 03 04 05 06 07\n08 09 0a 0B 0c 0d FF\n"));
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[10], 0x0B);
    EXPECT_EQ(bytes[13], 0xFF);
    EXPECT_EQ(win::formatSettings(bytes), "01 02 03 04 05 06 07 08 09 0a 0b 0c 0d ff\n");
    EXPECT_EQ(win::parseSettings(win::formatSettings(bytes)), bytes);
}

TEST(StandinControlFiles, SettingsOfTheWrongLengthOrWithOtherCharactersAreTheDefaults)
{
    EXPECT_EQ(win::parseSettings(std::string("0102030405060708090a0b0c0d")), quorlin::defaultSettings);
    EXPECT_EQ(win::parseSettings(std::string("0102030405060708090a0b0c0d0e0f")), quorlin::defaultSettings);
    EXPECT_EQ(win::parseSettings(std::string("0102030405060708090a0b0c0d,e")), quorlin::defaultSettings);
    EXPECT_EQ(win::parseSettings(std::nullopt), quorlin::defaultSettings);
}

// --- errors as Windows reports them

TEST(StandinOpenErrors, ErrnoNamesAndNumbersMapToTheDriversErrors)
{
    constexpr unsigned long kAccessDenied = 5, kSharingViolation = 32, kFileNotFound = 2, kGenFailure = 31;
    EXPECT_EQ(win::win32ErrorFor("EACCES"), kAccessDenied);
    EXPECT_EQ(win::win32ErrorFor("EPERM"), kAccessDenied);
    EXPECT_EQ(win::win32ErrorFor("13"), kAccessDenied);
    EXPECT_EQ(win::win32ErrorFor("EBUSY"), kSharingViolation);
    EXPECT_EQ(win::win32ErrorFor("ENOENT"), kFileNotFound);
    EXPECT_EQ(win::win32ErrorFor("EIO"), kGenFailure);
    EXPECT_EQ(win::win32ErrorFor("ELOOP"), kGenFailure);
}

}  // namespace
