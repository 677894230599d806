// The skin file's colours per control kind and state.
#include "ui/win32/skin_palette.h"
#include "support/file_text.h"

#include <gtest/gtest.h>


namespace quorlin::test {
namespace {

using win32::parseColour;
using win32::parseSkin;
using win32::Rgb;
using win32::SkinPart;
using win32::SkinRole;
using win32::SkinState;

std::optional<Rgb> colourOf(const std::string& sheet, SkinPart part, SkinState state, SkinRole role)
{
    return parseSkin(sheet).colour(part, state, role);
}

// Colours

TEST(SkinColour, AnythingElseIsNoColour)
{
    EXPECT_FALSE(parseColour("#12345"));
    EXPECT_FALSE(parseColour("#gg0000"));
    EXPECT_FALSE(parseColour("transparent"));
    EXPECT_FALSE(parseColour("2b1214x"));
    EXPECT_FALSE(parseColour(""));
}

// Rules

TEST(SkinPalette, ShippedSkinGivesTheWindowAndButtonColours)
{
    const std::string text = test::readFileText("red.she");
    ASSERT_FALSE(text.empty()) << "red.she beside the test";
    const auto palette = parseSkin(text);
    EXPECT_EQ(palette.colour(SkinPart::Window, SkinState::Normal, SkinRole::Background), (Rgb{0x2b, 0x12, 0x14}));
    EXPECT_EQ(palette.colour(SkinPart::Button, SkinState::Normal, SkinRole::Background), (Rgb{0xb3, 0x24, 0x2b}));
    EXPECT_EQ(palette.colour(SkinPart::Button, SkinState::Pressed, SkinRole::Background), (Rgb{0x8a, 0x1a, 0x20}));
    EXPECT_EQ(palette.colour(SkinPart::Button, SkinState::Normal, SkinRole::Border), (Rgb{0xe0, 0x47, 0x4f}));
    EXPECT_EQ(palette.colour(SkinPart::Label, SkinState::Disabled, SkinRole::Text), (Rgb{0x9b, 0x7b, 0x7d}));
    EXPECT_EQ(palette.colour(SkinPart::TrackThumb, SkinState::Disabled, SkinRole::Background), (Rgb{0x7a, 0x5a, 0x5c}));
    EXPECT_EQ(palette.colour(SkinPart::TrackFilled, SkinState::Normal, SkinRole::Background), (Rgb{0xe0, 0x47, 0x4f}));
}

TEST(SkinPalette, StateWithoutOwnColourFallsBackToNormal)
{
    const std::string sheet = "QPushButton { color: #111111; } QPushButton:disabled { color: #222222; }";
    EXPECT_EQ(colourOf(sheet, SkinPart::Button, SkinState::Disabled, SkinRole::Text), (Rgb{0x22, 0x22, 0x22}));
    EXPECT_EQ(colourOf(sheet, SkinPart::Button, SkinState::Pressed, SkinRole::Text), (Rgb{0x11, 0x11, 0x11}));
}

TEST(SkinPalette, TextThatIsNoStyleSheetGivesNoColours)
{
    EXPECT_FALSE(parseSkin("").any());
    EXPECT_FALSE(parseSkin("just some words # { }").any());
    EXPECT_FALSE(parseSkin("QLabel { color: #ffffff;").any());  // never closed
    EXPECT_FALSE(parseSkin("/* QLabel { color: #ffffff; }").any());
}

}  // namespace
}  // namespace quorlin::test
