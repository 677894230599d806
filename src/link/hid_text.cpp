#include "link/hid_text.h"

namespace quorlin {
namespace {

bool isHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }

void append(std::string& out, unsigned long c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string hidTextToUtf8(const wchar_t* text)
{
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        unsigned long c = static_cast<unsigned long>(*text) & (sizeof(wchar_t) == 2 ? 0xFFFFul : ~0ul);
        if (sizeof(wchar_t) == 2 && isHighSurrogate(c) && isLowSurrogate(static_cast<unsigned long>(text[1]) & 0xFFFF)) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((static_cast<unsigned long>(text[1]) & 0xFFFF) - 0xDC00);
            ++text;
        }
        if (isHighSurrogate(c) || isLowSurrogate(c) || c > 0x10FFFF)
            out += '?';
        else
            append(out, c);
    }
    return out;
}

}  // namespace quorlin
