#include "platform/windows/windows_open_failure_advice.h"

#include <ostream>

namespace quorlin {

void WindowsOpenFailureAdvice::write(std::ostream& out, int) const
{
    out << "Another program may be holding the light: close other lighting or RGB tools "
           "(SignalRgbLauncher.exe among them), then unplug the light and plug it in again.\n";
}

const OpenFailureAdvice& systemOpenFailureAdvice()
{
    static const WindowsOpenFailureAdvice advice;
    return advice;
}

}  // namespace quorlin
