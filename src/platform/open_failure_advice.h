#pragma once
// What a user can do when the light is listed but will not open. The advice depends
// on the system (a udev rule on Linux; another program holding the light on
// Windows), so the program passes its system's advice to the link and to quorlinctl.

#include "shell/language_strings.h"

#include <iosfwd>
#include <string_view>

namespace quorlin {

class OpenFailureAdvice {
public:
    virtual ~OpenFailureAdvice() = default;
    // True for the errno values that mean "this user may not open it".
    virtual bool isPermissionError(int error) const;
    // Whole lines telling what to do about `error`, or nothing when there is no
    // advice. Cannot fail; a failed write only sets the stream's state.
    virtual void write(std::ostream& out, int error) const = 0;
    // One or two sentences for the window: the light is listed but did not open
    // (`error`), and what to do. Without advice of the system's own: that it did not.
    virtual std::string_view windowHint(int error, UiLanguage language) const;
};

// Advice that says nothing beyond the error itself: for tests and simulations.
const OpenFailureAdvice& noOpenFailureAdvice();

// The running system's advice; one per program.
const OpenFailureAdvice& systemOpenFailureAdvice();

}  // namespace quorlin
