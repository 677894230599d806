#pragma once
// The window skin: a Qt style sheet applied to the whole application, windows
// created later included. A file that cannot be read leaves the standard look.

#include "window/front_end.h"

namespace quorlin {

// Applies the style sheet in `path` (UTF-8; relative names resolve against the current
// directory). The second text is accepted for the caller's sake and not used.
// Returns 1 when a skin was applied, 0 when the file could not be used.
int SkinH_AttachEx(const char* path, const char* password);
// Takes the skin off again; always 1.
int SkinH_Detach();

// The skin as the window and the start-up reach it.
class QtSkin final : public WindowSkin {
public:
    bool attach(const std::string& path) override { return SkinH_AttachEx(path.c_str(), "") == 1; }
    void detach() override { SkinH_Detach(); }
};

}  // namespace quorlin
