#include "lights.h"

#include <algorithm>

namespace quorlin::ctl {
namespace {

// wchar_t holds whole code points on Linux; anything that is not one becomes '?'.
std::string utf8(const wchar_t* text)
{
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        const auto c = static_cast<unsigned long>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000 && (c < 0xD800 || c > 0xDFFF)) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c >= 0x10000 && c < 0x110000) {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace

std::vector<Light> groupLights(const HidDeviceInfo* list)
{
    std::vector<Light> lights;
    for (const HidDeviceInfo* node = list; node != nullptr; node = node->next) {
        if (node->path == nullptr)
            continue;
        const std::string serial = utf8(node->serial_number);
        auto light = std::find_if(lights.begin(), lights.end(),
                                  [&](const Light& l) { return l.serial == serial; });
        if (light == lights.end())
            light = lights.insert(lights.end(), Light{serial, {}});
        light->paths.emplace_back(node->path);
    }
    return lights;
}

const Light* lightWithPath(const std::vector<Light>& lights, const std::string& path)
{
    for (const Light& light : lights) {
        if (std::find(light.paths.begin(), light.paths.end(), path) != light.paths.end())
            return &light;
    }
    return nullptr;
}

}  // namespace quorlin::ctl
