// Test entry: tests draw with real GL through SDL's offscreen driver unless told otherwise, and
// every case starts from the state a fresh process has, so the binary runs whole in any order.
#include "platform/sdl/test_seam.h"
#include "shell/process_state.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Puts the process-wide state and the platform layer's seam back before every case.
class FreshProcessState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        resetProcessState();
        seam::reset();
    }
};

}  // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProcessState);
    return RUN_ALL_TESTS();
}
