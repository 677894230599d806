#include "platform/open_failure_advice.h"

#include <cerrno>

namespace quorlin {

bool OpenFailureAdvice::isPermissionError(int error) const
{
    return error == EACCES || error == EPERM;
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
