#include "link/device_info_list.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace quorlin {
namespace {

wchar_t* copyText(const wchar_t* text)
{
    return text != nullptr ? wcsdup(text) : nullptr;
}

}  // namespace

HidDeviceInfo* copyDeviceInfo(const HidDeviceInfo& node)
{
    if (node.path == nullptr)
        return nullptr;
    auto* copy = static_cast<HidDeviceInfo*>(std::calloc(1, sizeof(HidDeviceInfo)));
    if (copy == nullptr)
        return nullptr;
    *copy = node;
    copy->next = nullptr;
    copy->path = strdup(node.path);
    copy->serial_number = copyText(node.serial_number);
    copy->manufacturer_string = copyText(node.manufacturer_string);
    copy->product_string = copyText(node.product_string);
    if (copy->path == nullptr) {
        freeDeviceInfoList(copy);
        return nullptr;
    }
    return copy;
}

void freeDeviceInfoList(HidDeviceInfo* head)
{
    while (head != nullptr) {
        HidDeviceInfo* next = head->next;
        std::free(head->path);
        std::free(head->serial_number);
        std::free(head->manufacturer_string);
        std::free(head->product_string);
        std::free(head);
        head = next;
    }
}

}  // namespace quorlin
