// Key commands that act on the picture: patterns 1-8, mirrors, feedback blur and snapshots.
#include "shell/app.h"

#include "render/kaleidoscope.h"

namespace {

// Flips a byte toggle between 0 and 1.
void flip(uint8_t &flag) { flag = flag == 0 ? 1 : 0; }

}  // namespace

void runKeyCommand(Kaleidoscope &renderer, WPARAM code)
{
    if (code >= '1' && code <= '8')
        renderer.selectPattern(static_cast<int>(code - '1'), true);
    else if (code == 'M' || code == VK_SUBTRACT)
        flip(renderer.mirrorsOff);
    else if (code == 'P')  // written from the next frame drawn, at the window's current size
        renderer.queueSnapshot();
    else if (code == 'S' || code == VK_F4)
        flip(renderer.feedbackOff);
}
