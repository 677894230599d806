#pragma once
// The connection discs (controls 1007 and 1008): a filled disc with a small highlight
// at its upper left, drawn at the control's size over the window's background.

#include "ui/win32/skin_palette.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace quorlin::win32 {

inline constexpr Rgb kDisconnectedGrey{127, 127, 127};
inline constexpr Rgb kConnectedGreen{0, 128, 0};

// size x size pixels, rows top down, each 0x00RRGGBB, already composed over
// `background`.
std::vector<std::uint32_t> discPixels(int size, Rgb colour, Rgb background);

// Draws the disc into `rect` of `dc`, centred, as large as the rectangle allows.
void drawDisc(HDC dc, const RECT& rect, Rgb colour, COLORREF background);

}  // namespace quorlin::win32
