#include "ui/win32/disc_image.h"

#include <algorithm>
#include <cmath>

namespace quorlin::win32 {
namespace {

// Samples per pixel side: the disc's edge is smoothed over 16 samples a pixel.
constexpr int kSamples = 4;
// The disc's own size is 25 pixels; at other sizes the highlight scales with it.
constexpr double kBaseSize = 25.0;
constexpr double kHighlightCentre = 8.5;
constexpr double kHighlightRadius = 5.5;
constexpr double kHighlightStrength = 200.0 / 255.0;

double mix(double from, double to, double amount)
{
    return from + (to - from) * amount;
}

}  // namespace

std::vector<std::uint32_t> discPixels(int size, Rgb colour, Rgb background)
{
    std::vector<std::uint32_t> pixels;
    if (size <= 0)
        return pixels;
    pixels.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    const double scale = size / kBaseSize;
    const double centre = size / 2.0;
    const double radius = centre - scale;  // one base pixel of margin all round
    const double shineX = kHighlightCentre * scale;
    const double shineR = kHighlightRadius * scale;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double cover = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples - centre;
                    const double py = y + (sy + 0.5) / kSamples - centre;
                    if (px * px + py * py <= radius * radius)
                        cover += 1.0 / (kSamples * kSamples);
                }
            }
            const double dx = x + 0.5 - shineX;
            const double dy = y + 0.5 - shineX;
            const double shine = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / shineR) * kHighlightStrength;
            const double r = mix(colour.r, 255.0, shine);
            const double g = mix(colour.g, 255.0, shine);
            const double b = mix(colour.b, 255.0, shine);
            const auto channel = [&](double disc, std::uint8_t under) {
                return static_cast<std::uint32_t>(std::lround(mix(under, disc, cover)));
            };
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)] =
                (channel(r, background.r) << 16) | (channel(g, background.g) << 8) | channel(b, background.b);
        }
    }
    return pixels;
}

void drawDisc(HDC dc, const RECT& rect, Rgb colour, COLORREF background)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int size = std::min(width, height);
    if (size <= 0)
        return;
    const Rgb under{GetRValue(background), GetGValue(background), GetBValue(background)};
    const std::vector<std::uint32_t> pixels = discPixels(size, colour, under);

    HBRUSH fill = CreateSolidBrush(background);
    FillRect(dc, &rect, fill);
    DeleteObject(fill);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, rect.left + (width - size) / 2, rect.top + (height - size) / 2, static_cast<DWORD>(size),
                      static_cast<DWORD>(size), 0, 0, 0, static_cast<UINT>(size), pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace quorlin::win32
