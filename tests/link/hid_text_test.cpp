// hidapi's wide strings as UTF-8: the same bytes whether wchar_t holds UTF-32 (Linux)
// or UTF-16 (Windows, where this suite also runs).
#include "link/hid_text.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(HidText, EveryLengthOfCodePointBecomesItsUtf8)
{
    EXPECT_EQ(hidTextToUtf8(L"SIM0001"), "SIM0001");
    EXPECT_EQ(hidTextToUtf8(L"\u00E9\u8A2D\U0001F4A1"), "\xC3\xA9\xE8\xA8\xAD\xF0\x9F\x92\xA1");
    EXPECT_EQ(hidTextToUtf8(nullptr), "");
}

TEST(HidText, AnUnpairedSurrogateBecomesAQuestionMark)
{
    const wchar_t lone[] = {static_cast<wchar_t>(0xD83D), L'x', static_cast<wchar_t>(0xDCA1), L'\0'};
    EXPECT_EQ(hidTextToUtf8(lone), "?x?");
}

}  // namespace
}  // namespace quorlin
