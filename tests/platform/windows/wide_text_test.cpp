#include "platform/windows/wide_text.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(WideText, RoundTripsTextOutsideLatin)
{
    const std::string japanese = "接続状態: Zoë 😀";
    EXPECT_EQ(widen(japanese), L"接続状態: Zoë \U0001F600");
    EXPECT_EQ(narrow(widen(japanese)), japanese);
    EXPECT_EQ(widen(""), L"");
    EXPECT_EQ(narrow(L""), "");
}

TEST(WideText, InvalidBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(widen("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(widen("\xC0\xAF"), L"\uFFFD\uFFFD") << "an overlong '/' is no slash";
    const std::wstring cut = widen("x\xE6\x97");
    ASSERT_GE(cut.size(), 2u);
    EXPECT_EQ(cut[0], L'x');
    EXPECT_EQ(cut.find_first_not_of(L'\uFFFD', 1), std::wstring::npos) << "a cut-off sequence is replaced, not dropped";
}

TEST(WideText, TheAnsiFormRefusesWhatTheCodePageCannotHold)
{
    EXPECT_EQ(toAnsiCodePage(".\\Language.ini"), ".\\Language.ini");
    EXPECT_EQ(toAnsiCodePage("C:\\\xF0\x9F\x98\x80\\Language.ini"), std::nullopt) << "no code page holds an emoji";
    EXPECT_EQ(toAnsiCodePage("bad\xFF"), std::nullopt);
}

}  // namespace
}  // namespace quorlin
