#pragma once
// What the window's behaviour asks of its front end besides the controls: modal
// questions and the About box, the skin, all in UTF-8.

#include "window/about_box.h"

#include <string>

namespace quorlin {

class WindowPrompts {
public:
    virtual ~WindowPrompts() = default;
    // The toolkit's message box for a fixed text: warning icon, OK, the program's name
    // as caption. Returns when the user closed it.
    virtual void message(const std::string& text) = 0;
    // The window's own OK/Cancel question: no icon, the program's name as caption.
    // True only for OK; closing the box counts as Cancel.
    virtual bool confirm(const std::string& text) = 0;
    // Open-file dialog showing `initialName`, with one filter for every file, named
    // `filterName`. The chosen full path, or empty when cancelled.
    virtual std::string openFile(const std::string& initialName, const std::string& filterName) = 0;
    // Runs the About box modally, without a parent window.
    virtual void showAbout(const AboutBox& box) = 0;
};

class WindowSkin {
public:
    virtual ~WindowSkin() = default;
    // Applies the skin in `path` (UTF-8; relative to the current folder). False when the
    // file cannot be used: the standard look stays, silently.
    virtual bool attach(const std::string& path) = 0;
    // Takes the skin off again.
    virtual void detach() = 0;
};

}  // namespace quorlin
