#include "platform/windows/windows_open_failure_advice.h"

#include <ostream>

namespace quorlin {

void WindowsOpenFailureAdvice::write(std::ostream& out, int) const
{
    out << "Another program may be holding the light: close other lighting or RGB tools "
           "(SignalRgbLauncher.exe among them), then unplug the light and plug it in again.\n";
}

std::string_view WindowsOpenFailureAdvice::windowHint(int, UiLanguage language) const
{
    return language == UiLanguage::Japanese
               ? "ライトは接続されていますが、開けませんでした。他のプログラムが使用している可能性があります。"
                 "それを終了し、ライトを接続し直してください。"
               : "The light is plugged in, but it could not be opened: another program may be holding "
                 "it. Close that program, then plug the light in again.";
}

const OpenFailureAdvice& systemOpenFailureAdvice()
{
    static const WindowsOpenFailureAdvice advice;
    return advice;
}

}  // namespace quorlin
