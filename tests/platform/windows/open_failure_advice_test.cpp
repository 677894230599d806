#include "platform/windows/windows_open_failure_advice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

namespace quorlin {
namespace {

TEST(WindowsOpenFailureAdvice, TellsToFreeTheLightWhateverTheError)
{
    for (const int error : {EACCES, EIO, EBUSY}) {
        std::ostringstream out;
        systemOpenFailureAdvice().write(out, error);
        const std::string advice = out.str();
        EXPECT_NE(advice.find("Another program"), std::string::npos) << error;
        EXPECT_NE(advice.find("plug it in again"), std::string::npos) << error;
        EXPECT_EQ(advice.find("udev"), std::string::npos) << "no Linux advice on Windows";
        EXPECT_EQ(advice.back(), '\n') << "whole lines";
    }
}

}  // namespace
}  // namespace quorlin
