#include "lights.h"

#include "link/hid_text.h"

#include <algorithm>

namespace quorlin::ctl {

std::vector<Light> groupLights(const HidDeviceInfo* list)
{
    std::vector<Light> lights;
    for (const HidDeviceInfo* node = list; node != nullptr; node = node->next) {
        if (node->path == nullptr)
            continue;
        const std::string serial = hidTextToUtf8(node->serial_number);
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
