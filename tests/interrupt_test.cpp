// Ctrl+C or SIGTERM while the start question waits ends the program at once with status 0 and
// no window; once the window is open they close it the ordinary way.
#include "support/gl_window_test.h"

#include <csignal>
#include <unistd.h>

namespace {

// Exit statuses the child process reports its path with.
const int kWindowCreated = 3;
const int kRanToTheEnd = 4;
const int kClosedCleanly = 5;

class Interrupt : public ::testing::TestWithParam<int> {};

TEST_P(Interrupt, DuringTheQuestionEndsTheProgramWithStatusZeroBeforeAnyWindow)
{
    const int signalNumber = GetParam();
    EXPECT_EXIT(
        {
            seam::setMessageBoxAnswer(IDYES);
            seam::onCall("MessageBoxA", [=] { raise(signalNumber); });
            seam::onCall("CreateWindowExA", [] { _exit(kWindowCreated); });
            runApplication(GetModuleHandleA(nullptr));
            _exit(kRanToTheEnd);
        },
        ::testing::ExitedWithCode(0), "");
}

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
