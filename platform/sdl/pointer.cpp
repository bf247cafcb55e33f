// The pointer of the Win32 layer: the class cursor and ShowCursor's display counter, over SDL's.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR)
{
    // SDL shows its own arrow; the handle only has to be non-null.
    static char arrow;
    seam::enter("LoadCursorA");
    return reinterpret_cast<HCURSOR>(&arrow);
}

int WINAPI ShowCursor(BOOL show)
{
    seam::enter("ShowCursor", show ? "TRUE" : "FALSE");
    int &count = win32sdl::layer.cursorCount;
    count += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}
