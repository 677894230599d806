#include "platform/open_failure_advice.h"

#include <cerrno>

namespace quorlin {

bool OpenFailureAdvice::isPermissionError(int error) const
{
    return error == EACCES || error == EPERM;
}

std::string_view OpenFailureAdvice::windowHint(int, UiLanguage language) const
{
    return language == UiLanguage::Japanese ? "ライトは接続されていますが、開けませんでした。"
                                            : "The light is plugged in, but it could not be opened.";
}

const OpenFailureAdvice& noOpenFailureAdvice()
{
    struct Silent final : OpenFailureAdvice {
        void write(std::ostream&, int) const override {}
    };
    static const Silent advice;
    return advice;
}

}  // namespace quorlin
