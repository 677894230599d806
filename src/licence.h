#pragma once
// What every program prints under its version: the terms of the LICENSE file and
// of the package's copyright file.

namespace quorlin {

inline constexpr const char* kLicenceNotice =
    "Copyright 2026 The Quorlin developers.\n"
    "Licence: MIT (free to use, change and share; no warranty).";

}  // namespace quorlin
