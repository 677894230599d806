#pragma once
// The About box (IDD_ABOUTBOX) and the window-menu item that opens it (IDS_ABOUTBOX).

#include "window/resource_ids.h"

namespace quorlin {

struct AboutBox {
    const char* caption;
    const char* nameAndVersion;
    // The second line: which program this is (its version, or that its light is
    // simulated); the program's own line replaces this one.
    const char* description;
    const char* okButton;
};

inline constexpr const char* kAboutMenuItem = "关于 Quorlin(&A)...";

inline constexpr AboutBox kAboutBox = {
    "关于 Quorlin",
    "Quorlin，版本 1.0",
    "Setting tool for the Sivane light",
    "确定",
};

}  // namespace quorlin
