// Ctrl+C or SIGTERM once the window is open close it the ordinary way. (While the start question
// waits they end the program at once: the end-to-end runs keyboards.sh and builtin_fonts.sh hold
// that, with the real boxes.)
#include "support/gl_window_test.h"

#include <csignal>
#include <unistd.h>

namespace {

// Exit statuses the child process reports its path with.
const int kRanToTheEnd = 4;
const int kClosedCleanly = 5;

class Interrupt : public ::testing::TestWithParam<int> {};

TEST_P(Interrupt, WithTheWindowOpenClosesItAndQuitsWithStatusZero)
{
    const int signalNumber = GetParam();
    EXPECT_EXIT(
        {
            seam::recordCalls();
            seam::setMessageBoxAnswer(IDNO);
            seam::onCall("SwapBuffers", [=] { raise(signalNumber); });
            const int status = runApplication(GetModuleHandleA(nullptr));
            _exit(status == 0 && logged("UnregisterClassA") ? kClosedCleanly : kRanToTheEnd);
        },
        ::testing::ExitedWithCode(kClosedCleanly), "");
}

INSTANTIATE_TEST_SUITE_P(BothSignals, Interrupt, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

}  // namespace
